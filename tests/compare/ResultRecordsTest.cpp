#include <gtest/gtest.h>

#include "compare/ResultRecords.h"
#include "core/Errors.h"
#include "core/Formatting.h"
#include "tests/compare/SampleLog.h"

namespace {

constexpr const char* kDefaultText = "(default)";
constexpr const char* kEmptyText = "(value not set)";
constexpr int kEntryImage = 23;

// Caption, columns, image, state image and greyed of a row on one line.
std::string Shown(const ResultRow& row) {
  std::string text = row.caption;
  for (const std::string& column : row.columns) text += " | " + column;
  return text + " | image " + std::to_string(row.imageIndex) + " | state " + std::to_string(row.stateImage) +
         (row.greyed ? " | greyed" : "");
}

std::vector<std::string> ShownRows(const std::vector<ResultRow>& rows) {
  std::vector<std::string> shown;
  for (const ResultRow& row : rows) shown.push_back(Shown(row));
  return shown;
}

std::string HexGroups(const std::string& bytes, size_t most) {
  static const char* const kDigits = "0123456789ABCDEF";
  std::string text;
  for (size_t i = 0; i < bytes.size() && i < most; ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    text += {kDigits[b >> 4], kDigits[b & 15], ' '};
  }
  return text;
}

class ResultRecordsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string name = folder_.PathOf("rows.SXL");
    WriteFileBytes(name, sample_.bytes);
    log_.Load(name);
  }

  std::vector<ResultRow> Registry(const std::string& path) {
    std::vector<ResultRow> rows;
    ReadRegistryRows(*LoadedLog::Find(log_.registry, path), log_.fileName, log_.positions, kDefaultText, kEmptyText,
                     rows);
    return rows;
  }
  std::vector<ResultRow> Drive(const std::string& path) {
    std::vector<ResultRow> rows;
    ReadDriveRows(*LoadedLog::Find(log_.drives, path), log_.fileName, log_.positions, rows);
    return rows;
  }
  std::vector<ResultRow> System(const std::string& path) {
    std::vector<ResultRow> rows;
    ReadSystemFileRows(*LoadedLog::Find(log_.systemFiles, path), log_.fileName, log_.positions, kEntryImage, rows);
    return rows;
  }

  TempFolder folder_{"rows"};
  SampleLog sample_;
  LoadedLog log_;
};

}  // namespace

TEST_F(ResultRecordsTest, NewKeyListsItsValuesWithoutItsSubkeys) {
  const std::vector<ResultRow> rows = Registry("My Computer\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor");
  EXPECT_EQ(ShownRows(rows),
            (std::vector<std::string>{
                "(default) | \"(value not set)\" | image 13 | state 9",
                "Bin | Binary(4), 300 bytes: " + HexGroups(ByteRun(300), 201) + " | image 14 | state 9",
                "Count | $FFFFFFFE   (-2) | image 15 | state 9",
            }));
  // Exactly 201 groups of two digits and a blank.
  EXPECT_EQ(rows[1].columns[0].size(), std::string("Binary(4), 300 bytes: ").size() + 201 * 3);
  EXPECT_EQ(rows[0].name, "");
  EXPECT_EQ(rows[1].bytes, ByteRun(300));
  EXPECT_EQ(rows[2].integer, -2);
  EXPECT_EQ(rows[2].typeCode, 3);
}

TEST_F(ResultRecordsTest, ChangedKeyListsBothSidesAndGreysRestoredRecords) {
  const std::vector<ResultRow> rows = Registry("My Computer\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Changed");
  EXPECT_EQ(ShownRows(rows), (std::vector<std::string>{
                                 "Path | \"old\" | image 13 | state 11",
                                 "Path | \"new\" | image 13 | state 12",
                                 "Expand | \"%WINDIR%\" | image 13 | state 9",
                                 "Multi | Binary(7), 5 bytes: 61 00 62 00 00  | image 14 | state 10 | greyed",
                             }));
  EXPECT_EQ(rows[3].kind, 10 | 16);
  // Each row knows where its kind stands in the file, for the restore to mark it.
  for (const ResultRow& row : rows) {
    ASSERT_LT(row.kindPosition + 1, static_cast<int64_t>(sample_.bytes.size()));
    EXPECT_EQ(sample_.bytes[static_cast<size_t>(row.kindPosition)], kTagInt8) << row.name;
    EXPECT_EQ(sample_.bytes[static_cast<size_t>(row.kindPosition) + 1], row.kind) << row.name;
  }
}

