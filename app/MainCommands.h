#pragma once
// The commands of the main window's menus and toolbar.

#include <windows.h>

#include "app/AppState.h"
#include "app/ResultPages.h"
#include "app/SelectionPages.h"

#include <functional>
#include "core/MainThreadCalls.h"
#include "core/UserInteraction.h"

struct MainCommandContext {
  HWND owner;
  AppState& app;
  UserInteraction& ui;
  MainThreadCalls& calls;
  SelectionPages& selection;
  ResultPages& results;
  std::function<void()> showResults;
  std::function<void()> showResultPages;  // showResults without naming the log in the title
};

void RunMainCommand(int commandId, MainCommandContext& context);
