#include "compare/TextExport.h"

#include <cstdio>

#include "core/Formatting.h"
#include "datafiles/RegDataCode.h"
#include "datafiles/Stream.h"

namespace {

// Export lines holding byte data are wrapped once they grow beyond this.
constexpr size_t kHexLineWidth = 80;

std::string Symbol(int kind) {
  switch (kind) {
    case kKindNew:
    case kRecordNew:
      return "[+]";
    case kKindDeleted:
    case kRecordDeleted:
      return "[-]";
    case kKindChanged:
      return "[#]";
    case kRecordOldSide:
      return "[%]";
    case kRecordNewSide:
      return "[*]";
  }
  return "";
}

const char* SectionWord(LogSection mode) {
  switch (mode) {
    case LogSection::Registry:
      return "Registry";
    case LogSection::Drives:
      return "Files/Folders";
    case LogSection::SystemFiles:
      return "System Files:";
  }
  return "";
}

// The platform's registry type number of a data type code: REG_DWORD and REG_BINARY are
// exchanged, the others are equal.
int PlatformTypeNumber(int code) {
  if (code == kRdInteger) return static_cast<int>(kPlatformRegDword);
  if (code == kRdBinary) return static_cast<int>(kPlatformRegBinary);
  return code;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

class TextExport {
 public:
  TextExport(const std::string& defaultText, std::vector<std::string>& lines)
      : defaultText_(defaultText), lines_(lines) {}

  void NodeLine(const ExportNode& node) {
    if (node.kind == kKindNew || node.kind == kKindDeleted || node.kind == kKindChanged)
      lines_.push_back(Symbol(node.kind) + "[" + node.path + "]");
  }

  void RecordLine(const ExportRecord& record) {
    if (record.kind < kRecordNew || record.kind > kRecordNewSide) return;
    std::string line = "  " + Symbol(record.kind) + Quoted(record.name.empty() ? defaultText_ : record.name);
    char buffer[64];
    switch (record.form) {
      case ExportValueForm::Text:
        line += " = " + Quoted(record.text);
        break;
      case ExportValueForm::Integer:
        if (record.mode == LogSection::Registry) {
          std::snprintf(buffer, sizeof buffer, " = $%08X  (%d)", static_cast<unsigned>(record.integer),
                        static_cast<int>(record.integer));
          line += buffer;
        } else {
          line += " = " + Quoted(std::to_string(record.integer));
        }
        break;
      case ExportValueForm::FileInfo:
        line += " " + FormatThousands(record.size, ThousandsSeparator()) + " Bytes, " + FormatDosDateTime(record.time) +
                ", [" + FormatAttributes(record.attributes) + "]";
        break;
      case ExportValueForm::Bytes:
        HexLines(line, record);
        return;
    }
    lines_.push_back(std::move(line));
  }

 private:
  void HexLines(std::string& line, const ExportRecord& record) {
    line += "=hex(" + std::to_string(PlatformTypeNumber(record.typeCode)) + "):";
    char hex[4];
    for (size_t i = 0; i < record.bytes.size(); ++i) {
      std::snprintf(hex, sizeof hex, "%02X,", static_cast<unsigned char>(record.bytes[i]));
      line += hex;
      if (line.size() > kHexLineWidth && i + 1 < record.bytes.size()) {
        lines_.push_back(line + "\\");
        line = "  ";
      }
    }
    if (!line.empty() && line.back() == ',') line.pop_back();
    lines_.push_back(std::move(line));
  }

  const std::string& defaultText_;
  std::vector<std::string>& lines_;
};

}  // namespace

std::vector<std::string> BuildTextExport(TreeModel& tree, TreeNode* start, const ExportChoice& choice,
                                         const std::string& logFileName, const LogPositions& positions,
                                         const std::string& defaultText, UserInteraction& ui) {
  const std::string startPath = start ? ExportNodePath(*start, LogSection::Registry) : "";
  std::vector<std::string> lines = {
      "; Quorvel -  ",
      "; Quorvel records what an installation changes and can undo it.",
      "; File:" + logFileName,
      std::string("; ") + SectionWord(choice.mode) + " : " + startPath,
      "; Legend:",
      "; " + Symbol(kKindDeleted) + "= Deleted key/folder, " + Symbol(kKindNew) + "= New key/folder, " +
          Symbol(kKindChanged) + "= Changed  key/folder, ",
      "; " + Symbol(kRecordDeleted) + "= Deleted value/file, " + Symbol(kRecordNew) + "= New value/file",
      "; " + Symbol(kRecordOldSide) + "= Changed value (old  value/file), " + Symbol(kRecordNewSide) +
          "=  Changed value (new value/file)",
      "; ",
  };
  TextExport text(defaultText, lines);
  ExportCallbacks callbacks;
  callbacks.record = [&](const ExportRecord& record) { text.RecordLine(record); };
  callbacks.node = [&](const ExportNode& node) { text.NodeLine(node); };
  ExportTreeWalk(tree, start, choice, logFileName, positions, ui, callbacks);
  return lines;
}

void SaveTextLines(const std::string& fileName, const std::vector<std::string>& lines) {
  std::string content;
  for (const std::string& line : lines) content += line + "\r\n";
  TFileStream file(fileName, FileMode::Create);
  file.Write(content.data(), content.size());
}
