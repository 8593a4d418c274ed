#include <gtest/gtest.h>

#include <algorithm>

#include "platform/TMyRegistry.h"
#include "tests/capture/TestRegistryKey.h"

namespace {

std::string DwordBytes(DWORD value) { return std::string(reinterpret_cast<const char*>(&value), sizeof value); }

std::vector<std::string> Sorted(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

const char kWriteAccessText[] =
    "TMyRegistry.PutData: You need WriteAccess to write Data, please use property REGACCESS before "
    "OPENKEY";

class TMyRegistryTest : public ::testing::Test {
 protected:
  // Opens the test key (absolute) with the given access.
  void Open(int access, const std::string& sub = "") {
    reg.SetRegAccess(access);
    ASSERT_TRUE(reg.OpenKey("\\" + (sub.empty() ? key.Path() : key.Sub(sub)), false));
  }

  TestRegistryKey key;
  TMyRegistry reg;
};

}  // namespace

TEST(RegDataCode, ExchangesDwordAndBinaryAndKeepsTheRest) {
  const struct {
    int code;
    DWORD platform;
  } cases[] = {
      {0, REG_NONE},
      {1, REG_SZ},
      {2, REG_EXPAND_SZ},
      {3, REG_DWORD},
      {4, REG_BINARY},
      {5, REG_DWORD_BIG_ENDIAN},
      {6, REG_LINK},
      {7, REG_MULTI_SZ},
      {8, REG_RESOURCE_LIST},
      {9, REG_FULL_RESOURCE_DESCRIPTOR},
      {10, REG_RESOURCE_REQUIREMENTS_LIST},
      {11, REG_QWORD},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RegDataCodeToPlatform(c.code), c.platform) << c.code;
    EXPECT_EQ(RegDataCodeToPlatform(c.code | 0x80), c.platform) << "high bit ignored, " << c.code;
    EXPECT_EQ(PlatformToRegDataCode(c.platform), c.code) << c.platform;
  }
}

TEST(RegDataCode, UnknownTypesAndCodesRaise) {
  for (DWORD platform : {12ul, 0x7Ful, 0xFFFFFFFFul})
    ExpectRaises([&] { PlatformToRegDataCode(platform); }, ErrorKind::EMyRegistryException,
                 "unknown Datatype of the Registry");
  for (int code : {12, 0x7F, 0x8C, -1})
    ExpectRaises([&] { RegDataCodeToPlatform(code); }, ErrorKind::EMyRegistryException,
                 "unknown Datatype of the Registry");
}

TEST(RootKeys, LookUpNamesIgnoringCase) {
  const struct {
    const char* name;
    int index;
  } cases[] = {
      {"HKEY_CLASSES_ROOT", 0},
      {"hkey_current_user", 1},
      {"hkey_local_machine", 2},
      {"Hkey_Users", 3},
      {"HKEY_PERFORMANCE_DATA", 4},
      {"HKEY_CURRENT_CONFIG", 5},
      {"hKeY_dYn_DaTa", 6},
      {"HKEY_CURRENT", -1},
      {"HKEY_USERS ", -1},
      {"", -1},
      {"HKLM", -1},
  };
  for (const auto& c : cases) EXPECT_EQ(RootKeyIndex(c.name), c.index) << c.name;
}

TEST(RootKeys, HandlesArePredefinedKeysAndMapBackToNames) {
  for (int i = 0; i < kRootKeyCount; ++i) {
    // Sign-extended on 64-bit, as the platform defines them.
    auto expected = static_cast<ULONG_PTR>(static_cast<LONG_PTR>(static_cast<LONG>(0x80000000u + i)));
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(RootKeyHandle(i)), expected) << i;
    EXPECT_EQ(RootKeyName(RootKeyHandle(i)), kRootKeyNames[i]);
  }
  EXPECT_EQ(RootKeyHandle(-1), nullptr);
  EXPECT_EQ(RootKeyHandle(kRootKeyCount), nullptr);
  EXPECT_EQ(RootKeyName(nullptr), "");

  TMyRegistry reg(RootKeyHandle(RootKeyIndex("hkey_current_user")));
  EXPECT_TRUE(reg.OpenKey("Software", false));
}

