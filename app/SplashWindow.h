#pragma once
// The window shown while the program starts: a picture with a title label (LoadLBL) and a
// status label (StatusLBL). It stays up at least a few seconds so it can be read, but it
// lies above everything only until another window of the program is activated: a message box
// of the start-up hides it, so the box is never covered and the splash never comes back over
// the box's answer.

#include <windows.h>

#include <string>

#include "platform/Handle.h"
#include "ui/WindowBase.h"

class SplashWindow : public WindowBase {
 public:
  SplashWindow();  // shows it at once
  ~SplashWindow() override;

  void SetTitle(const std::string& text);
  void SetStatus(const std::string& text);
  // Lets pending messages run until minimumMs have passed since it appeared.
  void WaitShown(DWORD minimumMs) const;

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void SetLabel(HWND label, const std::string& text);

  // The thread's activations: any window but the splash hides it.
  static LRESULT CALLBACK WatchActivation(int code, WPARAM wParam, LPARAM lParam);
  // The splash the hook serves; a hook procedure gets no data of its own, and there is one
  // splash at a time.
  static inline SplashWindow* watching_ = nullptr;

  HHOOK activationHook_ = nullptr;
  HWND loadLabel_ = nullptr;
  HWND statusLabel_ = nullptr;
  UniqueFont titleFont_;
  DWORD shownAt_ = 0;
};
