#include "ui/ShellIcons.h"

#include <shellapi.h>

#include <cstdlib>

#include "platform/TMyRegistry.h"

namespace {

// The unnamed text value of a key below HKEY_CLASSES_ROOT with its environment variables
// expanded; empty when the key or the text is missing.
std::string ClassesDefaultText(const std::string& subKey) {
  TMyRegistry classes(HKEY_CLASSES_ROOT, kRegAccessRead);
  if (!classes.OpenKey(subKey, false)) return "";
  const int code = classes.GetDataType("");
  if (code != kRdString && code != kRdExpandString) return "";
  try {
    return classes.ReadString("", true);
  } catch (const EMyRegistryException&) {
    return "";  // the value changed between the two reads
  }
}

std::string Unquoted(std::string text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '"')) text.erase(text.begin());
  while (!text.empty() && (text.back() == ' ' || text.back() == '"')) text.pop_back();
  return text;
}

UniqueIcon SmallIconOf(const std::string& file, int index) {
  HICON small = nullptr;
  if (ExtractIconExA(file.c_str(), index, nullptr, &small, 1) == 0 || !small) return UniqueIcon();
  return UniqueIcon(small);
}

}  // namespace

UniqueIcon FileSmallIcon(const std::string& path) {
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return UniqueIcon();
  SHFILEINFOA info{};
  if (!SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON)) return UniqueIcon();
  return UniqueIcon(info.hIcon);
}

UniqueIcon ExtensionSmallIcon(const std::string& fileName) {
  size_t dot = fileName.find_last_of(".\\");
  if (dot == std::string::npos || fileName[dot] != '.') return UniqueIcon();
  std::string type = ClassesDefaultText(fileName.substr(dot));
  if (type.empty()) return UniqueIcon();
  // "file,index"; a file without index means its first icon.
  std::string location = ClassesDefaultText(type + "\\DefaultIcon");
  int index = 0;
  size_t comma = location.find_last_of(',');
  if (comma != std::string::npos) {
    index = std::atoi(location.c_str() + comma + 1);
    location.erase(comma);
  }
  location = Unquoted(location);
  if (location.empty() || location == "%1") return UniqueIcon();
  return SmallIconOf(location, index);
}

UniqueIcon DefaultDocumentSmallIcon() { return SmallIconOf("shell32.dll", 0); }
