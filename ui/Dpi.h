#pragma once
// The program declares itself per-monitor DPI aware, so nothing stretches its windows: every
// size it sets in pixels is written for 96 DPI (100 %) and scaled to the DPI of the window's
// monitor here. Text sizes follow the fonts; images scale by whole factors only, since the
// images are pixel drawings that 1.5 times would smear.

#include <windows.h>
#include <commctrl.h>

#include "platform/Handle.h"

inline constexpr UINT kBaseDpi = 96;

class DpiScale {
 public:
  explicit DpiScale(UINT dpi = kBaseDpi) : dpi_(dpi ? dpi : kBaseDpi) {}

  UINT Dpi() const { return dpi_; }
  // A length given for 96 DPI.
  int operator()(int pixelsAt96) const { return MulDiv(pixelsAt96, static_cast<int>(dpi_), kBaseDpi); }
  // How many times a 16-pixel image grows: 1 up to 191 DPI, 2 from 192.
  int ImageFactor() const { return dpi_ < 2 * kBaseDpi ? 1 : static_cast<int>(dpi_ / kBaseDpi); }
  int ImageSize() const { return 16 * ImageFactor(); }

 private:
  UINT dpi_;
};

// The DPI of the window's monitor (Windows 10 1607 and later), else the system's.
UINT WindowDpi(HWND window);
// The DPI windows are made for before they know their monitor.
UINT SystemDpi();

// The message font of the system at dpi; made once per DPI and kept for the process.
HFONT GuiFontForDpi(UINT dpi);

// An image list of square images loaded from a bitmap strip resource whose transparent colour
// is magenta, each image grown by factor without smoothing; nullptr when the resource is missing.
HIMAGELIST LoadImageStrip(const char* resourceName, int imageSize, int factor);
// Appends the images of a magenta-keyed bitmap strip resource to images, grown by factor.
bool AppendImageStrip(HIMAGELIST images, const char* resourceName, int factor);