TEST(RegAccess, CodesOutsideTheTableRaise) {
  for (int access : {4, -1}) {
    TMyRegistry reg;
    reg.SetRegAccess(access);
    for (bool canCreate : {false, true})
      ExpectRaises([&] { reg.OpenKey("Software", canCreate); }, ErrorKind::Exception, "unknown Accesstype");
    ExpectRaises([&] { reg.CreateKey("Software"); }, ErrorKind::EMyRegistryException,
                 "TMyRegistry.CreateKey: unknown Accesstype");
    ExpectRaises([&] { reg.GetKey("Software"); }, ErrorKind::EMyRegistryException,
                 "TMyRegistry.GetKey: unknown Accesstype");
  }
}

TEST_F(TMyRegistryTest, WritesOnlyThroughKeysOpenedForWriting) {
  const struct {
    int access;
    bool writes;
  } cases[] = {{0, false}, {1, true}, {2, false}, {3, true}};
  for (const auto& c : cases) {
    Open(c.access);
    std::string name = "v" + std::to_string(c.access);
    if (c.writes) {
      reg.WriteInteger(name, 5);
    } else {
      ExpectRaises([&] { reg.WriteInteger(name, 5); }, ErrorKind::EMyRegistryException, kWriteAccessText);
      ExpectRaises([&] { reg.WriteString(name, "x"); }, ErrorKind::EMyRegistryException, kWriteAccessText);
    }
    EXPECT_EQ(key.ValueExistsRaw("", name), c.writes) << c.access;
  }
}

TEST_F(TMyRegistryTest, WriteAccessIsTheOneTheKeyWasOpenedWith) {
  Open(kRegAccessDefault);
  reg.SetRegAccess(kRegAccessFull);
  ExpectRaises([&] { reg.WriteInteger("v", 1); }, ErrorKind::EMyRegistryException, kWriteAccessText);
  reg.CloseKey();
  ExpectRaises([&] { reg.WriteInteger("v", 1); }, ErrorKind::EMyRegistryException, kWriteAccessText);
  EXPECT_FALSE(key.ValueExistsRaw("", "v"));
}

TEST_F(TMyRegistryTest, OpensRelativeAndAbsolutePaths) {
  key.SetRawDword("A", "inA", 1);
  key.SetRawDword("A\\B", "inB", 1);

  ASSERT_TRUE(reg.OpenKey(key.Path(), false));  // no key open: from the root
  EXPECT_EQ(reg.CurrentPath(), key.Path());
  ASSERT_TRUE(reg.OpenKey("A", false));
  EXPECT_EQ(reg.CurrentPath(), key.Sub("A"));
  ASSERT_TRUE(reg.OpenKey("B", false));
  EXPECT_EQ(reg.CurrentPath(), key.Sub("A\\B"));
  EXPECT_TRUE(reg.ValueExists("inB"));

  // A leading backslash starts at the root although a key is open.
  ASSERT_TRUE(reg.OpenKey("\\" + key.Sub("A"), false));
  EXPECT_EQ(reg.CurrentPath(), key.Sub("A"));
  EXPECT_TRUE(reg.ValueExists("inA"));

  ASSERT_TRUE(reg.OpenKey("", false));  // the current key once more
  EXPECT_EQ(reg.CurrentPath(), key.Sub("A"));
  EXPECT_TRUE(reg.ValueExists("inA"));
}

TEST_F(TMyRegistryTest, FailedOpenChangesNothing) {
  Open(kRegAccessFull, "");
  HKEY before = reg.CurrentKey();
  EXPECT_FALSE(reg.OpenKey("Missing", false));
  EXPECT_FALSE(reg.OpenKey("\\" + key.Sub("Missing"), false));
  EXPECT_EQ(reg.CurrentKey(), before);
  EXPECT_EQ(reg.CurrentPath(), key.Path());
  EXPECT_FALSE(key.ExistsRaw("Missing"));
  reg.WriteInteger("stillOpen", 1);  // the old handle is still valid and writable
  EXPECT_TRUE(key.ValueExistsRaw("", "stillOpen"));
}

TEST_F(TMyRegistryTest, OpenWithCreateMakesMissingKeys) {
  Open(kRegAccessFull);
  ASSERT_TRUE(reg.OpenKey("New\\Deeper", true));
  EXPECT_EQ(reg.CurrentPath(), key.Sub("New\\Deeper"));
  EXPECT_TRUE(key.ExistsRaw("New\\Deeper"));
}

