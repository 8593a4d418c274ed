#include "app/CommandTable.h"

#include <string>

#include "app/Session.h"
#include "core/Errors.h"
#include "platform/ProcessorFaults.h"

void CommandTable::Add(CommandRow row) {
  if (Find(row.id)) throw Exception("Command " + std::to_string(row.id) + " has a row already.");
  rows_.push_back(std::move(row));
}

const CommandRow* CommandTable::Find(int id) const {
  for (const CommandRow& row : rows_)
    if (row.id == id) return &row;
  return nullptr;
}

bool CommandTable::IsEnabled(int id, const Session& session, bool busy) const {
  if (busy) return false;
  const CommandRow* row = Find(id);
  return row && row->run && (session.HasLog() || !row->needsLog);
}

bool CommandTable::IsVisible(int id) const {
  const CommandRow* row = Find(id);
  return !row || row->visible;
}

const char* CommandTable::ComponentName(int id) const {
  const CommandRow* row = Find(id);
  return row && row->component ? row->component : "MainForm";
}

void CommandTable::Run(int id, CommandEnvironment& environment) const {
  const CommandRow* row = Find(id);
  // A processor fault of the command becomes its error, shown like any other.
  if (row && row->run) RunCatchingFaults([&] { row->run(environment); });
}
