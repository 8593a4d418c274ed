#pragma once
// Small (16 x 16) icons of files as the shell shows them, for the file rows of list views.

#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>

struct IconDeleter {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};
using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

// The icon the shell shows for an existing file; empty when there is no such file or the
// shell has none.
UniqueIcon FileSmallIcon(const std::string& path);

// The icon registered for the type of a file name's extension (the "DefaultIcon" of the type
// that the extension names under HKEY_CLASSES_ROOT); empty when the extension has no type,
// the type no icon, or its icon is drawn per file.
UniqueIcon ExtensionSmallIcon(const std::string& fileName);

// The default document: the first icon of the shell's own library.
UniqueIcon DefaultDocumentSmallIcon();
