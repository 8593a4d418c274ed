#pragma once
// What the install-file writers share: where they read from, the registry path split into a
// root abbreviation and a subkey, INF field quoting, and the list of log items left out because
// their names cannot be written safely.

#include <set>
#include <string>
#include <vector>

#include "compare/ExportTreeWalk.h"
#include "compare/LogLayout.h"
#include "core/TreeModel.h"
#include "core/UserInteraction.h"

// One result subtree of the loaded log and the kinds the user chose for it.
struct InstallExportSource {
  TreeModel& tree;
  TreeNode* start;  // nothing is exported when it is nullptr
  KindSet kinds;
  const std::string& logFileName;
  const LogPositions& positions;
};

// A registry node path split at its first "\": the root key's abbreviation (HKLM ...) and the
// subkey path. found is false when the root name is none of the seven.
struct RegistryTarget {
  bool found = false;
  std::string root;
  std::string subkey;
};
// A path without "\" (a root key itself) gives an empty subkey.
RegistryTarget SplitRegistryPath(const std::string& path);

// False for texts that would break the line they are written on (CR, LF or NUL inside).
bool FitsOnOneLine(const std::string& text);

// An INF string field: "%" doubled (else setup substitutes [Strings] keys into it) and a double
// quote doubled, enclosed in double quotes.
std::string InfQuoted(const std::string& text);
// An INF field that is written unquoted where that is safe (a path with a blank stays as it
// is); quoted when it holds a field or comment separator or a quote.
std::string InfField(const std::string& text);

// The [Version] and [Strings] sections both INF files begin with, and the empty line after.
std::vector<std::string> InfTemplateLines();

// Log items that an export left out because their names cannot be written safely. Reported
// once, after the output, so a damaged log cannot flood the user with messages.
class RefusedItems {
 public:
  void Add(const std::string& item);
  bool Empty() const { return items_.empty(); }
  const std::vector<std::string>& Items() const { return items_; }
  // A warning naming the items (the first few); nothing when there are none.
  void Report(UserInteraction& ui) const;

 private:
  std::vector<std::string> items_;  // in the order met
  std::set<std::string> known_;
};

// Creates or truncates the file and writes the lines, each ended by CR LF; then tells
// createdText + the number of lines (template and empty lines included) + " Lines)".
void SaveInstallFile(const std::string& fileName, const std::vector<std::string>& lines, const std::string& createdText,
                     UserInteraction& ui);
