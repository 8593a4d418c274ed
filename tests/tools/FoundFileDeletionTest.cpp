#include "tools/FoundFileDeletion.h"

#include <gtest/gtest.h>

#include "core/Errors.h"
#include "tools/FileCatalog.h"

namespace {

TEST(DeletionQuestionTest, TextFollowsHowManyRowsAreSelected) {
  const std::string warning = "This will delete both the duplicate AND the original file!";
  struct Case {
    size_t selected, rows;
    std::string allWarning, expected;
  } const cases[] = {
      {1, 1, "", "Delete file C:\\A.TMP?"},       {1, 5, "", "Delete file C:\\A.TMP?"},
      {2, 2, "", "Really delete all files?\r"},   {2, 2, warning, "Really delete all files?\r" + warning},
      {3, 7, "", "Really delete these 3 files?"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(DeletionQuestion(c.selected, c.rows, "C:\\A.TMP", c.allWarning), c.expected)
        << c.selected << "/" << c.rows;
}

TEST(DeleteListedFilesTest, TheFirstErrorEndsTheRunAndWhatWentBeforeIsReported) {
  std::vector<std::string> asked;
  std::vector<size_t> deleted;
  const auto pathOf = [](size_t owner) { return "F" + std::to_string(owner); };
  const auto deleteFile = [&](const std::string& path) {
    asked.push_back(path);
    if (path == "F2") throw Exception("File not found!");
    return true;
  };
  EXPECT_THROW(DeleteListedFiles({5, 3, 2, 0}, pathOf, deleteFile, deleted), Exception);
  EXPECT_EQ(asked, (std::vector<std::string>{"F5", "F3", "F2"}));
  EXPECT_EQ(deleted, (std::vector<size_t>{5, 3}));

  std::vector<int> items = {10, 11, 12, 13, 14, 15};
  EraseIndexes(items, deleted);
  EXPECT_EQ(items, (std::vector<int>{10, 11, 12, 14}));
}

}  // namespace
