#include <gtest/gtest.h>

#include "compare/LogLoader.h"
#include "compare/TextExport.h"
#include "core/Errors.h"
#include "core/Formatting.h"
#include "tests/compare/SampleLog.h"

namespace {

constexpr const char* kDefaultText = "(default)";

std::vector<std::string> Header(const std::string& logFile, const std::string& sectionLine) {
  return {"; Quorvel -  ",
          "; Quorvel records what an installation changes and can undo it.",
          "; File:" + logFile,
          sectionLine,
          "; Legend:",
          "; [-]= Deleted key/folder, [+]= New key/folder, [#]= Changed  key/folder, ",
          "; [-]= Deleted value/file, [+]= New value/file",
          "; [%]= Changed value (old  value/file), [*]=  Changed value (new value/file)",
          "; "};
}

std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class TextExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string name = folder_.PathOf("export.SXL");
    WriteFileBytes(name, sample_.bytes);
    log_.Load(name);
  }

  std::vector<std::string> Export(TreeModel& tree, const std::string& path, LogSection mode,
                                  KindSet kinds = kAllKinds) {
    return BuildTextExport(tree, LoadedLog::Find(tree, path), {kinds, mode}, log_.fileName, log_.positions,
                           kDefaultText, log_.ui);
  }

  TempFolder folder_{"export"};
  SampleLog sample_;
  LoadedLog log_;
};

// The lines of a wrapped byte value must hold the bytes, wrap only beyond 80 columns, and
// continue with two blanks.
void ExpectWrappedHex(const std::vector<std::string>& lines, const std::string& prefix, const std::string& bytes) {
  ASSERT_FALSE(lines.empty());
  ASSERT_EQ(lines[0].rfind(prefix, 0), 0u);
  std::string hex = lines[0].substr(prefix.size());
  for (size_t i = 1; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].substr(0, 2), "  ");
    hex += lines[i].substr(2);
  }
  for (size_t i = 0; i + 1 < lines.size(); ++i) {
    EXPECT_EQ(lines[i].substr(lines[i].size() - 2), ",\\") << i;
    EXPECT_GT(lines[i].size() - 1, 80u) << i;
    EXPECT_LE(lines[i].size() - 1, 83u) << i;
  }
  std::erase(hex, '\\');
  std::string decoded;
  for (size_t i = 0; i < hex.size(); i += 3) {
    decoded.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    if (i + 2 < hex.size()) {
      EXPECT_EQ(hex[i + 2], ',') << hex;
    }
  }
  EXPECT_EQ(decoded, bytes);
  EXPECT_NE(lines.back().back(), ',');
}

}  // namespace

TEST_F(TextExportTest, RegistryExportListsDescendantsBeforeTheirNode) {
  const std::vector<std::string> lines = Export(log_.registry, "My Computer", LogSection::Registry);
  const auto binFirst =
      std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("  [+]\"Bin\"", 0) == 0; });
  const auto count = std::find(lines.begin(), lines.end(), "  [+]\"Count\" = $FFFFFFFE  (-2)");
  ASSERT_NE(binFirst, lines.end());
  ASSERT_NE(count, lines.end());

  const std::vector<std::string> before(lines.begin(), binFirst);
  EXPECT_EQ(before,
            Concat(Header(log_.fileName, "; Registry : "), {
                                                               "[+][HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\App\\Sub]",
                                                               "  [+]\"Path\" = \"C:\\APP\"",
                                                               "[+][HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\App]",
                                                               "  [+]\"Version\" = $00000002  (2)",
                                                               "[+][HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Empty]",
                                                               "[+][HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor]",
                                                               "  [+]\"(default)\" = \"\"",
                                                           }));
  ExpectWrappedHex(std::vector<std::string>(binFirst, count), "  [+]\"Bin\"=hex(3):", ByteRun(300));
  EXPECT_EQ(std::vector<std::string>(count, lines.end()), (std::vector<std::string>{
                                                              "  [+]\"Count\" = $FFFFFFFE  (-2)",
                                                              "[#][HKEY_LOCAL_MACHINE\\SOFTWARE\\Changed]",
                                                              "  [%]\"Path\" = \"old\"",
                                                              "  [*]\"Path\" = \"new\"",
                                                              "  [+]\"Expand\"=hex(2):25,57,49,4E,44,49,52,25,00",
                                                              "  [-]\"Multi\"=hex(7):61,00,62,00,00",
                                                              "[-][HKEY_LOCAL_MACHINE\\SOFTWARE\\Gone\\Child]",
                                                              "  [-]\"V\" = \"v\"",
                                                              "[-][HKEY_LOCAL_MACHINE\\SOFTWARE\\Gone]",
                                                              "  [-]\"W\" = \"w\"",
                                                              "[+][HKEY_USERS]",
                                                          }));
}

