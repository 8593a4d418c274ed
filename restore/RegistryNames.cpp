#include "restore/RegistryNames.h"

#include "platform/TMyRegistry.h"
#include "core/Errors.h"

namespace {

// The wide functions only tell which names the code page really spells; everything else goes
// through the "A" functions like the rest of the program.
bool SpelledInCodePage(const wchar_t* wide, DWORD length, const std::string& name, bool ignoreCase) {
  BOOL usedDefault = FALSE;
  char text[1024];
  const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, static_cast<int>(length), text, sizeof text,
                                       nullptr, &usedDefault);
  if (size <= 0 || usedDefault) return false;
  const std::string spelled(text, static_cast<size_t>(size));
  return ignoreCase ? _stricmp(spelled.c_str(), name.c_str()) == 0 : spelled == name;
}

bool HasExactName(HKEY parent, const std::string& name, bool value) {
  wchar_t wide[16384];
  for (DWORD index = 0;; ++index) {
    DWORD length = sizeof wide / sizeof wide[0];
    const LONG result = value ? RegEnumValueW(parent, index, wide, &length, nullptr, nullptr, nullptr, nullptr)
                              : RegEnumKeyExW(parent, index, wide, &length, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_MORE_DATA) continue;
    if (result != ERROR_SUCCESS) return false;
    if (SpelledInCodePage(wide, length, name, true)) return true;
  }
}

[[noreturn]] void RaiseUnspelled(const std::string& name) {
  throw Exception("The name \"" + name +
                  "\" holds characters that this program cannot spell; nothing was done, so "
                  "that no other key or value is changed.");
}

}  // namespace

void RequireSpelledKeyPath(HKEY root, const std::vector<std::string>& names) {
  std::string path;
  for (const std::string& name : names) {
    if (name.empty() || name.find('\\') != std::string::npos)
      throw Exception("The log names \"" + name + "\", which is not a plain key name; nothing was done.");
    if (name.find('?') != std::string::npos) {
      HKEY opened = nullptr;
      if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | kNativeView, &opened) != ERROR_SUCCESS) RaiseUnspelled(name);
      const UniqueHKey parent(opened);
      if (!HasExactName(parent.Get(), name, false)) RaiseUnspelled(name);
    }
    path += (path.empty() ? "" : "\\") + name;
  }
}

void RequireSpelledValueName(HKEY key, const std::string& name) {
  if (name.find('?') != std::string::npos && (!key || !HasExactName(key, name, true))) RaiseUnspelled(name);
}
