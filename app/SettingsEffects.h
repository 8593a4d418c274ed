#pragma once
// What the display settings change on windows that exist: the caption colours of the
// program's top-level windows and the main window's tooltips. Run at start-up and after the
// options dialog closed with "&OK"; a setting that cannot be read leaves its look as it is.

#include <windows.h>

// ShowHints and HintColor on a tooltip control.
void ApplyHintSettings(HWND tooltips);

// The caption colours on every top-level window of this thread, the tooltip settings on the
// tooltips of mainWindow's toolbar.
void ApplySettingsToWindows(HWND mainWindow);
