#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "tests/compare/LogBuilder.h"
#include "tests/restore/InstallExportFixture.h"

namespace {

std::string Run(int count) {
  std::string bytes;
  for (int i = 0; i < count; ++i) bytes.push_back(static_cast<char>(i));
  return bytes;
}

Bytes AsBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

Key SharedDlls(std::vector<RegValue> values) {
  return Key{"SOFTWARE",
             {Key{"Microsoft",
                  {Key{"Windows", {Key{"CurrentVersion", {Key{"SharedDlls", {}, std::move(values)}}, {}}}, {}}},
                  {}}},
             {}};
}

// A new, a changed and a deleted key with values of every form, a value directly under a root
// key, and the shared-file counters.
Configuration RegistryBefore() {
  Configuration config;
  config.roots = {
      Key{"HKEY_CURRENT_USER",
          {Key{"Software",
               {Key{"Chg",
                    {},
                    {Sz("", "old default"), Sz("50%\"off", "x"), Sz("Drop", "x"), Sz("Path", "old"), Dword("Same", 1)}},
                Key{"Gone", {Key{"Child", {}, {Sz("V", "v")}}}, {Sz("", "d"), Sz("W", "w")}}},
               {}}},
          {Sz("RootVal", "r")}},
      Key{"HKEY_LOCAL_MACHINE", {SharedDlls({Dword("C:\\OLD.DLL", 1), Dword("C:\\SH.DLL", 1)})}, {}}};
  return config;
}

Configuration RegistryAfter() {
  Configuration config;
  config.roots = {Key{"HKEY_CURRENT_USER",
                      {Key{"Software",
                           {Key{"Chg", {}, {Binary("Bin", AsBytes(Run(40))), Sz("Path", "new"), Dword("Same", 1)}},
                            Key{"New",
                                {Key{"Sub", {}, {Sz("S", "s")}}},
                                {Sz("", "C:\\dir \"q\""), Sz("Quo\"te\\d", "v"), Dword("Num", -2),
                                 Binary("Multi", AsBytes(std::string("a\0b\0\0", 5)), 7), Sz("Exp", "%WINDIR%", 2),
                                 Binary("Q", AsBytes("\x01\x02\x03\x04\x05\x06\x07\x08"), 11), Binary("None", {1}, 0),
                                 Sz("Lines", "a\r\nb")}}},
                           {}}},
                      {}},
                  Key{"HKEY_LOCAL_MACHINE", {SharedDlls({Dword("C:\\NEW.DLL", 1), Dword("C:\\SH.DLL", 2)})}, {}}};
  return config;
}

Configuration SystemFilesBefore() {
  Configuration config;
  config.systemFiles = {
      SystemFile{"WIN.INI", {IniSection{"[windows]", {{"load", "a.exe"}, {"old", "1"}, {"run", "x"}}}}, {}},
      SystemFile{"SYSTEM.INI", {IniSection{"[boot]", {{"shell", "Explorer.exe"}}}}, {}},
      SystemFile{"Autoexec.bat", {}, {"@ECHO OFF", "PATH C:\\"}},
      SystemFile{"C:\\App\\App.ini(INI)", {IniSection{"[main]", {{"chg", "a"}, {"gone", "x"}}}}, {}},
      SystemFile{"C:\\App\\WIN.INI.TXT(TXT)", {}, {"one"}}};
  return config;
}

Configuration SystemFilesAfter() {
  Configuration config;
  config.systemFiles = {
      SystemFile{"WIN.INI",
                 {IniSection{"[windows]", {{"load", "b.exe"}, {"run", "x"}, {"new", "1"}}},
                  IniSection{"[NewSect]", {{"k", "v"}}}},
                 {}},
      SystemFile{"SYSTEM.INI", {IniSection{"[boot]", {{"shell", "Explorer.exe"}}}}, {}},
      SystemFile{"Autoexec.bat", {}, {"@ECHO OFF", "PATH C:\\NEW"}},
      SystemFile{"C:\\App\\App.ini(INI)",
                 {IniSection{"[main]", {{"chg", "b"}, {"add", "1"}}}, IniSection{"[Extra]", {{"e", "50% \"q\""}}}},
                 {}},
      SystemFile{"C:\\App\\WIN.INI.TXT(TXT)", {}, {"two"}}};
  return config;
}

}  // namespace

