#include "restore/InstallFileText.h"

#include "platform/TMyRegistry.h"
#include "compare/TextExport.h"

namespace {

// In the order of the seven root names.
constexpr const char* kRootAbbreviations[kRootKeyCount] = {"HKCR", "HKCU", "HKLM", "HKU", "HKPD", "HKCC", "HKDD"};

// Enough to recognise what was left out without a message taller than the screen.
constexpr size_t kMostRefusedShown = 10;

std::string DoubledQuotesAndPercents(const std::string& text) {
  std::string escaped;
  for (char c : text) {
    if (c == '"' || c == '%') escaped.push_back(c);
    escaped.push_back(c);
  }
  return escaped;
}

}  // namespace

RegistryTarget SplitRegistryPath(const std::string& path) {
  const size_t split = path.find('\\');
  const int index = RootKeyIndex(path.substr(0, split));
  if (index < 0) return {};
  return {true, kRootAbbreviations[index], split == std::string::npos ? std::string() : path.substr(split + 1)};
}

bool FitsOnOneLine(const std::string& text) {
  return text.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
}

std::string InfQuoted(const std::string& text) { return "\"" + DoubledQuotesAndPercents(text) + "\""; }

std::string InfField(const std::string& text) {
  const bool needsQuotes =
      text.find_first_of(",;\"") != std::string::npos || (!text.empty() && (text.front() == ' ' || text.back() == ' '));
  if (needsQuotes) return InfQuoted(text);
  std::string field;
  for (char c : text) {
    if (c == '%') field.push_back(c);
    field.push_back(c);
  }
  return field;
}

std::vector<std::string> InfTemplateLines() {
  return {
      "[Version]",
      "Signature=$Chicago$",
      "Provider=%Author%",
      "SetupClass=BASE",
      "Class=NoDriver",
      "",
      "[Strings]",
      "Product=\"SnapTrace InstallScript\"",
      "Version=\"1.0\"",
      "Info=\"SnapTrace InstallScript\"",
      "Author=\"Quorvel\"",
      "Copyright=\"Made by Quorvel from a log file of recorded changes\"",
      "",
  };
}

void RefusedItems::Add(const std::string& item) {
  if (known_.insert(item).second) items_.push_back(item);
}

void RefusedItems::Report(UserInteraction& ui) const {
  if (items_.empty()) return;
  std::string text = "These items have names that cannot be exported safely; they were left out:";
  for (size_t i = 0; i < items_.size() && i < kMostRefusedShown; ++i) text += "\r" + items_[i];
  if (items_.size() > kMostRefusedShown)
    text += "\r... and " + std::to_string(items_.size() - kMostRefusedShown) + " more";
  ui.Tell(MsgType::Warning, text);
}

void SaveInstallFile(const std::string& fileName, const std::vector<std::string>& lines, const std::string& createdText,
                     UserInteraction& ui) {
  SaveTextLines(fileName, lines);
  ui.Tell(MsgType::Information, createdText + std::to_string(lines.size()) + " Lines)");
}
