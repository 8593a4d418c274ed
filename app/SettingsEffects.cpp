#include "app/SettingsEffects.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <cstdint>
#include <exception>

#include "app/Settings.h"
#include "platform/SettingsAccess.h"
#include "ui/CaptionColors.h"

namespace {

BOOL CALLBACK ColorCaption(HWND window, LPARAM) {
  ApplyCaptionColorSettings(window);
  return TRUE;
}

BOOL CALLBACK FindToolbar(HWND child, LPARAM found) {
  char className[64] = "";
  GetClassNameA(child, className, sizeof className);
  if (lstrcmpiA(className, TOOLBARCLASSNAMEA) != 0) return TRUE;
  *reinterpret_cast<HWND*>(found) = child;
  return FALSE;
}

}  // namespace

void ApplyHintSettings(HWND tooltips) {
  if (!tooltips) return;
  try {
    SendMessageA(tooltips, TTM_ACTIVATE, ReadRequiredBool("ShowHints"), 0);
    const auto color = static_cast<uint32_t>(ReadRequiredInt("HintColor"));
    // A themed tooltip ignores its background colour; the system colour keeps the theme.
    if (color != kDefaultHintColor) SetWindowTheme(tooltips, L"", L"");
    SendMessageA(tooltips, TTM_SETTIPBKCOLOR, SettingColorToRGB(color), 0);
  } catch (const std::exception&) {
    // Hints keep their built-in look when a setting cannot be read.
  }
}

void ApplySettingsToWindows(HWND mainWindow) {
  EnumThreadWindows(GetCurrentThreadId(), ColorCaption, 0);
  HWND toolbar = nullptr;
  if (mainWindow) EnumChildWindows(mainWindow, FindToolbar, reinterpret_cast<LPARAM>(&toolbar));
  if (toolbar) ApplyHintSettings(reinterpret_cast<HWND>(SendMessageA(toolbar, TB_GETTOOLTIPS, 0, 0)));
}