TEST_F(TextExportTest, OnlyTheChosenKindsAreExported) {
  EXPECT_EQ(Export(log_.registry, "My Computer", LogSection::Registry, KindBit(kRecordOldSide)),
            Concat(Header(log_.fileName, "; Registry : "), {"  [%]\"Path\" = \"old\""}));
  // Node kinds alone give node lines without records.
  EXPECT_EQ(Export(log_.registry, "My Computer\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Gone", LogSection::Registry,
                   KindBit(kKindDeleted)),
            Concat(Header(log_.fileName, "; Registry : HKEY_LOCAL_MACHINE\\SOFTWARE\\Gone"),
                   {"[-][HKEY_LOCAL_MACHINE\\SOFTWARE\\Gone\\Child]", "[-][HKEY_LOCAL_MACHINE\\SOFTWARE\\Gone]"}));
}

TEST_F(TextExportTest, ByteValuesWrapBeyondEightyColumns) {
  std::string forty;
  for (int i = 0; i < 40; ++i) forty.push_back(static_cast<char>(i));
  struct Case {
    LogValue value;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {LogBinary("Data", 9, forty),
       {"  [+]\"Data\"=hex(3):00,01,02,03,04,05,06,07,08,09,0A,0B,0C,0D,0E,0F,10,11,12,13,14,\\",
        "  15,16,17,18,19,1A,1B,1C,1D,1E,1F,20,21,22,23,24,25,26,27"}},
      // The line grows beyond 80 columns at the last byte: nothing follows, so no wrap.
      {LogBinary("Data", 9, forty.substr(0, 21)),
       {"  [+]\"Data\"=hex(3):00,01,02,03,04,05,06,07,08,09,0A,0B,0C,0D,0E,0F,10,11,12,13,14"}},
      {LogBinary("Data", 9, forty.substr(0, 22)),
       {"  [+]\"Data\"=hex(3):00,01,02,03,04,05,06,07,08,09,0A,0B,0C,0D,0E,0F,10,11,12,13,14,\\", "  15"}},
      {LogBinary("", 12, "", 0), {"  [*]\"(default)\"=hex(0):"}},
      {LogBinary("Big", 10, "\x01", 5), {"  [-]\"Big\"=hex(5):01"}},
  };
  for (const Case& c : cases) {
    ChangeBlockBuilder reg(kRegistryChangeHeader);
    const int32_t offset = reg.AddValues({c.value});
    TreeModel registry;
    AddLogNode(registry, nullptr, "My Computer", 0, 2, 2);
    AddLogNode(registry, AddLogNode(registry, registry.FirstTop(), "HKEY_CURRENT_USER", 0, 0, 1), "Key", 8, 0, 1,
               offset);
    TreeModel* const results[3] = {&registry, &sample_.drives, &sample_.systemFiles};
    const Bytes blocks[3] = {reg.Finish(), {}, {}};
    LogSelection selection;
    const std::string name = folder_.PathOf("hex.SXL");
    LogPositions positions;
    WriteFileBytes(name, AssembleLog(selection, results, blocks, positions));

    const std::vector<std::string> lines =
        BuildTextExport(registry, LoadedLog::Find(registry, "My Computer\\HKEY_CURRENT_USER\\Key"),
                        {KindBit(c.value.kind), LogSection::Registry}, name, positions, kDefaultText, log_.ui);
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 9, lines.end()), c.lines) << c.value.data.size();
  }
}

