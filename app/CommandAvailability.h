#pragma once
// Which commands of the main window's menus and toolbar are enabled or visible, as a pure
// function of a small context, shared by the menu and the toolbar.

struct CommandContext {
  bool logLoaded = false;  // a log file fills the result trees
  bool busy = false;       // a command is running (a save lets messages run meanwhile)
};

bool IsCommandEnabled(int commandId, const CommandContext& context);
bool IsCommandVisible(int commandId);

// The name of the menu item a command comes from, as the error details show it.
const char* CommandComponentName(int commandId);
