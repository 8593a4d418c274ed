#pragma once
// One INI file through the platform's profile functions, as the system-file captures, views and
// restore use it.
// Every write that the platform refuses (a read-only file, a folder that is gone) raises, so
// the restore item fails instead of reporting a change that did not happen.

#include <string>
#include <utility>
#include <vector>

// The default text of a read: getting it back means the entry does not exist.
inline constexpr char kMissingEntryMarker[] = "~_$_~#_$_#";

class IniFile {
 public:
  explicit IniFile(std::string path) : path_(std::move(path)) {}

  const std::string& Path() const { return path_; }
  // The file's name without its folder.
  std::string Name() const;

  std::string Read(const std::string& section, const std::string& entry, const std::string& defaultText) const;
  void Write(const std::string& section, const std::string& entry, const std::string& text) const;
  void DeleteEntry(const std::string& section, const std::string& entry) const;
  void EraseSection(const std::string& section) const;
  bool HasSection(const std::string& section) const;

  // The section headers as the file's lines show them: trimmed, with their brackets, in file
  // order. Raises an open error naming the file when it cannot be read.
  std::vector<std::string> SectionHeaders() const;
  // The key names of a section in file order, as the platform's INI reader lists them.
  std::vector<std::string> SectionKeys(const std::string& section) const;
  // Those keys with their texts, each cut at 2047 characters as the captures have always read them.
  std::vector<std::pair<std::string, std::string>> SectionEntries(const std::string& section) const;

 private:
  void Check(bool written) const;

  std::string path_;
};