TEST_F(TMyRegistryTest, CloseKeyAndNewRootForgetTheCurrentKey) {
  key.CreateRaw("Only");
  Open(kRegAccessDefault);
  reg.CloseKey();
  EXPECT_EQ(reg.CurrentKey(), nullptr);
  EXPECT_EQ(reg.CurrentPath(), "");
  EXPECT_FALSE(reg.OpenKey("Only", false)) << "relative to the root again";

  Open(kRegAccessDefault);
  reg.SetRootKey(HKEY_CURRENT_USER);  // same root: nothing happens
  EXPECT_NE(reg.CurrentKey(), nullptr);
  reg.SetRootKey(HKEY_LOCAL_MACHINE);
  EXPECT_EQ(reg.RootKey(), HKEY_LOCAL_MACHINE);
  EXPECT_EQ(reg.CurrentKey(), nullptr);
  EXPECT_EQ(reg.CurrentPath(), "");
}

TEST_F(TMyRegistryTest, CreateKeyLeavesTheCurrentKey) {
  Open(kRegAccessFull);
  EXPECT_TRUE(reg.CreateKey("X\\Y"));
  EXPECT_TRUE(reg.CreateKey("\\" + key.Sub("Z")));
  EXPECT_TRUE(key.ExistsRaw("X\\Y"));
  EXPECT_TRUE(key.ExistsRaw("Z"));
  EXPECT_EQ(reg.CurrentPath(), key.Path());
}

TEST_F(TMyRegistryTest, FailuresUnderADeletedKeyRaise) {
  key.CreateRaw("Doomed");
  Open(kRegAccessFull, "Doomed");
  ASSERT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, key.Sub("Doomed").c_str()), ERROR_SUCCESS);
  ExpectRaises([&] { reg.CreateKey("Sub"); }, ErrorKind::EMyRegistryException, "Failed to create key Sub");
  ExpectRaises([&] { reg.WriteString("v", "x"); }, ErrorKind::EMyRegistryException, "Failed to set data for 'v'");
}

TEST_F(TMyRegistryTest, DeleteKeyRemovesTheWholeTree) {
  for (const char* sub : {"T\\a\\b\\c", "T\\a\\d", "T\\e", "T\\f", "T\\g\\h"}) key.SetRawDword(sub, "v", 1);
  key.SetRawDword("T", "", 1);
  key.CreateRaw("Keep");
  Open(kRegAccessFull);

  EXPECT_TRUE(reg.DeleteKey("T"));
  EXPECT_FALSE(key.ExistsRaw("T"));
  EXPECT_TRUE(key.ExistsRaw("Keep"));
  EXPECT_FALSE(reg.DeleteKey("T"));
  EXPECT_FALSE(reg.DeleteKey(""));
  EXPECT_FALSE(reg.DeleteKey("\\"));
  EXPECT_TRUE(key.ExistsRaw("Keep"));

  key.SetRawDword("U\\x\\y", "v", 1);
  reg.CloseKey();
  EXPECT_TRUE(reg.DeleteKey("\\" + key.Sub("U")));
  EXPECT_FALSE(key.ExistsRaw("U"));
}

TEST_F(TMyRegistryTest, DeleteValue) {
  key.SetRawDword("", "gone", 1);
  Open(kRegAccessFull);
  EXPECT_TRUE(reg.DeleteValue("gone"));
  EXPECT_FALSE(key.ValueExistsRaw("", "gone"));
  EXPECT_FALSE(reg.DeleteValue("gone"));
}

TEST_F(TMyRegistryTest, ListsSubkeysAndValues) {
  for (const char* sub : {"b", "A", "c\\deeper"}) key.CreateRaw(sub);
  for (const char* name : {"Z", "m", ""}) key.SetRaw("", name, REG_SZ, std::string("x\0", 2));
  Open(kRegAccessDefault);

  TRegKeyInfo info;
  ASSERT_TRUE(reg.GetKeyInfo(info));
  EXPECT_EQ(info.numSubKeys, 3u);
  EXPECT_EQ(info.numValues, 3u);
  EXPECT_EQ(info.maxSubKeyLen, 1u);
  EXPECT_TRUE(reg.HasSubKeys());

  std::vector<std::string> names = {"stale"};
  reg.GetKeyNames(names);
  EXPECT_EQ(Sorted(names), (std::vector<std::string>{"A", "b", "c"}));
  names = {"stale"};
  reg.GetValueNames(names);
  EXPECT_EQ(Sorted(names), (std::vector<std::string>{"", "Z", "m"}));

  ASSERT_TRUE(reg.OpenKey("A", false));
  EXPECT_FALSE(reg.HasSubKeys());
  reg.GetKeyNames(names);
  EXPECT_TRUE(names.empty());
  reg.GetValueNames(names);
  EXPECT_TRUE(names.empty());

  reg.CloseKey();
  EXPECT_FALSE(reg.GetKeyInfo(info));
  reg.GetKeyNames(names);
  EXPECT_TRUE(names.empty());
}

