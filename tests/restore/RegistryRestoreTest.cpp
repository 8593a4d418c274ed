#include "compare/ResultRecords.h"
#include "restore/RegistryRestore.h"
#include "tests/capture/TestRegistryKey.h"
#include "tests/restore/RestoreFixture.h"

namespace {

std::string Sz(const std::string& text) { return text + '\0'; }

class RegistryRestoreTest : public RestoreFixture {
 protected:
  void SetUp() override { places.key = key.Path(); }

  std::vector<std::string> KeyNames(const std::string& sub = "") {
    std::vector<std::string> names{"HKEY_CURRENT_USER"};
    for (const std::string& name : PathNames(key.Path() + (sub.empty() ? "" : "\\" + sub))) names.push_back(name);
    return names;
  }
  std::string KeyPath(const std::string& sub = "") {
    return "HKEY_CURRENT_USER\\" + key.Path() + (sub.empty() ? "" : "\\" + sub);
  }
  std::vector<ToDoItem> Run(bool executing, int flags = kRestoreDefault, std::vector<FilterRow>* filter = nullptr,
                            TreeNode* root = nullptr) {
    return RestoreFixture::Run(RestoreRegistry, registryResult, executing, flags, filter, root);
  }
  // The kinds of the key node's records as the log holds them now, by name.
  std::vector<std::string> RecordKinds(const std::string& sub = "") {
    std::vector<ResultRow> rows;
    ReadRegistryRows(*Node(registryResult, KeyNames(sub)), logFile, positions, "(default)", "", rows);
    std::vector<std::string> kinds;
    for (const ResultRow& row : rows) kinds.push_back(row.caption + " " + std::to_string(row.kind));
    return kinds;
  }

  TestRegistryKey key;
};

TEST_F(RegistryRestoreTest, EveryKindOfChangeIsListedInWalkOrderThenUndoneAndMarkedInTheLog) {
  key.SetRaw("", "", REG_SZ, Sz("d1"));
  key.SetRaw("", "Keep", REG_SZ, Sz("a"));
  key.SetRaw("", "Change", REG_SZ, Sz("old"));
  key.SetRawDword("", "Gone", 5);
  key.SetRaw("", "Bin", REG_BINARY, "\x01\x02");
  key.SetRaw("Old\\Deep", "V", REG_EXPAND_SZ, Sz("%TEMP%"));
  key.CreateRaw("Old\\Empty");
  Record([&] {
    key.SetRaw("", "", REG_SZ, Sz("d2"));
    key.SetRaw("", "New", REG_SZ, Sz("n"));
    key.SetRaw("", "Change", REG_SZ, Sz("new"));
    key.SetRaw("", "Bin", REG_BINARY, "\x03");
    RegDeleteKeyValueA(HKEY_CURRENT_USER, key.Path().c_str(), "Gone");
    RegDeleteTreeA(HKEY_CURRENT_USER, key.Sub("Old").c_str());
    key.SetRawDword("Added\\Inner", "X", 1);
    key.SetRaw("Added", "A", REG_SZ, Sz(""));
  });
  const std::string logBefore = FileBytes(logFile);

  const std::vector<std::string> expected = {
      "Delete Value | " + KeyPath("Added\\Inner") + " | X | $00000001   (1) | To Do",
      "Delete Key | " + KeyPath("Added") + " | Inner |  | To Do",
      "Delete Value | " + KeyPath("Added") + " | A | \"(value not set)\" | To Do",
      "Delete Key | " + KeyPath() + " | Added |  | To Do",
      "Create Key | " + KeyPath() + " | Old |  | To Do",
      "Create Key | " + KeyPath("Old") + " | Deep |  | To Do",
      "Restore Deleted Value | " + KeyPath("Old\\Deep") + " | V | \"%TEMP%\" | To Do",
      "Create Key | " + KeyPath("Old") + " | Empty |  | To Do",
      "Changed, restore old value. | " + KeyPath() + " | (default) | \"d1\" | To Do",
      "Changed, restore old value. | " + KeyPath() + " | Bin | Binary(4), 2 bytes: 01 02  | To Do",
      "Changed, restore old value. | " + KeyPath() + " | Change | \"old\" | To Do",
      "Restore Deleted Value | " + KeyPath() + " | Gone | $00000005   (5) | To Do",
      "Delete Value | " + KeyPath() + " | New | \"n\" | To Do",
  };
  EXPECT_EQ(Rows(Run(false)), expected);
  EXPECT_EQ(FileBytes(logFile), logBefore) << "listing writes nothing";
  EXPECT_TRUE(key.ValueExistsRaw("", "New")) << "listing changes nothing";

  const std::vector<ToDoItem> done = Run(true);
  ASSERT_EQ(done.size(), expected.size());
  for (const ToDoItem& item : done) EXPECT_EQ(item.status, kStatusDone) << RowText(item);
  ExpectBackToBefore();
  DWORD type = 0;
  std::string data;
  ASSERT_TRUE(key.GetRaw("Old\\Deep", "V", type, data));
  EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));

  // The marks are in the log, in place: the same length, and a loaded log shows them.
  EXPECT_EQ(FileBytes(logFile).size(), logBefore.size());
  ReloadLog();
  EXPECT_EQ(Node(registryResult, KeyNames("Added"))->StateIndex(), kKindNew | kRestoredBit);
  EXPECT_EQ(Node(registryResult, KeyNames("Old"))->StateIndex(), kKindDeleted | kRestoredBit);
  EXPECT_EQ(Node(registryResult, KeyNames())->StateIndex(), kKindChanged | kRestoredBit);
  EXPECT_EQ(RecordKinds(), (std::vector<std::string>{"(default) 27", "(default) 28", "Bin 27", "Bin 28", "Change 27",
                                                     "Change 28", "Gone 26", "New 25"}));

  EXPECT_TRUE(Run(false).empty()) << "restored changes are skipped";
  EXPECT_EQ(Run(false, kRestoreDefault | kRestoreAgain).size(), expected.size());
}

