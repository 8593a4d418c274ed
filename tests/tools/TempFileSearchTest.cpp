#include "tools/TempFileSearch.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/capture/TestFolder.h"
#include "tests/tools/RecordingProgress.h"

namespace {

class TempFileSearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // root: A.TMP, B.TXT; sub: C.TMP, deep\E.TMP; .dot: D.TMP (never entered)
    for (const char* folder : {"sub", "sub\\deep", ".dot"}) folder_.Folder(folder);
    for (const char* file : {"A.TMP", "B.TXT", "sub\\C.TMP", "sub\\deep\\E.TMP", ".dot\\D.TMP"})
      folder_.File(file, file);
  }

  std::vector<std::string> Paths(size_t definition) {
    std::vector<std::string> paths;
    for (const FoundFile& file : search_.Results()[definition].files) paths.push_back(search_.Catalog().PathOf(file));
    return paths;
  }
  static std::vector<std::string> Sorted(std::vector<std::string> paths) {
    std::sort(paths.begin(), paths.end());
    return paths;
  }

  TestFolder folder_;
  RecordingProgress progress_;
  TempFileSearch search_{progress_};
};

TEST_F(TempFileSearchTest, EachDefinitionFindsItsMaskInItsFoldersAndTheCountersAddUp) {
  // The folder without its backslash, as a user types it.
  const std::string root = folder_.Path().substr(0, folder_.Path().size() - 1);
  search_.Run({{"tmp", root, true, "*.tmp"}, {"flat", root, false, "*.*"}});

  EXPECT_EQ(Sorted(Paths(0)), Sorted({folder_ / "A.TMP", folder_ / "sub\\C.TMP", folder_ / "sub\\deep\\E.TMP"}));
  EXPECT_EQ(Sorted(Paths(1)), Sorted({folder_ / "A.TMP", folder_ / "B.TXT"}));
  EXPECT_EQ(search_.Results()[0].found, 3u);
  EXPECT_EQ(search_.Results()[1].found, 2u);
  // root, sub and deep; then root again. The ".dot" folder is never entered.
  EXPECT_EQ(search_.Counters().folders, 4u);
  EXPECT_EQ(search_.Counters().files, 5u);
  EXPECT_EQ(progress_.counters.files, 5u);
  EXPECT_EQ(progress_.statuses.front(), "Search files in " + folder_.Path());
  EXPECT_EQ(progress_.statuses.back(), "Search completed.");
  EXPECT_TRUE(progress_.errors.empty());
}

TEST_F(TempFileSearchTest, RecordsHoldSizeAttributesAndTheLocalTime) {
  const std::string path = folder_ / "A.TMP";
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
  search_.Run({{"", folder_.Path(), false, "A.TMP"}});
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);

  ASSERT_EQ(search_.Results()[0].files.size(), 1u);
  const FoundFile& file = search_.Results()[0].files[0];
  EXPECT_EQ(file.size, 5);
  EXPECT_EQ(file.attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE),
            static_cast<uint32_t>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
  WIN32_FILE_ATTRIBUTE_DATA data;
  ASSERT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data));
  FILETIME local;
  WORD date = 0, time = 0;
  FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
  FileTimeToDosDateTime(&local, &date, &time);
  EXPECT_EQ(file.time, (static_cast<uint32_t>(date) << 16) | time);
}

TEST_F(TempFileSearchTest, MissingFoldersAndInvalidMasksFindNothingAndTheOthersStillRun) {
  search_.Run({{"gone", folder_ / "no such folder", true, "*.*"},
               {"bad mask", folder_.Path(), true, "<>|\"*"},
               {"ok", folder_.Path(), false, "*.TXT"}});

  EXPECT_EQ(search_.Results()[0].found, 0u);
  EXPECT_EQ(search_.Results()[1].found, 0u);
  EXPECT_EQ(Paths(2), std::vector<std::string>{folder_ / "B.TXT"});
  EXPECT_TRUE(progress_.errors.empty());
}

TEST_F(TempFileSearchTest, CancelStopsTheRunningDefinitionAtItsNextFolderAndKeepsWhatItFound) {
  // Cancel is clicked while the walk enters "sub".
  bool clicked = false;
  progress_.onMessages = [&] {
    if (!clicked && progress_.statuses.back() == "Search files in " + (folder_ / "sub\\")) {
      clicked = true;
      search_.Cancel();
    }
  };
  search_.Run({{"cancelled", folder_.Path(), true, "*.TMP"}, {"next", folder_.Path(), true, "*.TXT"}});

  EXPECT_EQ(Paths(0), std::vector<std::string>{folder_ / "A.TMP"});
  EXPECT_EQ(search_.Results()[0].found, 1u);
  EXPECT_EQ(progress_.errors, std::vector<std::string>{"Operation aborted!"});
  EXPECT_EQ(Paths(1), std::vector<std::string>{folder_ / "B.TXT"});
  EXPECT_FALSE(search_.Running());
}

TEST_F(TempFileSearchTest, ANewSearchReplacesTheOldResults) {
  search_.Run({{"", folder_.Path(), true, "*.*"}});
  search_.Run({{"", folder_.Path(), false, "B.TXT"}});
  EXPECT_EQ(Paths(0), std::vector<std::string>{folder_ / "B.TXT"});
  EXPECT_EQ(search_.Catalog().FolderCount(), 1u);
  EXPECT_EQ(search_.Counters().files, 1u);
}

}  // namespace
