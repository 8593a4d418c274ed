#include "platform/IniFile.h"

#include <windows.h>

#include <vector>

#include "core/Errors.h"
#include "platform/FileLines.h"

namespace {

// Entries longer than this are cut on reading; the restore reads only to tell whether an
// entry exists, and the marker fits many times.
constexpr DWORD kReadBufferSize = 4096;
constexpr DWORD kSectionKeysBuffer = 16384;
constexpr DWORD kEntryTextBuffer = 2048;

}  // namespace

std::string IniFile::Name() const { return path_.substr(path_.find_last_of("\\/:") + 1); }

std::string IniFile::Read(const std::string& section, const std::string& entry, const std::string& defaultText) const {
  std::vector<char> buffer(kReadBufferSize);
  const DWORD length = GetPrivateProfileStringA(section.c_str(), entry.c_str(), defaultText.c_str(), buffer.data(),
                                                kReadBufferSize, path_.c_str());
  return std::string(buffer.data(), length);
}

void IniFile::Write(const std::string& section, const std::string& entry, const std::string& text) const {
  Check(WritePrivateProfileStringA(section.c_str(), entry.c_str(), text.c_str(), path_.c_str()));
}

void IniFile::DeleteEntry(const std::string& section, const std::string& entry) const {
  Check(WritePrivateProfileStringA(section.c_str(), entry.c_str(), nullptr, path_.c_str()));
}

void IniFile::EraseSection(const std::string& section) const {
  Check(WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, path_.c_str()));
}

bool IniFile::HasSection(const std::string& section) const {
  // The names of all sections, each ending in a zero, the list in another one.
  std::vector<char> names(65536);
  const DWORD length = GetPrivateProfileSectionNamesA(names.data(), static_cast<DWORD>(names.size()), path_.c_str());
  for (size_t at = 0; at < length && names[at];) {
    const std::string name(names.data() + at);
    if (_stricmp(name.c_str(), section.c_str()) == 0) return true;
    at += name.size() + 1;
  }
  return false;
}

std::vector<std::string> IniFile::SectionHeaders() const {
  std::vector<std::string> headers;
  for (const std::string& line : ReadFileLines(path_)) {
    std::string trimmed = TrimText(line);
    if (trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']') headers.push_back(std::move(trimmed));
  }
  return headers;
}

std::vector<std::string> IniFile::SectionKeys(const std::string& section) const {
  std::vector<char> buffer(kSectionKeysBuffer);
  const DWORD length =
      GetPrivateProfileStringA(section.c_str(), nullptr, "", buffer.data(), kSectionKeysBuffer, path_.c_str());
  std::vector<std::string> keys;
  for (size_t start = 0; start < length && buffer[start] != '\0';) {
    std::string key(buffer.data() + start);
    start += key.size() + 1;
    keys.push_back(std::move(key));
  }
  return keys;
}

std::vector<std::pair<std::string, std::string>> IniFile::SectionEntries(const std::string& section) const {
  std::vector<std::pair<std::string, std::string>> entries;
  for (std::string& key : SectionKeys(section)) {
    char text[kEntryTextBuffer];
    const DWORD length =
        GetPrivateProfileStringA(section.c_str(), key.c_str(), "", text, kEntryTextBuffer, path_.c_str());
    entries.emplace_back(std::move(key), std::string(text, length));
  }
  return entries;
}

void IniFile::Check(bool written) const {
  if (!written) throw Exception(ErrorKind::EWriteError, FormatText("Error writing the file %s.", path_));
}