TEST_F(RegistryRestoreTest, AFailedItemKeepsItsKindAndIsOfferedAgain) {
  Record([&] {
    key.SetRaw("", "New", REG_SZ, Sz("n"));
    key.SetRaw("", "New2", REG_SZ, Sz("m"));
  });
  RegDeleteKeyValueA(HKEY_CURRENT_USER, key.Path().c_str(), "New");  // gone before the restore

  EXPECT_EQ(RowsWithoutValues(Run(true)),
            (std::vector<std::string>{"Delete Value | " + KeyPath() + " | New | Not done. Error:Value not found.",
                                      "Delete Value | " + KeyPath() + " | New2 | OK, Done"}));
  EXPECT_FALSE(key.ValueExistsRaw("", "New2"));
  EXPECT_EQ(RecordKinds(), (std::vector<std::string>{"New 9", "New2 25"}));
  EXPECT_EQ(RowsWithoutValues(Run(false)),
            (std::vector<std::string>{"Delete Value | " + KeyPath() + " | New | To Do"}));
}

TEST_F(RegistryRestoreTest, ADeletedValueOfAKeyThatIsGoneCreatesTheKey) {
  key.SetRaw("Sub", "V", REG_SZ, Sz("v"));
  key.SetRaw("Sub", "W", REG_SZ, Sz("w"));
  Record([&] { RegDeleteKeyValueA(HKEY_CURRENT_USER, key.Sub("Sub").c_str(), "V"); });
  RegDeleteTreeA(HKEY_CURRENT_USER, key.Sub("Sub").c_str());

  Run(true);
  DWORD type = 0;
  std::string data;
  ASSERT_TRUE(key.GetRaw("Sub", "V", type, data));
  EXPECT_EQ(data, Sz("v"));
}

