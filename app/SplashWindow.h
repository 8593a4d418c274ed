#pragma once
// The window shown while the program starts: a picture with a title label (LoadLBL) and a
// status label (StatusLBL). It stays up at least a few seconds so it can be read.

#include <windows.h>

#include <string>

#include "platform/Handle.h"
#include "ui/WindowBase.h"

class SplashWindow : public WindowBase {
 public:
  SplashWindow();  // shows it at once

  void SetTitle(const std::string& text);
  void SetStatus(const std::string& text);
  // Lets pending messages run until minimumMs have passed since it appeared.
  void WaitShown(DWORD minimumMs) const;

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void SetLabel(HWND label, const std::string& text);

  HWND loadLabel_ = nullptr;
  HWND statusLabel_ = nullptr;
  UniqueFont titleFont_;
  DWORD shownAt_ = 0;
};
