#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "capture/SectionCaptures.h"
#include "core/CheckStates.h"
#include "tests/capture/CaptureTestSupport.h"

using namespace std::string_literals;

namespace {

using Progress = CaptureHost::Progress;

// 2021-03-04 05:06:08 local time, packed: date (41 << 9 | 3 << 5 | 4) high, time
// (5 << 11 | 6 << 5 | 8 / 2) low.
constexpr int32_t kPackedTime = 0x526428C4;

// Gives a file the last-write time above and exactly the attributes given.
void Stamp(const std::string& path, DWORD attributes) {
  SYSTEMTIME local{2021, 3, 4, 4, 5, 6, 8, 0};
  FILETIME localTime, utc;
  ASSERT_TRUE(SystemTimeToFileTime(&local, &localTime));
  ASSERT_TRUE(LocalFileTimeToFileTime(&localTime, &utc));
  HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
  EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &utc));
  CloseHandle(file);
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), attributes)) << path;
}

Bytes& FileRecord(Bytes& b, const std::string& name, int32_t size, int32_t attributes) {
  return b.Str(name).Int(21).Int(kPackedTime).Int(size).Int(attributes);
}

}  // namespace

TEST(FileStructureCapture, FoldersAndFilesAreSortedDotFoldersLeftOutAndOnlyTheFirstLevelShowsProgress) {
  TestFolder folder;
  for (const char* sub : {"Windows", "apps", ".cache", "apps\\empty", "apps\\sub"}) folder.Folder(sub);
  folder.File(".cache\\cached", "x");
  folder.File("b.txt", "abc");
  folder.File("A.TXT", std::string(300, 'a'));
  folder.File("apps\\sub\\hs.sys", "");
  folder.File("apps\\.profile", "p");
  Stamp(folder.Path() + "b.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
  Stamp(folder.Path() + "A.TXT", FILE_ATTRIBUTE_ARCHIVE);
  Stamp(folder.Path() + "apps\\sub\\hs.sys", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
  Stamp(folder.Path() + "apps\\.profile", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);

  Bytes expected;
  expected.Int(2).Str("apps").Int(2).Str("empty").Empty().Str("sub").Int(0).Int(1);
  FileRecord(expected, "hs.sys", 0, 0x26).Int(1);
  FileRecord(expected, ".profile", 1, 0x22).Str("Windows").Empty().Int(2);
  FileRecord(expected, "A.TXT", 300, 0x20);
  FileRecord(expected, "b.txt", 3, 0x21);

  ScriptedInteraction ui;
  RecordingHost host{ui, StatusChannel::Secondary};
  host.progress.status = " File structure - drive: T: Test";
  EXPECT_EQ(Hex(Captured([&](TWriter& w) { WriteFolderRecord(w, host, folder.Path()); })), Hex(expected.Get()));
  const std::string status = host.progress.status;
  EXPECT_EQ(host.shown, (std::vector<Progress>{{status, 2, 0}, {status, 2, 1}, {status, 2, 2}}));
}

TEST(FileStructureCapture, ASizeAbove4GBIsItsLow32BitsAsASignedInteger) {
  TestFolder folder;
  HANDLE file = CreateFileA((folder.Path() + "big.bin").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  LARGE_INTEGER size;
  size.QuadPart = 5000000000LL;
  bool sized = SetFilePointerEx(file, size, nullptr, FILE_BEGIN) && SetEndOfFile(file);
  CloseHandle(file);
  if (!sized) GTEST_SKIP() << "no room for a file of 5 000 000 000 bytes here";
  Stamp(folder.Path() + "big.bin", FILE_ATTRIBUTE_ARCHIVE);

  Bytes expected;
  FileRecord(expected.Int(0).Int(1), "big.bin", 705032704, 0x20);
  ScriptedInteraction ui;
  RecordingHost host{ui};
  EXPECT_EQ(Hex(Captured([&](TWriter& w) { WriteFolderRecord(w, host, folder.Path()); })), Hex(expected.Get()));
}

// A drive whose root cannot be enumerated is a drive without files or folders; which letters
// are free is asked at run time.
TEST(FileStructureCapture, DrivesSectionRecordsCheckedDrivesWithTextAndIcon) {
  std::vector<char> free;
  DWORD used = GetLogicalDrives();
  for (char letter = 'Y'; letter >= 'D' && free.size() < 3; --letter)
    if (!(used & (1u << (letter - 'A')))) free.push_back(letter);
  ASSERT_EQ(free.size(), 3u);
  const std::string checked = free[0] + ": Backup disk"s, noIcon = free[1] + ":"s, unchecked = free[2] + ": Off"s;

  TreeModel tree;
  TreeNode* drives = tree.Add(nullptr, "Drives");
  drives->stateIndex = kStatePartlyChecked;
  TreeNode* node = tree.Add(drives, unchecked);
  node->stateIndex = kStateUnchecked;
  node->imageIndex = 3;
  node = tree.Add(drives, checked);
  node->stateIndex = kStateChecked;
  node->imageIndex = 7;
  node = tree.Add(drives, noIcon);
  node->stateIndex = kStatePartlyChecked;

  Bytes expected;
  expected.Str("* THIS IS A SNAPTRACE DRIVES DATAFILE *").Begin();
  expected.Str(checked).Int(7).Empty().Str(noIcon).Int(-1).Empty().End();
  ScriptedInteraction ui;
  RecordingHost host{ui, StatusChannel::Secondary};
  host.progress.position = 5;  // left from an earlier capture on the thread
  EXPECT_EQ(Hex(Captured([&](TWriter& w) { CaptureDrivesSection(w, tree, host); })), Hex(expected.Get()));
  EXPECT_EQ(host.shown, (std::vector<Progress>{{" File structure - drive: " + checked, 0, 5},
                                               {" File structure - drive: " + checked, 0, 5},
                                               {" File structure - drive: " + noIcon, 0, 5},
                                               {" File structure - drive: " + noIcon, 0, 5},
                                               {" Status", 0, 0}}));
  EXPECT_EQ(ui.statusTexts[static_cast<int>(StatusChannel::Secondary)].back(), " Status");
}
