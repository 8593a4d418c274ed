#include "tools/FileTypeLinks.h"

#include <gtest/gtest.h>

#include <map>

#include "core/CheckStates.h"
#include "core/ScriptedInteraction.h"

namespace {

// HKEY_CLASSES_ROOT as the tree shows it: extensions first, then the types; the extension after
// the types is beyond the run the search walks.
class FileTypeLinksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TreeNode* top = tree.Add(nullptr, NodeFields{"My Computer", kStateUnchecked, -1, -1, true});
    classes = tree.Add(top, NodeFields{"HKEY_CLASSES_ROOT", kStateUnchecked, -1, -1, true});
    for (const char* name : {".doc", ".rtf", ".txt", ".wri", "*", "txtfile", "Word.Document", ".late"})
      tree.Add(classes, NodeFields{name, kStateUnchecked});
    tree.Add(top, NodeFields{"HKEY_CURRENT_USER", kStateUnchecked});
    seams.defaultValueOf = [this](const std::string& name) {
      const auto found = defaults.find(name);
      return found == defaults.end() ? std::string() : found->second;
    };
    seams.showNode = [this](TreeNode& node) { shown.push_back(node.Text()); };
    seams.pause = [this](int milliseconds) { pauses.push_back(milliseconds); };
  }

  // A click on the state image, then the linked selection, as the window runs them.
  void Click(const std::string& name) {
    TreeNode* node = Child(name);
    ClickStateImage(*node);
    LinkFileTypeSelection(*node, ui, seams);
  }
  TreeNode* Child(const std::string& name) {
    for (size_t i = 0; i < classes->Count(); ++i)
      if (classes->Child(i)->Text() == name) return classes->Child(i);
    return nullptr;
  }
  std::vector<std::string> Checked() {
    std::vector<std::string> names;
    for (size_t i = 0; i < classes->Count(); ++i)
      if (classes->Child(i)->StateIndex() == kStateChecked) names.push_back(classes->Child(i)->Text());
    return names;
  }

  TreeModel tree;
  TreeNode* classes = nullptr;
  std::map<std::string, std::string> defaults = {{".doc", "Word.Document"},
                                                 {".rtf", "word.document"},
                                                 {".txt", "txtfile"},
                                                 {".wri", "Word.Document"},
                                                 {"*", "*file"},
                                                 {".late", "Word.Document"}};
  FileTypeLinkSeams seams;
  ScriptedInteraction ui;
  std::vector<std::string> shown;
  std::vector<int> pauses;
};

TEST_F(FileTypeLinksTest, AnExtensionOffersItsTypeAndThenTheOtherExtensionsOfThatType) {
  ui.answers = {MsgAnswer::Yes, MsgAnswer::Yes};
  Click(".doc");
  EXPECT_EQ(ui.Texts(), (std::vector<std::string>{"Also select file type 'Word.Document'?",
                                                  "There are 2 matching extensions!\rAlso select these extensions?"}));
  EXPECT_EQ(Checked(), (std::vector<std::string>{".doc", ".rtf", ".wri", "Word.Document"}));
  EXPECT_EQ(shown, (std::vector<std::string>{"Word.Document", ".rtf", ".wri"}));
  EXPECT_EQ(pauses, (std::vector<int>{1000, 930}));
  EXPECT_EQ(classes->StateIndex(), kStatePartlyChecked);
}

TEST_F(FileTypeLinksTest, NoToTheTypeOrToTheExtensionsTicksNothingMore) {
  ui.answers = {MsgAnswer::No};
  Click(".doc");
  EXPECT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(Checked(), std::vector<std::string>{".doc"});

  ui.answers = {MsgAnswer::No};
  Click("Word.Document");
  EXPECT_EQ(ui.Texts().back(), "There are 2 matching extensions!\rAlso select these extensions?");
  EXPECT_EQ(Checked(), (std::vector<std::string>{".doc", "Word.Document"}));
  EXPECT_TRUE(pauses.empty());
}

TEST_F(FileTypeLinksTest, NothingIsOfferedWithoutAnUncheckedLinkOrOnUnticking) {
  ui.answers = {MsgAnswer::Yes};
  Click(".txt");  // its type is offered; the type's one extension is ticked already
  defaults[".rtf"] = "NoSuchType";
  Click(".rtf");
  ui.answers = {MsgAnswer::No};
  Click(".doc");
  Click(".doc");  // unticked
  EXPECT_EQ(ui.Texts(),
            (std::vector<std::string>{"Also select file type 'txtfile'?", "Also select file type 'Word.Document'?"}));
  EXPECT_EQ(Checked(), (std::vector<std::string>{".rtf", ".txt", "txtfile"}));
}

TEST(ExtensionPacing, StartsAtOneSecondAndFallsBySeventyToThreeHundred) {
  ExtensionPacing pacing;
  std::vector<int> pauses;
  for (int i = 0; i < 12; ++i) pauses.push_back(pacing.Next());
  EXPECT_EQ(pauses, (std::vector<int>{1000, 930, 860, 790, 720, 650, 580, 510, 440, 370, 300, 300}));
}

}  // namespace
