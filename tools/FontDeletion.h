#pragma once
// Deleting registered fonts: each one unloaded from the running system, its file deleted
// through the one file deletion (into <BackupDir>FONTS\ when backups are on) and its
// registration value removed. A font that cannot go stays as it was, loaded and registered.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "core/UserInteraction.h"
#include "restore/FileDeletion.h"

// One row of the font list as the deletion needs it.
struct FontToDelete {
  std::string displayName;  // the registration value's name
  std::string path;         // the file's full path
};

// What the deletion works with: the program's deletion state and settings, and the platform's
// font calls (the program passes RemoveFontResourceA and AddFontResourceA).
struct FontDeletionContext {
  std::string registrationKey;  // below HKEY_LOCAL_MACHINE
  std::string backupDir;        // the setting BackupDir
  FileDeletionState* deletion;
  DeletionSettings settings;
  UserInteraction* ui;
  std::function<bool(const std::string& path)> unloadFont;
  std::function<void(const std::string& path)> reloadFont;
  // Lets other programs hear of the font change before its file goes.
  std::function<void()> letOthersReact;
};

// "Please select fonts first!" without a selection, else the question "Really delete <n> fonts?";
// true when it was answered Yes.
bool ConfirmFontDeletion(size_t selected, UserInteraction& ui);

// Deletes the fonts of the selected rows, last row first. A missing file and a font that cannot
// be unloaded, deleted or unregistered each show their error; Cancel there ends the run, OK goes
// on with the next row. Returns the rows whose font is gone, in the order they went.
std::vector<size_t> DeleteFonts(const std::vector<FontToDelete>& rows, const std::vector<size_t>& selected,
                                const FontDeletionContext& context);