// Name, type and data from one enumeration, whatever the buffers were sized for: the selection
// page lists a key this way and the capture walks every key so.
TEST_F(TMyRegistryTest, ValuesComeWithTypeAndDataAndOutgrowTheBuffers) {
  const std::string big(70000, 'b');
  const std::string longName(300, 'n');
  key.SetRaw("", "", REG_SZ, std::string("d\0", 2));
  key.SetRawDword("", "number", 7);
  key.SetRaw("", longName, REG_BINARY, big);
  key.SetRaw("", "empty", REG_NONE, "");
  Open(kRegAccessDefault);

  std::vector<TRegValue> values = {{"stale", 0, ""}};
  reg.GetValues(values);
  std::sort(values.begin(), values.end(), [](const TRegValue& a, const TRegValue& b) { return a.name < b.name; });
  ASSERT_EQ(values.size(), 4u);
  EXPECT_EQ(values[0].name, "");
  EXPECT_EQ(values[0].type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(values[0].data, std::string("d\0", 2));
  EXPECT_EQ(values[1].name, "empty");
  EXPECT_EQ(values[1].type, static_cast<DWORD>(REG_NONE));
  EXPECT_EQ(values[1].data, "");
  EXPECT_EQ(values[2].name, longName);
  EXPECT_EQ(values[2].data, big);
  EXPECT_EQ(values[3].name, "number");
  EXPECT_EQ(values[3].type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(values[3].data, DwordBytes(7));

  // Buffers sized for another key grow on the platform's "more data".
  RegValueReader reader;
  reader.Prepare(1, 1);
  bool sawBig = false;
  for (DWORD i = 0; i < 4; ++i) {
    ASSERT_EQ(reader.Read(reg.CurrentKey(), i), ERROR_SUCCESS) << i;
    if (reader.Name() != longName) continue;
    sawBig = true;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(reader.Data()), reader.DataSize()), big);
  }
  EXPECT_TRUE(sawBig);
  EXPECT_EQ(reader.Read(reg.CurrentKey(), 4), ERROR_NO_MORE_ITEMS);
  ASSERT_TRUE(reader.ReadName(reg.CurrentKey(), 0));
  EXPECT_EQ(reader.DataSize(), 0u);
  EXPECT_FALSE(reader.ReadName(reg.CurrentKey(), 4));

  reg.CloseKey();
  reg.GetValues(values);
  EXPECT_TRUE(values.empty());
}

TEST_F(TMyRegistryTest, DataInfoMapsEveryPlatformType) {
  for (DWORD type = 0; type <= 11; ++type)
    key.SetRaw("", "t" + std::to_string(type), type, std::string(type, 'a') + '\0');
  Open(kRegAccessDefault);
  for (DWORD type = 0; type <= 11; ++type) {
    std::string name = "t" + std::to_string(type);
    TRegDataInfo info;
    ASSERT_TRUE(reg.GetDataInfo(name, info)) << name;
    EXPECT_EQ(info.regData, PlatformToRegDataCode(type)) << name;
    EXPECT_EQ(info.dataSize, type + 1) << name;
    EXPECT_EQ(reg.GetDataSize(name), static_cast<int>(type + 1));
    EXPECT_EQ(reg.GetDataType(name), info.regData);
  }
  EXPECT_EQ(reg.GetDataType("t4"), kRdInteger);  // REG_DWORD
  EXPECT_EQ(reg.GetDataType("t3"), kRdBinary);   // REG_BINARY
}

