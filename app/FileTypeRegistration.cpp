#include "app/FileTypeRegistration.h"

#include "platform/TMyRegistry.h"

namespace {

constexpr const char* kFileTypeName = "Quorvel";

// Each key on its own: one that cannot be written does not keep the others from being set.
void SetDefaultValue(TMyRegistry& reg, const std::string& key, const std::string& text) {
  try {
    if (reg.OpenKey("\\" + key, true)) reg.WriteString("", text);
  } catch (...) {
  }
  reg.CloseKey();
}

}  // namespace

void RegisterFileTypes(const std::string& exePath) {
  try {
    TMyRegistry reg(HKEY_CLASSES_ROOT, kRegAccessFull);
    const std::string type = kFileTypeName;
    for (const char* extension : {".SXS", ".SXL", ".SXD"}) SetDefaultValue(reg, extension, type);
    SetDefaultValue(reg, type, type + " file");
    SetDefaultValue(reg, type + "\\DefaultIcon", exePath + ",1");
    SetDefaultValue(reg, type + "\\shell\\open\\command", exePath + " \"%1\"");
  } catch (...) {
  }
}
