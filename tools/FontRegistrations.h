#pragma once
// The fonts registered with the system and where their files are: one value per font under a
// key of HKEY_LOCAL_MACHINE, its name the font's display name ("Arial Bold (TrueType)") and its
// data the file, a bare name in the fonts folder or a full path.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct RegisteredFont {
  std::string displayName;
  std::string fileName;
};

// The registration key of a platform family (GetVersionExA's platform id): the Windows 95
// family's or the NT family's; none for another id.
std::optional<std::string> FontRegistrationKeyOf(DWORD platformId);
// The key of the running system; none when the platform is not told or not known.
std::optional<std::string> RunningFontRegistrationKey();

// The values of the key with their string data, in the order of the names compared ignoring
// case; values with empty data are left out, so is everything when the key is missing.
std::vector<RegisteredFont> ReadRegisteredFonts(const std::string& keyPath);

// The user's fonts folder from the shell's folder list, else the Windows folder's "Fonts" when it
// exists; ends with a backslash (empty when neither is there).
std::string FontsFolder();

// The full path of a registered file: a name with a folder part is one already.
std::string FontFilePath(const std::string& fileName, const std::string& fontsFolder);

// The user's locale number (a Windows language ID), kept in the registry as hexadecimal text.
// Raises EConvertError "Error while converting String to Hex" when that text is not one.
uint32_t UserLocaleNumber();
