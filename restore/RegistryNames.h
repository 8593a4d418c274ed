#pragma once
// Registry names read from a log, checked before the restore acts on them. A key name holding
// "\" would open a path, not the key the log lists. A name that came back from the "A" functions
// with "?" for characters the code page cannot spell cannot be spelled back: handed to the
// platform it names another key or value, or none. Such a name is acted on only where the
// registry holds a key or value that really is spelled that way.

#include <windows.h>

#include <string>
#include <vector>

// Raises for the first key name below root that is empty, holds "\", or holds "?" without a
// subkey of its parent spelled exactly so. names are the key names from below the root down.
void RequireSpelledKeyPath(HKEY root, const std::vector<std::string>& names);
// Raises when name holds "?" and key has no value spelled exactly so.
void RequireSpelledValueName(HKEY key, const std::string& name);
