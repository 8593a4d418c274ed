#include "platform/IniFile.h"

#include <windows.h>

#include <vector>

#include "core/Errors.h"

namespace {

// Entries longer than this are cut on reading; the restore reads only to tell whether an
// entry exists, and the marker fits many times.
constexpr DWORD kReadBufferSize = 4096;

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

void IniFile::Check(bool written) const {
  if (!written) throw Exception(ErrorKind::EWriteError, FormatText("Error writing the file %s.", path_));
}
