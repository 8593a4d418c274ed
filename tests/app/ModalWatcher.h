#pragma once
// Tests of code that opens a modal window (message box, error dialog, colour or folder
// picker): a thread timer, which the modal loop dispatches, hands every dialog window that
// appears to a handler; the handler reads it and closes it. Polls, never sleeps.

#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class ModalWatcher {
 public:
  using Handler = std::function<void(HWND dialog)>;

  explicit ModalWatcher(Handler handler) : handler_(std::move(handler)), known_(VisibleDialogs()) {
    // A quit request left by an earlier test (a main window destroyed) ends every modal loop
    // at once.
    MSG quit;
    while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    current_ = this;
    timer_ = SetTimer(nullptr, 0, 20, Tick);
  }
  ~ModalWatcher() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  ModalWatcher(const ModalWatcher&) = delete;
  ModalWatcher& operator=(const ModalWatcher&) = delete;

  int Seen() const { return seen_; }

  // The visible dialog windows (class "#32770") of this thread.
  static std::vector<HWND> VisibleDialogs() {
    std::vector<HWND> found;
    EnumThreadWindows(GetCurrentThreadId(), AddIfVisibleDialog, reinterpret_cast<LPARAM>(&found));
    return found;
  }

 private:
  static BOOL CALLBACK AddIfVisibleDialog(HWND window, LPARAM list) {
    char className[32] = "";
    GetClassNameA(window, className, sizeof className);
    if (IsWindowVisible(window) && std::string(className) == "#32770")
      reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
  }

  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    ModalWatcher* self = current_;
    if (!self || self->busy_) return;
    for (HWND dialog : VisibleDialogs()) {
      if (std::find(self->known_.begin(), self->known_.end(), dialog) != self->known_.end()) continue;
      self->known_.push_back(dialog);
      ++self->seen_;
      self->busy_ = true;
      self->handler_(dialog);
      self->busy_ = false;
      return;
    }
  }

  static inline ModalWatcher* current_ = nullptr;
  Handler handler_;
  std::vector<HWND> known_;
  UINT_PTR timer_ = 0;
  int seen_ = 0;
  bool busy_ = false;
};

inline std::string WindowText(HWND window) {
  char text[4096] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

inline BOOL CALLBACK AddWindowText(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<std::string>*>(list)->push_back(WindowText(window));
  return TRUE;
}

// The texts of all descendants of a window, in enumeration order.
inline std::vector<std::string> ChildTexts(HWND parent) {
  std::vector<std::string> texts;
  EnumChildWindows(parent, AddWindowText, reinterpret_cast<LPARAM>(&texts));
  return texts;
}

inline bool HasChildText(HWND parent, const std::string& text) {
  std::vector<std::string> texts = ChildTexts(parent);
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// Presses a dialog's button the way the dialog manager reports it.
inline void PressDialogButton(HWND dialog, int id) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// The face name of the font a window uses.
inline std::string FontFace(HWND window) {
  LOGFONTA font{};
  HFONT handle = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
  if (!handle || !GetObjectA(handle, sizeof font, &font)) return "";
  return font.lfFaceName;
}
