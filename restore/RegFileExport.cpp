#include "restore/RegFileExport.h"

#include <cstdio>

#include "datafiles/RegDataCode.h"

namespace {

// Its integer values are the machine's own use counters of shared files; copying them to
// another machine would corrupt that machine's counts.
constexpr const char* kSharedDllsKey = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";

// Byte data is wrapped once a line grows beyond this.
constexpr size_t kHexLineWidth = 80;

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::string RegEscaped(const std::string& text) {
  std::string escaped;
  for (char c : text) {
    if (c == '\\' || c == '"') escaped.push_back('\\');
    escaped.push_back(c);
  }
  return escaped;
}

// The type in hex(...): the platform's REG_ number. Importers read it as hexadecimal, so
// REG_QWORD is "b", not "11" (which they would take for type 17).
std::string HexTypePrefix(int typeCode) {
  if (typeCode == kRdBinary) return "=hex:";
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, "=hex(%x):", static_cast<unsigned>(RegDataCodeToPlatform(typeCode)));
  return buffer;
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

    const std::string namePart = record.name.empty() ? "@" : "\"" + RegEscaped(record.name) + "\"";
    switch (record.form) {
      case ExportValueForm::Text:
        if (FitsOnOneLine(record.text)) {
          lines_.push_back(namePart + "=\"" + RegEscaped(record.text) + "\"");
        } else {
          // A line break inside quotes would end the value and start a line of its own.
          HexLines(namePart, record.typeCode, record.text + '\0');
        }
        break;
      case ExportValueForm::Integer: {
        if (!WritesLine(record)) break;
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "=dword:%08X", static_cast<unsigned>(record.integer));
        lines_.push_back(namePart + buffer);
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
    std::string line = namePart + HexTypePrefix(typeCode);
    char hex[4];
    for (size_t i = 0; i < bytes.size(); ++i) {
      std::snprintf(hex, sizeof hex, "%02X,", static_cast<unsigned char>(bytes[i]));
      line += hex;
      if (line.size() > kHexLineWidth && i + 1 < bytes.size()) {
        lines_.push_back(line + "\\");
        line = "  ";
      }
    }
    if (line.back() == ',') line.pop_back();
    lines_.push_back(std::move(line));
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
