#include <gtest/gtest.h>

#include "tests/compare/CompareFixture.h"

namespace {

Key OldVendor() {
  return Key{"Vendor",
             {Key{"Old", {Key{"Inner", {}, {Sz("i", "1")}}}, {Dword("o", 7)}}},
             {Sz("Path", "C:\\A"), Dword("Mode", 5), Binary("Blob", {1, 2, 3}), Sz("Gone", "x"), Sz("Exp", "%P%", 2)}};
}

Key NewVendor() {
  return Key{"Vendor",
             {Key{"Added", {Key{"Deep", {}, {}}}, {Sz("a", "1")}}},
             {Sz("Path", "C:\\A", 2), Sz("Mode", "5"), Binary("Blob", {1, 2, 4}), Sz("New", "n"), Sz("Exp", "%P%", 2)}};
}

Key FreshKey() { return Key{"Fresh", {}, {Sz("f", "1")}}; }

Configuration Before() {
  Configuration config;
  config.roots = {Key{"HKEY_Local_Machine",
                      {Key{"Software",
                           {Key{"abc", {}, {Sz("v", "1")}}, Key{"Only", {}, {}}, Key{"Same", {}, {Dword("d", 1)}},
                            Key{"Skipped", {}, {Sz("a", "1")}}, OldVendor(), Key{"Zeta", {}, {}}},
                           {}},
                       Key{"SYSTEM",
                           {Key{"ControlSet001", {}, {Dword("x", 1)}}, Key{"CurrentControlSet", {}, {Dword("y", 1)}}},
                           {}}},
                      {}},
                  Key{"HKEY_USERS", {Key{".DEFAULT", {}, {}}}, {}}};
  return config;
}

Configuration After() {
  Configuration config;
  config.roots = {
      Key{"HKEY_CURRENT_CONFIG", {Key{"System", {}, {}}}, {}},
      Key{"HKEY_LOCAL_MACHINE",
          {Key{"Software",
               {Key{"ABC", {}, {Sz("v", "1")}}, Key{"Only", {FreshKey()}, {}}, Key{"Same", {}, {Dword("d", 1)}},
                Key{"Skipped", {Key{"Sub", {}, {}}}, {Sz("a", "2")}}, NewVendor(), Key{"Zeta", {}, {Dword("z", 1)}}},
               {}},
           Key{"SYSTEM",
               {Key{"ControlSet001", {}, {Dword("x", 2)}}, Key{"ControlSet002", {}, {Dword("x", 2)}},
                Key{"CurrentControlSet", {}, {Dword("y", 2)}}},
               {}}},
          {}}};
  return config;
}

Bytes KeyBlock(const Key& key, int32_t kind) {
  return Encode([&](TWriter& w) { WriteKeyRecord(w, key, kind); });
}

}  // namespace

using RegistryCompare = CompareFixture;

