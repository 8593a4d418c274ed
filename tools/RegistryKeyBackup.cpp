#include "tools/RegistryKeyBackup.h"

#include <fstream>

#include "core/Errors.h"
#include "platform/PathText.h"
#include "platform/TMyRegistry.h"
#include "restore/InstallFileText.h"
#include "restore/RegFileLines.h"
#include "restore/ShellFileOperations.h"

namespace {

// A file name stays well inside MAX_PATH however deep the key.
constexpr size_t kLongestNameStem = 120;

std::string TextUpToZero(const std::string& data) { return data.substr(0, data.find('\0')); }

// A string whose data is its text and one zero (or none) reads back as written; any other data
// (zeros inside, a line break) keeps its bytes as hex(1).
bool IsPlainText(const TRegValue& value) {
  const std::string text = TextUpToZero(value.data);
  const bool endsThere = text.size() == value.data.size() || text.size() + 1 == value.data.size();
  return endsThere && FitsOnOneLine(text);
}

void AppendValueLines(std::vector<std::string>& lines, const TRegValue& value) {
  const std::string namePart = RegFileValueName(value.name);
  if (value.type == REG_SZ && IsPlainText(value)) {
    lines.push_back(RegFileStringLine(namePart, TextUpToZero(value.data)));
  } else if (value.type == REG_DWORD && value.data.size() == sizeof(DWORD)) {
    DWORD number = 0;
    value.data.copy(reinterpret_cast<char*>(&number), sizeof number);
    lines.push_back(RegFileDwordLine(namePart, number));
  } else {
    AppendRegFileHexLines(lines, namePart, value.type, value.data);
  }
}

void AppendKey(HKEY root, const std::string& rootName, const std::string& keyPath, std::vector<std::string>& lines) {
  const std::string fullPath = rootName + "\\" + keyPath;
  // A name with "]" would end the key line early; one with a line break would split it.
  if (!FitsOnOneLine(keyPath) || keyPath.find(']') != std::string::npos)
    throw Exception("The key " + fullPath + " cannot be written to a .REG file.");
  TMyRegistry reg(root, kRegAccessRead);
  if (!reg.OpenKey("\\" + keyPath, false)) throw Exception("The key " + fullPath + " cannot be opened.");
  TRegKeyInfo info;
  std::vector<TRegValue> values;
  reg.GetValues(values);
  if (!reg.GetKeyInfo(info) || values.size() != info.numValues)
    throw Exception("Not every value of " + fullPath + " can be read.");
  lines.push_back("");
  lines.push_back("[" + fullPath + "]");
  for (const TRegValue& value : values) {
    if (!FitsOnOneLine(value.name))
      throw Exception("The value " + value.name + " of " + fullPath + " cannot be written to a .REG file.");
    AppendValueLines(lines, value);
  }
  std::vector<std::string> subKeys;
  reg.GetKeyNames(subKeys);
  if (subKeys.size() != info.numSubKeys) throw Exception("Not every sub-key of " + fullPath + " can be read.");
  for (const std::string& name : subKeys) AppendKey(root, rootName, keyPath + "\\" + name, lines);
}

// "HKEY_CURRENT_USER_Software_Acme" from the key's path; characters a file name cannot hold
// become "_".
std::string NameStem(const std::string& rootName, const std::string& keyPath) {
  std::string stem = rootName + "\\" + keyPath;
  for (char& c : stem)
    if (c == '\\' || c == '/' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' || c == '|' ||
        static_cast<unsigned char>(c) < 32)
      c = '_';
  if (stem.size() > kLongestNameStem) stem.resize(kLongestNameStem);
  return stem;
}

// The first free name: the stem alone, then "stem (2)", "stem (3)", ...: an earlier backup of
// the same key is never overwritten.
std::string FreeFileName(const std::string& folder, const std::string& stem) {
  for (int number = 1;; ++number) {
    const std::string path = folder + stem + (number == 1 ? "" : " (" + std::to_string(number) + ")") + ".REG";
    if (!FileOrFolderExists(path)) return path;
  }
}

}  // namespace

std::vector<std::string> RegFileLinesOfKey(HKEY root, const std::string& rootName, const std::string& keyPath) {
  std::vector<std::string> lines = {"REGEDIT4"};
  AppendKey(root, rootName, keyPath, lines);
  lines.push_back("");
  return lines;
}

std::string SaveKeyToRegFile(HKEY root, const std::string& rootName, const std::string& keyPath,
                             const std::string& folder) {
  const std::vector<std::string> lines = RegFileLinesOfKey(root, rootName, keyPath);
  const std::string target = WithTrailingBackslash(folder);
  if (!CreateFolderWithParents(target)) throw Exception("The backup folder " + target + " cannot be created.");
  const std::string path = FreeFileName(target, NameStem(rootName, keyPath));
  {
    std::ofstream file(path, std::ios::binary);
    for (const std::string& line : lines) file << line << "\r\n";
    file.flush();
    if (!file) {
      file.close();
      DeleteFileA(path.c_str());
      throw Exception("The backup file " + path + " cannot be written.");
    }
  }
  return path;
}