using InstallExportContent = InstallExportFixture;

TEST_F(InstallExportContent, RegistryFilesLineByLine) {
  Compare(RegistryBefore(), RegistryAfter());
  ASSERT_TRUE(Export(InstallExportCommand::Registry));

  EXPECT_EQ(Lines("Setup.REG"),
            (std::vector<std::string>{
                "REGEDIT4",
                "",
                "[HKEY_CURRENT_USER\\Software\\Chg]",
                "\"Bin\"=hex:00,01,02,03,04,05,06,07,08,09,0A,0B,0C,0D,0E,0F,10,11,12,13,14,15,16,17,\\",
                "  18,19,1A,1B,1C,1D,1E,1F,20,21,22,23,24,25,26,27",
                "\"Path\"=\"new\"",
                "[HKEY_CURRENT_USER\\Software\\New\\Sub]",
                "\"S\"=\"s\"",
                "[HKEY_CURRENT_USER\\Software\\New]",
                "@=\"C:\\\\dir \\\"q\\\"\"",
                "\"Exp\"=hex(2):25,57,49,4E,44,49,52,25,00",
                "\"Lines\"=hex(1):61,0D,0A,62,00",
                "\"Multi\"=hex(7):61,00,62,00,00",
                "\"None\"=hex(0):01",
                "\"Num\"=dword:FFFFFFFE",
                "\"Q\"=hex(b):01,02,03,04,05,06,07,08",
                "\"Quo\\\"te\\\\d\"=\"v\"",
                "[HKEY_CURRENT_USER]",
                "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDlls]",
            }));
  EXPECT_EQ(Lines("Setup_del.INF"),
            Concat(kInfTemplate, {
                                     "[DefaultInstall]",
                                     "DelReg=Delete_registry",
                                     "",
                                     "[Delete_registry]",
                                     "HKCU,\"Software\\Chg\",\"50%%\"\"off\",,",
                                     "HKCU,\"Software\\Chg\",\"Drop\",,",
                                     "HKCU,\"Software\\Gone\\Child\",\"V\",,",
                                     "HKCU,\"Software\\Gone\\Child\"",
                                     "HKCU,\"Software\\Gone\",\"W\",,",
                                     "HKCU,\"Software\\Gone\"",
                                     "HKCU,\"\",\"RootVal\",,",
                                     "HKLM,\"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDlls\","
                                     "\"C:\\OLD.DLL\",,",
                                 }));
  EXPECT_EQ(ui.Texts(), (std::vector<std::string>{"*.REG-File created, (19 Lines)", "*.INF-file created, (25 Lines)"}));
}

TEST_F(InstallExportContent, IniFileLineByLine) {
  Compare(SystemFilesBefore(), SystemFilesAfter());
  ASSERT_TRUE(Export(InstallExportCommand::SystemFiles));

  EXPECT_EQ(Lines("Setup_add.INF"), Concat(kInfTemplate, {
                                                             "[DefaultInstall]",
                                                             "UpdateInis=Update_ini",
                                                             "",
                                                             "[Update_ini]",
                                                             ";ini-file,ini-section,old-entry,new-entry,update-flag",
                                                             "WIN.INI,\"NEWSECT\",,\"k=v\"",
                                                             "WIN.INI,\"WINDOWS\",\"load=a.exe\",\"load=b.exe\"",
                                                             "WIN.INI,\"WINDOWS\",\"old=1\",",
                                                             "WIN.INI,\"WINDOWS\",,\"new=1\"",
                                                             "C:\\APP\\APP.INI,\"EXTRA\",,\"e=50%% \"\"q\"\"\"",
                                                             "C:\\APP\\APP.INI,\"MAIN\",\"chg=a\",\"chg=b\"",
                                                             "C:\\APP\\APP.INI,\"MAIN\",,\"add=1\"",
                                                             "C:\\APP\\APP.INI,\"MAIN\",\"gone=x\",",
                                                         }));
  EXPECT_EQ(ui.Texts(), (std::vector<std::string>{"*.INF-file created, (26 Lines)"}));
}

