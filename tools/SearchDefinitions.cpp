#include "tools/SearchDefinitions.h"

#include <windows.h>

#include "platform/TMyRegIniFile.h"

namespace {

std::string ValueName(size_t index, const char* field) { return "SI" + std::to_string(index) + field; }

}  // namespace

const char* SubFolderText(bool recurse) { return recurse ? "Yes" : "No"; }

std::vector<SearchDefinition> LoadSearchDefinitions(TMyRegIniFile& ini, const std::string& section,
                                                    DefinitionFields fields) {
  std::vector<SearchDefinition> definitions;
  const int32_t count = ini.ReadInteger(section, "CountSI", 0);
  for (int32_t i = 0; i < count; ++i) {
    const size_t index = static_cast<size_t>(i);
    SearchDefinition definition;
    if (fields == DefinitionFields::WithDescription)
      definition.description = ini.ReadString(section, ValueName(index, "Desc"), "");
    definition.folder = ini.ReadString(section, ValueName(index, "Path"), "");
    definition.mask = ini.ReadString(section, ValueName(index, "Mask"), "");
    definition.recurse = ini.ReadInteger(section, ValueName(index, "Recurse"), 0) == 1;
    if (!definition.folder.empty() && !definition.mask.empty()) definitions.push_back(definition);
  }
  return definitions;
}

void SaveSearchDefinitions(TMyRegIniFile& ini, const std::string& section,
                           const std::vector<SearchDefinition>& definitions, DefinitionFields fields) {
  ini.WriteInteger(section, "CountSI", static_cast<int32_t>(definitions.size()));
  for (size_t i = 0; i < definitions.size(); ++i) {
    const SearchDefinition& definition = definitions[i];
    if (fields == DefinitionFields::WithDescription)
      ini.WriteString(section, ValueName(i, "Desc"), definition.description);
    ini.WriteString(section, ValueName(i, "Path"), definition.folder);
    ini.WriteInteger(section, ValueName(i, "Recurse"), definition.recurse ? 1 : 0);
    ini.WriteString(section, ValueName(i, "Mask"), definition.mask);
  }
}

std::vector<SearchDefinition> DefaultTempDefinitions(const std::string& tempFolder) {
  return {
      {"Folder of temporary files", tempFolder, false, "*.*"},
      {"Temporary files", tempFolder.substr(0, 2), true, "*.TMP"},
  };
}

std::string SystemTempFolder() {
  char buffer[200] = "";
  const DWORD length = GetTempPathA(sizeof buffer, buffer);
  return length > 0 && length < sizeof buffer ? std::string(buffer) : std::string();
}

std::vector<SearchDefinition> DefaultBackupDefinitions(const std::string& systemFolder) {
  return {{"", systemFolder, false, "*.*"}};
}

std::string SystemFolder() {
  char buffer[200] = "";
  const UINT length = GetSystemDirectoryA(buffer, sizeof buffer);
  return length > 0 && length < sizeof buffer ? std::string(buffer) : std::string();
}