TEST_F(RegistryRestoreTest, AFilterListRestoresOnlyTheChosenValueAndBothHalvesOfItsChange) {
  key.SetRaw("", "A", REG_SZ, Sz("old"));
  key.SetRaw("Other", "Kept", REG_SZ, Sz("k"));
  Record([&] {
    key.SetRaw("", "A", REG_SZ, Sz("new"));
    key.SetRaw("", "B", REG_SZ, Sz("b"));
    key.SetRaw("Sub", "C", REG_SZ, Sz("c"));
    key.SetRaw("Other", "A", REG_SZ, Sz("same name, another record"));
  });
  TreeNode* node = Node(registryResult, KeyNames());
  std::vector<ResultRow> rows;
  ReadRegistryRows(*node, logFile, positions, "(default)", "", rows);
  std::vector<FilterRow> filter = FilterOf(rows, {1});  // the new side of A
  ASSERT_EQ(filter.size(), 3u);

  EXPECT_EQ(RowsWithoutValues(Run(true, kRestoreDefault, &filter, node)),
            (std::vector<std::string>{"Changed, restore old value. | " + KeyPath() + " | A | OK, Done"}));
  EXPECT_TRUE(filter[0].selected) << "the old side joined the selection";
  DWORD type = 0;
  std::string data;
  ASSERT_TRUE(key.GetRaw("", "A", type, data));
  EXPECT_EQ(data, Sz("old"));
  EXPECT_TRUE(key.ValueExistsRaw("", "B"));
  EXPECT_TRUE(key.ValueExistsRaw("Other", "A")) << "the record chosen, not every record of its name";
  EXPECT_TRUE(key.ExistsRaw("Sub")) << "node operations are left out with a filter list";
  EXPECT_FALSE(node->Cut());
  EXPECT_EQ(RecordKinds(), (std::vector<std::string>{"A 27", "A 28", "B 9"}));
}

TEST_F(RegistryRestoreTest, ALogThatIsMissingTruncatedOrAlreadyRestoredChangesNothing) {
  Record([&] { key.SetRaw("", "New", REG_SZ, Sz("n")); });
  const std::string log = FileBytes(logFile);

  DeleteFileA(logFile.c_str());
  EXPECT_THROW(Run(true), Exception);
  EXPECT_TRUE(key.ValueExistsRaw("", "New"));

  ScratchFolder::WriteFile(logFile, log.substr(0, static_cast<size_t>(positions.registry.baseOffset) + 45));
  const std::string truncated = FileBytes(logFile);
  EXPECT_THROW(Run(true), EReadError);
  EXPECT_TRUE(key.ValueExistsRaw("", "New"));
  EXPECT_EQ(FileBytes(logFile), truncated) << "a pass that failed writes no marks";

  ScratchFolder::WriteFile(logFile, log);
  ASSERT_EQ(Run(true).size(), 1u);
  key.SetRaw("", "New", REG_SZ, Sz("set again by the user"));
  EXPECT_TRUE(Run(true).empty());
  EXPECT_TRUE(key.ValueExistsRaw("", "New"));
}

TEST_F(RegistryRestoreTest, AnExecutingPassNeedsALogThatTakesItsMarks) {
  Record([&] { key.SetRaw("", "New", REG_SZ, Sz("n")); });
  const std::string log = FileBytes(logFile);
  ASSERT_TRUE(SetFileAttributesA(logFile.c_str(), FILE_ATTRIBUTE_READONLY));
  try {
    Run(true);
    ADD_FAILURE() << "a read-only log must stop the pass";
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message().rfind("The log file " + logFile + " cannot be written", 0), 0u) << error.Message();
  }
  SetFileAttributesA(logFile.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_TRUE(key.ValueExistsRaw("", "New")) << "nothing is undone that could not be marked";
  EXPECT_EQ(FileBytes(logFile), log);
}

