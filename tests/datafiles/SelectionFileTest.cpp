#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>

#include "core/CheckStates.h"
#include "core/Errors.h"
#include "core/ScriptedInteraction.h"
#include "datafiles/SelectionFile.h"
#include "datafiles/TreeBlock.h"
#include "tests/core/FakeRegistryTree.h"
#include "tests/datafiles/StreamBytes.h"
#include "tests/datafiles/TreeDump.h"

namespace {

const char* const kCompatibilityMessage =
    "This file is not 100% compatible with this version of the program.\rCould not load \"Exclude "
    "Files\" "
    "list. Everything else OK";

// The three selection trees of a machine, all unchecked, as the window builds them.
struct Selection {
  FakeRegistryTree registry{{"HKEY_CURRENT_USER", "HKEY_CURRENT_USER\\Software", "HKEY_LOCAL_MACHINE",
                             "HKEY_LOCAL_MACHINE\\SOFTWARE", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor",
                             "HKEY_LOCAL_MACHINE\\SYSTEM", "HKEY_USERS", "HKEY_USERS\\.DEFAULT"}};
  FakeRegistryTree drives{{"C: System", "C: System\\RECYCLED", "C: System\\WINDOWS", "D: Data", "D: Data\\Photos"},
                          "Drives"};
  FakeRegistryTree systemFiles{
      {"WIN.INI", "WIN.INI\\[windows]", "WIN.INI\\[fonts]", "SYSTEM.INI", "Autoexec.bat", "Config.sys"},
      "System Files"};
  std::vector<std::string> excludeList;

  // A typical user's choice: parts of the registry, one drive without its recycle bin, all
  // system files.
  void Choose() {
    SetNodeChecked(*FindTreeNodeByPath("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor", registry.model, false), true);
    SetNodeChecked(*FindTreeNodeByPath("HKEY_USERS", registry.model, false), true);
    TreeNode& system = *FindTreeNodeByPath("C: System", drives.model, false);
    SetNodeChecked(system, true);
    drives.model.Expand(&system);
    SetNodeChecked(drives.Loaded("C: System\\RECYCLED"), false);
    SetNodeChecked(systemFiles.Top(), true);
    excludeList = {"C:\\WINDOWS\\WIN386.SWP", "D:\\Data\\log.txt"};
  }

  std::string Dump() const { return DumpTree(registry.model) + DumpTree(drives.model) + DumpTree(systemFiles.model); }

  Bytes Save() {
    return Encode([&](TWriter& w) { SaveSelections(w, registry.model, drives.model, systemFiles.model, excludeList); });
  }

  // The three tree blocks alone, as an older version wrote them.
  Bytes Blocks() {
    return Encode([&](TWriter& w) {
      for (TreeModel* tree : {&registry.model, &drives.model, &systemFiles.model})
        WriteTreeBlock(w, *tree, true, false);
    });
  }

  void Load(TReader& reader, ScriptedInteraction& ui, const std::function<void()>& treesLoaded = {}) {
    LoadSelections(reader, registry.model, drives.model, systemFiles.model, excludeList, ui, treesLoaded);
  }
};

Bytes Str(std::string_view text) {
  return Encode([&](TWriter& w) { w.WriteString(text); });
}

}  // namespace

TEST(SelectionFile, SavedSelectionsLoadAgain) {
  Selection saved;
  saved.Choose();
  const Bytes file = saved.Save();
  EXPECT_EQ(file, Join({saved.Blocks(), Str("idNocheckFiles"), Hex("02 02"), Str("C:\\WINDOWS\\WIN386.SWP"),
                        Str("D:\\Data\\log.txt")}));

  Selection loaded;
  loaded.excludeList = {"previous entry"};
  TMemoryStream stream(file);
  TReader reader(stream, kStreamBufferSize);
  ScriptedInteraction ui;
  int callbacks = 0;
  loaded.Load(reader, ui, [&] {
    ++callbacks;
    EXPECT_EQ(loaded.Dump(), saved.Dump());
    EXPECT_EQ(loaded.excludeList, std::vector<std::string>{"previous entry"});
  });
  EXPECT_EQ(callbacks, 1);
  EXPECT_EQ(loaded.Dump(), saved.Dump());
  EXPECT_EQ(loaded.excludeList, saved.excludeList);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(reader.Position(), static_cast<int64_t>(file.size()));
}

TEST(SelectionFile, SavingUnloadsUniformRootsInTheWindow) {
  Selection selection;
  selection.Choose();
  TreeNode& users = selection.registry.Loaded("HKEY_USERS");
  selection.registry.model.Expand(&users);
  ASSERT_EQ(users.Count(), 1u);
  selection.Save();
  EXPECT_EQ(users.Count(), 0u);
  EXPECT_FALSE(users.Expanded());
  // Partly checked roots keep what the user opened.
  EXPECT_EQ(selection.drives.Loaded("C: System\\RECYCLED").StateIndex(), kStateUnchecked);
  EXPECT_EQ(selection.registry.Loaded("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor").StateIndex(), kStateChecked);
}

