#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "capture/OwnPlaces.h"
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
  TreeNode* drives = tree.Add(nullptr, {.text = "Drives", .stateIndex = kStatePartlyChecked});
  tree.Add(drives, {.text = unchecked, .stateIndex = kStateUnchecked, .imageIndex = 3});
  tree.Add(drives, {.text = checked, .stateIndex = kStateChecked, .imageIndex = 7});
  tree.Add(drives, {.text = noIcon, .stateIndex = kStatePartlyChecked});

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

namespace {

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

// The short name Wine or Windows gave the entry at path (long form, any length).
std::string ShortNameOf(const std::wstring& path) {
  WIN32_FIND_DATAW entry;
  HANDLE find = FindFirstFileW(path.c_str(), &entry);
  EXPECT_NE(find, INVALID_HANDLE_VALUE);
  if (find == INVALID_HANDLE_VALUE) return {};
  FindClose(find);
  std::string name;
  for (const wchar_t* c = entry.cAlternateFileName; *c; ++c) name += static_cast<char>(*c);
  return name;
}

// A file with the test's time stamp, created through the W functions (any name, any depth).
void MakeFileW(const std::wstring& path, const std::string& content) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_ARCHIVE, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
  SYSTEMTIME local{2021, 3, 4, 4, 5, 6, 8, 0};
  FILETIME localTime, utc;
  SystemTimeToFileTime(&local, &localTime);
  LocalFileTimeToFileTime(&localTime, &utc);
  SetFileTime(file, nullptr, nullptr, &utc);
  CloseHandle(file);
}

// A chain of nested folders of 30-character names below the test folder, made through the
// "\\?\" form of the W functions; returns the long path of each level (ending with "\").
std::vector<std::string> MakeChain(const TestFolder& folder, int levels) {
  std::vector<std::string> paths;
  std::string path = folder.Path();
  for (int i = 0; i < levels; ++i) {
    path += std::string(28, static_cast<char>('a' + i % 26)) + std::to_string(i % 10) + "x\\";
    EXPECT_TRUE(CreateDirectoryW((L"\\\\?\\" + Wide(path)).c_str(), nullptr)) << path.size();
    paths.push_back(path);
  }
  return paths;
}

// Removes what TestFolder cannot reach: the chain from its deepest level up.
void RemoveChain(const std::vector<std::string>& paths, const std::string& file) {
  if (!file.empty()) DeleteFileW((L"\\\\?\\" + Wide(paths.back() + file)).c_str());
  for (auto it = paths.rbegin(); it != paths.rend(); ++it) RemoveDirectoryW((L"\\\\?\\" + Wide(*it)).c_str());
}

std::string NameOfLevel(const std::vector<std::string>& paths, size_t i) {
  const std::string& path = paths[i];
  size_t start = path.rfind('\\', path.size() - 2) + 1;
  return path.substr(start, path.size() - 1 - start);
}

}  // namespace

// The "A" functions show "??.txt" and "?????" for these names; "?????\*.*" would be a pattern.
TEST(FileStructureCapture, NamesTheCodePageCannotSpellAreRecordedByTheirShortNames) {
  TestFolder folder;
  const std::wstring root = Wide(folder.Path());
  // TestFolder removes through the "A" functions, which cannot name these entries.
  struct RemoveWide {
    std::wstring root;
    void operator()() const {
      DeleteFileW((root + L"\u041d\u043e\u0432\u0430\u044f\\inner.txt").c_str());
      RemoveDirectoryW((root + L"\u041d\u043e\u0432\u0430\u044f").c_str());
      DeleteFileW((root + L"\u65e5\u672c.txt").c_str());
    }
    ~RemoveWide() { (*this)(); }
  } removeWide{root};
  removeWide();
  ASSERT_TRUE(CreateDirectoryW((root + L"\u041d\u043e\u0432\u0430\u044f").c_str(), nullptr));
  MakeFileW(root + L"\u041d\u043e\u0432\u0430\u044f\\inner.txt", "12");
  MakeFileW(root + L"\u65e5\u672c.txt", "jp");
  MakeFileW(root + L"ab.txt", "a");
  MakeFileW(root + L"cd.txt", "c");
  const std::string shortFolder = ShortNameOf(root + L"\u041d\u043e\u0432\u0430\u044f");
  const std::string shortFile = ShortNameOf(root + L"\u65e5\u672c.txt");
  ASSERT_FALSE(shortFolder.empty());
  ASSERT_FALSE(shortFile.empty());

  Bytes expected;
  expected.Int(1).Str(shortFolder).Int(0).Int(1);
  FileRecord(expected, "inner.txt", 2, 0x20).Int(3);
  // Files in the order of the locale: the short name's "_" sorts before the letters.
  std::vector<std::pair<std::string, int32_t>> files = {{"ab.txt", 1}, {"cd.txt", 1}, {shortFile, 2}};
  std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) {
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.first.c_str(), -1, b.first.c_str(), -1) ==
           CSTR_LESS_THAN;
  });
  for (const auto& [name, size] : files) FileRecord(expected, name, size, 0x20);

  ScriptedInteraction ui;
  RecordingHost host{ui};
  EXPECT_EQ(Hex(Captured([&](TWriter& w) { WriteFolderRecord(w, host, folder.Path()); })), Hex(expected.Get()));
  EXPECT_EQ(host.unreadable.count, 0);
}

