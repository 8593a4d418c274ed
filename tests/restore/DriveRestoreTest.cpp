#include <windows.h>

#include "restore/DriveRestore.h"
// shellapi.h needs the declarations of windows.h first.
#include <shellapi.h>

#include <algorithm>

#include "compare/ResultRecords.h"
#include "core/Errors.h"
#include "core/TextCompare.h"
#include "restore/FileDeletion.h"
#include "restore/PlainNames.h"
#include "restore/RegistryRestore.h"
#include "restore/ShellFileOperations.h"
#include "tests/restore/RestoreFixture.h"

namespace {

std::string WithoutColon(std::string path) {
  path.erase(path.find(':'), 1);
  return path;
}

class DriveRestoreTest : public RestoreFixture {
 protected:
  void SetUp() override {
    places.folder = data.Path();
    settings.backupDir = backup.Path();
    settings.dllBackupPath = dllBackup.Path();
    settings.backupFiles = true;
  }

  std::vector<ToDoItem> Run(bool executing, int flags = kRestoreDefault) {
    return RestoreFixture::Run(RestoreDrives, driveResult, executing, flags);
  }
  // Puts a copy of the data file into the file backup tool's folder, as that tool does.
  void BackUp(const std::string& relative) {
    const std::string target = dllBackup.Path() + WithoutColon(data / relative);
    CreateFolders(target.substr(0, target.find_last_of('\\')));
    ASSERT_TRUE(CopyFileA((data / relative).c_str(), target.c_str(), FALSE)) << relative;
  }
  static void CreateFolders(const std::string& folder) {
    for (size_t slash = folder.find('\\', 3); slash != std::string::npos; slash = folder.find('\\', slash + 1))
      CreateDirectoryA(folder.substr(0, slash).c_str(), nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
  }
  // Where this pass's deletion put a data file.
  std::string Deleted(const std::string& relative) {
    return backup.Path() + "SETUP1\\" + WithoutColon(data / relative);
  }
  // The kinds of the data folder's records in the log, by name.
  std::vector<std::string> RecordKinds() {
    std::vector<ResultRow> rows;
    ReadDriveRows(*DataNode(), logFile, positions, rows);
    std::vector<std::string> kinds;
    for (const ResultRow& row : rows) kinds.push_back(row.caption + " " + std::to_string(row.kind));
    return kinds;
  }
  TreeNode* DataNode(const std::string& sub = "") {
    std::vector<std::string> names{data.Path().substr(0, 2)};
    for (const std::string& name : PathNames(data.Path().substr(3) + sub)) names.push_back(name);
    return Node(driveResult, names);
  }

  ScratchFolder data{"data"};
  ScratchFolder backup{"backup"};
  ScratchFolder dllBackup{"dll"};
};

TEST_F(DriveRestoreTest, EveryKindOfChangeIsUndoneAndDeletedFilesGoToTheBackupFolderOfTheLog) {
  data.File("a.txt", "old a");
  data.File("keep.txt", "k");
  data.Folder("Sub");
  data.File("Sub\\b.txt", "b");
  data.Folder("Gone");
  data.File("Gone\\g.txt", "g");
  for (const char* file : {"a.txt", "Sub\\b.txt", "Gone\\g.txt"}) BackUp(file);
  Record([&] {
    data.File("a.txt", "new a, longer");
    data.File("new.txt", "n");
    data.Folder("NewDir");
    data.File("NewDir\\x.txt", "x");
    DeleteFileA((data / "Sub\\b.txt").c_str());
    ScratchFolder::RemoveTree(data / "Gone\\");
  });
  const std::string folder = data.Path();
  const std::vector<std::string> expected = {
      "Create Folder | " + folder + "Gone\\ |  | To Do",
      "Restore Deleted File | " + folder + "Gone\\ | g.txt | To Do",
      "Delete File | " + folder + "NewDir\\ | x.txt | To Do",
      "Delete folder | " + folder + "NewDir\\ |  | To Do",
      "Restore Deleted File | " + folder + "Sub\\ | b.txt | To Do",
      "Changed, restore old file. | " + folder + " | a.txt | To Do",
      "Delete File | " + folder + " | new.txt | To Do",
  };
  const std::vector<ToDoItem> listed = Run(false);
  EXPECT_EQ(RowsWithoutValues(listed), expected);
  EXPECT_EQ(listed[6].value.substr(0, 9), "1 Bytes, ") << listed[6].value;
  EXPECT_NE(listed[6].value.find(", Attr: A"), std::string::npos) << listed[6].value;

  settings.useDLLBackupRestore = false;
  EXPECT_EQ(RowsWithoutValues(Run(false)), (std::vector<std::string>{expected[2], expected[3], expected[6]}))
      << "without the file backup nothing is put back";
  settings.useDLLBackupRestore = true;

  ui.answers = {MsgAnswer::Yes};  // overwrite a.txt
  const std::vector<ToDoItem> done = Run(true);
  ASSERT_EQ(done.size(), expected.size());
  for (const ToDoItem& item : done) EXPECT_EQ(item.status, kStatusDone) << RowText(item);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].buttons, MsgButtons::YesNoCancelAll);
  const std::string& question = ui.messages[0].text;
  EXPECT_EQ(
      question.rfind("File already exists in destination folder.\r" + folder + "a.txt\r\rSource: 5 bytes, Date ", 0),
      0u)
      << question;
  EXPECT_NE(question.find("\rDest.: 13 bytes, Date "), std::string::npos) << question;
  const std::string tail = "\r\rOverwrite existing file ?";
  EXPECT_EQ(question.substr(question.size() - tail.size()), tail) << question;