TEST(SelectionFile, AFileWithoutAUsableExcludeListStillLoads) {
  Selection saved;
  saved.Choose();
  const Bytes blocks = saved.Blocks();
  struct Case {
    const char* name;
    Bytes tail;
  };
  const Case cases[] = {
      {"older version, nothing follows", {}},
      {"another marker", Join({Str("idOtherList"), Hex("02 00")})},
      {"list cut short", Join({Str("idNocheckFiles"), Hex("02 03"), Str("C:\\a.txt")})},
      {"negative count", Join({Str("idNocheckFiles"), Hex("02 FF")})},
      {"no string where the marker belongs", Hex("02 05")},
  };
  for (const Case& c : cases) {
    Selection loaded;
    loaded.excludeList = {"C:\\kept.txt"};
    TMemoryStream stream(Join({blocks, c.tail}));
    TReader reader(stream, 16);
    ScriptedInteraction ui;
    loaded.Load(reader, ui);

    EXPECT_EQ(loaded.Dump(), saved.Dump()) << c.name;
    EXPECT_EQ(loaded.excludeList, std::vector<std::string>{"C:\\kept.txt"}) << c.name;
    ASSERT_EQ(ui.messages.size(), 1u) << c.name;
    EXPECT_EQ(ui.messages[0].text, kCompatibilityMessage);
    EXPECT_EQ(ui.messages[0].type, MsgType::Information);
    EXPECT_EQ(ui.messages[0].buttons, MsgButtons::Ok);
    // The reader stands where the list would have begun.
    EXPECT_EQ(reader.Position(), static_cast<int64_t>(blocks.size())) << c.name;
    if (!c.tail.empty()) {
      uint8_t first = 0;
      reader.Read(&first, 1);
      EXPECT_EQ(first, c.tail[0]) << c.name;
    }
  }
}

TEST(SelectionFile, AnErrorInATreeBlockEndsTheLoad) {
  Selection saved;
  saved.Choose();
  Bytes file = saved.Save();
  const size_t registryBlock = Encode([&](TWriter& w) { WriteTreeBlock(w, saved.registry.model, true, false); }).size();
  file[registryBlock + 2] = 'X';  // the drive block's header

  Selection loaded;
  const std::string untouchedDrives = DumpTree(loaded.drives.model);
  TMemoryStream stream(file);
  TReader reader(stream, kStreamBufferSize);
  ScriptedInteraction ui;
  bool treesLoaded = false;
  try {
    loaded.Load(reader, ui, [&] { treesLoaded = true; });
    ADD_FAILURE() << "a damaged file was loaded";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "ERROR: \rThis not a selection file ");
  }
  EXPECT_FALSE(treesLoaded);
  EXPECT_EQ(DumpTree(loaded.registry.model), DumpTree(saved.registry.model));
  EXPECT_EQ(DumpTree(loaded.drives.model), untouchedDrives);
  EXPECT_TRUE(ui.messages.empty());
}

TEST(SelectionFile, FileForms) {
  const auto folder =
      std::filesystem::temp_directory_path() /
      ("quorvel-selection-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
  std::filesystem::create_directories(folder);
  const std::string path = (folder / "Last.SXS").string();

  Selection saved;
  saved.Choose();
  SaveSelections(path, saved.registry.model, saved.drives.model, saved.systemFiles.model, saved.excludeList);
  Selection loaded;
  ScriptedInteraction ui;
  LoadSelections(path, loaded.registry.model, loaded.drives.model, loaded.systemFiles.model, loaded.excludeList, ui,
                 {});
  EXPECT_EQ(loaded.Dump(), saved.Dump());
  EXPECT_EQ(loaded.excludeList, saved.excludeList);

  // A configuration data file is not a selection file; the message names the file.
  const std::string foreign = (folder / "OldCFG.SXD").string();
  {
    TFileStream stream(foreign, FileMode::Create);
    TWriter writer(stream, kStreamBufferSize);
    writer.WriteString("* THIS IS A SNAPTRACE REGISTRATION DATAFILE Ver 4/97 *");
    writer.FlushBuffer();
  }
  try {
    LoadSelections(foreign, loaded.registry.model, loaded.drives.model, loaded.systemFiles.model, loaded.excludeList,
                   ui, {});
    ADD_FAILURE() << "a configuration data file was loaded";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "ERROR: " + foreign + "\rThis not a selection file ");
  }
  EXPECT_EQ(loaded.Dump(), saved.Dump());
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
}
