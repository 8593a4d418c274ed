#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "capture/CaptureThreads.h"
#include "datafiles/ChunkedMemoryStream.h"
#include "capture/OwnPlaces.h"
#include "capture/SectionCaptures.h"
#include "platform/TMyRegistry.h"
#include "core/CheckStates.h"
#include "core/TextCompare.h"
#include "tests/capture/CaptureTestSupport.h"
#include "tests/capture/TestRegistryKey.h"

using namespace std::string_literals;

namespace {

using Progress = CaptureHost::Progress;

class RegistryCaptureTest : public ::testing::Test {
 protected:
  // The key record of the test key, with the key's path as the walk's path.
  std::string CaptureTestKey() {
    return Captured([&](TWriter& w) { WriteRegistryKeyRecord(w, host, HKEY_CURRENT_USER, key.Path()); });
  }

  TestRegistryKey key;
  ScriptedInteraction ui;
  RecordingHost host{ui};
};

std::string Le32(uint32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); }

}  // namespace

TEST_F(RegistryCaptureTest, SubkeysAndValuesAreSortedAndOnlyTheFirstLevelShowsProgress) {
  for (const char* subkey : {"b", "A", "c", "b\\inner"}) key.CreateRaw(subkey);
  key.SetRaw("b\\inner", "deep", REG_SZ, "x\0"s);
  key.SetRaw("", "Z", REG_SZ, "z\0"s);
  key.SetRawDword("", "m", 5);
  key.SetRaw("", "", REG_SZ, "default\0"s);

  Bytes expected;
  expected.Int(3)
      .Str("A")
      .Empty()
      .Str("b")
      .Int(1)
      .Str("inner")
      .Int(0)
      .Int(1)
      .Str("deep")
      .Int(21)
      .Int(1)
      .Str("x")
      .Int(0)
      .Str("c")
      .Empty()
      .Int(3)
      .Str("")
      .Int(21)
      .Int(1)
      .Str("default")
      .Str("m")
      .Int(21)
      .Int(3)
      .Int(5)
      .Str("Z")
      .Int(21)
      .Int(1)
      .Str("z");
  EXPECT_EQ(Hex(CaptureTestKey()), Hex(expected.Get()));
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(host.shown, (std::vector<Progress>{{"", 3, 0}, {"", 3, 0}, {"", 3, 1}, {"", 3, 2}}));
}

