#include "capture/OwnPlaces.h"

#include <windows.h>
// clang-format off
#include <sddl.h>
// clang-format on

#include <memory>

#include "platform/FileSystem.h"
#include "platform/Handle.h"
#include "platform/PathText.h"

namespace {

bool IsAsciiOnly(std::string_view text) {
  for (unsigned char c : text)
    if (c >= 0x80) return false;
  return true;
}

// path begins with prefix, ignoring case.
bool StartsWithPath(std::string_view path, std::string_view prefix) {
  return path.size() >= prefix.size() && SamePathText(path.substr(0, prefix.size()), prefix);
}

// keyPath is key or lies below it.
bool IsAtOrBelowKey(std::string_view keyPath, std::string_view key) {
  if (!StartsWithPath(keyPath, key)) return false;
  return keyPath.size() == key.size() || keyPath[key.size()] == '\\';
}

// The string SID of the user this process runs as; empty when it cannot be read.
std::string CurrentUserSid() {
  HANDLE opened = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &opened)) return {};
  UniqueKernelObject token(opened);
  std::string sid;
  DWORD size = 0;
  GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &size);
  if (size > 0) {
    auto buffer = std::make_unique<unsigned char[]>(size);
    char* text = nullptr;
    if (GetTokenInformation(token.Get(), TokenUser, buffer.get(), size, &size) &&
        ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(buffer.get())->User.Sid, &text)) {
      sid = text;
      LocalFree(text);
    }
  }
  return sid;
}

}  // namespace

bool SamePathText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x == y) continue;
    if (x >= 0x80 || y >= 0x80) {
      // Letters beyond ASCII: the code page's own case rules decide.
      if (IsAsciiOnly(a) && IsAsciiOnly(b)) return false;
      return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                            static_cast<int>(b.size())) == CSTR_EQUAL;
    }
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

void OwnPlaces::AddFolder(std::string folderPath) {
  if (!folderPath.empty()) folders_.push_back(WithTrailingBackslash(std::move(folderPath)));
}

void OwnPlaces::AddFile(const std::string& folderPath, const std::string& name) {
  if (!folderPath.empty() && !name.empty()) files_.push_back({WithTrailingBackslash(folderPath), name});
}

void OwnPlaces::AddKey(std::string keyPath) {
  while (!keyPath.empty() && keyPath.back() == '\\') keyPath.pop_back();
  if (!keyPath.empty()) keys_.push_back(std::move(keyPath));
}

bool OwnPlaces::HoldsFolder(const std::string& folderPath) const {
  const std::string folder = WithTrailingBackslash(folderPath);
  for (const std::string& own : folders_)
    if (StartsWithPath(folder, own)) return true;
  return false;
}

bool OwnPlaces::HoldsFile(const std::string& filePath) const {
  const std::string::size_type slash = filePath.rfind('\\');
  if (slash == std::string::npos || slash + 1 == filePath.size()) return false;
  const std::string_view folder(filePath.data(), slash + 1);
  const std::string_view name = std::string_view(filePath).substr(slash + 1);
  for (const std::string& own : folders_)
    if (StartsWithPath(folder, own)) return true;
  for (const OwnFile& own : files_)
    if (SamePathText(folder, own.folder) && MatchesFileName(own.name, name)) return true;
  return false;
}

bool OwnPlaces::HoldsAnythingIn(const std::string& folderPath) const {
  const std::string folder = WithTrailingBackslash(folderPath);
  for (const std::string& own : folders_)
    if (StartsWithPath(own, folder)) return true;
  for (const OwnFile& own : files_)
    if (StartsWithPath(own.folder, folder)) return true;
  return HoldsFolder(folder);
}

bool OwnPlaces::HoldsAnythingUnder(const std::string& keyPath) const {
  for (const std::string& own : keys_)
    if (IsAtOrBelowKey(own, keyPath)) return true;
  return HoldsKey(keyPath);
}

bool OwnPlaces::HoldsKey(const std::string& keyPath) const {
  for (const std::string& own : keys_)
    if (IsAtOrBelowKey(keyPath, own)) return true;
  return false;
}

void OwnPlaces::OwnSubfolders(std::string_view folder, std::vector<std::string_view>& names) const {
  names.clear();
  for (const std::string& own : folders_) {
    // folder + name + "\": longer than folder by a name and its backslash, no other backslash.
    if (own.size() < folder.size() + 2 || !StartsWithPath(own, folder)) continue;
    std::string_view name = std::string_view(own).substr(folder.size(), own.size() - folder.size() - 1);
    if (name.find('\\') == std::string_view::npos) names.push_back(name);
  }
}

void OwnPlaces::OwnFileNames(std::string_view folder, std::vector<std::string_view>& names) const {
  names.clear();
  for (const OwnFile& own : files_)
    if (SamePathText(folder, own.folder)) names.push_back(own.name);
}

void OwnPlaces::OwnSubkeys(std::string_view keyPath, std::vector<std::string_view>& names) const {
  names.clear();
  for (const std::string& own : keys_) {
    if (own.size() < keyPath.size() + 2 || !StartsWithPath(own, keyPath) || own[keyPath.size()] != '\\') continue;
    std::string_view name = std::string_view(own).substr(keyPath.size() + 1);
    if (name.find('\\') == std::string_view::npos) names.push_back(name);
  }
}

bool OwnPlaces::MatchesFileName(std::string_view pattern, std::string_view name) {
  if (!pattern.empty() && pattern[0] == '*') {
    std::string_view ending = pattern.substr(1);
    return name.size() > ending.size() && SamePathText(name.substr(name.size() - ending.size()), ending);
  }
  return SamePathText(pattern, name);
}

bool IsSharedFolder(const std::string& folderPath) {
  const std::string folder = WithTrailingBackslash(folderPath);
  // "X:\" and "\\server\share\".
  if (folder.size() <= 3) return true;
  if (folder.rfind("\\\\", 0) == 0) {
    std::string::size_type server = folder.find('\\', 2);
    if (server == std::string::npos || folder.find('\\', server + 1) + 1 == folder.size()) return true;
  }
  const std::string windows = WindowsFolder();
  return !windows.empty() && StartsWithPath(windows, folder);
}

OwnPlaces BuildOwnPlaces(const std::string& exePath, const std::string& programFolder, const std::string& backupDir,
                         const std::string& dllBackupPath, const std::string& settingsKeyPath) {
  OwnPlaces own;
  if (!programFolder.empty()) {
    if (IsSharedFolder(programFolder)) {
      const std::string exeName = exePath.substr(exePath.find_last_of("\\/:") + 1);
      for (const std::string& name : {exeName, std::string("OldCFG.BAK"), std::string("*.SXD"), std::string("*.SXS"),
                                      std::string("*.SXL"), std::string("*.SXD.tmp")})
        own.AddFile(programFolder, name);
    } else {
      own.AddFolder(programFolder);
    }
    own.AddFolder(WithTrailingBackslash(programFolder) + "DLLBackup\\");
  }
  for (const std::string& backup : {backupDir, dllBackupPath})
    if (!backup.empty() && !IsSharedFolder(backup)) own.AddFolder(backup);
  if (!settingsKeyPath.empty()) {
    own.AddKey("HKEY_CURRENT_USER\\" + settingsKeyPath);
    // HKEY_CURRENT_USER is HKEY_USERS\<the user's SID>: the same key by another path.
    const std::string sid = CurrentUserSid();
    if (!sid.empty()) own.AddKey("HKEY_USERS\\" + sid + "\\" + settingsKeyPath);
  }
  return own;
}