TEST_F(TMyRegistryTest, UnknownOrMissingValueHasNoDataInfo) {
  key.SetRaw("", "twelve", 12, "abcd");
  Open(kRegAccessDefault);
  for (const char* name : {"twelve", "missing"}) {
    TRegDataInfo info;
    info.regData = 7;
    EXPECT_FALSE(reg.GetDataInfo(name, info)) << name;
    EXPECT_EQ(info.regData, kRdNone) << name;
    EXPECT_EQ(reg.GetDataSize(name), -1) << name;
    EXPECT_EQ(reg.GetDataType(name), kRdNone) << name;
    EXPECT_FALSE(reg.ValueExists(name)) << name;
  }
}

TEST_F(TMyRegistryTest, ReadStringCutsAtZeroAndExpandsOnlyOnRequest) {
  SetEnvironmentVariableA("QUORVEL_TEST_VAR", "val");
  const struct {
    DWORD type;
    std::string bytes;
    bool expand;
    std::string expected;
  } cases[] = {
      {REG_SZ, std::string("ab\0cd\0", 6), false, "ab"},
      {REG_SZ, std::string("\0", 1), false, ""},
      {REG_SZ, "", false, ""},
      {REG_SZ, "xyz", false, "xyz"},  // no terminating zero stored
      {REG_SZ, std::string("%QUORVEL_TEST_VAR%\0", 19), true, "%QUORVEL_TEST_VAR%"},
      {REG_EXPAND_SZ, std::string("%QUORVEL_TEST_VAR%\\x\0", 21), false, "%QUORVEL_TEST_VAR%\\x"},
      {REG_EXPAND_SZ, std::string("%QUORVEL_TEST_VAR%\\x\0", 21), true, "val\\x"},
  };
  int i = 0;
  for (const auto& c : cases) key.SetRaw("", "s" + std::to_string(i++), c.type, c.bytes);
  Open(kRegAccessDefault);
  i = 0;
  for (const auto& c : cases) {
    std::string name = "s" + std::to_string(i++);
    EXPECT_EQ(reg.ReadString(name, c.expand), c.expected) << name;
  }
  EXPECT_EQ(reg.ReadString("missing"), "");
}

TEST_F(TMyRegistryTest, ReadsOfTheWrongTypeRaise) {
  key.SetRawDword("", "dword", 7);
  key.SetRaw("", "binary", REG_BINARY, DwordBytes(7));
  key.SetRaw("", "text", REG_SZ, std::string("ab\0", 3));
  Open(kRegAccessDefault);
  for (const char* name : {"dword", "binary"})
    ExpectRaises([&] { reg.ReadString(name); }, ErrorKind::EMyRegistryException,
                 std::string("Invalid data type for '") + name + "'");
  for (const char* name : {"binary", "text"})
    ExpectRaises([&] { reg.ReadInteger(name); }, ErrorKind::EMyRegistryException,
                 std::string("Invalid data type for '") + name + "'");
  ExpectRaises([&] { reg.ReadInteger("missing"); }, ErrorKind::EMyRegistryException,
               "Failed to get data for 'missing'");
  char buffer[4];
  int code = 0;
  ExpectRaises([&] { reg.GetData("missing", buffer, sizeof buffer, code); }, ErrorKind::EMyRegistryException,
               "Failed to get data for 'missing'");
}

TEST_F(TMyRegistryTest, WriteStringStoresTheTypeAndTheTerminatingZero) {
  Open(kRegAccessReadWrite);
  reg.WriteString("plain", "abc");
  reg.WriteString("expand", "%X%", kRdExpandString);
  reg.WriteString("empty", "");
  const struct {
    const char* name;
    DWORD type;
    std::string bytes;
  } expected[] = {
      {"plain", REG_SZ, std::string("abc\0", 4)},
      {"expand", REG_EXPAND_SZ, std::string("%X%\0", 4)},
      {"empty", REG_SZ, std::string("\0", 1)},
  };
  for (const auto& e : expected) {
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(key.GetRaw("", e.name, type, bytes)) << e.name;
    EXPECT_EQ(type, e.type) << e.name;
    EXPECT_EQ(bytes, e.bytes) << e.name;
  }
  EXPECT_EQ(reg.ReadString("plain"), "abc");

  for (int code : {kRdNone, kRdInteger, kRdBinary, kRdMultiString})
    ExpectRaises([&] { reg.WriteString("bad", "x", code); }, ErrorKind::EMyRegistryException,
                 "MyRegistry.WriteString: RegDataType must be rdString or rdExpandString");
  EXPECT_FALSE(key.ValueExistsRaw("", "bad"));
}

