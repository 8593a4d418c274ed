#pragma once
// Small (16 x 16) icons of files as the shell shows them, for the file rows of list views.

#include <windows.h>

#include <string>

#include "platform/Handle.h"

// The icon the shell shows for an existing file; empty when there is no such file or the
// shell has none.
UniqueIcon FileSmallIcon(const std::string& path);

// The icon registered for the type of a file name's extension (the "DefaultIcon" of the type
// that the extension names under HKEY_CLASSES_ROOT); empty when the extension has no type,
// the type no icon, or its icon is drawn per file.
UniqueIcon ExtensionSmallIcon(const std::string& fileName);

// The default document: the first icon of the shell's own library.
UniqueIcon DefaultDocumentSmallIcon();
