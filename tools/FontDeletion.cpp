#include "tools/FontDeletion.h"

#include <algorithm>
#include <exception>

#include "core/Errors.h"
#include "platform/PathText.h"
#include "platform/TMyRegistry.h"
#include "restore/ShellFileOperations.h"

bool ConfirmFontDeletion(size_t selected, UserInteraction& ui) {
  if (selected == 0) {
    ui.Tell(MsgType::Information, "Please select fonts first!");
    return false;
  }
  return ui.Ask(MsgType::Confirmation, "Really delete " + std::to_string(selected) + " fonts?", MsgButtons::YesNo) ==
         MsgAnswer::Yes;
}

namespace {

// Unloads, deletes and unregisters one font. The registration key is checked writable before
// anything changes, and a font whose file stays is loaded again, so a failure leaves it whole.
void DeleteOneFont(const FontToDelete& font, TMyRegistry& key, bool keyWritable, const FontDeletionContext& c) {
  if (!keyWritable) throw Exception("The font registration key cannot be written.");
  if (!c.unloadFont(font.path)) throw Exception("The font cannot be unloaded.");
  try {
    c.letOthersReact();
    DeleteFileWithBackup(font.path, *c.deletion, c.settings, *c.ui);
  } catch (...) {
    if (FileOrFolderExists(font.path)) c.reloadFont(font.path);
    throw;
  }
  if (!key.DeleteValue(font.displayName)) throw Exception("The registration value cannot be deleted.");
}

}  // namespace

std::vector<size_t> DeleteFonts(const std::vector<FontToDelete>& rows, const std::vector<size_t>& selected,
                                const FontDeletionContext& context) {
  context.deletion->askWriteProtected = true;
  context.deletion->backupFolder = WithTrailingBackslash(context.backupDir) + "FONTS\\";
  TMyRegistry key(HKEY_LOCAL_MACHINE, kRegAccessReadWrite);
  const bool keyWritable = key.OpenKey(context.registrationKey, true);

  std::vector<size_t> lastFirst(selected);
  std::sort(lastFirst.rbegin(), lastFirst.rend());
  std::vector<size_t> deleted;
  for (size_t row : lastFirst) {
    const FontToDelete& font = rows.at(row);
    if (!FileOrFolderExists(font.path)) {
      if (context.ui->Ask(MsgType::Error, FormatText("File not found:\r%s!", font.path), MsgButtons::OkCancel) ==
          MsgAnswer::Cancel)
        break;
      continue;
    }
    try {
      DeleteOneFont(font, key, keyWritable, context);
      deleted.push_back(row);
    } catch (const std::exception&) {
      if (context.ui->Ask(MsgType::Error, FormatText("Could not delete file:\r%s!", font.path), MsgButtons::OkCancel) ==
          MsgAnswer::Cancel)
        break;
    }
  }
  return deleted;
}
