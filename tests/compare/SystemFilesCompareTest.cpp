#include <gtest/gtest.h>

#include "tests/compare/CompareFixture.h"

namespace {

const IniSection kNewSection{"[new]", {{"q", "1"}, {"r", ""}}};
const IniSection kOldSection{"[old]", {{"z", "1"}}};

Configuration Before() {
  Configuration config;
  config.systemFiles = {
      SystemFile{"WIN.INI",
                 {IniSection{"[windows]", {{"load", "a"}, {"run", "B"}, {"Dup", "1"}, {"Dup", "2"}, {"gone", "x"}}},
                  IniSection{"[fonts]", {{"a", "1"}}}, kOldSection},
                 {}},
      SystemFile{"SYSTEM.INI", {IniSection{"[boot]", {{"shell", "Explorer.exe"}}}}, {}},
      SystemFile{"Autoexec.bat", {}, {"@ECHO OFF", "SET A=1", "PATH C:\\"}},
      SystemFile{"Config.sys", {}, {"FILES=40"}}};
  return config;
}

Configuration After() {
  Configuration config;
  config.systemFiles = {
      SystemFile{"WIN.INI",
                 {IniSection{"[windows]", {{"load", "A"}, {"run", "C"}, {"Dup", "3"}, {"Dup", "4"}, {"new", "1"}}},
                  IniSection{"[fonts]", {{"a", "1"}}}, kNewSection},
                 {}},
      SystemFile{"SYSTEM.INI", {IniSection{"[boot]", {{"shell", "Explorer.exe"}}}}, {}},
      SystemFile{"Autoexec.bat", {}, {"SET A=1", "", "@ECHO OFF", "PATH D:\\"}},
      SystemFile{"C:\\App\\My.ini(INI)", {IniSection{"[main]", {{"k", "v"}}}}, {}}};
  return config;
}

Bytes SectionBlock(const IniSection& section, int32_t kind) {
  return Encode([&](TWriter& w) { WriteEntryList(w, section, kind); });
}

}  // namespace

using SystemFilesCompare = CompareFixture;

TEST_F(SystemFilesCompare, ReportsSectionsEntriesAndLinesThatDiffer) {
  Compare(Before(), After());

  // Files are matched in upper case in selection-tree order, so the user's new file sorts
  // before CONFIG.SYS; an unchanged file still has its node.
  EXPECT_EQ(ResultDump(systemFileResult),
            "System Files | 0 | 0/0 | children\n"
            "  WIN.INI | 0 | 21/21 | children\n"
            "    [new] | 6 | 22/22 | block\n"
            "    [old] | 7 | 22/22 | block\n"
            "    [windows] | 8 | 21/21 | block\n"
            "  SYSTEM.INI | 0 | 21/21\n"
            "  AUTOEXEC.BAT | 8 | 22/22 | block\n"
            "  C:\\APP\\MY.INI(INI) | 6 | 21/21\n"
            "  CONFIG.SYS | 7 | 22/22\n");

  // load changed only in case; the second Dup cannot be told apart from the first in an INI
  // file.
  EXPECT_EQ(Records(positions.systemFiles, NodeAt(systemFileResult, {"System Files", "WIN.INI", "[windows]"}),
                    RecordForm::IniEntry),
            (std::vector<std::string>{"run 11 B", "run 12 C", "Dup 11 1", "Dup 12 3", "Dup 11 2", "Dup 12 4",
                                      "gone 10 x", "new 9 1"}));
  EXPECT_EQ(ui.Texts(), std::vector<std::string>{"Value found that is not INI-compatible:WIN.INI\\[windows]\\Dup\r"
                                                 "Cannot export these values to install files."});

  // A moved line is no change; a changed line is a deleted and a new one, with positions.
  EXPECT_EQ(
      Records(positions.systemFiles, NodeAt(systemFileResult, {"System Files", "AUTOEXEC.BAT"}), RecordForm::Line),
      (std::vector<std::string>{"PATH C:\\ 10 2", "PATH D:\\ 9 3"}));

  const TreeNode& winIni = NodeAt(systemFileResult, {"System Files", "WIN.INI"});
  EXPECT_EQ(Block(positions.systemFiles, *winIni.Child(0), SectionBlock(kNewSection, 9).size()),
            SectionBlock(kNewSection, 9));
  EXPECT_EQ(Block(positions.systemFiles, *winIni.Child(1), SectionBlock(kOldSection, 10).size()),
            SectionBlock(kOldSection, 10));
}

TEST_F(SystemFilesCompare, EntriesArePairedInFileOrder) {
  // A new entry inserted before lower names makes the merge see them as deleted and new.
  Configuration before, after;
  before.systemFiles = {SystemFile{"WIN.INI", {IniSection{"[s]", {{"m", "1"}, {"b", "2"}}}}, {}}};
  after.systemFiles = {SystemFile{"WIN.INI", {IniSection{"[s]", {{"x", "0"}, {"m", "1"}, {"b", "2"}}}}, {}}};
  Compare(before, after);
  EXPECT_EQ(Records(positions.systemFiles, NodeAt(systemFileResult, {"System Files", "WIN.INI", "[s]"}),
                    RecordForm::IniEntry),
            (std::vector<std::string>{"m 10 1", "b 10 2", "x 9 0", "m 9 1", "b 9 2"}));
}

TEST_F(SystemFilesCompare, UncheckedSectionsAreLeftOut) {
  BuildSelection(systemFileSelection, "System Files", 5, {{"WIN.INI\\[old]", 3}, {"WIN.INI\\[windows]", 3}});
  Compare(Before(), After());
  const TreeNode& winIni = NodeAt(systemFileResult, {"System Files", "WIN.INI"});
  ASSERT_EQ(winIni.Count(), 1u);
  EXPECT_EQ(winIni.Child(0)->Text(), "[new]");
  EXPECT_TRUE(ui.messages.empty());
}
