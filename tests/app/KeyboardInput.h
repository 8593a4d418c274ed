#pragma once
// Keys pressed as a user presses them: the key-down and key-up messages the keyboard driver
// would queue for the window with the focus, run through the program's message pump (which
// makes the characters and does the dialog navigation), with Shift, Alt or Ctrl held in the thread's
// key state meanwhile.

#include <windows.h>

#include <cstring>

#include "ui/MessagePump.h"

enum KeyModifier { kNoModifier = 0, kShift = 1, kAlt = 2, kControl = 4 };

struct KeyPress {
  UINT key;
  int modifiers = kNoModifier;
};

inline void PressKey(const KeyPress& press) {
  BYTE saved[256];
  GetKeyboardState(saved);
  BYTE held[256];
  std::memcpy(held, saved, sizeof held);
  if (press.modifiers & kShift) held[VK_SHIFT] = held[VK_LSHIFT] = 0x80;
  if (press.modifiers & kAlt) held[VK_MENU] = held[VK_LMENU] = 0x80;
  if (press.modifiers & kControl) held[VK_CONTROL] = held[VK_LCONTROL] = 0x80;
  SetKeyboardState(held);

  const bool alt = (press.modifiers & kAlt) != 0;
  const UINT scanCode = MapVirtualKeyA(press.key, MAPVK_VK_TO_VSC);
  // Repeat count 1, the scan code, and the context bit that says Alt is down.
  const LPARAM down = 1 | static_cast<LPARAM>(scanCode) << 16 | (alt ? LPARAM{1} << 29 : 0);
  const LPARAM up = down | LPARAM{3} << 30;  // previous state down, transition up
  auto target = [] {
    HWND focus = GetFocus();
    return focus ? focus : GetActiveWindow();
  };
  PostMessageA(target(), alt ? WM_SYSKEYDOWN : WM_KEYDOWN, press.key, down);
  MessagePump::RunPending();
  PostMessageA(target(), alt ? WM_SYSKEYUP : WM_KEYUP, press.key, up);
  MessagePump::RunPending();
  SetKeyboardState(saved);
}
