#pragma once
// The one place the program takes window messages from its queue: the main loop, the loop of
// a modal dialog and the "let waiting messages run" of long work all go through it, so every
// window gets the same keyboard handling. A registered window has its accelerators translated
// and, when it wants dialog navigation, gets Tab, Shift+Tab, Enter, Escape and Alt+letter for
// its controls through IsDialogMessage - the main window as much as a modeless dialog. F1 that
// no accelerator takes becomes WM_HELP to the registered window, whose section it names.

#include <windows.h>

#include <functional>

namespace MessagePump {

// Keyboard handling for window and its controls until RemoveWindow (which WindowBase and
// Dialog call as their windows are destroyed). accelerators may be null. A later registration
// of the same window replaces the earlier one.
void AddWindow(HWND window, HACCEL accelerators, bool dialogNavigation);
void RemoveWindow(HWND window);

// Dispatches messages until WM_QUIT; returns its exit code.
int RunUntilQuit();
// Dispatches messages until done() holds (checked before each wait) or WM_QUIT arrives, which
// is posted again for the loop that owns the program's end. True when done() ended it.
bool RunUntil(const std::function<bool()>& done);
// Lets the messages waiting now run; a WM_QUIT is posted again as above.
void RunPending();

}  // namespace MessagePump
