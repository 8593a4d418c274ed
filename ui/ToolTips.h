#pragma once
// Hints that show when the mouse rests on a control of a dialog, as the toolbar's buttons have.

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

// One hint window owned by dialog (it goes with it) carrying a hint per control id.
void AddToolTips(HWND dialog, const std::vector<std::pair<int, std::string>>& hints);