// Records whose key, folder or old side was not chosen must still land in the right place.
TEST_F(InstallExportContent, NarrowedKindsKeepEachLineWithItsOwnKey) {
  Configuration before = RegistryBefore(), after = RegistryAfter();
  const Configuration sysBefore = SystemFilesBefore(), sysAfter = SystemFilesAfter();
  before.systemFiles = sysBefore.systemFiles;
  after.systemFiles = sysAfter.systemFiles;
  Compare(before, after);

  ASSERT_TRUE(Export(InstallExportCommand::Registry, KindBit(kRecordNewSide)));
  EXPECT_EQ(Lines("Setup.REG"),
            (std::vector<std::string>{"REGEDIT4", "", "[HKEY_CURRENT_USER\\Software\\Chg]", "\"Path\"=\"new\""}));
  ASSERT_TRUE(Export(InstallExportCommand::Registry, KindBit(kRecordNew)));
  const std::vector<std::string> reg = Lines("Setup.REG");
  ASSERT_GE(reg.size(), 8u);
  EXPECT_EQ(std::vector<std::string>(reg.begin() + 2, reg.begin() + 8),
            (std::vector<std::string>{
                "[HKEY_CURRENT_USER\\Software\\Chg]",
                "\"Bin\"=hex:00,01,02,03,04,05,06,07,08,09,0A,0B,0C,0D,0E,0F,10,11,12,13,14,15,16,17,\\",
                "  18,19,1A,1B,1C,1D,1E,1F,20,21,22,23,24,25,26,27",
                "[HKEY_CURRENT_USER\\Software\\New\\Sub]",
                "\"S\"=\"s\"",
                "[HKEY_CURRENT_USER\\Software\\New]",
            }));

  // Without the old sides a change sets the new entry instead of replacing another one.
  ASSERT_TRUE(Export(InstallExportCommand::SystemFiles, KindBit(kRecordNewSide)));
  const std::vector<std::string> inf = Lines("Setup_add.INF");
  EXPECT_EQ(std::vector<std::string>(inf.begin() + 18, inf.end()),
            (std::vector<std::string>{"WIN.INI,\"WINDOWS\",,\"load=b.exe\"", "C:\\APP\\APP.INI,\"MAIN\",,\"chg=b\""}));
}

TEST_F(InstallExportContent, AllWritesEveryOutputInOrder) {
  Configuration before = RegistryBefore(), after = RegistryAfter();
  before.systemFiles = SystemFilesBefore().systemFiles;
  after.systemFiles = SystemFilesAfter().systemFiles;
  before.drives = {Drive{"C: System", 17, Folder{}}};
  after.drives = {Drive{"C: System", 17, Folder{"", {Folder{"QUORVELNEW", {}, {}}}, {}}}};
  Compare(before, after);

  ASSERT_TRUE(Export(InstallExportCommand::All));
  EXPECT_EQ(ui.Texts(), (std::vector<std::string>{
                            "*.REG-File created, (19 Lines)",
                            "*.INF-file created, (25 Lines)",
                            "*.INF-file created, (26 Lines)",
                            "Export completed successfully!",
                        }));
  EXPECT_EQ(Lines("Setup.REG").size(), 19u);
  EXPECT_EQ(Lines("Setup_del.INF").size(), 25u);
  EXPECT_EQ(Lines("Setup_add.INF").size(), 26u);
  EXPECT_TRUE(std::filesystem::exists(Path("Copy") + "\\C\\QUORVELNEW\\create.dir"));
}

