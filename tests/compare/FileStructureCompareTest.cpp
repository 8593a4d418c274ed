#include <gtest/gtest.h>

#include <filesystem>

#include "tests/compare/CompareFixture.h"

namespace {

Folder GoneFolder() {
  return Folder{"Gone", {Folder{"Sub", {}, {FileEntry{"a.txt", 1, 10, 0x20}}}}, {FileEntry{"g.txt"}}};
}

Folder NewFolder() { return Folder{"New", {Folder{"Deep", {}, {}}}, {FileEntry{"n.txt", 5, 6, 7}}}; }

Bytes FolderBlock(const Folder& folder, int32_t kind) {
  return Encode([&](TWriter& w) { WriteFolderRecord(w, folder, kind); });
}

}  // namespace

using FileStructureCompare = CompareFixture;

TEST_F(FileStructureCompare, ReportsFoldersAndFilesThatDiffer) {
  Configuration before;
  before.drives = {Drive{"C: System", 17,
                         Folder{"",
                                {GoneFolder(),
                                 Folder{"Keep", {}, {FileEntry{"log.txt", 1, 1, 0x20}, FileEntry{"x.dat", 1, 1, 0x20}}},
                                 Folder{"Recycled", {}, {FileEntry{"del.txt"}}}},
                                {FileEntry{"attr.txt", 9, 9, 0x20}, FileEntry{"boot.ini", 3, 4, 0x27},
                                 FileEntry{"pagefile.sys", 1, 1, 0x26}, FileEntry{"same.txt", 1, 2, 0x20}}}},
                   Drive{"E: Old", 20, Folder{"", {Folder{"Stuff", {}, {}}}, {}}}};
  Configuration after;
  after.drives = {
      Drive{"C: Renamed", 16,
            Folder{"",
                   {Folder{"Keep",
                           {},
                           {FileEntry{"log.txt", 2, 1, 0x20}, FileEntry{"new.tmp"}, FileEntry{"x.dat", 1, 1, 0x20}}},
                    NewFolder(), Folder{"Recycled", {}, {FileEntry{"other.txt"}}}},
                   {FileEntry{"added.txt", 4, 5, 0x20}, FileEntry{"attr.txt", 9, 9, 0x21},
                    FileEntry{"boot.ini", 3, 4, 0x27}, FileEntry{"hiberfil.sys", 2, 2, 0x26},
                    FileEntry{"pagefile.sys", 2, 2, 0x26}, FileEntry{"same.txt", 1, 2, 0x20}}}},
      Drive{"D: Data", 18, Folder{}}};
  // Excluded files count whatever their case, in a folder or in the drive's root folder; the
  // recycle bin is not selected.
  excludeList = {"c:\\keep\\LOG.TXT", "C:\\Keep\\new.tmp", "C:\\PAGEFILE.SYS", "c:\\hiberfil.sys"};
  BuildSelection(driveSelection, "Drives", 5, {{"C: Renamed\\RECYCLED", 3}});
  Compare(before, after);

  // The drive keeps its letter and shows its new name and icon; a new or deleted drive is a
  // leaf; Keep holds only excluded changes and does not appear.
  EXPECT_EQ(ResultDump(driveResult),
            "Drives | 0 | 2/2 | children\n"
            "  C: Renamed | 8 | 16/16 | children | block\n"
            "    Gone | 7 | 0/0 | children | block\n"
            "    New | 6 | 0/0 | children | block\n"
            "  D: Data | 6 | 18/18\n"
            "  E: Old | 7 | 20/20\n");
  const TreeNode& drive = NodeAt(driveResult, {"Drives", "C: Renamed"});
  EXPECT_EQ(Records(positions.drives, drive, RecordForm::File),
            (std::vector<std::string>{"added.txt 9 4 5 32", "attr.txt 11 9 9 32", "attr.txt 12 9 9 33"}));
  EXPECT_EQ(Block(positions.drives, *drive.Child(0), FolderBlock(GoneFolder(), 10).size()),
            FolderBlock(GoneFolder(), 10));
  EXPECT_EQ(Block(positions.drives, *drive.Child(1), FolderBlock(NewFolder(), 9).size()), FolderBlock(NewFolder(), 9));
  EXPECT_EQ(excludeList, (std::vector<std::string>{"c:\\keep\\LOG.TXT", "C:\\Keep\\new.tmp", "C:\\PAGEFILE.SYS",
                                                   "c:\\hiberfil.sys"}));
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(FileStructureCompare, TheCompareNeverReportsItsOwnFiles) {
  // The configuration files and the log lie in a compared folder. Only a Windows path can
  // stand in a drive's folder record.
  const std::filesystem::path folder = std::filesystem::path(logFile).parent_path();
  const std::string text = folder.string();
  if (text.size() < 3 || text[1] != ':') GTEST_SKIP() << "no drive letter in " << text;
  std::vector<std::string> names;
  for (const auto& part : folder.relative_path()) names.push_back(part.string());

  const auto machine = [&](int32_t stamp, bool withLog) {
    std::vector<FileEntry> files = {FileEntry{"New.SXD", stamp}, FileEntry{"Old.SXD", stamp},
                                    FileEntry{"other.txt", stamp}};
    if (withLog) files.push_back(FileEntry{"Result.SXL", stamp});
    Folder inner{names.back(), {}, files};
    for (size_t i = names.size() - 1; i-- > 0;) inner = Folder{names[i], {inner}, {}};
    Configuration config;
    config.drives = {Drive{std::string(1, text[0]) + ": Disk", 17, Folder{"", {inner}, {}}}};
    return config;
  };
  Compare(machine(1, false), machine(2, true));

  const TreeNode* node = &NodeAt(driveResult, {"Drives", std::string(1, text[0]) + ": Disk"});
  for (const std::string& name : names) {
    ASSERT_EQ(node->Count(), 1u) << name;
    node = node->Child(0);
  }
  EXPECT_EQ(Records(positions.drives, *node, RecordForm::File),
            (std::vector<std::string>{"other.txt 11 1 0 32", "other.txt 12 2 0 32"}));
  EXPECT_TRUE(excludeList.empty());
}
