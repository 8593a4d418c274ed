// The system-files section: every checked system file, as INI sections with their entries or as
// its non-blank lines with their positions.

#include <string_view>

#include "platform/FileLines.h"
#include "capture/LocaleSort.h"
#include "capture/SectionCaptures.h"
#include "capture/SystemFileType.h"
#include "core/CheckStates.h"
#include "core/Errors.h"
#include "datafiles/ConfigurationFile.h"

namespace {

constexpr DWORD kSectionKeysBuffer = 16384;
constexpr DWORD kEntryValueBuffer = 2048;

// A system file that does not exist has an empty body instead of failing the capture: modern
// machines have no AUTOEXEC.BAT and no CONFIG.SYS, and all four fixed files are selected by
// default. A file that exists but cannot be read still fails it.
bool FileIsMissing(const std::string& path) {
  if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
  DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// The key names of a section in file order, as the platform's INI reader lists them.
std::vector<std::string> SectionKeys(const std::string& path, const std::string& section) {
  std::vector<char> buffer(kSectionKeysBuffer);
  DWORD length =
      GetPrivateProfileStringA(section.c_str(), nullptr, "", buffer.data(), kSectionKeysBuffer, path.c_str());
  std::vector<std::string> keys;
  for (size_t start = 0; start < length && buffer[start] != '\0';) {
    std::string key(buffer.data() + start);
    start += key.size() + 1;
    keys.push_back(std::move(key));
  }
  return keys;
}

std::string EntryValue(const std::string& path, const std::string& section, const std::string& key) {
  char value[kEntryValueBuffer];
  DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), "", value, kEntryValueBuffer, path.c_str());
  return std::string(value, length);
}

struct NumberedLine {
  std::string text;
  int32_t position;  // 0-based, in the file
};

}  // namespace

void WriteIniBody(TWriter& writer, CaptureHost& host, const std::string& path) {
  std::vector<std::string> headers;
  if (!FileIsMissing(path)) {
    for (const std::string& line : ReadFileLines(path)) {
      std::string trimmed = TrimText(line);
      if (!trimmed.empty() && trimmed.front() == '[' && trimmed.back() == ']') headers.push_back(std::move(trimmed));
    }
  }
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
    std::vector<std::string> keys = SectionKeys(path, section);
    writer.WriteInteger(static_cast<int32_t>(keys.size()));
    for (const std::string& key : keys) {
      std::string entry = key + "=" + EntryValue(path, section, key);
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

void CaptureSystemFilesSection(TWriter& writer, const TreeModel& systemTree, CaptureHost& host) {
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
    switch (GetSystemFileType(text, path)) {
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