TEST_F(TextExportTest, DriveExportShowsFolderPathsAndFileDetails) {
  const std::string separator(1, ThousandsSeparator());
  const std::string time1 = FormatDosDateTime(kTime1), time2 = FormatDosDateTime(kTime2);
  EXPECT_EQ(Export(log_.drives, "Drives", LogSection::Drives),
            Concat(Header(log_.fileName, "; Files/Folders : "),
                   {
                       "[+][C:\\NEWAPP\\BIN\\]",
                       "  [+]\"TOOL.EXE\" 1" + separator + "234" + separator + "567 Bytes, " + time1 + ", [A]",
                       "[+][C:\\NEWAPP\\]",
                       "  [+]\"APP.EXE\" 40" + separator + "960 Bytes, " + time1 + ", [AR]",
                       "  [+]\"README.TXT\" 12 Bytes, " + time2 + ", [ARSH]",
                       "[#][C:\\WINDOWS\\]",
                       "  [%]\"WIN.INI\" 100 Bytes, " + time1 + ", [A]",
                       "  [*]\"WIN.INI\" 120 Bytes, " + time2 + ", [AR]",
                       "  [+]\"NEW.DLL\" 5" + separator + "000 Bytes, " + time2 + ", [A]",
                       "  [-]\"OLD.DLL\" 0 Bytes, " + time1 + ", []",
                   }));
  // The header names the start node by its texts, also for drives.
  EXPECT_EQ(Export(log_.drives, "Drives\\C: System\\WINDOWS", LogSection::Drives, KindBit(kKindChanged))[3],
            "; Files/Folders : C: System\\WINDOWS");
}

TEST_F(TextExportTest, SystemFileExportQuotesValuesAndLineIndexes) {
  EXPECT_EQ(Export(log_.systemFiles, "System Files", LogSection::SystemFiles),
            Concat(Header(log_.fileName, "; System Files: : "), {
                                                                    "[#][WIN.INI\\[windows]]",
                                                                    "  [%]\"load\" = \"a.exe\"",
                                                                    "  [*]\"load\" = \"b.exe\"",
                                                                    "  [+]\"run\" = \"c.exe\"",
                                                                    "[+][WIN.INI\\[NewSect]]",
                                                                    "  [+]\"k1\" = \"v1\"",
                                                                    "  [+]\"k2\" = \"v2\"",
                                                                    "[#][AUTOEXEC.BAT]",
                                                                    "  [-]\"OLD LINE\" = \"0\"",
                                                                    "  [+]\"NEW LINE\" = \"0\"",
                                                                    "  [+]\"PATH X\" = \"11\"",
                                                                    "[+][CONFIG.SYS]",
                                                                }));
  // Starting at a section still reads its records as INI entries.
  EXPECT_EQ(Export(log_.systemFiles, "System Files\\WIN.INI\\[windows]", LogSection::SystemFiles),
            Concat(Header(log_.fileName, "; System Files: : WIN.INI\\[windows]"),
                   {"[#][WIN.INI\\[windows]]", "  [%]\"load\" = \"a.exe\"", "  [*]\"load\" = \"b.exe\"",
                    "  [+]\"run\" = \"c.exe\""}));
}

