#include "ui/MessagePump.h"

#include <algorithm>
#include <vector>

namespace {

struct Registration {
  HWND window;
  HACCEL accelerators;
  bool dialogNavigation;
};

// Windows belong to the thread that made them; so do their registrations.
std::vector<Registration>& Registrations() {
  thread_local std::vector<Registration> registrations;
  return registrations;
}

bool IsKeyboardMessage(UINT message) { return message >= WM_KEYFIRST && message <= WM_KEYLAST; }

// F1 as the system would describe it: the control with the focus, inside window.
void SendHelp(HWND window, const MSG& key) {
  HELPINFO info{};
  info.cbSize = sizeof info;
  info.iContextType = HELPINFO_WINDOW;
  info.hItemHandle = key.hwnd;
  info.iCtrlId = GetDlgCtrlID(key.hwnd);
  GetCursorPos(&info.MousePos);
  SendMessageA(window, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
}

// True when a registered window's accelerators or dialog navigation used the message up.
bool TranslateForWindows(MSG& message) {
  if (!IsKeyboardMessage(message.message) || !message.hwnd) return false;
  // The latest registration first: a dialog opened over another window sees its keys first.
  // A copy, as a handler run by the translation may register or remove windows.
  const std::vector<Registration> registrations = Registrations();
  for (auto entry = registrations.rbegin(); entry != registrations.rend(); ++entry) {
    if (message.hwnd != entry->window && !IsChild(entry->window, message.hwnd)) continue;
    if (entry->accelerators && TranslateAcceleratorA(entry->window, entry->accelerators, &message)) return true;
    if (message.message == WM_KEYDOWN && message.wParam == VK_F1) {
      SendHelp(entry->window, message);
      return true;
    }
    return entry->dialogNavigation && IsDialogMessageA(entry->window, &message);
  }
  return false;
}

void Dispatch(MSG& message) {
  if (TranslateForWindows(message)) return;
  TranslateMessage(&message);
  DispatchMessageA(&message);
}

}  // namespace

namespace MessagePump {

void AddWindow(HWND window, HACCEL accelerators, bool dialogNavigation) {
  RemoveWindow(window);
  Registrations().push_back({window, accelerators, dialogNavigation});
}

void RemoveWindow(HWND window) {
  auto& registrations = Registrations();
  registrations.erase(std::remove_if(registrations.begin(), registrations.end(),
                                     [window](const Registration& entry) { return entry.window == window; }),
                      registrations.end());
}

int RunUntilQuit() {
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) Dispatch(message);
  return static_cast<int>(message.wParam);
}

bool RunUntil(const std::function<bool()>& done) {
  MSG message;
  while (!done()) {
    if (GetMessageA(&message, nullptr, 0, 0) <= 0) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return false;
    }
    Dispatch(message);
  }
  return true;
}

void RunPending() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // The loop that owns the program's end must still see it.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    Dispatch(message);
  }
}

}  // namespace MessagePump
