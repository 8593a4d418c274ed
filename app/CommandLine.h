#pragma once
// What the program's arguments ask for: the command-line help, a batch run, a selection or log
// file to open, or nothing.

#include <string>
#include <vector>

enum class CommandLineAction { None, Help, Store, Compare, Uninstall, SelectionFile, LogFile };

struct CommandLineRequest {
  CommandLineAction action = CommandLineAction::None;
  std::string argument;  // the file of SelectionFile, LogFile, Compare and Uninstall, as given
};

inline constexpr const char* kCommandLineHelp =
    "Command line params:\r? - for help\rSTORECONFIG - Stores the current configuration\rCOMPARE filename - "
    "Creates a logfile";

// arguments without the program's own name. Keywords are matched ignoring case, with or
// without a leading "/"; a keyword with the wrong number of arguments is no request; a file
// argument counts only when fileExists says so.
CommandLineRequest ParseCommandLine(const std::vector<std::string>& arguments,
                                    bool (*fileExists)(const std::string& path));

// The log file of COMPARE and UNINSTALL: used as given when it contains ".SXL" (any case),
// else made a full path with its extension replaced by ".SXL".
std::string BatchLogFileName(const std::string& argument);

// path made absolute against the current folder; path itself when that fails.
std::string FullPathName(const std::string& path);

bool IsBatch(CommandLineAction action);

// The process's arguments after the program name, split as the C runtime splits them.
std::vector<std::string> ProcessArguments();
