#include "datafiles/SystemFileText.h"

#include "core/Errors.h"
#include "core/TextCompare.h"

namespace {

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
  return text;
}

bool Same(std::string_view a, std::string_view b) { return CompareTextLocale(a, b) == 0; }

constexpr size_t kMarkerLength = 5;  // "(INI)" or "(TXT)"

}  // namespace

SystemFileType SystemFileTypeOfText(std::string_view nodeText) {
  std::string_view text = Trimmed(nodeText);
  if (Same(text, "WIN.INI") || Same(text, "SYSTEM.INI")) return kSystemIni;
  if (Same(text, "AUTOEXEC.BAT") || Same(text, "CONFIG.SYS")) return kSystemText;
  if (text.size() > kMarkerLength) {
    std::string_view marker = text.substr(text.size() - kMarkerLength);
    if (Same(marker, "(INI)")) return kUserIni;
    if (Same(marker, "(TXT)")) return kUserText;
  }
  throw Exception(FormatText("Cannot determine file type of %s.", std::string(nodeText)));
}

std::string SystemFileNameOfText(std::string_view nodeText) {
  std::string_view text = Trimmed(nodeText);
  SystemFileType type = SystemFileTypeOfText(text);
  if (type == kUserIni || type == kUserText) text.remove_suffix(kMarkerLength);
  return std::string(text);
}