// Every type's payload, and what a value that cannot be read or typed leaves in the record.
TEST_F(RegistryCaptureTest, EveryValueTypeIsWrittenAsItsCodeAndPayload) {
  const std::string path = key.Path();
  const std::string longText(300, 'L');
  struct Case {
    std::string name;
    DWORD type;
    std::string data;
    Bytes payload;  // code and payload
    std::string message;
  };
  const std::vector<Case> cases = {
      {"sz", REG_SZ, "C:\\A\0"s, Bytes().Int(1).Str("C:\\A"), ""},
      {"sz cut", REG_SZ, "ab\0cd\0"s, Bytes().Int(1).Str("ab"), ""},
      {"sz empty", REG_SZ, "", Bytes().Int(1).Str(""), ""},
      {"sz long", REG_SZ, longText + '\0', Bytes().Int(1).Str(longText), ""},
      {"expand", REG_EXPAND_SZ, "%WINDIR%\\x\0"s, Bytes().Int(2).Str("%WINDIR%\\x"), ""},
      {"dword", REG_DWORD, Le32(5), Bytes().Int(3).Int(5), ""},
      {"dword high", REG_DWORD, Le32(0x80000018u), Bytes().Int(3).Int(static_cast<int32_t>(0x80000018u)), ""},
      {"dword short", REG_DWORD, "\x34\x12"s, Bytes().Int(3).Int(0x1234), ""},
      {"dword long", REG_DWORD, Le32(7) + Le32(8), Bytes().Int(3).Int(0),
       "Failed to get data for 'dword long'\rInvalid value in:" + path +
           ", Value:dword long\rUnable to read value. Corrupt registry!"},
      {"binary empty", REG_BINARY, "", Bytes().Int(4).Int(0), ""},
      {"binary", REG_BINARY, "\x00\xff\x10"s, Bytes().Int(4).Int(3).Raw("\x00\xff\x10"s), ""},
      {"multi", REG_MULTI_SZ, "a\0b\0\0\0"s, Bytes().Int(7).Int(6).Raw("a\0b\0\0\0"s), ""},
      {"qword", REG_QWORD, "\1\2\3\4\5\6\7\x08"s, Bytes().Int(11).Int(8).Raw("\1\2\3\4\5\6\7\x08"s), ""},
      {"none", REG_NONE, "xy", Bytes().Int(0).Int(2).Raw("xy"), ""},
      {"big endian", REG_DWORD_BIG_ENDIAN, "\0\0\0\5"s, Bytes().Int(5).Int(4).Raw("\0\0\0\5"s), ""},
      {"type 12", 12, "ab", Bytes().Int(1).Str(""),
       "ERROR accessing registry key:\r" + path + ">type 12<7\rUnable to determine data type!"},
      {"", 0x7fffffff, "ab", Bytes().Int(1).Str(""), ""},  // the unnamed value: no message
  };
  for (const Case& c : cases) key.SetRaw("", c.name, c.type, c.data);

  std::vector<const Case*> sorted;
  for (const Case& c : cases) sorted.push_back(&c);
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const Case* a, const Case* b) { return CompareTextLocale(a->name, b->name) < 0; });
  Bytes expected;
  expected.Int(0).Int(static_cast<int32_t>(cases.size()));
  std::vector<std::string> messages;
  for (const Case* c : sorted) {
    expected.Str(c->name).Int(21).Append(c->payload);
    if (!c->message.empty()) messages.push_back(c->message);
  }
  EXPECT_EQ(Hex(CaptureTestKey()), Hex(expected.Get()));
  EXPECT_EQ(ui.Texts(), messages);
  for (const auto& m : ui.messages) {
    EXPECT_EQ(m.type, MsgType::Error);
    EXPECT_EQ(m.buttons, MsgButtons::Ok);
  }
}

// A name the ANSI code page cannot spell is enumerated as "?", and "?" finds neither the key
// nor the value.
TEST_F(RegistryCaptureTest, KeysThatCannotBeOpenedAndNamesThatCannotBeSpelledAreEmpty) {
  key.CreateRaw("locked");
  key.SetRaw("locked", "hidden", REG_SZ, "x\0"s);
  HKEY raw = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, key.Sub("locked").c_str(), 0, WRITE_DAC, &raw), ERROR_SUCCESS);
  // An empty access list lets nobody open the key; a missing one lets everybody, for cleaning up.
  struct Unlock {
    HKEY key;
    ~Unlock() {
      SECURITY_DESCRIPTOR open;
      InitializeSecurityDescriptor(&open, SECURITY_DESCRIPTOR_REVISION);
      SetSecurityDescriptorDacl(&open, TRUE, nullptr, FALSE);
      RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &open);
      RegCloseKey(key);
    }
  } unlock{raw};
  SECURITY_DESCRIPTOR closed;
  InitializeSecurityDescriptor(&closed, SECURITY_DESCRIPTOR_REVISION);
  ACL emptyAcl;
  InitializeAcl(&emptyAcl, sizeof emptyAcl, ACL_REVISION);
  SetSecurityDescriptorDacl(&closed, TRUE, &emptyAcl, FALSE);
  ASSERT_EQ(RegSetKeySecurity(raw, DACL_SECURITY_INFORMATION, &closed), ERROR_SUCCESS);
  HKEY probe = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key.Sub("locked").c_str(), 0, KEY_READ, &probe) == ERROR_SUCCESS) {
    RegCloseKey(probe);
    GTEST_SKIP() << "this platform opens a key whose access list is empty";
  }

  HKEY testKey = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, key.Path().c_str(), 0, KEY_ALL_ACCESS, &testKey), ERROR_SUCCESS);
  HKEY unspellable = nullptr;
  ASSERT_EQ(RegCreateKeyExW(testKey, L"\x4e2d", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &unspellable, nullptr),
            ERROR_SUCCESS);
  RegSetValueExW(unspellable, L"v", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"x"), 4);
  RegCloseKey(unspellable);
  ASSERT_EQ(RegSetValueExW(testKey, L"\x4e2d", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"x"), 4), ERROR_SUCCESS);
  RegCloseKey(testKey);

  Bytes expected;
  expected.Int(2).Str("?").Empty().Str("locked").Empty().Int(1).Str("?").Int(21).Int(1).Str("");
  EXPECT_EQ(Hex(CaptureTestKey()), Hex(expected.Get()));
  EXPECT_EQ(ui.Texts(), std::vector<std::string>{"ERROR accessing registry key:\r" + key.Path() +
                                                 ">?<1\rUnable to determine data type!"});
}

