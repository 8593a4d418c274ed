#include "ui/Dpi.h"

#include <map>

namespace {

constexpr COLORREF kTransparent = RGB(255, 0, 255);

template <class Function>
Function SystemFunction(const char* name) {
  HMODULE user32 = GetModuleHandleA("user32.dll");
  return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

// The strip resource grown by factor: each pixel becomes a factor x factor block.
HBITMAP LoadScaledStrip(const char* resourceName, int factor) {
  auto strip = static_cast<HBITMAP>(
      LoadImageA(GetModuleHandleA(nullptr), resourceName, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!strip || factor <= 1) return strip;
  BITMAP info{};
  GetObjectA(strip, sizeof info, &info);
  HDC screen = GetDC(nullptr);
  HDC source = CreateCompatibleDC(screen);
  HDC target = CreateCompatibleDC(screen);
  HBITMAP scaled = CreateCompatibleBitmap(screen, info.bmWidth * factor, info.bmHeight * factor);
  HGDIOBJ oldSource = SelectObject(source, strip);
  HGDIOBJ oldTarget = SelectObject(target, scaled);
  SetStretchBltMode(target, COLORONCOLOR);
  StretchBlt(target, 0, 0, info.bmWidth * factor, info.bmHeight * factor, source, 0, 0, info.bmWidth, info.bmHeight,
             SRCCOPY);
  SelectObject(source, oldSource);
  SelectObject(target, oldTarget);
  DeleteDC(source);
  DeleteDC(target);
  ReleaseDC(nullptr, screen);
  DeleteObject(strip);
  return scaled;
}

}  // namespace

UINT SystemDpi() {
  using GetDpiForSystemFunction = UINT(WINAPI*)();
  static const auto getDpiForSystem = SystemFunction<GetDpiForSystemFunction>("GetDpiForSystem");
  if (getDpiForSystem) return getDpiForSystem();
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : kBaseDpi;
}

UINT WindowDpi(HWND window) {
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = SystemFunction<GetDpiForWindowFunction>("GetDpiForWindow");
  const UINT dpi = getDpiForWindow && window ? getDpiForWindow(window) : 0;
  return dpi ? dpi : SystemDpi();
}

HFONT GuiFontForDpi(UINT dpi) {
  static std::map<UINT, UniqueFont> fonts;
  UniqueFont& font = fonts[dpi];
  if (font) return font.Get();
  using ParametersForDpiFunction = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
  static const auto parametersForDpi = SystemFunction<ParametersForDpiFunction>("SystemParametersInfoForDpi");
  // The wide structure: the function for a given DPI exists only so.
  NONCLIENTMETRICSW wide{};
  wide.cbSize = sizeof wide;
  LOGFONTA face{};
  if (parametersForDpi && parametersForDpi(SPI_GETNONCLIENTMETRICS, sizeof wide, &wide, 0, dpi)) {
    const LOGFONTW& message = wide.lfMessageFont;
    face.lfHeight = message.lfHeight;
    face.lfWeight = message.lfWeight;
    face.lfItalic = message.lfItalic;
    face.lfCharSet = message.lfCharSet;
    face.lfQuality = message.lfQuality;
    face.lfPitchAndFamily = message.lfPitchAndFamily;
    WideCharToMultiByte(CP_ACP, 0, message.lfFaceName, -1, face.lfFaceName, LF_FACESIZE, nullptr, nullptr);
  } else {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
      return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    face = metrics.lfMessageFont;
    // The system's metrics are made for the system's DPI.
    face.lfHeight = MulDiv(face.lfHeight, static_cast<int>(dpi), static_cast<int>(SystemDpi()));
  }
  font.Reset(CreateFontIndirectA(&face));
  return font ? font.Get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

HIMAGELIST LoadImageStrip(const char* resourceName, int imageSize, int factor) {
  HIMAGELIST images = ImageList_Create(imageSize, imageSize, ILC_COLOR24 | ILC_MASK, 24, 8);
  if (!images) return nullptr;
  if (!AppendImageStrip(images, resourceName, factor)) {
    ImageList_Destroy(images);
    return nullptr;
  }
  return images;
}

bool AppendImageStrip(HIMAGELIST images, const char* resourceName, int factor) {
  HBITMAP strip = LoadScaledStrip(resourceName, factor);
  if (!strip) return false;
  const bool added = ImageList_AddMasked(images, strip, kTransparent) >= 0;
  DeleteObject(strip);
  return added;
}
