#include "ui/ShellIcons.h"

#include <shellapi.h>

#include <cstdlib>
#include <vector>

namespace {

class ClassesKey {
 public:
  explicit ClassesKey(const std::string& subKey) {
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, subKey.c_str(), 0, KEY_QUERY_VALUE, &key_) != ERROR_SUCCESS) key_ = nullptr;
  }
  ~ClassesKey() {
    if (key_) RegCloseKey(key_);
  }
  ClassesKey(const ClassesKey&) = delete;
  ClassesKey& operator=(const ClassesKey&) = delete;

  // The key's unnamed text value with its environment variables expanded; empty when it has
  // none.
  std::string DefaultText() const {
    if (!key_) return "";
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key_, nullptr, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ) || size == 0)
      return "";
    std::vector<char> data(size + 1, '\0');
    if (RegQueryValueExA(key_, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS)
      return "";
    std::string text(data.data());
    if (type != REG_EXPAND_SZ) return text;
    DWORD expandedSize = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    if (expandedSize == 0) return text;
    std::vector<char> expanded(expandedSize + 1, '\0');
    ExpandEnvironmentStringsA(text.c_str(), expanded.data(), expandedSize);
    return expanded.data();
  }

 private:
  HKEY key_ = nullptr;
};

std::string Unquoted(std::string text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '"')) text.erase(text.begin());
  while (!text.empty() && (text.back() == ' ' || text.back() == '"')) text.pop_back();
  return text;
}

UniqueIcon SmallIconOf(const std::string& file, int index) {
  HICON small = nullptr;
  if (ExtractIconExA(file.c_str(), index, nullptr, &small, 1) == 0 || !small) return nullptr;
  return UniqueIcon(small);
}

}  // namespace

UniqueIcon FileSmallIcon(const std::string& path) {
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return nullptr;
  SHFILEINFOA info{};
  if (!SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON)) return nullptr;
  return UniqueIcon(info.hIcon);
}

UniqueIcon ExtensionSmallIcon(const std::string& fileName) {
  size_t dot = fileName.find_last_of(".\\");
  if (dot == std::string::npos || fileName[dot] != '.') return nullptr;
  std::string type = ClassesKey(fileName.substr(dot)).DefaultText();
  if (type.empty()) return nullptr;
  // "file,index"; a file without index means its first icon.
  std::string location = ClassesKey(type + "\\DefaultIcon").DefaultText();
  int index = 0;
  size_t comma = location.find_last_of(',');
  if (comma != std::string::npos) {
    index = std::atoi(location.c_str() + comma + 1);
    location.erase(comma);
  }
  location = Unquoted(location);
  if (location.empty() || location == "%1") return nullptr;
  return SmallIconOf(location, index);
}

UniqueIcon DefaultDocumentSmallIcon() { return SmallIconOf("shell32.dll", 0); }
