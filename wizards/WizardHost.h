#pragma once
// What the wizards ask of the main window. They run its commands as its menu items do and
// switch its pages; they never reach into it otherwise. A member left empty is a step the
// host does not offer (a test's window).

#include <windows.h>

#include <functional>

#include "core/UserInteraction.h"

struct WizardHost {
  // The selection pages in front, each selection tree's first node expanded.
  std::function<void()> showSelectionPages;
  // The log pages in front at "Registry Changes", each result tree's first node expanded.
  std::function<void()> showLogPages;
  std::function<void()> bringToFront;
  // The main window minimised, for the user's work elsewhere.
  std::function<void()> minimize;
  // Runs a command as its menu item does; false when it did not run or ended with an error.
  std::function<bool(int command)> runCommand;
  std::function<bool(int command)> isCommandEnabled;
  // The selection trees set to the selection a new installation of the program starts with.
  std::function<void()> selectDefaults;
  std::function<void()> startExplorer;
  // The picture of the main window's tool button for a command, or of the explorer for 0; the
  // caller destroys it.
  std::function<HICON(int command)> buttonPicture;
  // Where the wizard's questions and notices go while it is hidden; its own window's otherwise.
  std::function<UserInteraction&()> ui;
};
