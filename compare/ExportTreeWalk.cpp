#include "compare/ExportTreeWalk.h"

#include "compare/ChangeBlockReader.h"
#include "compare/LogLoader.h"
#include "compare/ResultRecords.h"
#include "datafiles/SystemFileText.h"

std::string ExportNodePath(const TreeNode& node, LogSection mode) {
  if (mode == LogSection::Drives) return DriveFolderPath(node);
  // The top node (the one without parent) is not part of a path.
  std::string path;
  for (const TreeNode* n = &node; n->Parent(); n = n->Parent()) path = n == &node ? n->Text() : n->Text() + "\\" + path;
  return path;
}

namespace {

class Walk {
 public:
  Walk(const ExportChoice& choice, ChangeBlockReader& block, const ExportCallbacks& callbacks)
      : choice_(choice), block_(block), callbacks_(callbacks) {}

  void Start(const TreeNode& start) {
    // A walk that starts below a file node still needs the file's type for its records.
    if (choice_.mode == LogSection::SystemFiles && start.Level() > 1)
      iniFile_ = IsIniType(SystemFileTypeOfText(AncestorAtLevel(start, 1)->Text()));
    Visit(start);
  }

 private:
  // Recursion depth is the tree's depth, which tree blocks and expansions keep bounded.
  void Visit(const TreeNode& node) {
    const int level = node.Level();
    if (choice_.mode == LogSection::SystemFiles && level == 1) iniFile_ = IsIniType(SystemFileTypeOfText(node.Text()));
    const int kind = KindOf(node.StateIndex());
    const bool chosen = HasKind(choice_.kinds, kind);
    const ExportNode info{&node, kind, ExportNodePath(node, choice_.mode), level, choice_.mode};

    if (kind == kKindDeleted && chosen) Call(callbacks_.newOrDeletedNode, info);
    for (size_t i = 0; i < node.Count(); ++i) Visit(*node.Child(i));
    if (chosen) Call(callbacks_.node, info);
    if (node.Data() != 0) Records(node, info);
    if (kind == kKindNew && chosen) Call(callbacks_.newOrDeletedNode, info);
    if (chosen) Call(callbacks_.nodeEnd, info);
  }

  static void Call(const std::function<void(const ExportNode&)>& callback, const ExportNode& info) {
    if (callback) callback(info);
  }

  void Records(const TreeNode& node, const ExportNode& info) {
    block_.Seek(node.Data());
    // Sections of new and deleted system-file sections hold their entries only.
    if (choice_.mode != LogSection::SystemFiles && IsNewOrDeleted(info.kind)) block_.SkipSubList();
    TReader& reader = block_.Reader();
    for (int32_t i = block_.ReadCount(); i > 0; --i) {
      ExportRecord record;
      record.name = reader.ReadString();
      record.kind = KindOf(reader.ReadInteger());
      record.mode = choice_.mode;
      record.level = info.level;
      ReadValue(record);
      if (!HasKind(choice_.kinds, record.kind) || !callbacks_.record) continue;
      record.nodePath = info.path;
      callbacks_.record(record);
    }
  }

  void ReadValue(ExportRecord& record) {
    TReader& reader = block_.Reader();
    switch (choice_.mode) {
      case LogSection::Registry:
        record.typeCode = reader.ReadInteger();
        if (record.typeCode == kRdString) {
          record.form = ExportValueForm::Text;
          record.text = reader.ReadString();
        } else if (record.typeCode == kRdInteger) {
          record.form = ExportValueForm::Integer;
          record.integer = reader.ReadInteger();
        } else if (record.typeCode == kRdExpandString) {
          // Exported as the bytes the registry holds: the characters and their terminator.
          record.form = ExportValueForm::Bytes;
          record.bytes = reader.ReadString();
          record.bytes.push_back('\0');
        } else {
          record.form = ExportValueForm::Bytes;
          record.bytes = block_.ReadBytes();
        }
        break;
      case LogSection::Drives:
        record.form = ExportValueForm::FileInfo;
        record.time = static_cast<uint32_t>(reader.ReadInteger());
        record.size = static_cast<uint32_t>(reader.ReadInteger());
        record.attributes = static_cast<uint32_t>(reader.ReadInteger());
        break;
      case LogSection::SystemFiles:
        if (iniFile_) {
          record.form = ExportValueForm::Text;
          record.text = reader.ReadString();
        } else {
          record.form = ExportValueForm::Integer;
          record.integer = reader.ReadInteger();
        }
        break;
    }
  }

  const ExportChoice& choice_;
  ChangeBlockReader& block_;
  const ExportCallbacks& callbacks_;
  bool iniFile_ = false;
};

}  // namespace

void ExportTreeWalk(TreeModel& tree, TreeNode* start, const ExportChoice& choice, const std::string& logFileName,
                    const LogPositions& positions, UserInteraction& ui, const ExportCallbacks& callbacks) {
  if (!start) return;
  ExpandSubtree(tree, *start, logFileName, positions, choice.mode, ui);
  ChangeBlockReader block(logFileName, positions, choice.mode);
  Walk(choice, block, callbacks).Start(*start);
}