TEST_F(TMyRegistryTest, IntegersAndBooleansAreDwords) {
  Open(kRegAccessFull);
  reg.WriteInteger("int", -5);
  reg.WriteBool("yes", true);
  reg.WriteBool("no", false);
  const struct {
    const char* name;
    DWORD value;
  } expected[] = {{"int", 0xFFFFFFFBu}, {"yes", 1}, {"no", 0}};
  for (const auto& e : expected) {
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(key.GetRaw("", e.name, type, bytes));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD)) << e.name;
    EXPECT_EQ(bytes, DwordBytes(e.value)) << e.name;
  }
  EXPECT_EQ(reg.ReadInteger("int"), -5);
  EXPECT_TRUE(reg.ReadBool("yes"));
  EXPECT_FALSE(reg.ReadBool("no"));
  key.SetRawDword("", "seven", 7);
  EXPECT_TRUE(reg.ReadBool("seven"));
}

TEST_F(TMyRegistryTest, ReadBinaryDataTakesAnyTypeThatFits) {
  key.SetRaw("", "text", REG_SZ, std::string("hi\0", 3));
  key.SetRaw("", "empty", REG_BINARY, "");
  key.SetRaw("", "multi", REG_MULTI_SZ, std::string("a\0b\0\0", 5));
  Open(kRegAccessDefault);

  char buffer[8] = {};
  EXPECT_EQ(reg.ReadBinaryData("text", buffer, sizeof buffer), 3);
  EXPECT_EQ(std::string(buffer, 3), std::string("hi\0", 3));
  EXPECT_EQ(reg.ReadBinaryData("multi", buffer, 5), 5);
  EXPECT_EQ(std::string(buffer, 5), std::string("a\0b\0\0", 5));
  EXPECT_EQ(reg.ReadBinaryData("empty", buffer, sizeof buffer), 0);
  EXPECT_EQ(reg.ReadBinaryData("missing", buffer, sizeof buffer), 0);
  ExpectRaises([&] { reg.ReadBinaryData("multi", buffer, 4); }, ErrorKind::EMyRegistryException,
               "Invalid data type for 'multi'");
}

TEST_F(TMyRegistryTest, WriteDataConvertsTheCode) {
  Open(kRegAccessFull);
  const struct {
    int code;
    DWORD platform;
  } cases[] = {{kRdInteger, REG_DWORD},
               {kRdBinary, REG_BINARY},
               {kRdIntegerBigEndian, REG_DWORD_BIG_ENDIAN},
               {kRdNone, REG_NONE}};
  const std::string data = DwordBytes(0x01020304);
  for (const auto& c : cases) {
    std::string name = "c" + std::to_string(c.code);
    reg.WriteData(name, data.data(), c.code, static_cast<DWORD>(data.size()));
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(key.GetRaw("", name, type, bytes));
    EXPECT_EQ(type, c.platform) << name;
    EXPECT_EQ(bytes, data) << name;

    char back[4];
    int code = -1;
    EXPECT_EQ(reg.GetData(name, back, sizeof back, code), 4);
    EXPECT_EQ(code, c.code);
  }
  ExpectRaises([&] { reg.WriteData("twelve", data.data(), 12, 4); }, ErrorKind::EMyRegistryException,
               "unknown Datatype of the Registry");
  EXPECT_FALSE(key.ValueExistsRaw("", "twelve"));
}

TEST_F(TMyRegistryTest, GetKeyOpensWithoutChangingTheCurrentKey) {
  key.SetRawDword("Sub", "v", 9);
  Open(kRegAccessDefault);
  HKEY before = reg.CurrentKey();
  UniqueHKey sub = reg.GetKey("Sub");
  ASSERT_TRUE(sub);
  DWORD value = 0;
  DWORD size = sizeof value;
  EXPECT_EQ(RegQueryValueExA(sub.Get(), "v", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size), ERROR_SUCCESS);
  EXPECT_EQ(value, 9u);
  EXPECT_TRUE(reg.GetKey("\\" + key.Sub("Sub")));
  EXPECT_FALSE(reg.GetKey("Missing"));
  EXPECT_EQ(reg.CurrentKey(), before);
  EXPECT_EQ(reg.CurrentPath(), key.Path());
}
