#pragma once
// The walk over a result subtree that the text export and the install-file export share: it
// expands the subtree from the log (new and deleted subtrees included), then calls back for
// each node and each change record whose kind the user chose, children before their parent.

#include <cstdint>
#include <functional>
#include <string>

#include "compare/LogLayout.h"
#include "core/TreeModel.h"
#include "core/UserInteraction.h"

// A set of node and record kinds, bit n for kind n.
using KindSet = uint32_t;
inline constexpr KindSet KindBit(int kind) { return kind >= 0 && kind < 32 ? 1u << kind : 0; }
inline constexpr bool HasKind(KindSet set, int kind) { return (set & KindBit(kind)) != 0; }
// Every kind 0 to 21: where the export commands start before the user narrows the set.
inline constexpr KindSet kAllKinds = (1u << 22) - 1;

// What the export selection dialog decides: the kinds to export, and the tree (mode 0
// registry, 1 drives, 2 system files) that also chooses the dialog's captions.
struct ExportChoice {
  KindSet kinds = kAllKinds;
  LogSection mode = LogSection::Registry;
};

struct ExportNode {
  const TreeNode* node = nullptr;
  int kind = 0;      // state index AND 15
  std::string path;  // ExportNodePath
  int level = 0;
  LogSection mode = LogSection::Registry;
};

// How a record's value is handed over.
enum class ExportValueForm {
  Text,      // registry code 1, INI entry value
  Integer,   // registry code 3, text file line index
  Bytes,     // registry code 2 (its text and one zero byte) and every other code, as stored
  FileInfo,  // time, size, attributes
};

struct ExportRecord {
  int kind = 0;  // record kind AND 15
  std::string nodePath;
  std::string name;
  LogSection mode = LogSection::Registry;
  int typeCode = 0;  // registry data type code, mode 0 only
  int level = 0;     // of the record's node
  ExportValueForm form = ExportValueForm::Text;
  std::string text;
  int32_t integer = 0;
  std::string bytes;
  uint32_t time = 0;
  uint32_t size = 0;
  uint32_t attributes = 0;
};

// An unset callback is skipped.
struct ExportCallbacks {
  std::function<void(const ExportRecord&)> record;
  // After the node's records.
  std::function<void(const ExportNode&)> nodeEnd;
  // Deleted nodes before their children, new nodes after their records.
  std::function<void(const ExportNode&)> newOrDeletedNode;
  // After the node's children, before its records.
  std::function<void(const ExportNode&)> node;
};

// Modes 0 and 2: the texts from level 1 down joined by "\" (HKEY_LOCAL_MACHINE\SOFTWARE\X,
// WIN.INI\[windows]); mode 1: the folder path "C:\WINDOWS\SYSTEM\". Empty for the top node.
std::string ExportNodePath(const TreeNode& node, LogSection mode);

// Walks start and its subtree (nothing when start is nullptr). The log is opened after the
// expansion and stays open for the walk; an open error ends the walk. Record kinds are handed
// over AND 15, so records of restored changes are exported like the others.
void ExportTreeWalk(TreeModel& tree, TreeNode* start, const ExportChoice& choice, const std::string& logFileName,
                    const LogPositions& positions, UserInteraction& ui, const ExportCallbacks& callbacks);
