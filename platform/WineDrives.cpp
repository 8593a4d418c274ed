#include "platform/WineDrives.h"

#include <windows.h>

#include <string>

namespace {

// Exported by kernel32 only under Wine; both answer from Wine's drive mapping.
using UnixFileNameFunction = char*(CDECL*)(const WCHAR*);
using DosFileNameFunction = WCHAR*(CDECL*)(const char*);

FARPROC WineExport(const char* name) { return GetProcAddress(GetModuleHandleA("kernel32.dll"), name); }

// The drive letter under which Wine shows "/" (it compares the folders themselves, so a
// drive mapped through any chain of links is found); 0 when none does or not under Wine.
char UnixRootDriveLetter() {
  static const char letter = [] {
    auto dosFileName =
        reinterpret_cast<DosFileNameFunction>(reinterpret_cast<void*>(WineExport("wine_get_dos_file_name")));
    if (!dosFileName) return '\0';
    WCHAR* dosPath = dosFileName("/");  // allocated by Wine on the process heap
    if (!dosPath) return '\0';
    const char found = dosPath[0] < 128 && dosPath[1] == L':' ? static_cast<char>(dosPath[0]) : '\0';
    HeapFree(GetProcessHeap(), 0, dosPath);
    return found;
  }();
  return letter;
}

// The drive's own mapping, for a second drive that also maps "/".
bool DriveMapsToUnixRoot(char letter) {
  auto unixFileName =
      reinterpret_cast<UnixFileNameFunction>(reinterpret_cast<void*>(WineExport("wine_get_unix_file_name")));
  if (!unixFileName) return false;
  const WCHAR root[] = {static_cast<WCHAR>(static_cast<unsigned char>(letter)), L':', L'\\', 0};
  char* unixPath = unixFileName(root);  // allocated by Wine on the process heap
  if (!unixPath) return false;
  std::string path = unixPath;
  HeapFree(GetProcessHeap(), 0, unixPath);
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path == "/";
}

char UpperLetter(char letter) {
  return letter >= 'a' && letter <= 'z' ? static_cast<char>(letter - 'a' + 'A') : letter;
}

}  // namespace

bool IsUnixRootDrive(const std::string& driveRoot) {
  if (driveRoot.size() < 2 || driveRoot[1] != ':') return false;
  const char letter = UpperLetter(driveRoot[0]);
  return UpperLetter(UnixRootDriveLetter()) == letter || DriveMapsToUnixRoot(letter);
}
