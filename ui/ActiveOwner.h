#pragma once
// The owner of a message box or dialog that a window's work shows: the window the user is
// looking at. While a dialog of that window is open (a form whose OK runs a command), the box
// belongs to the dialog, so that it comes up above it and takes the input; a box owned by the
// disabled window below would open behind the dialog and leave the program looking frozen.

#include <windows.h>

// The enabled, visible window of window's ownership chain that is active (or was last active),
// else window's top-level window. nullptr stays nullptr.
HWND ActiveOwnerOf(HWND window);
