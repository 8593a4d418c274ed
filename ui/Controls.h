#pragma once
// Small helpers for building windows out of common controls.

#include <windows.h>

#include <string>
#include <vector>

HWND CreateChild(HWND parent, const char* className, const std::string& text, DWORD style, int id, DWORD exStyle = 0);

// Tab control pages given by their captions.
void AddTabs(HWND tab, const std::vector<std::string>& captions);

// For WM_CTLCOLORSTATIC of a text lying on a tab control's page: a theme paints the page in the
// window colour, and the text's background must match. The brush to return, or nullptr when no
// theme is active and the dialog's colours already match.
HBRUSH TabPageTextColors(HDC dc);

std::string GetWindowTextString(HWND window);

// The font every control of ours is made with: the system's message font at the system's DPI.
HFONT DefaultGuiFont();

// The size text takes in control's font: on one line, or broken into lines of the control's
// width when wrap is set.
SIZE TextExtent(HWND control, const std::string& text, bool wrap);
