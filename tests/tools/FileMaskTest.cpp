#include "tools/FileMask.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <set>

#include "tests/capture/TestFolder.h"

namespace {

// The system's search is the reference: for each mask, the names it lists in a folder are the
// names the mask matches there.
TEST(FileMaskTest, MatchesTheNamesTheSystemsSearchListsForTheMask) {
  TestFolder folder;
  const char* names[] = {"a.tmp", "B.TMP", "c.tmpx", "longfilename.tmpx", "noext", "x.y.tmp", "~abc.doc",
                         "ab",    "abc.t", "a.b.c",  "report.txt.bak",    "t",     "a.t",     "longer name.tm"};
  for (const char* name : names) folder.File(name, "x");
  const char* masks[] = {"*.tmp", "*.TMP", "~*.*",  "*",     "*.*",     "a*",   "x.*", "*b*",
                         "*.t",   "ab.*",  "a.b.*", "B.TMP", "*y*.tmp", "*.tm", "t.*", "noext.*"};
  for (const char* maskText : masks) {
    SCOPED_TRACE(maskText);
    std::set<std::string> listed, matched;
    WIN32_FIND_DATAA data;
    const HANDLE find = FindFirstFileA((folder.Path() + maskText).c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) listed.insert(data.cFileName);
      } while (FindNextFileA(find, &data));
      FindClose(find);
    }
    const FileMask mask(maskText);
    ASSERT_TRUE(mask.Usable());
    const HANDLE all = FindFirstFileA((folder.Path() + "*").c_str(), &data);
    ASSERT_NE(all, INVALID_HANDLE_VALUE);
    do {
      if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && mask.Matches(data.cFileName, data.cAlternateFileName))
        matched.insert(data.cFileName);
    } while (FindNextFileA(all, &data));
    FindClose(all);
    EXPECT_EQ(matched, listed);
  }
}

TEST(FileMaskTest, MasksBeyondANameAreLeftToTheSystem) {
  for (const char* mask : {"", "*.", "??.tmp", "*.tm?", "sub\\*.tmp", "a|b", "C:*.tmp", "<.tmp"})
    EXPECT_FALSE(FileMask(mask).Usable()) << mask;
  EXPECT_TRUE(FileMask("*.*").MatchesEverything());
  EXPECT_FALSE(FileMask("*.TMP").MatchesEverything());
}

}  // namespace