TEST_F(RegistryRestoreTest, KindsTheFlagsLeaveOutAndNodesNotUndoneStayOffered) {
  key.SetRaw("", "Change", REG_SZ, Sz("old"));
  Record([&] {
    key.SetRaw("", "Change", REG_SZ, Sz("new"));
    key.SetRaw("", "New", REG_SZ, Sz("n"));
    key.SetRaw("Added", "A", REG_SZ, Sz("a"));
  });
  Run(true, kRestoreDeletions | kRestoreModifications);
  EXPECT_EQ(RecordKinds(), (std::vector<std::string>{"Change 27", "Change 28", "New 9"}));
  EXPECT_EQ(Node(registryResult, KeyNames("Added"))->StateIndex(), kKindNew) << "its deletion was left out";
  EXPECT_FALSE(Node(registryResult, KeyNames())->Cut()) << "something below it is still to be undone";

  EXPECT_EQ(RowsWithoutValues(Run(false)),
            (std::vector<std::string>{"Delete Value | " + KeyPath("Added") + " | A | To Do",
                                      "Delete Key | " + KeyPath() + " | Added | To Do",
                                      "Delete Value | " + KeyPath() + " | New | To Do"}));
  Run(true);
  EXPECT_FALSE(key.ExistsRaw("Added"));
  EXPECT_FALSE(key.ValueExistsRaw("", "New"));
  EXPECT_TRUE(Run(false).empty());
}

TEST_F(RegistryRestoreTest, TheProgramsOwnSettingsAreNeverChangedByAnUndo) {
  Record([&] {
    key.SetRaw("Settings\\1.0", "BackupFiles", REG_DWORD, std::string(4, '\0'));
    key.SetRaw("", "v", REG_SZ, Sz("v"));
  });
  ownPlaces.AddKey(KeyPath("Settings\\1.0"));
  const std::string own = "Not done. Error:This is a setting of Quorvel itself; an undo never changes it.";
  EXPECT_EQ(RowsWithoutValues(Run(true)),
            (std::vector<std::string>{"Delete Value | " + KeyPath("Settings\\1.0") + " | BackupFiles | " + own,
                                      "Delete Key | " + KeyPath("Settings") + " | 1.0 | " + own,
                                      "Delete Key | " + KeyPath() +
                                          " | Settings | Not done. Error:Key kept: it holds the settings of "
                                          "Quorvel itself.",
                                      "Delete Value | " + KeyPath() + " | v | OK, Done"}));
  EXPECT_TRUE(key.ValueExistsRaw("Settings\\1.0", "BackupFiles"));
}

TEST_F(RegistryRestoreTest, NamesTheCodePageCannotSpellAreNeverActedOnByAnotherName) {
  HKEY wide = nullptr;
  Record([&] {
    const std::wstring keyPath = std::wstring(key.Path().begin(), key.Path().end()) + L"\\\u65e5\u672c";
    ASSERT_EQ(
        RegCreateKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &wide, nullptr),
        ERROR_SUCCESS);
    HKEY main = nullptr;
    RegOpenKeyExA(HKEY_CURRENT_USER, key.Path().c_str(), 0, KEY_ALL_ACCESS, &main);
    // One name the code page spells as "?", one it spells as another name ("O", best fit).
    for (const wchar_t* name : {L"\u65e5", L"\u03a9"})
      RegSetValueExW(main, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(L"w"), 4);
    RegCloseKey(main);
    key.SetRaw("", "plain", REG_SZ, Sz("p"));
  });
  const std::string unspelled =
      "holds characters that this program cannot spell; nothing was done, so that no "
      "other key or value is changed.";
  EXPECT_EQ(
      RowsWithoutValues(Run(true)),
      (std::vector<std::string>{"Delete Key | " + KeyPath() + " | ?? | Not done. Error:The name \"??\" " + unspelled,
                                "Delete Value | " + KeyPath() + " | ? | Not done. Error:The name \"?\" " + unspelled,
                                "Delete Value | " + KeyPath() + " | O | Not done. Error:Value not found.",
                                "Delete Value | " + KeyPath() + " | plain | OK, Done"}));
  EXPECT_FALSE(key.ValueExistsRaw("", "plain"));
  HKEY main = nullptr;
  RegOpenKeyExA(HKEY_CURRENT_USER, key.Path().c_str(), 0, KEY_READ, &main);
  for (const wchar_t* name : {L"\u65e5", L"\u03a9"})
    EXPECT_EQ(RegQueryValueExW(main, name, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  RegCloseKey(main);
  EXPECT_EQ(RegQueryInfoKeyW(wide, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr, nullptr),
            ERROR_SUCCESS)
      << "the key is still there";
  RegCloseKey(wide);
}

// Counters of shared files: the real SharedDlls key, with names of this test only.
class SharedCounterTest : public RegistryRestoreTest {
 protected:
  void SetUp() override {
    places.root = HKEY_LOCAL_MACHINE;
    places.rootName = "HKEY_LOCAL_MACHINE";
    places.key = kSharedKey;
    for (const char* name : {"raised.dll", "created.dll", "deleted.dll", "missing.dll"})
      counters.push_back(data / name);
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSharedKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &shared, nullptr),
              ERROR_SUCCESS);
    Clean();
  }
  void TearDown() override {
    Clean();
    RegCloseKey(shared);
  }
  void Clean() {
    for (const std::string& name : counters) RegDeleteValueA(shared, name.c_str());
  }
  void SetCounter(const std::string& name, DWORD value) {
    RegSetValueExA(shared, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  }
  // The counter, or -100 when it is missing.
  int Counter(const std::string& name) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegQueryValueExA(shared, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) !=
        ERROR_SUCCESS)
      return -100;
    return static_cast<int>(value);
  }
  std::vector<ToDoItem> RunShared(bool executing) {
    return RestoreFixture::Run(RestoreRegistry, registryResult, executing);
  }

  static constexpr const char* kSharedKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";
  ScratchFolder data{"data"};
  std::vector<std::string> counters;  // raised, created, deleted, missing
  HKEY shared = nullptr;
};