  EXPECT_EQ(FileBytes(data / "a.txt"), "old a");
  EXPECT_EQ(FileBytes(data / "Sub\\b.txt"), "b");
  EXPECT_EQ(FileBytes(data / "Gone\\g.txt"), "g");
  EXPECT_FALSE(ScratchFolder::Exists(data / "NewDir"));
  EXPECT_EQ(FileBytes(Deleted("new.txt")), "n");
  EXPECT_EQ(FileBytes(Deleted("NewDir\\x.txt")), "x");
  ExpectBackToBefore();
  EXPECT_EQ(RecordKinds(), (std::vector<std::string>{"a.txt 27", "a.txt 28", "new.txt 25"}));
  EXPECT_TRUE(Run(false).empty());
}

struct OverwriteCase {
  std::vector<MsgAnswer> answers;
  size_t questions;
  std::vector<std::string> contents;  // of the three files afterwards
  std::vector<std::string> statuses;
};

TEST_F(DriveRestoreTest, TheOverwriteQuestionRemembersToAllAndCancelEndsOnlyItsItem) {
  const std::string done = kStatusDone;
  const std::vector<OverwriteCase> cases = {
      {{MsgAnswer::YesToAll}, 1, {"old1", "old2", "old3"}, {done, done, done}},
      {{MsgAnswer::NoToAll}, 1, {"new1", "new2", "new3"}, {done, done, done}},
      {{MsgAnswer::Cancel, MsgAnswer::No, MsgAnswer::Yes},
       3,
       {"new1", "new2", "old3"},
       {"Not done. Error:Operation aborted!", done, done}},
  };
  for (const char* name : {"1.txt", "2.txt", "3.txt"}) data.File(name, std::string("old") + name[0]);
  for (const char* name : {"1.txt", "2.txt", "3.txt"}) BackUp(name);
  Record([&] {
    for (const char* name : {"1.txt", "2.txt", "3.txt"}) data.File(name, std::string("new") + name[0] + "!");
  });
  const std::string log = FileBytes(logFile);
  for (const OverwriteCase& c : cases) {
    for (const char* name : {"1.txt", "2.txt", "3.txt"}) data.File(name, std::string("new") + name[0]);
    ScratchFolder::WriteFile(logFile, log);
    ReloadLog();  // the log was put back behind the result's back
    ui.messages.clear();
    ui.answers.assign(c.answers.begin(), c.answers.end());
    const std::vector<ToDoItem> items = Run(true);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(ui.messages.size(), c.questions);
    for (size_t i = 0; i < 3; ++i) {
      EXPECT_EQ(items[i].status, c.statuses[i]) << i;
      EXPECT_EQ(FileBytes(data / (std::to_string(i + 1) + ".txt")), c.contents[i]) << i;
    }
  }
}

