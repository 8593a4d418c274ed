#include <gtest/gtest.h>

#include "core/CheckStates.h"
#include "core/Errors.h"
#include "core/ScriptedInteraction.h"
#include "tests/core/FakeRegistryTree.h"

namespace {

const std::vector<std::string> kKeys = {
    "HKEY_CLASSES_ROOT",
    "HKEY_CLASSES_ROOT\\.txt",
    "HKEY_CURRENT_USER",
    "HKEY_CURRENT_USER\\Software",
    "HKEY_LOCAL_MACHINE",
    "HKEY_LOCAL_MACHINE\\SOFTWARE",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\App",
    "HKEY_LOCAL_MACHINE\\SYSTEM",
    "HKEY_USERS",
    "HKEY_USERS\\.DEFAULT",
    "HKEY_DYN_DATA",
    "HKEY_DYN_DATA\\PerfStats",
};

// Expands the top node and every node of path (below the top), the way a user opens them.
TreeNode& Open(FakeRegistryTree& tree, const std::string& path) {
  tree.model.Expand(&tree.Top());
  TreeNode* node = &tree.Top();
  for (size_t end = 0; end != std::string::npos && !path.empty();) {
    end = path.find('\\', end + 1);
    node = &tree.Loaded(path.substr(0, end));
    tree.model.Expand(node);
  }
  return *node;
}

std::vector<int> ChildStates(const TreeNode& node) {
  std::vector<int> states;
  for (size_t i = 0; i < node.Count(); ++i) states.push_back(node.Child(i)->StateIndex());
  return states;
}

std::string MessageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Exception& e) {
    return e.Message();
  }
  return "(no error)";
}

}  // namespace

TEST(CheckStates, CheckingACollapsedRootLoadsItsSubkeysCheckedOnExpansion) {
  FakeRegistryTree tree(kKeys);
  TreeNode& machine = Open(tree, "HKEY_LOCAL_MACHINE");
  SetNodeChecked(tree.Loaded("HKEY_LOCAL_MACHINE\\SYSTEM"), true);
  CollapseSelectionNode(machine);
  ASSERT_EQ(ChildStates(machine), (std::vector<int>{kStateUnchecked, kStateChecked}));

  ClickStateImage(machine);
  EXPECT_EQ(machine.StateIndex(), kStateChecked);
  EXPECT_EQ(machine.Count(), 0u);
  EXPECT_TRUE(machine.HasChildren());

  const int loads = tree.loads;
  tree.model.Expand(&machine);
  EXPECT_EQ(tree.loads, loads + 1);
  EXPECT_EQ(ChildStates(machine), (std::vector<int>{kStateChecked, kStateChecked}));
  EXPECT_EQ(tree.Top().StateIndex(), kStatePartlyChecked);
}

