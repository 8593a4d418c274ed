#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <set>

#include "restore/InstallFileCopy.h"
#include "tests/compare/LogBuilder.h"
#include "tests/restore/InstallExportFixture.h"

namespace {

void WriteText(const std::string& path, const std::string& text) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Every file below folder, as "relative\path" (folders only through their files).
std::set<std::string> FilesBelow(const std::string& folder) {
  std::set<std::string> files;
  std::error_code error;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, error))
    if (entry.is_regular_file()) files.insert(entry.path().lexically_relative(folder).string());
  return files;
}

std::string FullPathOf(const std::string& path) {
  char full[MAX_PATH];
  const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
  return std::string(full, length);
}

// The folders of a full path below its drive ("C:\A\B\" -> A, B).
std::vector<std::string> FoldersOf(const std::string& fullPath) {
  std::vector<std::string> names;
  for (size_t start = 3; start < fullPath.size();) {
    size_t end = fullPath.find('\\', start);
    if (end == std::string::npos) end = fullPath.size();
    if (end > start) names.push_back(fullPath.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

// A drive "C: System" whose folders lead down to the test's own folder, which holds leaf's
// folders and files.
Drive DriveWith(const std::string& testFolder, const Folder& leaf) {
  const std::vector<std::string> names = FoldersOf(testFolder);
  Folder folder = leaf;
  folder.name = names.back();
  for (size_t i = names.size() - 1; i-- > 0;) folder = Folder{names[i], {folder}, {}};
  return Drive{"C: System", 17, Folder{"", {folder}, {}}};
}

}  // namespace

class InstallFileCopy : public InstallExportFixture {
 protected:
  void SetUp() override {
    InstallExportFixture::SetUp();
    testFolder = FullPathOf(Path(""));
    copyRoot = Path("Copy") + "\\C" + testFolder.substr(2);
  }

  std::string testFolder;  // "C:\...\", where the files of the compared configurations lie
  std::string copyRoot;    // the test folder's place in the copy
};

TEST_F(InstallFileCopy, NewAndChangedFilesAreCopiedWithTheirFolders) {
  Configuration before, after;
  before.drives = {DriveWith(
      testFolder, Folder{"", {Folder{"DATA", {}, {{"CHG.TXT", 1, 1}, {"KEEP.TXT", 1, 1}, {"OLD.TXT", 1, 1}}}}, {}})};
  after.drives = {DriveWith(
      testFolder,
      Folder{"",
             {Folder{"APP", {Folder{"BIN", {}, {{"TOOL.DLL"}}}}, {{"APP.EXE"}, {"MISSING.DAT"}}},
              Folder{"DATA", {}, {{"CHG.TXT", 1, 2}, {"KEEP.TXT", 1, 1}, {"NEW.TXT", 1, 1}}}, Folder{"EMPTY", {}, {}}},
             {}})};
  for (const char* name : {"APP\\APP.EXE", "APP\\BIN\\TOOL.DLL", "DATA\\CHG.TXT", "DATA\\NEW.TXT", "DATA\\KEEP.TXT"})
    WriteText(testFolder + name, std::string("content of ") + name);
  Compare(before, after);

  struct Case {
    const char* what;
    KindSet kinds;
    std::set<std::string> copied;
  };
  const Case cases[] = {
      {"all kinds",
       kAllKinds,
       {"APP\\APP.EXE", "APP\\BIN\\TOOL.DLL", "DATA\\CHG.TXT", "DATA\\NEW.TXT", "EMPTY\\create.dir"}},
      // Without the folder kinds the files still go to their own folders.
      {"new files only", KindBit(kRecordNew), {"APP\\APP.EXE", "APP\\BIN\\TOOL.DLL", "DATA\\NEW.TXT"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove_all(Path("Copy"));
    ui.messages.clear();
    ui.answers = {MsgAnswer::Ok};
    ASSERT_TRUE(Export(InstallExportCommand::Drives, c.kinds));

    EXPECT_EQ(FilesBelow(copyRoot), c.copied);
    for (const std::string& name : c.copied)
      if (name != "EMPTY\\create.dir") {
        EXPECT_EQ(ReadText(copyRoot + name), "content of " + name);
      }
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].type, MsgType::Warning);
    EXPECT_EQ(ui.messages[0].buttons, MsgButtons::OkCancel);
    EXPECT_EQ(ui.messages[0].text, "File not found:\r" + testFolder + "APP\\MISSING.DAT");
    EXPECT_EQ(ui.messages[1].text, "All files copied.");
  }
  const std::string mark = copyRoot + "EMPTY\\create.dir";
  std::filesystem::remove_all(Path("Copy"));
  ASSERT_TRUE(Export(InstallExportCommand::Drives));
  EXPECT_EQ(std::filesystem::file_size(mark), 0u);
  EXPECT_TRUE(GetFileAttributesA(mark.c_str()) & FILE_ATTRIBUTE_HIDDEN);
  // A second export over the first replaces the hidden mark.
  ASSERT_TRUE(Export(InstallExportCommand::Drives));

  // Cancel at the missing file ends the export without its closing message.
  ui.messages.clear();
  ui.answers = {MsgAnswer::Cancel};
  EXPECT_FALSE(Export(InstallExportCommand::Drives));
  EXPECT_EQ(ui.Texts(), std::vector<std::string>{"File not found:\r" + testFolder + "APP\\MISSING.DAT"});
}

TEST(InstallCopyTarget, NamesThatCouldLeaveTheTargetAreRefused) {
  const std::string base = "C:\\OUT\\";
  const struct {
    const char* folderPath;
    const char* target;  // nullptr: refused
  } cases[] = {
      {"C:\\", "C:\\OUT\\C\\"},
      {"d:\\APP\\BIN\\", "C:\\OUT\\d\\APP\\BIN\\"},
      {"C:\\a.b c\\", "C:\\OUT\\C\\a.b c\\"},
      {"C:\\..\\", nullptr},
      {"C:\\APP\\..\\..\\..\\", nullptr},
      {"C:\\a..b\\", nullptr},
      {"C:\\.\\", nullptr},
      {"C:\\a:b\\", nullptr},
      {"C:\\a/b\\", nullptr},
      {"C:\\a*\\", nullptr},
      {"C:\\\\x\\", nullptr},
      {"C:\\APP", nullptr},
      {"1:\\APP\\", nullptr},
      {"\\:\\APP\\", nullptr},
      {"C:", nullptr},
  };
  for (const auto& c : cases) {
    const std::optional<std::string> target = CopyTargetFolder(base, c.folderPath);
    if (c.target)
      EXPECT_EQ(target.value_or("(refused)"), c.target) << c.folderPath;
    else
      EXPECT_FALSE(target) << c.folderPath << " -> " << *target;
  }
  for (const char* name : {"..", ".", "", "a\\b", "..\\x", "x:y", "a\nb", "*.*", "a?"})
    EXPECT_FALSE(IsPlainFileName(name)) << name;
  for (const char* name : {"APP.EXE", "a b.txt", "x.", "~$tmp"}) EXPECT_TRUE(IsPlainFileName(name)) << name;
}

// A crafted log whose folder and file names try to reach outside the copy folder: nothing is
// written there, the safe file is still copied, and one warning names what was left out.
TEST_F(InstallFileCopy, UnsafeNamesFromALogAreRefused) {
  const std::vector<std::string> folders = FoldersOf(testFolder);
  // From <copy>\C\<folders>\X\ this many steps up lead to the folder that holds the copy.
  const std::string up = [&] {
    std::string steps;
    for (size_t i = 0; i < folders.size() + 3; ++i) steps += "..\\";
    return steps;
  }();
  const std::string escapeName = "QuorvelEscape" + std::to_string(GetCurrentProcessId()) + ".txt";
  // The source of the escaping name: its ".." steps end at the drive's root.
  const std::string escapeSource = "C:\\" + escapeName;
  WriteText(escapeSource, "escaped");
  WriteText(testFolder + "X\\ok.txt", "ok");
  WriteText(testFolder + "X\\sub\\f.txt", "sub");
  WriteText(testFolder + "ok.txt", "parent");

  ChangeBlockBuilder drv(kDriveChangeHeader);
  const int32_t files = drv.AddFiles({{"ok.txt", 9}, {up + escapeName, 9}, {"a:b.txt", 9}, {"sub\\f.txt", 12}});
  const int32_t dotFiles = drv.AddFiles({{"ok.txt", 9}});
  TreeModel drives;
  TreeNode* node = AddLogNode(drives, AddLogNode(drives, nullptr, "Drives", 0, 2, 2), "C: System", 0, 17, 17);
  for (const std::string& name : folders) node = AddLogNode(drives, node, name, 0, 0, 1);
  TreeNode* x = AddLogNode(drives, node, "X", 8, 0, 1, files);
  AddLogNode(drives, x, "..", 8, 0, 1, dotFiles);
  AddLogNode(drives, x, "a:b", 8, 0, 1, dotFiles);
  TreeNode* odd = AddLogNode(drives, drives.FirstTop(), ".: Odd", 0, 17, 17);
  AddLogNode(drives, odd, "Y", 8, 0, 1, dotFiles);

  TreeModel registry, systemFiles;
  AddLogNode(registry, nullptr, "My Computer", 0, 2, 2);
  AddLogNode(systemFiles, nullptr, "System Files", 0, 0, 0);
  TreeModel* const results[3] = {&registry, &drives, &systemFiles};
  const Bytes blocks[3] = {ChangeBlockBuilder(kRegistryChangeHeader).Finish(), drv.Finish(),
                           ChangeBlockBuilder(kSystemFileChangeHeader).Finish()};
  LogSelection selection;
  LogPositions crafted;
  const std::string log = Path("Crafted.SXL");
  WriteFileBytes(log, AssembleLog(selection, results, blocks, crafted));

  InstallExportRequest request;
  request.command = InstallExportCommand::Drives;
  request.start = drives.FirstTop();
  request.copyFolder = Path("Copy");
  EXPECT_TRUE(ExportInstallFiles({registry, drives, systemFiles}, log, crafted, request, ui));
  DeleteFileA(escapeSource.c_str());

  EXPECT_EQ(FilesBelow(Path("Copy")), std::set<std::string>{"C" + testFolder.substr(2) + "X\\ok.txt"});
  EXPECT_FALSE(std::filesystem::exists(Path(escapeName)));
  EXPECT_EQ(ui.Texts(), (std::vector<std::string>{
                            "These items have names that cannot be exported safely; they were left out:\r" +
                                testFolder + "X\\..\\\r" + testFolder + "X\\..\\ok.txt\r" + testFolder + "X\\a:b\\\r" +
                                testFolder + "X\\a:b\\ok.txt\r" + testFolder + "X\\" + up + escapeName + "\r" +
                                testFolder + "X\\a:b.txt\r" + testFolder + "X\\sub\\f.txt\r.:\\Y\\\r.:\\Y\\ok.txt",
                            "All files copied.",
                        }));
}
