#pragma once
// The rows of app/'s commands in the command table: the main window's menus, pop-up menus,
// toolbar and buttons.

#include "app/CommandTable.h"

void RegisterMainCommands(CommandTable& table);
