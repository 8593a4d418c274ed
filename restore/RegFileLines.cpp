#include "restore/RegFileLines.h"

#include <cstdio>

#include "datafiles/RegDataCode.h"

namespace {

// Byte data is wrapped once a line grows beyond this.
constexpr size_t kHexLineWidth = 80;

std::string RegEscaped(const std::string& text) {
  std::string escaped;
  for (char c : text) {
    if (c == '\\' || c == '"') escaped.push_back('\\');
    escaped.push_back(c);
  }
  return escaped;
}

// Importers read the type in hex(...) as hexadecimal, so REG_QWORD is "b", not "11" (which
// they would take for type 17).
std::string HexTypePrefix(uint32_t platformType) {
  if (platformType == kPlatformRegBinary) return "=hex:";
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, "=hex(%x):", static_cast<unsigned>(platformType));
  return buffer;
}

}  // namespace

std::string RegFileValueName(const std::string& name) { return name.empty() ? "@" : "\"" + RegEscaped(name) + "\""; }

std::string RegFileStringLine(const std::string& namePart, const std::string& text) {
  return namePart + "=\"" + RegEscaped(text) + "\"";
}

std::string RegFileDwordLine(const std::string& namePart, uint32_t value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "=dword:%08X", static_cast<unsigned>(value));
  return namePart + buffer;
}

void AppendRegFileHexLines(std::vector<std::string>& lines, const std::string& namePart, uint32_t platformType,
                           const std::string& bytes) {
  std::string line = namePart + HexTypePrefix(platformType);
  char hex[4];
  for (size_t i = 0; i < bytes.size(); ++i) {
    std::snprintf(hex, sizeof hex, "%02X,", static_cast<unsigned char>(bytes[i]));
    line += hex;
    if (line.size() > kHexLineWidth && i + 1 < bytes.size()) {
      lines.push_back(line + "\\");
      line = "  ";
    }
  }
  if (line.back() == ',') line.pop_back();
  lines.push_back(std::move(line));
}