TEST_F(RegistryCompare, ReportsKeysAndValuesThatDiffer) {
  // The user left out one key; the numbered control sets are not in the tree and so are not
  // compared either. CurrentControlSet is compared because the user checked it.
  BuildSelection(registrySelection, "My Computer", 5,
                 {{"HKEY_CURRENT_CONFIG", 4},
                  {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Skipped", 3},
                  {"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet", 4},
                  {"HKEY_USERS", 4}});
  Compare(Before(), After());

  EXPECT_EQ(ResultDump(registryResult),
            "My Computer | 0 | 2/2 | children\n"
            "  HKEY_CURRENT_CONFIG | 6 | 0/1\n"
            "  HKEY_LOCAL_MACHINE | 0 | 0/1 | children\n"
            "    Software | 0 | 0/1 | children\n"
            "      Only | 0 | 0/1 | children\n"
            "        Fresh | 6 | 0/1 | block\n"
            "      Vendor | 8 | 0/1 | children | block\n"
            "        Added | 6 | 0/1 | children | block\n"
            "        Old | 7 | 0/1 | children | block\n"
            "      Zeta | 8 | 0/1 | block\n"
            "    SYSTEM | 0 | 0/1 | children\n"
            "      CurrentControlSet | 8 | 0/1 | block\n"
            "  HKEY_USERS | 7 | 0/1\n");

  const auto node = [&](std::vector<std::string> names) -> const TreeNode& {
    names.insert(names.begin(), {"My Computer", "HKEY_LOCAL_MACHINE", "Software"});
    return NodeAt(registryResult, names);
  };
  // Path 1 -> 2 with the same text and Exp unchanged are not reported; Mode 3 -> 1 is.
  EXPECT_EQ(Records(positions.registry, node({"Vendor"}), RecordForm::Registry),
            (std::vector<std::string>{"Blob 11 4: 1 2 3", "Blob 12 4: 1 2 4", "Gone 10 1:\"x\"", "Mode 11 3:5",
                                      "Mode 12 1:\"5\"", "New 9 1:\"n\""}));
  EXPECT_EQ(Records(positions.registry, node({"Zeta"}), RecordForm::Registry), std::vector<std::string>{"z 9 3:1"});
  EXPECT_EQ(Records(positions.registry,
                    NodeAt(registryResult, {"My Computer", "HKEY_LOCAL_MACHINE", "SYSTEM", "CurrentControlSet"}),
                    RecordForm::Registry),
            (std::vector<std::string>{"y 11 3:1", "y 12 3:2"}));

  // New and deleted keys keep their whole subtree, record kinds replaced.
  const Key added = NewVendor().subkeys[0];
  const Key old = OldVendor().subkeys[0];
  EXPECT_EQ(Block(positions.registry, node({"Vendor", "Added"}), KeyBlock(added, 9).size()), KeyBlock(added, 9));
  EXPECT_EQ(Block(positions.registry, node({"Vendor", "Old"}), KeyBlock(old, 10).size()), KeyBlock(old, 10));
  EXPECT_EQ(Block(positions.registry, node({"Only", "Fresh"}), KeyBlock(FreshKey(), 9).size()),
            KeyBlock(FreshKey(), 9));
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(RegistryCompare, OnlyUncheckedAndPartlyCheckedStatesSteerTheWalk) {
  // Below a checked key nothing is looked up any more, whatever the nodes below it say.
  struct Case {
    int softwareState;
    bool skippedReported;
  };
  for (const Case& c : {Case{4, true}, Case{4 + 16, true}, Case{5, false}}) {
    SCOPED_TRACE(c.softwareState);
    BuildSelection(registrySelection, "My Computer", 5,
                   {{"HKEY_LOCAL_MACHINE\\Software", c.softwareState}, {"HKEY_LOCAL_MACHINE\\Software\\Skipped", 3}});
    Configuration before = Before();
    Configuration after = Before();
    after.roots[0].subkeys[0].subkeys[3].values[0].text = "2";
    Compare(before, after);
    const TreeNode& machine = NodeAt(registryResult, {"My Computer", "HKEY_LOCAL_MACHINE"});
    EXPECT_EQ(machine.Count(), c.skippedReported ? 1u : 0u);
  }
}

TEST_F(RegistryCompare, WideKeysAreMergedNotSearched) {
  // Every other subkey and value changes: the nodes and records stay in the order of the walk.
  Key before{"Wide", {}, {}};
  Key after{"Wide", {}, {}};
  for (int i = 0; i < 3000; ++i) {
    const std::string name = "K" + std::to_string(100000 + i);
    before.subkeys.push_back(Key{name, {}, {Dword("v", 1)}});
    after.subkeys.push_back(Key{name, {}, {Dword("v", i % 2 ? 2 : 1)}});
    before.values.push_back(Dword(name, 1));
    after.values.push_back(Dword(name, i % 2 ? 2 : 1));
  }
  Configuration oldConfig, newConfig;
  oldConfig.roots = {Key{"HKEY_USERS", {before}, {}}};
  newConfig.roots = {Key{"HKEY_USERS", {after}, {}}};
  Compare(oldConfig, newConfig);
  const TreeNode& wide = NodeAt(registryResult, {"My Computer", "HKEY_USERS", "Wide"});
  ASSERT_EQ(wide.Count(), 1500u);
  EXPECT_EQ(wide.Child(0)->Text(), "K100001");
  EXPECT_EQ(wide.Child(1499)->Text(), "K102999");
  EXPECT_EQ(Records(positions.registry, wide, RecordForm::Registry).size(), 3000u);
}

// A control set the selection has no node for is not compared, the current one included: the
// default selection leaves them all out, and their device entries change at every start.
TEST_F(RegistryCompare, ControlSetsWithoutASelectionNodeAreNotCompared) {
  struct Case {
    std::vector<std::pair<std::string, int>> selection;
    std::string systemDump;  // the SYSTEM node and below; empty when none
  };
  // Keys that merely hold the word in their names are compared as any other key.
  const std::string others =
      "      MyControlSetBackup | 8 | 0/1 | block\n"
      "      NotCurrentControlSet | 8 | 0/1 | block\n";
  const std::vector<Case> cases = {
      {{{"HKEY_LOCAL_MACHINE\\SYSTEM", 5}}, "    SYSTEM | 0 | 0/1 | children\n" + others},
      {{{"HKEY_LOCAL_MACHINE\\SYSTEM\\ControlSet002", 4}},
       "    SYSTEM | 0 | 0/1 | children\n"
       "      ControlSet002 | 6 | 0/1 | block\n" +
           others},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.systemDump);
    std::vector<std::pair<std::string, int>> selection = c.selection;
    selection.push_back({"HKEY_LOCAL_MACHINE\\Software", 3});
    BuildSelection(registrySelection, "My Computer", 5, selection);
    Configuration before = Before(), after = After();
    before.roots.resize(1);
    after.roots.erase(after.roots.begin());
    for (Configuration* config : {&before, &after}) {
      const int32_t value = config == &before ? 1 : 2;
      std::vector<Key>& system = config->roots[0].subkeys[1].subkeys;
      system.push_back(Key{"MyControlSetBackup", {}, {Dword("m", value)}});
      system.push_back(Key{"NotCurrentControlSet", {}, {Dword("n", value)}});
    }
    Compare(before, after);
    const std::string dump = ResultDump(registryResult);
    const std::string::size_type system = dump.find("    SYSTEM");
    EXPECT_EQ(system == std::string::npos ? "" : dump.substr(system), c.systemDump) << dump;
  }
}

// A value whose type changes is reported even when its data are the same bytes. Each value is
// the only one of its key, so no earlier value's data can make the two sides look different.
TEST_F(RegistryCompare, AValueOfAnotherTypeIsChangedEvenWithTheSameBytes) {
  struct Case {
    RegValue before;
    RegValue after;
    std::vector<std::string> records;  // empty: not reported
  };
  const Case cases[] = {
      {Binary("v", {'a', 0, 0}), Binary("v", {'a', 0, 0}, 7), {"v 11 4: 97 0 0", "v 12 7: 97 0 0"}},
      {Sz("v", ""), Dword("v", 0), {"v 11 1:\"\"", "v 12 3:0"}},
      {Dword("v", 0), Binary("v", {}), {"v 11 3:0", "v 12 4:"}},
      {Sz("v", ""), Binary("v", {}, 0), {"v 11 1:\"\"", "v 12 0:"}},
      {Sz("v", "5"), Dword("v", 5), {"v 11 1:\"5\"", "v 12 3:5"}},
      // Both texts, so the same text: the string and the expandable string are one type here.
      {Sz("v", "x"), Sz("v", "x", 2), {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.records.empty() ? "same" : c.records[1]);
    Configuration before, after;
    before.roots = {Key{"HKEY_USERS", {Key{"K", {}, {c.before}}}, {}}};
    after.roots = {Key{"HKEY_USERS", {Key{"K", {}, {c.after}}}, {}}};
    Compare(before, after);
    const TreeNode& users = NodeAt(registryResult, {"My Computer", "HKEY_USERS"});
    EXPECT_EQ(users.Count(), c.records.empty() ? 0u : 1u);
    if (users.Count() == 1 && !c.records.empty()) {
      EXPECT_EQ(Records(positions.registry, *users.Child(0), RecordForm::Registry), c.records);
    }
  }
}
