#include "tools/DuplicateSearch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "platform/Handle.h"
#include "tests/capture/TestFolder.h"
#include "tests/tools/RecordingProgress.h"

namespace {

// A write time of its own, in seconds after a fixed day: the packed time keeps two seconds.
void SetWriteTime(const std::string& path, DWORD seconds) {
  UniqueFile file(
      CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  const uint64_t ticks = 0x01D0000000000000ull + uint64_t{seconds} * 10000000u;
  const FILETIME time{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  SetFileTime(file.Get(), nullptr, nullptr, &time);
}

class DuplicateSearchTest : public ::testing::Test {
 protected:
  // Writes relative (creating its folders) with content and a write time of its own.
  void File(const std::string& relative, const std::string& content, DWORD time = 1000) {
    for (size_t slash = relative.find('\\'); slash != std::string::npos; slash = relative.find('\\', slash + 1))
      CreateDirectoryA((folder_ / relative.substr(0, slash)).c_str(), nullptr);
    folder_.File(relative, content);
    SetWriteTime(folder_ / relative, time);
  }

  void Run(DuplicateTest test) { search_.Run({{folder_.Path(), {"Drives", "X:"}, false}}, test); }

  // Each group as its members' paths below the fixture folder, sorted: the walk meets the
  // folders in the order the file system keeps them.
  std::vector<std::vector<std::string>> Groups() {
    std::vector<std::vector<std::string>> groups;
    for (const DuplicateGroup& group : search_.Groups()) {
      groups.emplace_back();
      for (uint32_t member : group.members)
        groups.back().push_back(search_.PathOf(member).substr(folder_.Path().size()));
      std::sort(groups.back().begin(), groups.back().end());
    }
    return groups;
  }

  TestFolder folder_;
  RecordingProgress progress_;
  FolderSelectionLookup lookup_;
  DuplicateSearch search_{progress_, [this](const std::vector<std::string>& names) { return lookup_(names); }};
};

using GroupPaths = std::vector<std::vector<std::string>>;

TEST_F(DuplicateSearchTest, DateModeGroupsNameSizeAndTimeIgnoringCaseInNameOrder) {
  File("a\\readme.txt", "12345");
  File("b\\README.TXT", "abcde");
  File("a\\B.DAT", "xx");
  File("b\\B.DAT", "yy");
  File("c\\B.DAT", "zz");
  File("c\\readme.txt", "1234");         // another size
  File("d\\readme.txt", "12345", 2000);  // another time
  File("d\\single.txt", "1");

  Run(DuplicateTest::NameSizeDate);

  EXPECT_EQ(Groups(), (GroupPaths{{"a\\B.DAT", "b\\B.DAT", "c\\B.DAT"}, {"a\\readme.txt", "b\\README.TXT"}}));
  EXPECT_EQ(search_.Counters().duplicates, 3u);
  EXPECT_EQ(search_.Counters().files, 8u);
  EXPECT_EQ(search_.Counters().folders, 5u);
  EXPECT_EQ(progress_.statuses.back(), "Detecting duplicates...finished.");
}

TEST_F(DuplicateSearchTest, ContentModeIgnoresTimesButNotBytesAndTakesEmptyFiles) {
  File("a\\same.txt", "content", 1000);
  File("b\\same.txt", "content", 5000);
  File("a\\other.txt", "aaaa");
  File("b\\other.txt", "aaab");
  File("a\\empty.txt", "", 10);
  File("b\\empty.txt", "", 20);

  Run(DuplicateTest::NameSizeContent);
  EXPECT_EQ(Groups(), (GroupPaths{{"a\\empty.txt", "b\\empty.txt"}, {"a\\same.txt", "b\\same.txt"}}));

  // By date, only the equal times count, whatever the bytes.
  Run(DuplicateTest::NameSizeDate);
  EXPECT_EQ(Groups(), (GroupPaths{{"a\\other.txt", "b\\other.txt"}}));
}

TEST_F(DuplicateSearchTest, NoRootsFindNothingAndFinish) {
  search_.Run({}, DuplicateTest::NameSizeDate);
  EXPECT_EQ(search_.Counters().files, 0u);
  EXPECT_EQ(search_.Counters().folders, 0u);
  EXPECT_TRUE(search_.Groups().empty());
  EXPECT_EQ(progress_.statuses.back(), "Detecting duplicates...finished.");
}

TEST_F(DuplicateSearchTest, APartlyCheckedDriveIsWalkedOnlyIntoTickedFolders) {
  for (const char* file :
       {"top.txt", "in\\f.txt", "out\\f.txt", "part\\f.txt", "part\\in\\f.txt", "part\\out\\f.txt", "new\\f.txt"})
    File(file, "f");
  lookup_ = [](const std::vector<std::string>& names) {
    const std::string path = names.size() > 2 ? [&] {
      std::string joined;
      for (size_t i = 2; i < names.size(); ++i) joined += (i > 2 ? "\\" : "") + names[i];
      return joined;
    }()
                                              : "";
    EXPECT_EQ(names[0], "Drives");
    EXPECT_EQ(names[1], "X:");
    if (path == "in" || path == "part\\in") return FolderSelection::Checked;
    if (path == "part") return FolderSelection::Partial;
    if (path == "out" || path == "part\\out") return FolderSelection::Unchecked;
    return FolderSelection::NotFound;  // "new": made after the tree was read
  };
  search_.Run({{folder_.Path(), {"Drives", "X:"}, true}}, DuplicateTest::NameSizeDate);

  std::vector<std::string> walked;
  for (const DuplicateFile& file : search_.Files())
    walked.push_back(search_.Catalog().PathOf(file.file).substr(folder_.Path().size()));
  std::sort(walked.begin(), walked.end());
  EXPECT_EQ(walked, (std::vector<std::string>{"in\\f.txt", "part\\f.txt", "part\\in\\f.txt", "top.txt"}));
}

TEST_F(DuplicateSearchTest, CancelDuringTheContentTestIsHeardBeforeTheNextFileIsRead) {
  for (int i = 0; i < 20; ++i) File("d" + std::to_string(i) + "\\SAME.BIN", std::string(1000, 'c'));
  progress_.onMessages = [&] {
    if (search_.ContentReads().opens >= 3) search_.Cancel();
  };
  EXPECT_THROW(Run(DuplicateTest::NameSizeContent), Exception);
  EXPECT_EQ(search_.ContentReads().opens, 3u);
  EXPECT_FALSE(search_.Running());
}

TEST_F(DuplicateSearchTest, CancelEndsTheWalkAtTheNextHundredFiles) {
  for (int i = 0; i < 250; ++i) File("F" + std::to_string(i), "", 1);
  progress_.onMessages = [&] {
    if (search_.Counters().files >= 100) search_.Cancel();
  };
  try {
    Run(DuplicateTest::NameSizeDate);
    FAIL() << "no abort";
  } catch (const Exception& e) {
    EXPECT_EQ(std::string(e.what()), "Operation aborted!");
  }
  EXPECT_EQ(search_.Files().size(), 100u);
  EXPECT_FALSE(search_.Running());
}

// The groups as the pairwise test makes them: each file compared with every later file of its
// name run that is not yet grouped, by reading both.
std::vector<std::vector<uint32_t>> PairwiseGroups(const DuplicateSearch& search) {
  const auto read = [&](uint32_t i, std::string& content) {
    UniqueFile file(CreateFileA(search.PathOf(i).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr));
    if (!file) return false;
    content.assign(static_cast<size_t>(GetFileSize(file.Get(), nullptr)), '\0');
    DWORD got = 0;
    return ReadFile(file.Get(), content.data(), static_cast<DWORD>(content.size()), &got, nullptr) &&
           got == content.size();
  };
  const auto& files = search.Files();
  std::vector<bool> grouped(files.size(), false);
  std::vector<std::vector<uint32_t>> groups;
  for (uint32_t a = 0; a < files.size(); ++a) {
    std::vector<uint32_t>* current = nullptr;
    for (uint32_t b = a + 1; b < files.size() && _stricmp(search.NameOf(a), search.NameOf(b)) == 0; ++b) {
      std::string one, other;
      if (grouped[a] || grouped[b] || files[a].file.size != files[b].file.size) continue;
      if (!read(a, one) || !read(b, other) || one != other) continue;
      if (!current) {
        groups.push_back({a, b});
        current = &groups.back();
      } else {
        current->push_back(b);
        grouped[b] = true;
      }
    }
  }
  return groups;
}

TEST_F(DuplicateSearchTest, FiftyEqualNamesDifferingInTheLastByteGiveThePairwiseGroupsReadingEachFileTwice) {
  const std::string body(250000, 'q');  // three blocks of reading
  uint64_t candidateBytes = 0;
  for (int i = 0; i < 50; ++i) {
    // Seven contents among the fifty, in a scattered order.
    File("d" + std::to_string(i) + "\\SAME.BIN", body + static_cast<char>('a' + (i * 3) % 7));
    candidateBytes += body.size() + 1;
  }
  File("x\\SAME.BIN", body);  // shorter by one byte: no candidate
  // One candidate cannot be opened while the search runs: it is in no group.
  UniqueFile locked(
      CreateFileA((folder_ / "d5\\SAME.BIN").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(locked);

  Run(DuplicateTest::NameSizeContent);

  std::vector<std::vector<uint32_t>> found;
  for (const DuplicateGroup& group : search_.Groups()) found.push_back(group.members);
  EXPECT_EQ(found, PairwiseGroups(search_));
  EXPECT_EQ(found.size(), 7u);
  EXPECT_EQ(search_.Counters().duplicates, 49u - 7u);
  EXPECT_LE(search_.ContentReads().bytes, 2 * candidateBytes);
  EXPECT_LE(search_.ContentReads().opens, 2u * 50u);
}

}  // namespace