TEST_F(TextExportTest, WalkCallsBackInItsOrderWithTheValues) {
  std::vector<std::string> events;
  std::vector<ExportRecord> records;
  ExportCallbacks callbacks;
  auto nodeEvent = [&](const char* what) {
    return [&events, what](const ExportNode& n) {
      events.push_back(std::string(what) + " " + std::to_string(n.kind) + " " + n.path + " " + std::to_string(n.level));
    };
  };
  callbacks.newOrDeletedNode = nodeEvent("newOrDeleted");
  callbacks.node = nodeEvent("node");
  callbacks.nodeEnd = nodeEvent("end");
  callbacks.record = [&](const ExportRecord& r) {
    events.push_back("record " + std::to_string(r.kind) + " " + r.name + " " + r.nodePath);
    records.push_back(r);
  };
  const std::string software = "My Computer\\HKEY_LOCAL_MACHINE\\SOFTWARE\\";
  ExpandResultNode(log_.registry, *LoadedLog::Find(log_.registry, software + "Vendor"), log_.fileName, log_.positions,
                   LogSection::Registry, log_.ui);
  for (const char* key : {"Gone", "Vendor\\App", "Changed"})
    ExportTreeWalk(log_.registry, LoadedLog::Find(log_.registry, software + key), {kAllKinds, LogSection::Registry},
                   log_.fileName, log_.positions, log_.ui, callbacks);
  const std::string path = "HKEY_LOCAL_MACHINE\\SOFTWARE\\";
  EXPECT_EQ(events, (std::vector<std::string>{
                        "newOrDeleted 7 " + path + "Gone 3",
                        "newOrDeleted 7 " + path + "Gone\\Child 4",
                        "node 7 " + path + "Gone\\Child 4",
                        "record 10 V " + path + "Gone\\Child",
                        "end 7 " + path + "Gone\\Child 4",
                        "node 7 " + path + "Gone 3",
                        "record 10 W " + path + "Gone",
                        "end 7 " + path + "Gone 3",
                        "node 6 " + path + "Vendor\\App\\Sub 5",
                        "record 9 Path " + path + "Vendor\\App\\Sub",
                        "newOrDeleted 6 " + path + "Vendor\\App\\Sub 5",
                        "end 6 " + path + "Vendor\\App\\Sub 5",
                        "node 6 " + path + "Vendor\\App 4",
                        "record 9 Version " + path + "Vendor\\App",
                        "newOrDeleted 6 " + path + "Vendor\\App 4",
                        "end 6 " + path + "Vendor\\App 4",
                        "node 8 " + path + "Changed 3",
                        "record 11 Path " + path + "Changed",
                        "record 12 Path " + path + "Changed",
                        "record 9 Expand " + path + "Changed",
                        "record 10 Multi " + path + "Changed",
                        "end 8 " + path + "Changed 3",
                    }));

  ASSERT_EQ(records.size(), 8u);
  EXPECT_EQ(records[3].form, ExportValueForm::Integer);  // Version
  EXPECT_EQ(records[3].integer, 2);
  EXPECT_EQ(records[3].typeCode, 3);
  EXPECT_EQ(records[4].form, ExportValueForm::Text);  // Path, old side
  EXPECT_EQ(records[4].text, "old");
  EXPECT_EQ(records[6].form, ExportValueForm::Bytes);  // expandable string with its terminator
  EXPECT_EQ(records[6].bytes, std::string("%WINDIR%\0", 9));
  EXPECT_EQ(records[7].bytes, std::string("a\0b\0\0", 5));
  EXPECT_EQ(records[7].typeCode, 7);
  EXPECT_EQ(records[7].level, 3);

  records.clear();
  ExportTreeWalk(log_.drives, LoadedLog::Find(log_.drives, "Drives\\C: System\\WINDOWS"),
                 {KindBit(kRecordNew), LogSection::Drives}, log_.fileName, log_.positions, log_.ui, callbacks);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].form, ExportValueForm::FileInfo);
  EXPECT_EQ(records[0].nodePath, "C:\\WINDOWS\\");
  EXPECT_EQ(records[0].time, kTime2);
  EXPECT_EQ(records[0].size, 5000u);
  EXPECT_EQ(records[0].attributes, 0x20u);
}

TEST_F(TextExportTest, WithoutALogFileNothingIsBuilt) {
  TreeNode* top = log_.registry.FirstTop();
  for (const std::string& name : {std::string(), folder_.PathOf("gone.SXL")}) {
    try {
      BuildTextExport(log_.registry, top, {}, name, log_.positions, kDefaultText, log_.ui);
      ADD_FAILURE() << "no error for '" << name << "'";
    } catch (const Exception& error) {
      EXPECT_EQ(error.Kind(), ErrorKind::EFOpenError);
    }
  }
  // No start node: the walk does nothing.
  int calls = 0;
  ExportCallbacks callbacks;
  callbacks.node = [&](const ExportNode&) { ++calls; };
  ExportTreeWalk(log_.registry, nullptr, {}, log_.fileName, log_.positions, log_.ui, callbacks);
  EXPECT_EQ(calls, 0);
}

TEST_F(TextExportTest, SavedLinesEndWithCarriageReturnAndLineFeed) {
  const std::string name = folder_.PathOf("out.TXT");
  WriteFileBytes(name, TextBytes("old content that is longer"));
  SaveTextLines(name, {"; a", "", "[+][X]"});
  EXPECT_EQ(ReadFileBytes(name), TextBytes("; a\r\n\r\n[+][X]\r\n"));
}
