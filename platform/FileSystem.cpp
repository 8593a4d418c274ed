#include "platform/FileSystem.h"

#include <windows.h>

#include "core/Errors.h"
#include "platform/PathText.h"

bool FileExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Asks for the length first: a folder longer than a fixed buffer is not written into it at all.
std::string WindowsFolder() {
  std::string path(GetWindowsDirectoryA(nullptr, 0), '\0');
  const UINT length = path.empty() ? 0 : GetWindowsDirectoryA(path.data(), static_cast<UINT>(path.size()));
  path.resize(length < path.size() ? length : 0);
  return WithTrailingBackslash(path);
}

std::string LastErrorText() {
  DWORD code = GetLastError();
  char* buffer = nullptr;
  DWORD length =
      FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
  std::string text = length ? std::string(buffer, length) : "System error " + std::to_string(code);
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  return text;
}

void MoveReplacing(const std::string& from, const std::string& to) {
  if (!MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    throw Exception(ErrorKind::EInOutError, "Cannot rename \"" + from + "\" to \"" + to + "\": " + LastErrorText());
}

void DeleteIfExists(const std::string& path) {
  if (FileExists(path) && !DeleteFileA(path.c_str()))
    throw Exception(ErrorKind::EInOutError, "Cannot delete \"" + path + "\": " + LastErrorText());
}
