#include "tools/RemovalSafety.h"

#include "compare/UpperCase.h"
#include "platform/PathText.h"
#include "platform/TMyRegistry.h"

namespace {

// Every application keeps its keys below these; deleting one of them would take all of them.
const char* const kSharedKeys[] = {
    "HKEY_LOCAL_MACHINE\\SOFTWARE",
    "HKEY_CURRENT_USER\\SOFTWARE",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\CLASSES",
    "HKEY_CURRENT_USER\\SOFTWARE\\CLASSES",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\MICROSOFT",
    "HKEY_CURRENT_USER\\SOFTWARE\\MICROSOFT",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432NODE",
    "HKEY_LOCAL_MACHINE\\SYSTEM",
};

// Upper case without trailing backslashes, so that "c:\Program Files\" and "C:\PROGRAM FILES"
// are one place.
std::string Normalized(const std::string& path) { return UpperCaseLocale(WithoutTrailingBackslashes(path)); }

bool IsInside(const std::string& inner, const std::string& outer) {
  return inner.size() > outer.size() && inner.compare(0, outer.size(), outer) == 0 && inner[outer.size()] == '\\';
}

bool IsDriveRoot(const std::string& normalized) { return normalized.size() <= 2; }

// The same place, a place holding it, or (unless it is a drive root) a place inside it.
bool Touches(const std::string& path, const std::string& protectedPlace) {
  const std::string place = Normalized(protectedPlace);
  if (place.empty()) return false;
  return path == place || IsInside(place, path) || (!IsDriveRoot(place) && IsInside(path, place));
}

std::string FolderRefusal(const std::string& path, const ProtectedPlaces& places) {
  if (IsDriveRoot(path)) return "Not done: a drive root is never deleted.";
  for (const std::string& folder : places.programFilesFolders)
    if (path == Normalized(folder)) return "Not done: the program-files folder itself is never deleted.";
  for (const std::string& folder : places.ownFolders)
    if (Touches(path, folder)) return "Not done: Quorvel's own folders are never deleted.";
  return {};
}

std::string KeyRefusal(const std::string& path, const ProtectedPlaces& places) {
  const size_t slash = path.find('\\');
  if (slash == std::string::npos || RootKeyIndex(path.substr(0, slash)) < 0)
    return "Not done: a registry root key is never deleted.";
  for (const char* key : kSharedKeys)
    if (path == key) return "Not done: this key holds the keys of every application and is never deleted.";
  for (const std::string& key : places.ownKeys)
    if (Touches(path, key)) return "Not done: Quorvel's own settings are never deleted.";
  return {};
}

}  // namespace

std::string RefusalOf(const RemovalAction& action, const ProtectedPlaces& places) {
  const std::string path = Normalized(action.path);
  return action.kind == RemovalKind::Folder ? FolderRefusal(path, places) : KeyRefusal(path, places);
}
