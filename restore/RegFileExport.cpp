#include "restore/RegFileExport.h"

#include "datafiles/RegDataCode.h"
#include "restore/RegFileLines.h"

namespace {

// Its integer values are the machine's own use counters of shared files; copying them to
// another machine would corrupt that machine's counts.
constexpr const char* kSharedDllsKey = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

class RegFileWriter {
 public:
  RegFileWriter(std::vector<std::string>& lines, RefusedItems& refused) : lines_(lines), refused_(refused) {}

  void Node(const ExportNode& node) {
    if (node.kind == kKindNew || node.kind == kKindChanged) KeyLine(node.path);
  }

  void Record(const ExportRecord& record) {
    if (record.kind != kRecordNew && record.kind != kRecordNewSide) return;
    if (!FitsOnOneLine(record.nodePath)) {
      refused_.Add(record.nodePath);
      return;
    }
    if (!FitsOnOneLine(record.name)) {
      refused_.Add(record.nodePath + "\\" + record.name);
      return;
    }
    // A key line that was not chosen still stands above its values, so that they do not land
    // under the key written last.
    if (record.nodePath != keyPath_) {
      if (!WritesLine(record)) return;
      KeyLine(record.nodePath);
    }

    const std::string namePart = RegFileValueName(record.name);
    switch (record.form) {
      case ExportValueForm::Text:
        if (FitsOnOneLine(record.text)) {
          lines_.push_back(RegFileStringLine(namePart, record.text));
        } else {
          // A line break inside quotes would end the value and start a line of its own.
          HexLines(namePart, record.typeCode, record.text + '\0');
        }
        break;
      case ExportValueForm::Integer: {
        if (!WritesLine(record)) break;
        lines_.push_back(RegFileDwordLine(namePart, static_cast<uint32_t>(record.integer)));
        break;
      }
      case ExportValueForm::Bytes:
        HexLines(namePart, record.typeCode, record.bytes);
        break;
      case ExportValueForm::FileInfo:
        break;
    }
  }

 private:
  static bool IsSharedCounterKey(const std::string& path) { return EqualsIgnoringCase(path, kSharedDllsKey); }

  // Integer values under the shared-file counters key are the only values without a line.
  static bool WritesLine(const ExportRecord& record) {
    return record.form != ExportValueForm::FileInfo &&
           !(record.form == ExportValueForm::Integer && IsSharedCounterKey(record.nodePath));
  }

  void KeyLine(const std::string& path) {
    keyPath_ = path;
    if (!FitsOnOneLine(path)) {
      refused_.Add(path);
      return;
    }
    lines_.push_back("[" + path + "]");
  }

  void HexLines(const std::string& namePart, int typeCode, const std::string& bytes) {
    AppendRegFileHexLines(lines_, namePart, RegDataCodeToPlatform(typeCode), bytes);
  }

  std::vector<std::string>& lines_;
  RefusedItems& refused_;
  std::string keyPath_;  // of the last key line
};

}  // namespace

std::vector<std::string> BuildRegFile(const InstallExportSource& source, UserInteraction& ui, RefusedItems& refused) {
  std::vector<std::string> lines = {"REGEDIT4", ""};
  RegFileWriter writer(lines, refused);
  ExportCallbacks callbacks;
  callbacks.node = [&](const ExportNode& node) { writer.Node(node); };
  callbacks.record = [&](const ExportRecord& record) { writer.Record(record); };
  ExportTreeWalk(source.tree, source.start, {source.kinds, LogSection::Registry}, source.logFileName, source.positions,
                 ui, callbacks);
  return lines;
}
