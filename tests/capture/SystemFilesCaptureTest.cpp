#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "capture/SectionCaptures.h"
#include "core/CheckStates.h"
#include "platform/SettingsAccess.h"
#include "platform/SystemFileType.h"
#include "platform/TMyRegistry.h"
#include "tests/capture/CaptureTestSupport.h"
#include "tests/capture/TestRegistryKey.h"

using namespace std::string_literals;

namespace {

using Progress = CaptureHost::Progress;

// Settings on the test key, installed as StaticReg for the test.
class InstalledSettings {
 public:
  InstalledSettings() {
    EXPECT_TRUE(reg.OpenKey(key.Path(), false));
    previous_ = SetStaticReg(&reg);
  }
  ~InstalledSettings() { SetStaticReg(previous_); }

  TestRegistryKey key;
  TMyRegistry reg{HKEY_CURRENT_USER, kRegAccessFull};

 private:
  TMyRegistry* previous_ = nullptr;
};

std::string WindowsFolder() {
  char folder[MAX_PATH];
  UINT length = GetWindowsDirectoryA(folder, MAX_PATH);
  std::string path(folder, length);
  return path.back() == '\\' ? path : path + "\\";
}

}  // namespace

TEST(SystemFileType, NodeTextGivesTypeAndFullPath) {
  InstalledSettings settings;
  settings.key.SetRaw("", "PathToSystemFiles", REG_SZ, "D:\\BOOT\\\0"s);
  struct Case {
    std::string text;
    SystemFileType type;
    std::string path;
  };
  const Case cases[] = {
      {" win.ini ", kSystemIni, WindowsFolder() + "win.ini"},
      {"SYSTEM.INI", kSystemIni, WindowsFolder() + "SYSTEM.INI"},
      {"Autoexec.bat", kSystemText, "D:\\BOOT\\Autoexec.bat"},
      {" CONFIG.SYS", kSystemText, "D:\\BOOT\\CONFIG.SYS"},
      {"C:\\APP\\APP.INI(INI)", kUserIni, "C:\\APP\\APP.INI"},
      {" C:\\APP\\APP.INI(ini) ", kUserIni, "C:\\APP\\APP.INI"},
      {"C:\\APP\\NOTES.TXT(TXT)", kUserText, "C:\\APP\\NOTES.TXT"},
  };
  for (const Case& c : cases) {
    std::string path;
    EXPECT_EQ(GetSystemFileType(c.text, path), c.type) << c.text;
    EXPECT_EQ(path, c.path) << c.text;
  }

  std::string path;
  ExpectRaises([&] { GetSystemFileType("NOTES.DOC", path); }, ErrorKind::Exception,
               "Cannot determine file type of NOTES.DOC.");
  ExpectRaises([&] { GetSystemFileType("C:\\APP\\APP.INI (DOC)", path); }, ErrorKind::Exception,
               "Cannot determine file type of C:\\APP\\APP.INI (DOC).");
  ASSERT_TRUE(settings.reg.DeleteValue("PathToSystemFiles"));
  ExpectRaises([&] { GetSystemFileType("CONFIG.SYS", path); }, ErrorKind::EMyRegistryException,
               "Values have not been initialized - Value: PathToSystemFiles");
  // Only a text system file needs the setting, also with folders read before it was needed.
  const SystemFileFolders folders = CurrentSystemFileFolders();
  EXPECT_EQ(GetSystemFileType("WIN.INI", folders, path), kSystemIni);
  EXPECT_EQ(path, WindowsFolder() + "WIN.INI");
  ExpectRaises([&] { GetSystemFileType("AUTOEXEC.BAT", folders, path); }, ErrorKind::EMyRegistryException,
               "Values have not been initialized - Value: PathToSystemFiles");
}

TEST(SystemFilesCapture, IniBodyHasSortedSectionsWithTheirEntriesInFileOrder) {
  TestFolder folder;
  const std::string path = folder.Path() + "system.ini";
  folder.File("system.ini",
              "  [drivers]  \r\n"
              "wave=mmdrv.dll\r\n"
              "timer=timer.drv\r\n"
              "\r\n"
              "[boot]\n"
              "shell=Explorer.exe\n"
              "odd=a=b\n"
              "[]\n"
              "lost=1\n");
  Bytes expected;
  expected.Int(3)
      .Str("[]")
      .Int(0)
      .Str("[boot]")
      .Int(2)
      .Str("shell")
      .Int(21)
      .Str("Explorer.exe")
      .Str("odd")
      .Int(21)
      .Str("a=b")
      .Str("[drivers]")
      .Int(2)
      .Str("wave")
      .Int(21)
      .Str("mmdrv.dll")
      .Str("timer")
      .Int(21)
      .Str("timer.drv");
  ScriptedInteraction ui;
  RecordingHost host{ui, StatusChannel::Secondary};
  EXPECT_EQ(Hex(Captured([&](TWriter& w) { WriteIniBody(w, host, path); })), Hex(expected.Get()));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text,
            "File '" + path + "' contains an entry whose name is empty.\rUnable to read values in this section.");
  EXPECT_EQ(ui.messages[0].type, MsgType::Error);
  EXPECT_EQ(ui.messages[0].buttons, MsgButtons::Ok);

  EXPECT_EQ(Hex(Captured([&](TWriter& w) { WriteIniBody(w, host, folder.Path() + "missing.ini"); })), "02 00 ");
}

