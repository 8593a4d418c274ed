// The system-files section: every checked system file, as INI sections with their entries or as
// its non-blank lines with their positions.

#include <string_view>

#include "capture/LocaleSort.h"
#include "capture/SectionCaptures.h"
#include "core/CheckStates.h"
#include "core/Errors.h"
#include "datafiles/ConfigurationFile.h"
#include "datafiles/RecordKinds.h"
#include "platform/FileLines.h"
#include "platform/IniFile.h"
#include "platform/SystemFileType.h"

namespace {

// A system file that does not exist has an empty body instead of failing the capture: modern
// machines have no AUTOEXEC.BAT and no CONFIG.SYS, and all four fixed files are selected by
// default. A file that exists but cannot be read still fails it.
bool FileIsMissing(const std::string& path) {
  if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
  DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

struct NumberedLine {
  std::string text;
  int32_t position;  // 0-based, in the file
};

}  // namespace

void WriteIniBody(TWriter& writer, CaptureHost& host, const std::string& path) {
  const IniFile file(path);
  std::vector<std::string> headers;
  if (!FileIsMissing(path)) headers = file.SectionHeaders();
  SortByLocale(headers);
  writer.WriteInteger(static_cast<int32_t>(headers.size()));
  for (const std::string& header : headers) {
    writer.WriteString(header);
    std::string section = header.substr(1, header.size() - 2);
    if (section.empty()) {
      host.ShowError("File '" + path + "' contains an entry whose name is empty.\r" +
                     "Unable to read values in this section.");
      writer.WriteInteger(0);
      continue;
    }
    const std::vector<std::pair<std::string, std::string>> entries = file.SectionEntries(section);
    writer.WriteInteger(static_cast<int32_t>(entries.size()));
    for (const auto& [key, text] : entries) {
      std::string entry = key + "=" + text;
      size_t equals = entry.find('=');
      writer.WriteString(std::string_view(entry).substr(0, equals));
      writer.WriteInteger(kRecordCaptured);
      writer.WriteString(std::string_view(entry).substr(equals + 1));
    }
  }
}

void WriteTextBody(TWriter& writer, const std::string& path) {
  std::vector<NumberedLine> lines;
  if (!FileIsMissing(path)) {
    std::vector<std::string> fileLines = ReadFileLines(path);
    for (size_t i = 0; i < fileLines.size(); ++i)
      if (!TrimText(fileLines[i]).empty()) lines.push_back({std::move(fileLines[i]), static_cast<int32_t>(i)});
  }
  // By the whole line: leading and trailing blanks count.
  LocaleSorter sorter;
  SortByLocale(lines, sorter, [](const NumberedLine& line) -> std::string_view { return line.text; });
  writer.WriteInteger(static_cast<int32_t>(lines.size()));
  for (const NumberedLine& line : lines) {
    writer.WriteString(line.text);
    writer.WriteInteger(kRecordCaptured);
    writer.WriteInteger(line.position);
  }
}

void CaptureSystemFilesSection(TWriter& writer, const TreeModel& systemTree, const SystemFileFolders& folders,
                               CaptureHost& host) {
  writer.WriteString(kSystemFilesHeader);
  std::vector<TopChild> files = ReadTopChildren(systemTree, host);
  host.progress.max = static_cast<int>(files.size());
  host.progress.position = 0;
  host.progress.status = " Saving system files:";
  host.ShowProgress();
  writer.WriteListBegin();
  for (size_t i = 0; i < files.size(); ++i) {
    if (files[i].stateIndex == kStateUnchecked) continue;
    const std::string& text = files[i].text;
    writer.WriteString(text);
    std::string path;
    switch (GetSystemFileType(text, folders, path)) {
      case kSystemIni:
      case kUserIni:
        WriteIniBody(writer, host, path);
        break;
      case kSystemText:
      case kUserText:
        WriteTextBody(writer, path);
        break;
      default:
        throw Exception(FormatText("Unknown Case-Variable: %s", text));
    }
    host.progress.position = static_cast<int>(i);
    host.ShowProgress();
  }
  writer.WriteListEnd();
  host.progress.max = 0;
  host.progress.position = 0;
  host.progress.status = " Status";
  host.ShowProgress();
}
