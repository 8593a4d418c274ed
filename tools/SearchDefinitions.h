#pragma once
// The cleaning tools' search definitions and how they are kept: in the form's section of the
// settings key, as "CountSI" and per definition i the values SI<i>Desc, SI<i>Path, SI<i>Recurse
// and SI<i>Mask (the file backup keeps no description). Values beyond the count, left by an
// earlier longer list, are ignored.

#include <string>
#include <vector>

class TMyRegIniFile;

struct SearchDefinition {
  std::string description;
  std::string folder;  // as typed: "C:\TEMP\" or "C:"
  bool recurse = false;
  std::string mask;  // one file mask with wildcards

  bool operator==(const SearchDefinition&) const = default;
};

// "Yes" or "No", the "Sub-folders" column's text.
const char* SubFolderText(bool recurse);

enum class DefinitionFields { WithDescription, WithoutDescription };

// The stored definitions that have both a folder and a mask, in stored order.
std::vector<SearchDefinition> LoadSearchDefinitions(TMyRegIniFile& ini, const std::string& section,
                                                    DefinitionFields fields = DefinitionFields::WithDescription);
void SaveSearchDefinitions(TMyRegIniFile& ini, const std::string& section,
                           const std::vector<SearchDefinition>& definitions,
                           DefinitionFields fields = DefinitionFields::WithDescription);

// What an empty list starts with: the temporary folder itself, and every "*.TMP" on its drive.
std::vector<SearchDefinition> DefaultTempDefinitions(const std::string& tempFolder);

// The system's temporary folder as GetTempPathA gives it.
std::string SystemTempFolder();

// What the file backup's empty list starts with: the system folder's files, without sub-folders.
std::vector<SearchDefinition> DefaultBackupDefinitions(const std::string& systemFolder);

// The system folder as GetSystemDirectoryA gives it.
std::string SystemFolder();