TEST(CheckStates, UncheckingOneSubkeyMakesEveryAncestorPartlyChecked) {
  FakeRegistryTree tree(kKeys);
  Open(tree, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor");
  ClickStateImage(tree.Loaded("HKEY_LOCAL_MACHINE"));
  for (const char* path : {"HKEY_LOCAL_MACHINE\\SOFTWARE", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes",
                           "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\App", "HKEY_LOCAL_MACHINE\\SYSTEM"})
    EXPECT_EQ(tree.Loaded(path).StateIndex(), kStateChecked) << path;

  ClickStateImage(tree.Loaded("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor"));
  const struct {
    const char* path;
    int state;
  } expected[] = {
      {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor", kStateUnchecked},
      {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\App", kStateUnchecked},
      {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes", kStateChecked},
      {"HKEY_LOCAL_MACHINE\\SYSTEM", kStateChecked},
      {"HKEY_LOCAL_MACHINE\\SOFTWARE", kStatePartlyChecked},
      {"HKEY_LOCAL_MACHINE", kStatePartlyChecked},
      {"HKEY_USERS", kStateUnchecked},
  };
  for (const auto& e : expected) EXPECT_EQ(tree.Loaded(e.path).StateIndex(), e.state) << e.path;
  EXPECT_EQ(tree.Top().StateIndex(), kStatePartlyChecked);
}

TEST(CheckStates, ParentsShowCheckedOnlyWhenCheckedDirectly) {
  FakeRegistryTree tree(kKeys);
  TreeNode& machine = Open(tree, "HKEY_LOCAL_MACHINE");
  for (size_t i = 0; i < machine.Count(); ++i) ClickStateImage(*machine.Child(i));
  EXPECT_EQ(machine.StateIndex(), kStatePartlyChecked);
  EXPECT_EQ(tree.Top().StateIndex(), kStatePartlyChecked);

  for (size_t i = 0; i < machine.Count(); ++i) ClickStateImage(*machine.Child(i));
  EXPECT_EQ(machine.StateIndex(), kStateUnchecked);
  EXPECT_EQ(tree.Top().StateIndex(), kStateUnchecked);
}

TEST(CheckStates, ClickOutcomes) {
  struct Case {
    const char* name;
    const char* path;  // "" is the top node
    bool expanded;
    int before;
    int childrenBefore;
    int after;
    std::vector<int> childrenAfter;  // loaded children left, with their states
  };
  const Case cases[] = {
      {"collapsed unchecked key is unloaded", "HKEY_LOCAL_MACHINE", false, 3, 3, 4, {}},
      {"collapsed partly checked key is unloaded", "HKEY_LOCAL_MACHINE", false, 5, 4, 4, {}},
      {"expanded unchecked key checks its children", "HKEY_LOCAL_MACHINE", true, 3, 3, 4, {4, 4}},
      {"expanded partly checked key checks its children", "HKEY_LOCAL_MACHINE\\SOFTWARE", true, 5, 3, 4, {4, 4}},
      {"collapsed top node checks its children", "", false, 3, 3, 4, {4, 4, 4, 4, 4}},
      {"collapsed checked key keeps its children", "HKEY_LOCAL_MACHINE", false, 4, 4, 3, {3, 3}},
      {"expanded checked key unchecks its children", "HKEY_LOCAL_MACHINE", true, 4, 4, 3, {3, 3}},
  };
  for (const Case& c : cases) {
    FakeRegistryTree tree(kKeys);
    TreeNode& node = Open(tree, c.path);
    if (!c.expanded) tree.model.Collapse(&node);
    tree.model.SetState(&node, c.before);
    for (size_t i = 0; i < node.Count(); ++i) tree.model.SetState(node.Child(i), c.childrenBefore);

    ClickStateImage(node);
    EXPECT_EQ(node.StateIndex(), c.after) << c.name;
    EXPECT_EQ(ChildStates(node), c.childrenAfter) << c.name;
    EXPECT_TRUE(node.HasChildren()) << c.name;
  }
}

TEST(CheckStates, UnknownStateIndexFailsAndChangesNothing) {
  for (int state : {-1, 0, 2, 6, 7, 20}) {
    FakeRegistryTree tree(kKeys);
    TreeNode& machine = Open(tree, "HKEY_LOCAL_MACHINE");
    tree.model.SetState(&machine, state);
    EXPECT_EQ(MessageOf([&] { ClickStateImage(machine); }), "unknown Stateindex") << state;
    EXPECT_EQ(machine.StateIndex(), state);
    EXPECT_EQ(ChildStates(machine), (std::vector<int>{3, 3}));
    EXPECT_EQ(tree.Top().StateIndex(), kStateUnchecked);
  }
}

TEST(CheckStates, CollapsingDiscardsOnlyUniformSubtrees) {
  struct Case {
    const char* path;
    int state;
    bool keepsChildren;
  };
  const Case cases[] = {
      {"HKEY_LOCAL_MACHINE", kStateChecked, false},
      {"HKEY_LOCAL_MACHINE", kStateUnchecked, false},
      {"HKEY_LOCAL_MACHINE", kStatePartlyChecked, true},
      {"HKEY_LOCAL_MACHINE\\SOFTWARE", kStateChecked, false},
      {"HKEY_LOCAL_MACHINE\\SOFTWARE", kStatePartlyChecked, true},
      {"", kStateChecked, true},  // the top node is never unloaded
  };
  for (const Case& c : cases) {
    FakeRegistryTree tree(kKeys);
    TreeNode& node = Open(tree, c.path);
    tree.model.SetState(&node, c.state);
    CollapseSelectionNode(node);
    EXPECT_FALSE(node.Expanded()) << c.path;
    EXPECT_EQ(node.Count() > 0, c.keepsChildren) << c.path << " " << c.state;
    EXPECT_TRUE(node.HasChildren()) << c.path;
  }
}

TEST(FindTreeNode, ExpandsOnTheWayAndIgnoresCase) {
  FakeRegistryTree tree(kKeys);
  TreeNode* found = FindTreeNode({"my computer", "hkey_local_machine", "software", "VENDOR"}, tree.model);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->Path(), "My Computer\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor");
  EXPECT_EQ(tree.loads, 2);  // HKEY_LOCAL_MACHINE and SOFTWARE
  EXPECT_TRUE(tree.Top().Expanded());
  EXPECT_TRUE(tree.Loaded("HKEY_LOCAL_MACHINE\\SOFTWARE").Expanded());
  EXPECT_FALSE(found->Expanded());
  EXPECT_EQ(found->Count(), 0u);
}

TEST(FindTreeNode, Misses) {
  struct Case {
    std::vector<std::string> names;
    const char* found;  // path of the result, nullptr for none
  };
  const Case cases[] = {
      {{}, "My Computer"},
      {{"My Computer"}, "My Computer"},
      {{"Other Computer"}, nullptr},
      {{"My Computer", "HKEY_NOPE"}, nullptr},
      {{"My Computer", "HKEY_USERS", ".DEFAULT", "Deeper"}, nullptr},  // a key without subkeys
      {{"My Computer", "HKEY_LOCAL_MACHINE", "HKEY_USERS"}, nullptr},  // siblings are not children
  };
  for (const Case& c : cases) {
    FakeRegistryTree tree(kKeys);
    const TreeNode* found = FindTreeNode(c.names, tree.model);
    EXPECT_EQ(found ? found->Path() : "(none)", c.found ? c.found : "(none)") << c.names.size();
    EXPECT_TRUE(tree.Top().Expanded());
  }
  TreeModel empty;
  EXPECT_EQ(FindTreeNode({}, empty), nullptr);
}

TEST(FindTreeNode, ByPath) {
  struct Case {
    const char* path;
    bool pathHasTop;
    const char* found;
  };
  const Case cases[] = {
      {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor", false, "My Computer\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor"},
      {"hkey_local_machine\\software\\", false, "My Computer\\HKEY_LOCAL_MACHINE\\SOFTWARE"},
      {"My Computer\\HKEY_USERS", true, "My Computer\\HKEY_USERS"},
      {"", false, "My Computer"},
      {"", true, "My Computer"},
      {"HKEY_USERS", true, nullptr},  // the top's text is missing
      {"HKEY_LOCAL_MACHINE\\\\SOFTWARE", false, nullptr},
      {"HKEY_LOCAL_MACHINE\\SOFTWARE\\\\", false, nullptr},  // only one trailing separator is dropped
  };
  for (const Case& c : cases) {
    FakeRegistryTree tree(kKeys);
    const TreeNode* found = FindTreeNodeByPath(c.path, tree.model, c.pathHasTop);
    EXPECT_EQ(found ? found->Path() : "(none)", c.found ? c.found : "(none)") << c.path;
  }
}

TEST(DeselectInSelection, UnchecksTheMatchingNodeAndTellsItsPath) {
  FakeRegistryTree selection(kKeys);
  SetNodeChecked(selection.Loaded("HKEY_LOCAL_MACHINE"), true);  // collapsed, nothing loaded below

  TreeModel result;
  TreeNode* resultNode = result.Add(
      result.Add(result.Add(result.Add(nullptr, "My Computer"), "HKEY_LOCAL_MACHINE"), "SOFTWARE"), "vendor");
  ScriptedInteraction ui;
  TreeNode& deselected = DeselectInSelection(*resultNode, selection.model, &ui);

  EXPECT_EQ(&deselected, &selection.Loaded("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor"));
  EXPECT_EQ(deselected.StateIndex(), kStateUnchecked);
  EXPECT_EQ(selection.Loaded("HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes").StateIndex(), kStateChecked);
  EXPECT_EQ(selection.Loaded("HKEY_LOCAL_MACHINE\\SOFTWARE").StateIndex(), kStatePartlyChecked);
  EXPECT_EQ(selection.Loaded("HKEY_LOCAL_MACHINE").StateIndex(), kStatePartlyChecked);
  EXPECT_EQ(selection.Top().StateIndex(), kStatePartlyChecked);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].type, MsgType::Information);
  EXPECT_EQ(ui.messages[0].buttons, MsgButtons::Ok);
  EXPECT_EQ(ui.messages[0].text, "This item is now deselected: \rMy Computer\\HKEY_LOCAL_MACHINE\\SOFTWARE\\vendor\\");
}

TEST(DeselectInSelection, ANodeOfTheSelectionTreeItselfLosesItsWholeSubtree) {
  FakeRegistryTree selection(kKeys);
  Open(selection, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor");
  TreeNode& machine = selection.Loaded("HKEY_LOCAL_MACHINE");
  SetNodeChecked(machine, true);
  SetNodeChecked(selection.Loaded("HKEY_USERS"), true);

  DeselectInSelection(machine, selection.model, nullptr);
  selection.model.ForEach([&](TreeNode& node) {
    if (node.Path().rfind("My Computer\\HKEY_LOCAL_MACHINE", 0) == 0) {
      EXPECT_EQ(node.StateIndex(), kStateUnchecked) << node.Path();
    }
  });
  EXPECT_EQ(selection.Top().StateIndex(), kStatePartlyChecked);  // HKEY_USERS is still checked
}

TEST(DeselectInSelection, AMissingNodeFailsAndChangesNothing) {
  FakeRegistryTree selection(kKeys);
  SetNodeChecked(selection.Loaded("HKEY_LOCAL_MACHINE"), true);
  TreeModel result;
  TreeNode* gone =
      result.Add(result.Add(result.Add(result.Add(nullptr, "My Computer"), "HKEY_LOCAL_MACHINE"), "SOFTWARE"), "Gone");
  ScriptedInteraction ui;

  EXPECT_EQ(MessageOf([&] { DeselectInSelection(*gone, selection.model, &ui); }), "TreeViewItem not found !");
  EXPECT_TRUE(ui.messages.empty());
  selection.model.ForEach([&](TreeNode& node) {
    if (node.Level() >= 1 && node.Path().find("HKEY_LOCAL_MACHINE") != std::string::npos) {
      EXPECT_EQ(node.StateIndex(), kStateChecked) << node.Path();
    }
  });
  EXPECT_EQ(selection.Top().StateIndex(), kStatePartlyChecked);
}

namespace {

const char* const kNoRegistry = "No registry keys selected!\rContinue anyway?";
const char* const kNoDrives = "No drives selected!\rContinue anyway?";
const char* const kDynData =
    "Don't monitor the HKEY_DYN_DATA section!\rChanges in this section cannot be restored - monitoring\r"
    "Continue anyway?";
const char* const kClassesTwice =
    "HKEY_CLASSES_ROOT and HKEY_LOCAL_MACHINE\\Software\\Class\rboth contain the same data. Please don't "
    "select both!\rThis can restore the same value twice, which causes problems!\rContinue anyway?";
const char* const kUsersTwice =
    "Some parts of  HKEY_CURRENT_USER and HKEY_USERS contain\ridentical data. Please don't select both as "
    "this may cause problems!\rThis can restore the same value twice, which causes problems!\rContinue "
    "anyway?";

struct ValidationTrees {
  FakeRegistryTree registry{kKeys};
  FakeRegistryTree drives{{"C: System", "C: System\\WINDOWS"}, "Drives"};

  void Check(const std::vector<std::string>& registryPaths, bool drivesChecked) {
    for (const std::string& path : registryPaths)
      SetNodeChecked(*FindTreeNodeByPath(path, registry.model, false), true);
    if (drivesChecked) SetNodeChecked(drives.Top(), true);
  }
};

}  // namespace

TEST(ValidateSelection, AsksItsQuestionsInOrder) {
  struct Case {
    const char* name;
    std::vector<std::string> checked;
    bool drivesChecked;
    std::vector<std::string> questions;
  };
  const Case cases[] = {
      {"nothing selected", {}, false, {kNoRegistry, kNoDrives}},
      {"default selection", {"HKEY_LOCAL_MACHINE", "HKEY_USERS"}, true, {}},
      {"dynamic data", {"HKEY_DYN_DATA\\PerfStats"}, true, {kDynData}},
      {"classes twice", {"HKEY_CLASSES_ROOT", "HKEY_LOCAL_MACHINE"}, true, {kClassesTwice}},
      {"classes twice, partly",
       {"HKEY_CLASSES_ROOT\\.txt", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes"},
       true,
       {kClassesTwice}},
      {"classes root alone", {"HKEY_CLASSES_ROOT", "HKEY_LOCAL_MACHINE\\SYSTEM"}, true, {}},
      {"users twice", {"HKEY_CURRENT_USER\\Software", "HKEY_USERS"}, true, {kUsersTwice}},
      {"everything",
       {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS", "HKEY_DYN_DATA"},
       false,
       {kNoDrives, kDynData, kClassesTwice, kUsersTwice}},
  };
  for (const Case& c : cases) {
    ValidationTrees trees;
    trees.Check(c.checked, c.drivesChecked);
    ScriptedInteraction ui;
    EXPECT_NO_THROW(ValidateSelection(trees.registry.model, trees.drives.model, ui)) << c.name;
    EXPECT_EQ(ui.Texts(), c.questions) << c.name;
    for (const auto& m : ui.messages) {
      EXPECT_EQ(m.type, MsgType::Confirmation) << c.name;
      EXPECT_EQ(m.buttons, MsgButtons::YesNo) << c.name;
    }
  }
}

TEST(ValidateSelection, AnyAnswerButYesAborts) {
  const std::vector<std::string> all = {kNoDrives, kDynData, kClassesTwice, kUsersTwice};
  for (size_t refused = 0; refused < all.size(); ++refused) {
    for (MsgAnswer answer : {MsgAnswer::No, MsgAnswer::Cancel}) {
      ValidationTrees trees;
      trees.Check({"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS", "HKEY_DYN_DATA"},
                  false);
      ScriptedInteraction ui;
      ui.answers.assign(refused, MsgAnswer::Yes);
      ui.answers.push_back(answer);
      EXPECT_THROW(ValidateSelection(trees.registry.model, trees.drives.model, ui), EMyAbort);
      EXPECT_EQ(ui.Texts(), std::vector<std::string>(all.begin(), all.begin() + refused + 1));
    }
  }
}

TEST(ValidateSelection, LookingUpMachineClassesExpandsTheKeysOnTheWay) {
  ValidationTrees trees;
  trees.Check({"HKEY_LOCAL_MACHINE"}, true);
  ScriptedInteraction ui;
  ValidateSelection(trees.registry.model, trees.drives.model, ui);
  EXPECT_TRUE(trees.registry.Loaded("HKEY_LOCAL_MACHINE").Expanded());
  EXPECT_TRUE(trees.registry.Loaded("HKEY_LOCAL_MACHINE\\SOFTWARE").Expanded());
  EXPECT_EQ(trees.registry.Loaded("HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes").StateIndex(), kStateChecked);
}