namespace {

// The walk as the registry layer spells it: names listed first, then every value queried by its
// name, sorted with the locale compare itself.
void ReferenceKeyRecord(TWriter& w, HKEY root, const std::string& path, std::vector<std::string>& messages) {
  TMyRegistry reg(root, kRegAccessDefault);
  reg.OpenKey(path, false);
  std::vector<std::string> names;
  reg.GetKeyNames(names);
  names.erase(std::remove(names.begin(), names.end(), ""), names.end());
  std::stable_sort(names.begin(), names.end(), TextLess);
  w.WriteInteger(static_cast<int32_t>(names.size()));
  for (const std::string& name : names) {
    w.WriteString(name);
    ReferenceKeyRecord(w, root, path.empty() ? name : path + "\\" + name, messages);
  }
  reg.GetValueNames(names);
  std::stable_sort(names.begin(), names.end(), TextLess);
  w.WriteInteger(static_cast<int32_t>(names.size()));
  for (const std::string& name : names) {
    w.WriteString(name);
    w.WriteInteger(21);
    TRegDataInfo info;
    if (!reg.GetDataInfo(name, info)) {
      w.WriteInteger(1);
      w.WriteString("");
      if (!name.empty())
        messages.push_back("ERROR accessing registry key:\r" + path + ">" + name + "<" + std::to_string(name.size()) +
                           "\rUnable to determine data type!");
      continue;
    }
    w.WriteInteger(info.regData);
    std::string text;
    int32_t integer = 0;
    std::vector<uint8_t> bytes(info.dataSize);
    try {
      if (info.regData == 1 || info.regData == 2) {
        text = reg.ReadString(name, false);
      } else if (info.regData == 3) {
        integer = reg.ReadInteger(name);
      } else if (reg.ReadBinaryData(name, bytes.data(), info.dataSize) != static_cast<int>(info.dataSize)) {
        throw Exception("ERROR reading registry\r" + path);
      }
    } catch (const Exception& e) {
      text.clear();
      integer = 0;
      bytes.clear();
      messages.push_back(e.Message() + "\rInvalid value in:" + path + ", Value:" + name +
                         "\rUnable to read value. Corrupt registry!");
    }
    if (info.regData == 1 || info.regData == 2) {
      w.WriteString(text);
    } else if (info.regData == 3) {
      w.WriteInteger(integer);
    } else {
      w.WriteInteger(static_cast<int32_t>(bytes.size()));
      w.Write(bytes.data(), bytes.size());
    }
  }
}

}  // namespace

