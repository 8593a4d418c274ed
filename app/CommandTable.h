#pragma once
// The commands of the menus, pop-up menus and toolbar: one row per command with the name its
// errors carry, whether it needs a loaded log, and what it runs. Enabling, naming and dispatch
// read the table, and so do the menu and toolbar states. Each folder adds its own rows
// (RegisterMainCommands for app/); a command without a row stays in the menus, disabled.

#include <functional>
#include <vector>

struct CommandEnvironment;
class Session;

struct CommandRow {
  int id;
  const char* component;                         // the menu item's name in error details
  bool needsLog;                                 // acts on the loaded log's result trees
  std::function<void(CommandEnvironment&)> run;  // none: not built yet, the item stays disabled
  bool visible = true;                           // false: left out of the menus
};

class CommandTable {
 public:
  // Raises when the id has a row already.
  void Add(CommandRow row);
  const CommandRow* Find(int id) const;

  // Disabled while a command runs (busy), without a handler, and without a log when it needs one.
  bool IsEnabled(int id, const Session& session, bool busy) const;
  bool IsVisible(int id) const;
  // The name of the menu item a command comes from, as the error details show it.
  const char* ComponentName(int id) const;
  // Runs the command's handler; an id without one does nothing.
  void Run(int id, CommandEnvironment& environment) const;

 private:
  std::vector<CommandRow> rows_;
};