// Deeper than MAX_PATH the folder is enumerated through its short path; its records keep the
// long names. Past even that, the folder is left out of its parent and reported.
TEST(FileStructureCapture, DeepFoldersAreReachedByShortPathsAndUnreachableOnesReported) {
  TestFolder folder;
  struct Case {
    int levels;
    bool fileRecorded;
  };
  // 12 levels: about 400 characters, about 150 as short names. 30 levels: more than 260 even so.
  for (const Case& c : {Case{12, true}, Case{30, false}}) {
    SCOPED_TRACE(c.levels);
    std::vector<std::string> chain = MakeChain(folder, c.levels);
    ASSERT_EQ(chain.size(), static_cast<size_t>(c.levels));
    ASSERT_GT(chain.back().size(), 377u);
    MakeFileW(L"\\\\?\\" + Wide(chain.back() + "deep.txt"), "deep");

    ScriptedInteraction ui;
    RecordingHost host{ui};
    const std::string captured = Captured([&](TWriter& w) { WriteFolderRecord(w, host, folder.Path()); });
    if (c.fileRecorded) {
      Bytes expected;
      for (int i = 0; i < c.levels; ++i) expected.Int(1).Str(NameOfLevel(chain, i));
      FileRecord(expected.Int(0).Int(1), "deep.txt", 4, 0x20);
      for (int i = 0; i < c.levels; ++i) expected.Int(0);
      EXPECT_EQ(Hex(captured), Hex(expected.Get()));
      EXPECT_EQ(host.unreadable.count, 0);
    } else {
      // Recorded down to the last level the "A" functions reach, which lists no subfolder.
      ASSERT_EQ(host.unreadable.count, 1);
      const std::string& left = host.unreadable.firstPaths[0];
      auto level = std::find(chain.begin(), chain.end(), left);
      ASSERT_NE(level, chain.end()) << left;
      const int reached = static_cast<int>(level - chain.begin());
      Bytes expected;
      for (int i = 0; i < reached; ++i) expected.Int(1).Str(NameOfLevel(chain, i));
      expected.Int(0);
      for (int i = 0; i <= reached; ++i) expected.Int(0);
      EXPECT_EQ(Hex(captured), Hex(expected.Get()));
    }
    RemoveChain(chain, "deep.txt");
  }
}

// The program folder inside the captured folder is left out whole; where the program shares a
// folder, only its own files there are.
TEST(FileStructureCapture, OwnFoldersAndFilesAreLeftOutTheirSiblingsStay) {
  TestFolder folder;
  for (const char* sub : {"Quorvel", "Quorvel\\DLLBackup", "User"}) folder.Folder(sub);
  for (const char* file :
       {"Quorvel\\OldCFG.SXD", "Quorvel\\Last.SXS", "Quorvel\\DLLBackup\\a.dll", "User\\u.txt", "Quorvel.exe",
        "OldCFG.BAK", "setup.SXL", "Last.SXS", "NewCFG.SXD.tmp", "notes.txt", "SXL.txt"}) {
    folder.File(file, "x");
    Stamp(folder / file, FILE_ATTRIBUTE_ARCHIVE);
  }
  OwnPlaces own;
  own.AddFolder(folder / "QUORVEL");  // any case, without the backslash
  for (const char* name : {"Quorvel.exe", "OldCFG.BAK", "*.SXL", "*.SXS", "*.SXD", "*.SXD.tmp"})
    own.AddFile(folder.Path(), name);

  Bytes expected;
  expected.Int(1).Str("User").Int(0).Int(1);
  FileRecord(expected, "u.txt", 1, 0x20).Int(2);
  FileRecord(expected, "notes.txt", 1, 0x20);
  FileRecord(expected, "SXL.txt", 1, 0x20);
  ScriptedInteraction ui;
  RecordingHost host{ui};
  host.ownPlaces = &own;
  EXPECT_EQ(Hex(Captured([&](TWriter& w) { WriteFolderRecord(w, host, folder.Path()); })), Hex(expected.Get()));
  EXPECT_EQ(host.unreadable.count, 0);
}