// A tree of the machine's own keys and values: strings, expandable strings, integers, binary
// data and string lists, in a few hundred keys.
TEST(RegistryCapture, WritesWhatAWalkThroughTheRegistryLayerWrites) {
  const std::string path = "Software\\Microsoft\\Windows NT\\CurrentVersion";
  std::vector<std::string> referenceMessages;
  std::string reference =
      Captured([&](TWriter& w) { ReferenceKeyRecord(w, HKEY_LOCAL_MACHINE, path, referenceMessages); });
  ScriptedInteraction ui;
  RecordingHost host{ui};
  std::string captured = Captured([&](TWriter& w) { WriteRegistryKeyRecord(w, host, HKEY_LOCAL_MACHINE, path); });
  EXPECT_GT(reference.size(), 10000u) << "too little to compare";
  ASSERT_EQ(captured.size(), reference.size());
  EXPECT_TRUE(captured == reference) << "first difference at byte "
                                     << std::mismatch(captured.begin(), captured.end(), reference.begin()).first -
                                            captured.begin();
  EXPECT_EQ(ui.Texts(), referenceMessages);
}

namespace {

// Records on which thread the model told its observers about changes.
class ThreadRecorder : public TreeModelObserver {
 public:
  std::vector<DWORD> threads;
  void NodeInserted(TreeNode&) override { threads.push_back(GetCurrentThreadId()); }
  void NodeRemoving(TreeNode&) override { threads.push_back(GetCurrentThreadId()); }
  void NodeChanged(TreeNode&) override { threads.push_back(GetCurrentThreadId()); }
  void UpdateBegun() override { threads.push_back(GetCurrentThreadId()); }
  void UpdateEnded() override { threads.push_back(GetCurrentThreadId()); }
};

struct NodeState {
  std::string path;
  int stateIndex;
  bool expanded;
  bool operator==(const NodeState&) const = default;
};

std::vector<NodeState> States(const TreeModel& tree) {
  std::vector<NodeState> states;
  tree.ForEach([&](TreeNode& n) { states.push_back({n.Path(), n.StateIndex(), n.Expanded()}); });
  return states;
}

}  // namespace

// Under Wine HKEY_PERFORMANCE_DATA opens but lists nothing: a root whose record is known.
TEST(RegistrySection, RootsComeInAlphabeticalOrderAndTheTreeIsOnlyCollapsedOnTheMainThread) {
  TreeModel tree;
  TreeNode* top = tree.Add(nullptr, {.text = "My Computer", .stateIndex = kStatePartlyChecked});
  tree.Add(top, {.text = "HKEY_PERFORMANCE_DATA", .stateIndex = kStateChecked});
  tree.Add(top, {.text = "HKEY_CLASSES_ROOT", .stateIndex = kStateUnchecked});
  TreeNode* dyn = tree.Add(top, {.text = "HKEY_DYN_DATA", .stateIndex = kStatePartlyChecked});
  tree.Add(dyn, {.text = "Config Manager", .stateIndex = kStateChecked});
  tree.Expand(top);
  tree.Expand(dyn);
  tree.Expand(dyn->Child(0));
  std::vector<NodeState> before = States(tree);

  ScriptedInteraction directUi;
  RecordingHost direct{directUi};
  std::string dynRecord = Captured([&](TWriter& w) { WriteRegistryKeyRecord(w, direct, HKEY_DYN_DATA, ""); });

  ScriptedInteraction ui;
  ThreadRecorder recorder;
  tree.AddObserver(&recorder);
  MainThreadCalls calls;
  auto memory = std::make_unique<TChunkedMemoryStream>();
  TChunkedMemoryStream& out = *memory;
  TWriteRegThread thread(calls, ui, tree, std::move(memory));
  thread.Start();
  calls.WaitUntil([&] { return thread.Finished(); }, {});
  thread.Join();
  tree.RemoveObserver(&recorder);
  ASSERT_FALSE(thread.Failure()) << thread.Failure()->message;

  thread.Writer().FlushBuffer();
  const std::vector<uint8_t> written = out.Bytes();
  Bytes expected;
  expected.Begin().Str("HKEY_DYN_DATA").Raw(dynRecord).Str("HKEY_PERFORMANCE_DATA").Empty().End();
  EXPECT_EQ(Hex(std::string(written.begin(), written.end())), Hex(expected.Get()));

  // Same nodes, order and states; all collapsed but the top node.
  std::vector<NodeState> after = States(tree);
  for (NodeState& n : before) n.expanded = n.path == "My Computer";
  EXPECT_EQ(after, before);
  ASSERT_FALSE(recorder.threads.empty());
  for (DWORD id : recorder.threads) EXPECT_EQ(id, GetCurrentThreadId());

  const std::vector<std::string>& status = ui.statusTexts[static_cast<int>(StatusChannel::Main)];
  ASSERT_FALSE(status.empty());
  EXPECT_EQ(status.front(), " Registry:HKEY_DYN_DATA");
  EXPECT_NE(std::find(status.begin(), status.end(), " Registry:HKEY_PERFORMANCE_DATA"), status.end());
  EXPECT_EQ(status.back(), " Status");
  EXPECT_EQ(ui.progressPosition[0], 0);
}