TEST_F(SharedCounterTest, CountersAreAdjustedByTheDifferenceAndAFileAtZeroIsOfferedForDeletion) {
  data.File("created.dll", "x");
  SetCounter(counters[0], 2);
  SetCounter(counters[2], 1);
  Record([&] {
    SetCounter(counters[0], 3);
    SetCounter(counters[1], 1);
    RegDeleteValueA(shared, counters[2].c_str());
  });
  SetCounter(counters[0], 7);  // another installation counts too meanwhile

  const std::string path = std::string(kSharedDllsKeyPath);
  EXPECT_EQ(
      Rows(RunShared(false)),
      (std::vector<std::string>{"Decrement Counter | " + path + " | " + counters[1] + " | $FFFFFFFF   (-1) | To Do",
                                "Increment Counter | " + path + " | " + counters[2] + " | $00000001   (1) | To Do",
                                "Decrement Counter | " + path + " | " + counters[0] + " | $FFFFFFFF   (-1) | To Do"}));

  prompt.answers = {{true, false}};
  const std::vector<ToDoItem> done = RunShared(true);
  ASSERT_EQ(done.size(), 3u);
  for (const ToDoItem& item : done) EXPECT_EQ(item.status, kStatusDone) << RowText(item);
  EXPECT_EQ(Counter(counters[0]), 6);
  EXPECT_EQ(Counter(counters[1]), -100) << "a counter at zero is deleted";
  EXPECT_EQ(Counter(counters[2]), 1);
  EXPECT_FALSE(ScratchFolder::Exists(counters[1]));
  ASSERT_EQ(prompt.asked.size(), 1u);
  EXPECT_EQ(prompt.asked[0].which, SharedFileCase::CounterAtZero);
  EXPECT_EQ(prompt.asked[0].path, counters[1]);
}

