#include "compare/ResultRecords.h"

#include "compare/ChangeBlockReader.h"
#include "core/Formatting.h"
#include "datafiles/SystemFileText.h"

namespace {

bool HasRecords(const TreeNode& node, const std::string& logFileName) {
  if (logFileName.empty() || node.Data() == 0) return false;
  const int kind = KindOf(node.StateIndex());
  return IsNewOrDeleted(kind) || kind == kKindChanged;
}

// Puts the reader at the node's record count: new and deleted keys and folders hold their
// subkeys or subfolders first.
void SeekRecords(ChangeBlockReader& block, const TreeNode& node) {
  block.Seek(node.Data());
  if (block.Section() != LogSection::SystemFiles && IsNewOrDeleted(KindOf(node.StateIndex()))) block.SkipSubList();
}

// Fields every row shares; the kind is read here, so the row knows where it stands.
ResultRow StartRow(ChangeBlockReader& block) {
  ResultRow row;
  row.name = block.Reader().ReadString();
  row.kindPosition = block.BaseOffset() + block.Position();
  row.kind = block.Reader().ReadInteger();
  row.stateImage = KindOf(row.kind);
  row.greyed = (row.kind & kRestoredBit) != 0;
  return row;
}

std::string IntegerBytes(int32_t value) {
  const uint32_t bits = static_cast<uint32_t>(value);
  const char bytes[4] = {static_cast<char>(bits), static_cast<char>(bits >> 8), static_cast<char>(bits >> 16),
                         static_cast<char>(bits >> 24)};
  return std::string(bytes, 4);
}

}  // namespace

const TreeNode* AncestorAtLevel(const TreeNode& node, int level) {
  const TreeNode* at = &node;
  for (int l = node.Level(); l > level; --l) at = at->Parent();
  return at->Level() == level ? at : nullptr;
}

std::string DriveFolderPath(const TreeNode& node) {
  const TreeNode* drive = AncestorAtLevel(node, 1);
  if (!drive) return "";
  std::string path = drive->Text().empty() ? std::string() : drive->Text().substr(0, 1);
  path += ":\\";
  std::vector<const TreeNode*> folders;
  for (const TreeNode* n = &node; n != drive; n = n->Parent()) folders.push_back(n);
  for (auto it = folders.rbegin(); it != folders.rend(); ++it) path += (*it)->Text() + "\\";
  return path;
}

void ReadRegistryRows(const TreeNode& node, const std::string& logFileName, const LogPositions& positions,
                      const std::string& defaultText, const std::string& emptyText, std::vector<ResultRow>& rows) {
  if (!HasRecords(node, logFileName)) return;
  ChangeBlockReader block(logFileName, positions, LogSection::Registry);
  SeekRecords(block, node);
  TReader& reader = block.Reader();
  for (int32_t i = block.ReadCount(); i > 0; --i) {
    ResultRow row = StartRow(block);
    row.typeCode = reader.ReadInteger();
    std::string shown;
    if (IsTextRegDataCode(row.typeCode)) {
      row.text = reader.ReadString();
      row.imageIndex = kImageStringValue;
      shown = row.text;
    } else if (row.typeCode == kRdInteger) {
      row.integer = reader.ReadInteger();
      row.imageIndex = kImageIntegerValue;
      shown = IntegerBytes(row.integer);
    } else {
      row.bytes = block.ReadBytes();
      row.imageIndex = kImageBinaryValue;
      shown = row.bytes;
    }
    row.caption = row.name.empty() ? defaultText : row.name;
    row.columns.push_back(FormatRegistryValue(row.typeCode, shown, emptyText));
    rows.push_back(std::move(row));
  }
}

void ReadDriveRows(const TreeNode& node, const std::string& logFileName, const LogPositions& positions,
                   std::vector<ResultRow>& rows) {
  if (!HasRecords(node, logFileName)) return;
  ChangeBlockReader block(logFileName, positions, LogSection::Drives);
  SeekRecords(block, node);
  TReader& reader = block.Reader();
  const char separator = ThousandsSeparator();
  for (int32_t i = block.ReadCount(); i > 0; --i) {
    ResultRow row = StartRow(block);
    row.time = static_cast<uint32_t>(reader.ReadInteger());
    row.size = static_cast<uint32_t>(reader.ReadInteger());
    row.attributes = static_cast<uint32_t>(reader.ReadInteger());
    row.caption = row.name;
    row.columns = {FormatThousands(row.size, separator), FormatDosDateTime(row.time), FormatAttributes(row.attributes)};
    rows.push_back(std::move(row));
  }
}

void ReadSystemFileRows(const TreeNode& node, const std::string& logFileName, const LogPositions& positions,
                        int entryImage, std::vector<ResultRow>& rows) {
  if (!HasRecords(node, logFileName)) return;
  const TreeNode* file = AncestorAtLevel(node, 1);
  if (!file) return;
  const bool ini = IsIniType(SystemFileTypeOfText(file->Text()));
  ChangeBlockReader block(logFileName, positions, LogSection::SystemFiles);
  SeekRecords(block, node);
  TReader& reader = block.Reader();
  for (int32_t i = block.ReadCount(); i > 0; --i) {
    ResultRow row = StartRow(block);
    row.imageIndex = entryImage;
    if (ini) {
      row.text = reader.ReadString();
      row.caption = row.name;
      row.columns.push_back(row.text);
    } else {
      row.integer = reader.ReadInteger();
      const std::string number = std::to_string(static_cast<int64_t>(row.integer) + 1);
      row.caption = "Line:" + std::string(number.size() < 5 ? 5 - number.size() : 0, ' ') + number;
      row.columns.push_back(row.name);
    }
    rows.push_back(std::move(row));
  }
}