TEST(InstallExportDefaults, FileNameAndCopyFolder) {
  EXPECT_EQ(DefaultInstallName("C:\\Logs\\my~log.SXL", false), "C:\\Logs\\my~log");
  EXPECT_EQ(DefaultInstallName("C:\\Logs\\my~log.SXL", true), "C:\\Logs\\my_log");
  EXPECT_EQ(DefaultInstallName("C:\\a.b\\log", false), "C:\\a.b\\log");

  const struct {
    MsgAnswer answer;
    bool browsed;  // what the folder browser returns
    std::optional<std::string> folder;
  } cases[] = {
      {MsgAnswer::Yes, false, "C:\\Logs\\my"},
      {MsgAnswer::No, true, "D:\\Picked"},
      {MsgAnswer::No, false, std::nullopt},
      {MsgAnswer::Cancel, true, std::nullopt},
  };
  for (const auto& c : cases) {
    ScriptedInteraction ui;
    ui.answers = {c.answer};
    const auto browse = [&](std::string& folder) {
      folder = "D:\\Picked";
      return c.browsed;
    };
    EXPECT_EQ(ChooseCopyFolder("C:\\Logs\\my", ui, browse), c.folder);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Use default folder? :\rC:\\Logs\\my");
    EXPECT_EQ(ui.messages[0].buttons, MsgButtons::YesNoCancel);
  }
}

// A crafted log whose names hold line breaks: written as they stand they would add lines of
// their own (another key, another INF operation) to the files.
TEST_F(InstallExportContent, NamesWithLineBreaksAreLeftOut) {
  ChangeBlockBuilder reg(kRegistryChangeHeader);
  const int32_t values = reg.AddValues(
      {LogText("evil\r\n[HKEY_LOCAL_MACHINE\\Evil]", 9, "x"), LogText("ok", 9, "fine"), LogText("d\r\ne", 10, "x")});
  ChangeBlockBuilder sys(kSystemFileChangeHeader);
  const int32_t entries = sys.AddEntries({{"n\r\nx", 9, "v"}, {"k", 9, "v\r\nw"}, {"good", 9, "1"}});
  TreeModel registry, drives, systemFiles;
  AddLogNode(registry,
             AddLogNode(registry, AddLogNode(registry, nullptr, "My Computer", 0, 2, 2), "HKEY_CURRENT_USER", 0, 0, 1),
             "K", 8, 0, 1, values);
  AddLogNode(drives, nullptr, "Drives", 0, 2, 2);
  AddLogNode(
      systemFiles,
      AddLogNode(systemFiles, AddLogNode(systemFiles, nullptr, "System Files", 0, 0, 0), "C:\\A.INI(INI)", 0, 21, 21),
      "[s]", 8, 21, 21, entries);
  TreeModel* const results[3] = {&registry, &drives, &systemFiles};
  const Bytes blocks[3] = {reg.Finish(), ChangeBlockBuilder(kDriveChangeHeader).Finish(), sys.Finish()};
  LogSelection selection;
  LogPositions crafted;
  WriteFileBytes(logFile, AssembleLog(selection, results, blocks, crafted));

  InstallExportRequest request;
  request.command = InstallExportCommand::Registry;
  request.start = registry.FirstTop();
  request.baseName = Path("Setup");
  ASSERT_TRUE(ExportInstallFiles({registry, drives, systemFiles}, logFile, crafted, request, ui));
  request.command = InstallExportCommand::SystemFiles;
  request.start = systemFiles.FirstTop();
  ASSERT_TRUE(ExportInstallFiles({registry, drives, systemFiles}, logFile, crafted, request, ui));

  EXPECT_EQ(Lines("Setup.REG"),
            (std::vector<std::string>{"REGEDIT4", "", "[HKEY_CURRENT_USER\\K]", "\"ok\"=\"fine\""}));
  EXPECT_EQ(Lines("Setup_del.INF").size(), 17u);
  const std::vector<std::string> inf = Lines("Setup_add.INF");
  EXPECT_EQ(std::vector<std::string>(inf.begin() + 18, inf.end()),
            std::vector<std::string>{"C:\\A.INI,\"S\",,\"good=1\""});
  const std::string refused = "These items have names that cannot be exported safely; they were left out:\r";
  EXPECT_EQ(ui.Texts(),
            (std::vector<std::string>{
                "*.REG-File created, (4 Lines)",
                "*.INF-file created, (17 Lines)",
                refused + "HKEY_CURRENT_USER\\K\\evil\r\n[HKEY_LOCAL_MACHINE\\Evil]\rHKEY_CURRENT_USER\\K\\d\r\ne",
                "*.INF-file created, (19 Lines)",
                refused + "C:\\A.INI(INI)\\[s]\\n\r\nx\rC:\\A.INI(INI)\\[s]\\k",
            }));
}