TEST_F(ResultRecordsTest, NewFolderListsItsOwnFilesAllNew) {
  const std::string separator(1, ThousandsSeparator());
  EXPECT_EQ(ShownRows(Drive("Drives\\C: System\\NEWAPP")),
            (std::vector<std::string>{
                "APP.EXE | 40" + separator + "960 | " + FormatDosDateTime(kTime1) + " | AR | image -1 | state 9",
                "README.TXT | 12 | " + FormatDosDateTime(kTime2) + " | ARSH | image -1 | state 9",
            }));
  const std::vector<ResultRow> changed = Drive("Drives\\C: System\\WINDOWS");
  ASSERT_EQ(changed.size(), 4u);
  EXPECT_EQ(Shown(changed[3]), "OLD.DLL | 0 | " + FormatDosDateTime(kTime1) + " |  | image -1 | state 10 | greyed");
  EXPECT_EQ(changed[1].time, kTime2);
  EXPECT_EQ(changed[1].size, 120u);
  EXPECT_EQ(changed[1].attributes, 0x21u);
}

TEST_F(ResultRecordsTest, EntryListsShowIniEntriesAndNumberedLines) {
  EXPECT_EQ(ShownRows(System("System Files\\WIN.INI\\[windows]")),
            (std::vector<std::string>{"load | a.exe | image 23 | state 11", "load | b.exe | image 23 | state 12",
                                      "run | c.exe | image 23 | state 9"}));
  // A new section holds its entry list only.
  EXPECT_EQ(ShownRows(System("System Files\\WIN.INI\\[NewSect]")),
            (std::vector<std::string>{"k1 | v1 | image 23 | state 9", "k2 | v2 | image 23 | state 9"}));
  const std::vector<ResultRow> lines = System("System Files\\AUTOEXEC.BAT");
  EXPECT_EQ(ShownRows(lines), (std::vector<std::string>{"Line:    1 | OLD LINE | image 23 | state 10",
                                                        "Line:    1 | NEW LINE | image 23 | state 9",
                                                        "Line:   12 | PATH X | image 23 | state 9"}));
  EXPECT_EQ(lines[2].integer, 11);
  EXPECT_EQ(lines[2].name, "PATH X");
}

TEST_F(ResultRecordsTest, NodesWithoutRecordsGiveNoRows) {
  std::vector<ResultRow> rows;
  TreeNode& vendor = *LoadedLog::Find(log_.registry, "My Computer\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor");
  ReadRegistryRows(vendor, "", log_.positions, kDefaultText, kEmptyText, rows);  // no log
  ReadRegistryRows(*LoadedLog::Find(log_.registry, "My Computer\\HKEY_USERS"), log_.fileName, log_.positions,
                   kDefaultText, kEmptyText, rows);  // no record offset
  log_.registry.SetState(&vendor, 0);                // a path node: its offset is not read
  ReadRegistryRows(vendor, log_.fileName, log_.positions, kDefaultText, kEmptyText, rows);
  EXPECT_TRUE(rows.empty());
}

TEST_F(ResultRecordsTest, ReadErrorsKeepTheRowsReadBefore) {
  // A count that promises more records than the block holds.
  ChangeBlockBuilder reg(kRegistryChangeHeader);
  const int32_t offset = reg.AddWith([](TWriter& w) {
    w.WriteInteger(3);
    for (const char* name : {"A", "B"}) {
      w.WriteString(name);
      WriteLogValueData(w, LogText(name, 9, "x"));
    }
  });
  TreeModel registry;
  AddLogNode(registry, nullptr, "My Computer", 0, 2, 2);
  AddLogNode(registry, registry.FirstTop(), "Broken", 8, 0, 1, offset);
  TreeModel* const results[3] = {&registry, &sample_.drives, &sample_.systemFiles};
  const Bytes blocks[3] = {reg.Finish(), {}, {}};
  LogSelection selection;
  const std::string name = folder_.PathOf("broken.SXL");
  LogPositions positions;
  WriteFileBytes(name, AssembleLog(selection, results, blocks, positions));

  std::vector<ResultRow> rows;
  try {
    ReadRegistryRows(*registry.FirstTop()->Child(0), name, positions, kDefaultText, kEmptyText, rows);
    ADD_FAILURE() << "no error";
  } catch (const EReadError& error) {
    EXPECT_STREQ(error.what(), "Stream read error");
  }
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1].caption, "B");
}

TEST_F(ResultRecordsTest, FolderPathsComeFromTheDriveLetterAndTheFolders) {
  ExpandSubtree(log_.drives, *log_.drives.FirstTop(), log_.fileName, log_.positions, LogSection::Drives, log_.ui);
  const std::pair<const char*, const char*> cases[] = {
      {"Drives", ""},
      {"Drives\\C: System", "C:\\"},
      {"Drives\\C: System\\NEWAPP", "C:\\NEWAPP\\"},
      {"Drives\\C: System\\NEWAPP\\BIN", "C:\\NEWAPP\\BIN\\"},
  };
  for (const auto& [path, folder] : cases)
    EXPECT_EQ(DriveFolderPath(*LoadedLog::Find(log_.drives, path)), folder) << path;
}
