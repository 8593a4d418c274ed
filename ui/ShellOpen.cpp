#include "ui/ShellOpen.h"

#include <shellapi.h>

#include "core/Errors.h"

void OpenWithShell(HWND owner, const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
    throw Exception("File not found!");
  // Results up to 32 are the error codes of ShellExecute.
  auto result = reinterpret_cast<INT_PTR>(ShellExecuteA(owner, nullptr, path.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  if (result > 32) return;
  if (result == SE_ERR_NOASSOC) throw Exception("No application linked to this file type!\r" + path);
  throw Exception("Error executing file!\r" + path);
}