TEST(RegistrySection, UncheckedRootsAreLeftOutAndUnknownRootsFail) {
  struct Case {
    const char* what;
    std::vector<std::pair<std::string, int>> roots;  // below the top node
    std::string bytes;                               // empty: the capture fails
  };
  const Case cases[] = {
      {"no tree", {}, "\x01\x00"s},
      {"all unchecked", {{"HKEY_LOCAL_MACHINE", kStateUnchecked}, {"HKEY_USERS", kStateUnchecked}}, "\x01\x00"s},
      {"unknown root", {{"HKEY_NOT_A_ROOT", kStateChecked}}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TreeModel tree;
    if (!c.roots.empty()) {
      TreeNode* top = tree.Add(nullptr, "My Computer");
      for (const auto& [text, state] : c.roots) tree.Add(top, {.text = text, .stateIndex = state});
    }
    ScriptedInteraction ui;
    RecordingHost host{ui};
    if (c.bytes.empty()) {
      ExpectRaises([&] { Captured([&](TWriter& w) { CaptureRegistrySection(w, tree, host); }); }, ErrorKind::Exception,
                   "HKEY_NOT_A_ROOT is not a root key of the registry.");
      continue;
    }
    EXPECT_EQ(Hex(Captured([&](TWriter& w) { CaptureRegistrySection(w, tree, host); })), Hex(c.bytes));
    EXPECT_EQ(host.shown, (std::vector<Progress>{{" Status", 0, 0}}));
  }
}

// The settings key is left out with everything below it, by either of its paths; its parent
// and siblings stay.
TEST_F(RegistryCaptureTest, OwnKeysAreLeftOutUnderBothTheirPaths) {
  for (const char* subkey : {"Own\\Settings\\Forms", "Own\\Other", "Zed"}) key.CreateRaw(subkey);
  key.SetRawDword("Own\\Settings", "s", 1);
  const OwnPlaces own = BuildOwnPlaces("C:\\Q\\Quorvel.exe", "C:\\Q\\", "", "", key.Sub("Own\\Settings"));
  host.ownPlaces = &own;

  Bytes expected;
  expected.Int(2).Str("Own").Int(1).Str("Other").Empty().Int(0).Str("Zed").Empty().Int(0);
  EXPECT_EQ(Hex(CaptureTestKey()), Hex(expected.Get()));

  std::string alias;
  for (const std::string& ownKey : own.Keys())
    if (ownKey.rfind("HKEY_USERS\\", 0) == 0) alias = ownKey;
  ASSERT_FALSE(alias.empty());
  const std::string usersPath = alias.substr(11, alias.size() - 11 - std::string("\\Own\\Settings").size());
  EXPECT_EQ(Hex(Captured([&](TWriter& w) { WriteRegistryKeyRecord(w, host, HKEY_USERS, usersPath); })),
            Hex(expected.Get()));
}
