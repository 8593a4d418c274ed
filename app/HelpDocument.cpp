#include "app/HelpDocument.h"

#include <windows.h>

#include "core/Errors.h"
#include "platform/Handle.h"
#include "res/resource.h"

namespace {

constexpr WORD kHtmlResourceType = 23;  // RT_HTML

std::string SystemMessage(DWORD code) {
  char text[512] = "";
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                                sizeof text, nullptr);
  std::string message(text, length);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
    message.pop_back();
  return message.empty() ? "error " + std::to_string(code) : message;
}

bool FileHolds(const std::string& path, const std::string& content) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  UniqueFile owned(file);
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file, &size) || size.QuadPart != static_cast<LONGLONG>(content.size())) return false;
  std::string present(content.size(), '\0');
  DWORD read = 0;
  return ReadFile(file, present.data(), static_cast<DWORD>(present.size()), &read, nullptr) && read == present.size() &&
         present == content;
}

void WriteWhole(const std::string& path, const std::string& content) {
  if (FileHolds(path, content)) return;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    throw Exception(ErrorKind::EInOutError,
                    "The help file " + path + " could not be written:\r" + SystemMessage(GetLastError()));
  UniqueFile owned(file);
  DWORD written = 0;
  if (!WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) ||
      written != content.size())
    throw Exception(ErrorKind::EInOutError,
                    "The help file " + path + " could not be written:\r" + SystemMessage(GetLastError()));
}

}  // namespace

std::string EmbeddedHelpDocument() {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(IDR_HELP), MAKEINTRESOURCEA(kHtmlResourceType));
  HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
  const char* data = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
  if (!data) throw Exception(ErrorKind::EResNotFound, "The help document is missing from the program file.");
  return std::string(data, SizeofResource(module, resource));
}

std::string HelpFolder() {
  char temp[MAX_PATH + 1] = "";
  GetTempPathA(sizeof temp, temp);
  return std::string(temp) + "Quorvel\\";
}

std::string HelpRedirectPage(const std::string& section) {
  const std::string target = std::string(kHelpFileName) + "#" + section;
  return "<!DOCTYPE html>\r\n<html><head><meta charset=\"windows-1252\">"
         "<meta http-equiv=\"refresh\" content=\"0; url=" +
         target + "\"><title>Quorvel Help</title></head>\r\n<body><a href=\"" + target +
         "\">Quorvel Help</a></body></html>\r\n";
}

std::string WriteHelpFiles(const std::string& folder, const std::string& document, const std::string& section) {
  // A section is a window's class name; anything else would make a file name of data.
  for (char c : section)
    if (!IsCharAlphaNumericA(c) && c != '_') throw Exception("Invalid help section: " + section);
  if (!CreateDirectoryA(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
    throw Exception(ErrorKind::EInOutError,
                    "The help folder " + folder + " could not be created:\r" + SystemMessage(GetLastError()));
  const std::string documentPath = folder + kHelpFileName;
  WriteWhole(documentPath, document);
  if (section.empty()) return documentPath;
  const std::string pagePath = folder + "Quorvel-help-" + section + ".html";
  WriteWhole(pagePath, HelpRedirectPage(section));
  return pagePath;
}
