#pragma once
// What every command of the menus, pop-up menus and toolbar works with: the window that owns
// its dialogs, the session, the interaction, the main-thread calls of a save, and the two sets
// of pages for what the user selected in them.

#include <windows.h>

#include "app/ResultPages.h"
#include "app/SelectionPages.h"
#include "app/Session.h"
#include "core/MainThreadCalls.h"
#include "core/UserInteraction.h"

struct CommandEnvironment {
  HWND owner;
  Session& session;
  UserInteraction& ui;
  MainThreadCalls& calls;
  SelectionPages& selection;
  ResultPages& results;
};