TEST(SystemFilesCapture, TextBodyHasNonBlankLinesSortedWithTheirPositions) {
  struct Case {
    const char* what;
    std::string content;
    std::vector<std::pair<std::string, int>> lines;  // in the order written
  };
  const Case cases[] = {
      {"leading blanks count", "x\r\n\r\n  a", {{"  a", 2}, {"x", 0}}},
      {"config.sys", "FILES=40\r\n\r\nBUFFERS=20\r\n", {{"BUFFERS=20", 2}, {"FILES=40", 0}}},
      {"blank lines only", " \r\n\t\r\n\r\n", {}},
      {"every line break", "b\na\rc\r\n\n d \t", {{" d \t", 4}, {"a", 1}, {"b", 0}, {"c", 2}}},
  };
  TestFolder folder;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    folder.File("config.sys", c.content);
    Bytes expected;
    expected.Int(static_cast<int32_t>(c.lines.size()));
    for (const auto& [text, position] : c.lines) expected.Str(text).Int(21).Int(position);
    EXPECT_EQ(Hex(Captured([&](TWriter& w) { WriteTextBody(w, folder.Path() + "config.sys"); })), Hex(expected.Get()));
  }
  EXPECT_EQ(Hex(Captured([&](TWriter& w) { WriteTextBody(w, folder.Path() + "autoexec.bat"); })), "02 00 ");
}

TEST(SystemFilesCapture, SectionWritesCheckedFilesAndShowsProgressOverAllFiles) {
  TestFolder folder;
  folder.File("app.ini", "[x]\r\nk=v\r\n");
  folder.File("notes.txt", "line\r\n");
  const std::string ini = folder.Path() + "app.ini(INI)", skipped = folder.Path() + "notes.txt(TXT) ",
                    missing = folder.Path() + "gone.txt(TXT)", notes = folder.Path() + "notes.txt(TXT)";
  TreeModel tree;
  TreeNode* top = tree.Add(nullptr, "System Files");
  for (const auto& [text, state] : std::vector<std::pair<std::string, int>>{
           {ini, kStateChecked}, {skipped, kStateUnchecked}, {missing, kStateChecked}, {notes, kStateChecked}})
    tree.Add(top, {.text = text, .stateIndex = state});

  Bytes expected;
  expected.Str("* THIS IS A SNAPTRACE SYSTEMFILES DATAFILE *").Begin();
  expected.Str(ini).Int(1).Str("[x]").Int(1).Str("k").Int(21).Str("v");
  expected.Str(missing).Int(0);
  expected.Str(notes).Int(1).Str("line").Int(21).Int(0).End();
  ScriptedInteraction ui;
  RecordingHost host{ui, StatusChannel::Secondary};
  EXPECT_EQ(Hex(Captured([&](TWriter& w) { CaptureSystemFilesSection(w, tree, SystemFileFolders{}, host); })),
            Hex(expected.Get()));
  const std::string saving = " Saving system files:";
  EXPECT_EQ(host.shown,
            (std::vector<Progress>{{saving, 4, 0}, {saving, 4, 0}, {saving, 4, 2}, {saving, 4, 3}, {" Status", 0, 0}}));
}

// A file that is there but cannot be read, and a node of no known type, end the capture.
TEST(SystemFilesCapture, UnreadableFilesAndUnknownNodesFail) {
  TestFolder folder;
  folder.File("locked.txt", "x\r\n");
  HANDLE exclusive =
      CreateFileA((folder.Path() + "locked.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
  struct Case {
    std::string text;
    ErrorKind kind;
  };
  const Case cases[] = {{folder.Path() + "locked.txt(TXT)", ErrorKind::EFOpenError},
                        {"NOTES.DOC", ErrorKind::Exception}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    TreeModel tree;
    tree.Add(tree.Add(nullptr, "System Files"), {.text = c.text, .stateIndex = kStateChecked});
    ScriptedInteraction ui;
    RecordingHost host{ui, StatusChannel::Secondary};
    try {
      Captured([&](TWriter& w) { CaptureSystemFilesSection(w, tree, SystemFileFolders{}, host); });
      ADD_FAILURE() << "the capture must fail";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Kind(), c.kind) << e.Message();
    }
  }
  CloseHandle(exclusive);
}
