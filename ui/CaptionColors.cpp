#include "ui/CaptionColors.h"

#include <exception>

#include "platform/SettingsAccess.h"

namespace {

// Attributes of DwmSetWindowAttribute that Windows 11 (build 22000) introduced.
constexpr DWORD kCaptionColorAttribute = 35;  // DWMWA_CAPTION_COLOR
constexpr DWORD kTextColorAttribute = 36;     // DWMWA_TEXT_COLOR
constexpr DWORD kFirstBuildWithCaptionColors = 22000;

using SetWindowAttributeFunction = HRESULT(WINAPI*)(HWND, DWORD, const void*, DWORD);

// Loaded on demand: the exe must start on systems without dwmapi.dll.
SetWindowAttributeFunction SetWindowAttribute() {
  static const auto function = []() -> SetWindowAttributeFunction {
    HMODULE dwm = LoadLibraryA("dwmapi.dll");
    return dwm ? reinterpret_cast<SetWindowAttributeFunction>(
                     reinterpret_cast<void*>(GetProcAddress(dwm, "DwmSetWindowAttribute")))
               : nullptr;
  }();
  return function;
}

// The real build number: GetVersionEx answers what the manifest claims, not what runs.
DWORD SystemBuild() {
  struct VersionInfo {
    ULONG size, major, minor, build, platform;
    WCHAR servicePack[128];
  } info{};
  info.size = sizeof info;
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  using GetVersionFunction = LONG(WINAPI*)(VersionInfo*);
  auto getVersion =
      ntdll ? reinterpret_cast<GetVersionFunction>(reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")))
            : nullptr;
  if (!getVersion || getVersion(&info) != 0) return 0;
  return info.major >= 10 ? info.build : 0;
}

// Wine answers the window manager's calls without colouring anything.
bool RunsUnderWine() {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

}  // namespace

bool CaptionColorsSupported() {
  static const bool supported =
      !RunsUnderWine() && SystemBuild() >= kFirstBuildWithCaptionColors && SetWindowAttribute() != nullptr;
  return supported;
}

bool ApplyCaptionColors(HWND window, const CaptionColors& colors) {
  if (!CaptionColorsSupported() || !window) return false;
  const bool caption =
      SUCCEEDED(SetWindowAttribute()(window, kCaptionColorAttribute, &colors.caption, sizeof(COLORREF)));
  const bool text = SUCCEEDED(SetWindowAttribute()(window, kTextColorAttribute, &colors.textActive, sizeof(COLORREF)));
  return caption && text;
}

COLORREF SettingColorToRGB(uint32_t color) {
  if ((color & 0xFF000000u) == 0x80000000u) return GetSysColor(static_cast<int>(color & 0xFF));
  return color & 0x00FFFFFFu;
}

void ApplyCaptionColorSettings(HWND window) {
  if (!CaptionColorsSupported() || !StaticReg()) return;
  try {
    const CaptionColors colors{SettingColorToRGB(static_cast<uint32_t>(ReadRequiredInt("CaptionColor"))),
                               SettingColorToRGB(static_cast<uint32_t>(ReadRequiredInt("CaptionTextActive"))),
                               SettingColorToRGB(static_cast<uint32_t>(ReadRequiredInt("CaptionTextInActive")))};
    ApplyCaptionColors(window, colors);
  } catch (const std::exception&) {
    // The title bar keeps the system's colours.
  }
}