TEST_F(SharedCounterTest, AKeptFileLeavesTheCounterDeletedAndAFailedDeletionPutsTheCounterBack) {
  data.File("created.dll", "x");
  Record([&] {
    SetCounter(counters[1], 1);
    SetCounter(counters[3], 1);  // its file does not exist
  });
  settings.handleSharedDLLs = 0;
  prompt.answers = {{false, false}, {true, false}};
  EXPECT_EQ(RowsWithoutValues(RunShared(true)),
            (std::vector<std::string>{"Decrement Counter | " + std::string(kSharedDllsKeyPath) + " | " + counters[1] +
                                          " | Shared file, not deleted.",
                                      "Decrement Counter | " + std::string(kSharedDllsKeyPath) + " | " + counters[3] +
                                          " | Not done. Error:File not found!"}));
  EXPECT_TRUE(ScratchFolder::Exists(counters[1]));
  EXPECT_EQ(Counter(counters[1]), -100);
  EXPECT_EQ(Counter(counters[3]), 1) << "put back, so doing the item again does not count twice";
  EXPECT_EQ(RowsWithoutValues(RunShared(false)),
            (std::vector<std::string>{"Decrement Counter | " + std::string(kSharedDllsKeyPath) + " | " + counters[3] +
                                      " | To Do"}));
}

TEST_F(SharedCounterTest, APassThatEndsHalfwayNeverCountsTwice) {
  counters.push_back(data / "zzz.dll");
  SetCounter(counters[0], 2);
  Record([&] {
    SetCounter(counters[0], 3);
    SetCounter(counters[4], 1);
  });
  // A damaged record after the raised counter ends the pass outside the items' traps.
  std::string log = FileBytes(logFile);
  const size_t name = log.rfind(counters[4]);
  ASSERT_NE(name, std::string::npos);
  log[name + counters[4].size()] = '\xEE';
  ScratchFolder::WriteFile(logFile, log);

  EXPECT_THROW(RunShared(true), EReadError);
  EXPECT_EQ(Counter(counters[0]), 2);
  EXPECT_THROW(RunShared(true), EReadError);
  EXPECT_EQ(Counter(counters[0]), 2) << "the second pass must not lower the counter again";
}

TEST_F(RegistryRestoreTest, AnAddedSharedDllsKeyIsNeverDeletedOnlyItsCountersAdjusted) {
  const auto path = [](TWriter& w, const std::function<void()>& inner) {
    w.WriteString("HKEY_LOCAL_MACHINE");
    for (const char* name : {"SOFTWARE", "Microsoft", "Windows"}) {
      w.WriteInteger(1);
      w.WriteString(name);
    }
    inner();
    for (int i = 0; i < 4; ++i) w.WriteInteger(0);
  };
  WriteHandMadeConfiguration(
      files / "before.SXD",
      [&](TWriter& w) {
        path(w, [&] {
          w.WriteInteger(1);
          w.WriteString("CurrentVersion");
          w.WriteInteger(0);
          w.WriteInteger(0);
        });
      },
      [](TWriter&) {});
  WriteHandMadeConfiguration(
      files / "after.SXD",
      [&](TWriter& w) {
        path(w, [&] {
          w.WriteInteger(1);
          w.WriteString("CurrentVersion");
          w.WriteInteger(1);
          w.WriteString("SharedDlls");
          w.WriteInteger(0);
          w.WriteInteger(1);
          w.WriteString("C:\\APP\\X.DLL");
          w.WriteInteger(21);
          w.WriteInteger(3);
          w.WriteInteger(1);
          w.WriteInteger(0);
        });
      },
      [](TWriter&) {});
  CompareSnapshots("before.SXD", "after.SXD");
  EXPECT_EQ(Rows(Run(false)), (std::vector<std::string>{"Decrement Counter | " + std::string(kSharedDllsKeyPath) +
                                                        " | C:\\APP\\X.DLL | $FFFFFFFF   (-1) | To Do"}));
}

TEST(RegistryValueText, BinaryDataShows201BytesAndIsCutAt600Characters) {
  const std::string text = RegistryValueText(4, std::string(300, '\xAB'), "");
  EXPECT_EQ(text.substr(0, 30), "Binary(4), 300 bytes: AB AB AB");
  EXPECT_EQ(text.size(), 603u);
  EXPECT_EQ(text.substr(600), "...");
  EXPECT_EQ(RegistryValueText(4, std::string(3, '\x01'), ""), "Binary(4), 3 bytes: 01 01 01 ");
  EXPECT_EQ(RegistryValueText(1, "", "(value not set)"), "\"(value not set)\"");
}

}  // namespace
