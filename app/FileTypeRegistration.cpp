#include "app/FileTypeRegistration.h"

#include <shlobj.h>

#include "platform/TMyRegistry.h"

namespace {

constexpr const char* kFileTypeName = "Quorvel";
constexpr char kClassesKey[] = "\\Software\\Classes\\";

// Each key on its own: one that cannot be written does not keep the others from being set.
bool SetDefaultValue(TMyRegistry& reg, const std::string& key, const std::string& text) {
  bool written = false;
  try {
    if (reg.OpenKey(kClassesKey + key, true) && !(reg.ValueExists("") && reg.ReadString("") == text)) {
      reg.WriteString("", text);
      written = true;
    }
  } catch (...) {
  }
  reg.CloseKey();
  return written;
}

}  // namespace

HKEY FileTypeRoot(bool administratorRights) { return administratorRights ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

bool RegisterFileTypes(const std::string& exePath, bool administratorRights) {
  bool written = false;
  try {
    TMyRegistry reg(FileTypeRoot(administratorRights), kRegAccessFull);
    const std::string type = kFileTypeName;
    for (const char* extension : {".SXS", ".SXL", ".SXD"}) written |= SetDefaultValue(reg, extension, type);
    written |= SetDefaultValue(reg, type, type + " file");
    written |= SetDefaultValue(reg, type + "\\DefaultIcon", "\"" + exePath + "\",1");
    // Quoted: a program folder such as "C:\Program Files\Quorvel" holds blanks.
    written |= SetDefaultValue(reg, type + "\\shell\\open\\command", "\"" + exePath + "\" \"%1\"");
  } catch (...) {
  }
  // Explorer shows the new icons without a restart.
  if (written) SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
  return written;
}
