#pragma once
// The window shown while the program starts: a picture with a title label (LoadLBL) and a
// status label (StatusLBL). It stays up at least a few seconds so it can be read.

#include <windows.h>

#include <string>

#include "platform/Handle.h"

class SplashWindow {
 public:
  SplashWindow();  // shows it at once
  ~SplashWindow();
  SplashWindow(const SplashWindow&) = delete;
  SplashWindow& operator=(const SplashWindow&) = delete;

  HWND Handle() const { return hwnd_; }
  void SetTitle(const std::string& text);
  void SetStatus(const std::string& text);
  // Lets pending messages run until minimumMs have passed since it appeared.
  void WaitShown(DWORD minimumMs) const;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void SetLabel(HWND label, const std::string& text);

  HWND hwnd_ = nullptr;
  HWND loadLabel_ = nullptr;
  HWND statusLabel_ = nullptr;
  UniqueFont titleFont_;
  DWORD shownAt_ = 0;
};