TEST_F(DriveRestoreTest, WriteProtectedAndLockedFilesAreDeletedOnlyAsTheUserSays) {
  Record([&] {
    for (const char* name : {"r1.txt", "r2.txt", "r3.txt", "s.txt"}) {
      data.File(name, name);
      if (name[0] == 'r') SetFileAttributesA((data / name).c_str(), FILE_ATTRIBUTE_READONLY);
    }
  });
  HANDLE locked =
      CreateFileA((data / "s.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  ui.answers = {MsgAnswer::No, MsgAnswer::All};
  const std::vector<ToDoItem> items = Run(true);
  CloseHandle(locked);

  const std::string folder = data.Path();
  EXPECT_EQ(RowsWithoutValues(items),
            (std::vector<std::string>{
                "Delete File | " + folder + " | r1.txt | Not done. Error:Deletion cancelled by user.",
                "Delete File | " + folder + " | r2.txt | OK, Done", "Delete File | " + folder + " | r3.txt | OK, Done",
                "Delete File | " + folder + " | s.txt | Not done. Error:Cannote delete file " + folder + "s.txt."}));
  ASSERT_EQ(ui.messages.size(), 2u) << "\"All\" deletes the later write-protected files without asking";
  EXPECT_EQ(ui.messages[0].text, "File: " + folder + "r1.txt\ris write protected, delete anyway?");
  EXPECT_EQ(ui.messages[0].buttons, MsgButtons::YesNoAll);
  EXPECT_FALSE(deletion.askWriteProtected);
  EXPECT_EQ(GetFileAttributesA((data / "r1.txt").c_str()) & FILE_ATTRIBUTE_READONLY,
            static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(FileBytes(data / "s.txt"), "s.txt");
  EXPECT_EQ(FileBytes(Deleted("r2.txt")), "r2.txt");
  EXPECT_EQ(RecordKinds(), (std::vector<std::string>{"r1.txt 9", "r2.txt 25", "r3.txt 25", "s.txt 9"}));
}

struct DestinationCase {
  bool backupFiles;
  bool useRecycleBin;
  bool inBackup;
  int inRecycleBin;  // items the recycle bin gained
};

// -1 where the platform cannot count it (Wine has no recycle bin of its own to count).
int64_t RecycleBinItems() {
  SHQUERYRBINFO info{};
  info.cbSize = sizeof info;
  if (SHQueryRecycleBinA(nullptr, &info) != S_OK) return -1;
  return info.i64NumItems;
}

TEST_F(DriveRestoreTest, DeletedFilesGoToTheBackupFolderOrTheRecycleBinAsTheSettingsSay) {
  const std::vector<DestinationCase> cases = {
      {true, false, true, 0}, {true, true, true, 0}, {false, false, false, 0}, {false, true, false, 1}};
  Record([&] { data.File("n.txt", "n"); });
  const std::string log = FileBytes(logFile);
  for (const DestinationCase& c : cases) {
    data.File("n.txt", "n");
    ScratchFolder::WriteFile(logFile, log);
    ReloadLog();  // the log was put back behind the result's back
    ScratchFolder::RemoveTree(backup.Path() + "SETUP1\\");
    settings.backupFiles = c.backupFiles;
    settings.useRecycleBin = c.useRecycleBin;
    const int64_t before = RecycleBinItems();
    ASSERT_EQ(Run(true).at(0).status, kStatusDone);
    EXPECT_FALSE(ScratchFolder::Exists(data / "n.txt"));
    EXPECT_EQ(ScratchFolder::Exists(Deleted("n.txt")), c.inBackup) << c.backupFiles << c.useRecycleBin;
    if (before >= 0) {
      EXPECT_EQ(RecycleBinItems() - before, c.inRecycleBin) << c.backupFiles << c.useRecycleBin;
    }
  }
}

TEST_F(DriveRestoreTest, ANewFolderLosesOnlyWhatTheLogListsAndKeepsWhatTheUserChoseToKeep) {
  Record([&] {
    data.Folder("NewDir");
    data.File("NewDir\\x.txt", "x");
    data.Folder("NewDir\\Inner");
    data.File("NewDir\\Inner\\y.txt", "y");
    data.Folder("Guarded");
    data.File("Guarded\\ro.txt", "r");
    SetFileAttributesA((data / "Guarded\\ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  });
  data.File("NewDir\\Inner\\doc.txt", "saved after the compare");
  settings.backupFiles = false;
  settings.useRecycleBin = true;
  // Wine reports no recycle bin (SHQueryRecycleBin fails) and deletes for good with FOF_ALLOWUNDO.
  ASSERT_FALSE(RecycleBinKeeps(data.Path()));
  ui.answers = {MsgAnswer::No};  // keep the write-protected file

  const std::string folder = data.Path();
  EXPECT_EQ(
      RowsWithoutValues(Run(true)),
      (std::vector<std::string>{
          "Delete File | " + folder + "Guarded\\ | ro.txt | Not done. Error:Deletion cancelled by user.",
          "Delete folder | " + folder +
              "Guarded\\ |  | Not done. Error:Folder kept: it still holds files that "
              "were not deleted.",
          "Delete File | " + folder + "NewDir\\Inner\\ | y.txt | OK, Done",
          "Delete folder | " + folder +
              "NewDir\\Inner\\ |  | Not done. Error:Folder kept: it holds 1 file or "
              "folder that the log does not list. Turn on backups in the options to have them moved to the backup "
              "folder.",
          "Delete File | " + folder + "NewDir\\ | x.txt | OK, Done",
          "Delete folder | " + folder +
              "NewDir\\ |  | Not done. Error:Folder kept: it still holds files that "
              "were not deleted.",
      }));
  EXPECT_EQ(FileBytes(data / "NewDir\\Inner\\doc.txt"), "saved after the compare");
  EXPECT_EQ(FileBytes(data / "Guarded\\ro.txt"), "r");
  EXPECT_FALSE(ScratchFolder::Exists(data / "NewDir\\x.txt"));
  EXPECT_FALSE(DataNode("NewDir")->Cut()) << "a kept folder is offered again";

  // With backups on, what the log does not list goes to the backup folder with its folder.
  settings.backupFiles = true;
  SetFileAttributesA((data / "Guarded\\ro.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
  const std::vector<ToDoItem> again = Run(true);
  for (const ToDoItem& item : again) EXPECT_EQ(item.status, kStatusDone) << RowText(item);
  EXPECT_EQ(again.size(), 4u) << "ro.txt and the three folders; x.txt and y.txt are done";
  EXPECT_FALSE(ScratchFolder::Exists(data / "NewDir"));
  EXPECT_FALSE(ScratchFolder::Exists(data / "Guarded"));
  EXPECT_EQ(FileBytes(Deleted("NewDir\\Inner\\doc.txt")), "saved after the compare");
  EXPECT_TRUE(Run(false).empty());
}

// The wide functions make what an installer makes: names the code page cannot spell, paths
// beyond MAX_PATH ("\\\\?\\" prefix).
std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }
void WideFile(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, "w", 1, &written, nullptr);
  CloseHandle(file);
}
bool WideExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

TEST_F(DriveRestoreTest, FilesAndFoldersTheCodePageCannotSpellAreUndoneByTheirShortNames) {
  data.File("ab.txt", "a");
  data.File("cd.txt", "c");
  const std::wstring file = Wide(data.Path()) + L"\u65e5\u672c.txt";
  const std::wstring folder = Wide(data.Path()) + L"\u041d\u043e\u0432\u0430\u044f";
  Record([&] {
    WideFile(file);
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    WideFile(folder + L"\\f.txt");
  });
  const std::vector<ToDoItem> items = Run(true);
  ASSERT_EQ(items.size(), 3u) << "the file, the folder's file and the folder";
  for (const ToDoItem& item : items) {
    EXPECT_EQ(item.status, kStatusDone) << RowText(item);
    EXPECT_EQ((item.path + item.name).find('?'), std::string::npos) << RowText(item);
  }
  EXPECT_FALSE(WideExists(file));
  EXPECT_FALSE(WideExists(folder));
  EXPECT_EQ(FileBytes(data / "ab.txt"), "a");
  EXPECT_EQ(FileBytes(data / "cd.txt"), "c");
  ExpectBackToBefore();
}

TEST_F(DriveRestoreTest, FilesAddedDeeperThanMaxPathAreUndone) {
  data.Folder("deep");
  std::wstring deep = L"\\\\?\\" + Wide(data / "deep");
  size_t folders = 0;
  Record([&] {
    for (; deep.size() < 330; ++folders) {
      deep += L"\\" + std::wstring(40, static_cast<wchar_t>(L'a' + folders));
      ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr));
    }
    WideFile(deep + L"\\added.txt");
  });
  const std::vector<ToDoItem> items = Run(true);
  ASSERT_EQ(items.size(), folders + 1) << "the file and each new folder";
  EXPECT_EQ(items[0].name, "added.txt");
  EXPECT_GT(items[0].path.size(), 300u);
  for (const ToDoItem& item : items) EXPECT_EQ(item.status, kStatusDone) << RowText(item);
  EXPECT_TRUE(ScratchFolder::Exists(data / "deep"));
  EXPECT_EQ(CountFolderEntries(data / "deep"), 0u);
  ExpectBackToBefore();
}

TEST_F(DriveRestoreTest, ALogThatListsTheProgramsOwnFilesNeverGetsThemDeleted) {
  // Snapshots taken without leaving the program out, as an older version took them.
  data.Folder("Prog");
  data.File("Prog\\Quorvel.exe", "exe");
  Record([&] {
    data.File("Prog\\Last.SXS", "selection");
    data.File("Prog\\run1.SXL", "log");
    data.File("new.txt", "n");
    data.Folder("Tools");
    data.Folder("Tools\\Backup");
    data.File("Tools\\Backup\\kept.txt", "backup");
  });
  ownPlaces = BuildOwnPlaces(data / "Prog\\Quorvel.exe", data / "Prog\\", data / "Tools\\Backup", "", "");
  const std::string folder = data.Path();
  const std::string own = "Not done. Error:This is a file of Quorvel itself; an undo never deletes it.";
  EXPECT_EQ(RowsWithoutValues(Run(true)),
            (std::vector<std::string>{"Delete File | " + folder + "Prog\\ | Last.SXS | " + own,
                                      "Delete File | " + folder + "Prog\\ | run1.SXL | " + own,
                                      "Delete File | " + folder + "Tools\\Backup\\ | kept.txt | " + own,
                                      "Delete folder | " + folder +
                                          "Tools\\Backup\\ |  | Not done. Error:Folder kept: it holds files of "
                                          "Quorvel itself.",
                                      "Delete folder | " + folder +
                                          "Tools\\ |  | Not done. Error:Folder kept: it holds files of Quorvel "
                                          "itself.",
                                      "Delete File | " + folder + " | new.txt | OK, Done"}));
  for (const char* file : {"Prog\\Last.SXS", "Prog\\run1.SXL", "Tools\\Backup\\kept.txt"})
    EXPECT_TRUE(ScratchFolder::Exists(data / file)) << file;
}

TEST_F(DriveRestoreTest, ANewDriveIsNeverDeleted) {
  const auto nothing = [](TWriter&) {};
  WriteHandMadeConfiguration(files / "before.SXD", nothing, nothing);
  WriteHandMadeConfiguration(files / "after.SXD", nothing, [](TWriter& w) {
    w.WriteString("Q:");
    w.WriteInteger(17);
    w.WriteInteger(1);  // one folder, empty
    w.WriteString("DIR");
    w.WriteInteger(0);
    w.WriteInteger(0);
    w.WriteInteger(1);  // one file
    w.WriteString("f.txt");
    w.WriteInteger(21);
    w.WriteInteger(0x2A5B6000);
    w.WriteInteger(1);
    w.WriteInteger(0x20);
  });
  CompareSnapshots("before.SXD", "after.SXD");
  ASSERT_EQ(driveResult.FirstTop()->Child(0)->StateIndex(), kKindNew);
  EXPECT_TRUE(Run(false).empty()) << "the log keeps nothing of a new drive, and the drive itself is not deleted";
}

// A data folder written by hand into a configuration: its files (sorted as captures sort) and
// one subfolder with files of its own.
struct HandMadeFolder {
  std::vector<std::string> files;
  std::string subfolder;
  std::vector<std::string> subfolderFiles;
};

void WriteFileList(TWriter& w, std::vector<std::string> names) {
  std::sort(names.begin(), names.end(), TextLess);
  w.WriteInteger(static_cast<int32_t>(names.size()));
  for (const std::string& name : names) {
    w.WriteString(name);
    w.WriteInteger(21);
    w.WriteInteger(0x2A5B6000);
    w.WriteInteger(1);
    w.WriteInteger(0x20);
  }
}

void WriteDataFolder(TWriter& w, const std::string& folder, const HandMadeFolder& content) {
  w.WriteString(folder.substr(0, 2));
  w.WriteInteger(17);
  WrappedRecord(w, PathNames(folder.substr(3)), [&] {
    w.WriteInteger(content.subfolder.empty() ? 0 : 1);
    if (!content.subfolder.empty()) {
      w.WriteString(content.subfolder);
      w.WriteInteger(0);
      WriteFileList(w, content.subfolderFiles);
    }
    WriteFileList(w, content.files);
  });
}

TEST_F(DriveRestoreTest, NamesFromTheLogAreNeverPatternsOrPaths) {
  data.File("keep.txt", "k");
  data.Folder("other");
  data.File("other\\o.txt", "o");
  const auto noRegistry = [](TWriter&) {};
  const HandMadeFolder before{{"keep.txt"}, "other", {"o.txt"}};
  const HandMadeFolder after{{"keep.txt", "*", "?", "a\\b", "x.", "NUL"}, "..", {"other"}};
  WriteHandMadeConfiguration(files / "before.SXD", noRegistry,
                             [&](TWriter& w) { WriteDataFolder(w, data.Path(), before); });
  WriteHandMadeConfiguration(files / "after.SXD", noRegistry,
                             [&](TWriter& w) { WriteDataFolder(w, data.Path(), after); });
  CompareSnapshots("before.SXD", "after.SXD");

  const std::vector<ToDoItem> items = Run(true);
  ASSERT_EQ(items.size(), 7u) << "a file in \"..\", the folder \"..\" and five files";
  for (const ToDoItem& item : items) {
    const std::string bad = item.operation == "Delete folder" || item.path != data.Path() ? ".." : item.name;
    EXPECT_EQ(item.status, std::string(kStatusNotDone) + "The log names \"" + bad +
                               "\", which is not a plain file or folder name; nothing was done.")
        << RowText(item);
  }
  EXPECT_EQ(FileBytes(data / "keep.txt"), "k");
  EXPECT_EQ(FileBytes(data / "other\\o.txt"), "o");
  for (const std::string& kind : RecordKinds()) EXPECT_EQ(kind.substr(kind.size() - 2), " 9") << "not done: " << kind;
}

TEST(PlainNames, OnlyOneExactNameInItsFolderIsUndoable) {
  for (const char* name : {"", ".", "..", "a..b", "*", "a?b", "a<b", "x\\y", "x/y", "c:", "tab\there", "x.", "x ",
                           "NUL", "com1.txt", "Lpt9"})
    EXPECT_FALSE(IsUndoableName(name)) << name;
  for (const char* name : {"APP.EXE", "a b.txt", ".hidden", "~$tmp", "COM10", "nullable.txt", "__~~~2CT.TXT"})
    EXPECT_TRUE(IsUndoableName(name)) << name;
}

TEST(FileDeletion, BackupPathsKeepTheDriveAndTheLogName) {
  EXPECT_EQ(BackupFolderForLog("C:\\BACKUP", "D:\\LOGS\\SETUP1.SXL"), "C:\\BACKUP\\SETUP1\\");
  EXPECT_EQ(BackupFolderForLog("C:\\BACKUP\\", "SETUP1.SXL"), "C:\\BACKUP\\SETUP1\\");
  EXPECT_EQ(BackupTargetOf("C:\\BACKUP\\SETUP1\\", "D:\\X\\Y.TXT"), "C:\\BACKUP\\SETUP1\\D\\X\\Y.TXT");
  FileDeletionState state;
  ScriptedInteraction ui;
  try {
    DeleteFileWithBackup("C:\\no such folder\\no such file", state, {}, ui);
    ADD_FAILURE();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "File not found!");
  }
}

// A file registered under SharedDlls: the drive pass learns from the log which counters the
// registry pass has already put back.
class SharedFileDeletionTest : public DriveRestoreTest {
 protected:
  void SetUp() override {
    DriveRestoreTest::SetUp();
    places.root = HKEY_LOCAL_MACHINE;
    places.rootName = "HKEY_LOCAL_MACHINE";
    places.key = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, places.key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &shared, nullptr);
  }
  void TearDown() override {
    for (const char* name : {"s1.dll", "s2.dll", "s3.dll"}) RegDeleteValueA(shared, (data / name).c_str());
    RegCloseKey(shared);
  }
  HKEY shared = nullptr;
};

TEST_F(SharedFileDeletionTest, ASharedFileIsDeletedOnlyWhenTheUserInsistsAndNeverAfterItsCounterWasReset) {
  Record([&] {
    for (const char* name : {"s1.dll", "s2.dll", "s3.dll", "plain.dll"}) data.File(name, name);
    const DWORD one = 1;
    for (const char* name : {"s1.dll", "s2.dll", "s3.dll"})
      RegSetValueExA(shared, (data / name).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
  });
  // The registry pass puts back the counter of s1 only; its file is kept.
  TreeNode* counters =
      Node(registryResult, {"HKEY_LOCAL_MACHINE", "SOFTWARE", "Microsoft", "Windows", "CurrentVersion", "SharedDlls"});
  ASSERT_NE(counters, nullptr);
  std::vector<ResultRow> rows;
  ReadRegistryRows(*counters, logFile, positions, "(default)", "", rows);
  std::vector<size_t> counterOfS1;
  for (size_t i = 0; i < rows.size(); ++i)
    if (rows[i].name == data / "s1.dll") counterOfS1.push_back(i);
  std::vector<FilterRow> filter = FilterOf(rows, counterOfS1);
  prompt.answers = {{false, false}};
  RestoreFixture::Run(RestoreRegistry, registryResult, true, kRestoreDefault, &filter, counters);
  ASSERT_TRUE(ScratchFolder::Exists(data / "s1.dll"));

  prompt.answers = {{true, true}};
  const std::string folder = data.Path();
  EXPECT_EQ(
      RowsWithoutValues(Run(true)),
      (std::vector<std::string>{
          "Delete File | " + folder + " | plain.dll | OK, Done",
          "Delete File | " + folder + " | s1.dll | Not done. Error:Shared file, not deleted (registry counter reset).",
          "Delete File | " + folder + " | s2.dll | OK, Done", "Delete File | " + folder + " | s3.dll | OK, Done"}));
  ASSERT_EQ(prompt.asked.size(), 2u) << "\"Repeat for all subsequent files.\" answers for s3";
  EXPECT_EQ(prompt.asked[1].which, SharedFileCase::StillRegistered);
  EXPECT_EQ(prompt.asked[1].path, folder + "s2.dll");
  EXPECT_TRUE(ScratchFolder::Exists(data / "s1.dll"));
  EXPECT_FALSE(ScratchFolder::Exists(data / "s3.dll"));
}

}  // namespace
