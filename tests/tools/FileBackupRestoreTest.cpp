// The file backup and the file restore meet in the mirror tree: what the backup copied before
// an installation is what Restore All puts back over the files the installation changed or
// deleted.

#include <gtest/gtest.h>

#include "restore/DriveRestore.h"
#include "restore/RegistryRestore.h"
#include "restore/SystemFileRestore.h"
#include "tests/restore/RestoreFixture.h"
#include "tests/tools/RecordingProgress.h"
#include "tools/FileBackup.h"

namespace {

// Bytes a text compare would not keep: zeros, line ends, high bytes.
std::string BinaryContent(char seed, size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 37 + static_cast<size_t>(seed)) % 256);
  return bytes;
}

class FileBackupRestoreTest : public RestoreFixture {
 protected:
  ScratchFolder data{"data"};
  ScratchFolder mirror{"mirror"};
};

TEST_F(FileBackupRestoreTest, RestoreAllPutsBackByteForByteWhatTheBackupKeptBeforeTheInstallation) {
  const std::vector<std::pair<std::string, std::string>> originals = {
      {"APP.DLL", BinaryContent('a', 70000)},
      {"readme.txt", "line 1\r\nline 2\n\x1a"},
      {"sub\\LIB.DLL", BinaryContent('l', 513)},
      {"sub\\deep\\CFG.INI", std::string("[s]\r\nk=v\r\n")},
  };
  data.Folder("sub");
  data.Folder("sub\\deep");
  for (const auto& [name, bytes] : originals) data.File(name, bytes);

  RecordingProgress progress;
  ScriptedInteraction backupUi;
  FileBackup backup(progress, backupUi);
  ASSERT_TRUE(backup.Run({{"", data.Path(), true, "*.*"}}, mirror.Path()));
  ASSERT_TRUE(progress.errors.empty()) << progress.errors.front();

  places.folder = data.Path();
  Record([&] {
    data.File("APP.DLL", BinaryContent('b', 69999));  // overwritten by the installation
    data.File("readme.txt", "new readme");
    DeleteFileA((data / "sub\\LIB.DLL").c_str());
    ScratchFolder::RemoveTree(data / "sub\\deep\\");
    data.File("NEW.DLL", BinaryContent('n', 10));
  });

  settings.dllBackupPath = mirror.Path();
  settings.useDLLBackupRestore = true;
  ui.answers = {MsgAnswer::YesToAll};  // the first changed file's question, for every later one
  std::vector<ToDoItem> items;
  const std::pair<RestoreDriver, TreeModel*> passes[] = {
      {RestoreRegistry, &registryResult}, {RestoreDrives, &driveResult}, {RestoreSystemFiles, &systemResult}};
  for (auto [driver, tree] : passes) {
    if (!tree->FirstTop()) continue;
    for (const ToDoItem& item : Run(driver, *tree, true)) items.push_back(item);
  }

  ASSERT_EQ(items.size(), 6u);  // two changed, two deleted files, a deleted folder, an added file
  for (const ToDoItem& item : items) EXPECT_EQ(item.status, kStatusDone) << RowText(item);
  EXPECT_EQ(ui.messages.size(), 1u) << "Yes to All answers the second changed file";
  for (const auto& [name, bytes] : originals) EXPECT_TRUE(FileBytes(data / name) == bytes) << name;
  EXPECT_FALSE(ScratchFolder::Exists(data / "NEW.DLL"));
  ExpectBackToBefore();
}

}  // namespace
