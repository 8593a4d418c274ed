#pragma once
// Title bar colours of the program's windows. Windows 11 colours a window's caption and its
// text on request (the desktop window manager's caption attributes); older systems and Wine
// have no such request, and the program does not paint captions itself: there the colours stay
// settings the options dialog says it cannot show.

#include <windows.h>

#include <cstdint>

struct CaptionColors {
  COLORREF caption;
  COLORREF textActive;
  COLORREF textInactive;  // the system offers one text colour; the inactive one is kept only
};

// True when the system shows caption colours (Windows 11 and later, not under Wine).
bool CaptionColorsSupported();

// Colours window's title bar where the system can; false where it cannot.
bool ApplyCaptionColors(HWND window, const CaptionColors& colors);

// A stored colour as RGB: the value 0x80000000 + n stands for the system colour n.
COLORREF SettingColorToRGB(uint32_t color);

// The caption colour settings (CaptionColor, CaptionTextActive, CaptionTextInActive) on
// window, where the system shows them; a setting that cannot be read leaves the title bar as
// it is.
void ApplyCaptionColorSettings(HWND window);
