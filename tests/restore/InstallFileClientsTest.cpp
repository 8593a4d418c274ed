// The install files as the platform's own clients read them: regedit imports the .REG file,
// setupapi installs the INF files. Each test works on a scratch key under HKEY_CURRENT_USER
// and scratch files of its own, and removes them.

#include <gtest/gtest.h>
#include <windows.h>

#include "datafiles/RegDataCode.h"
#include "tests/restore/InstallExportFixture.h"

namespace {

// Runs a command line of the system's programs and waits for it; its exit code, or -1.
int RunAndWait(const std::string& commandLine) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::string line = commandLine;
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    ADD_FAILURE() << "cannot start " << commandLine << ": " << GetLastError();
    return -1;
  }
  const DWORD waited = WaitForSingleObject(process.hProcess, 120000);
  DWORD exitCode = static_cast<DWORD>(-1);
  if (waited == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &exitCode);
  EXPECT_EQ(waited, WAIT_OBJECT_0) << commandLine << " did not end";
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(exitCode);
}

void InstallInf(const std::string& infPath) {
  RunAndWait("rundll32.exe setupapi.dll,InstallHinfSection DefaultInstall 128 " + infPath);
}

struct StoredValue {
  bool found = false;
  DWORD type = 0;
  std::string data;
};

StoredValue QueryValue(const std::string& key, const std::string& name) {
  StoredValue value;
  HKEY handle;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return value;
  DWORD size = 0;
  if (RegQueryValueExA(handle, name.c_str(), nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
    value.data.resize(size);
    value.found = RegQueryValueExA(handle, name.c_str(), nullptr, &value.type,
                                   reinterpret_cast<BYTE*>(value.data.data()), &size) == ERROR_SUCCESS;
    value.data.resize(size);
  }
  RegCloseKey(handle);
  return value;
}

bool KeyExists(const std::string& key) {
  HKEY handle;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
  RegCloseKey(handle);
  return true;
}

void SetText(const std::string& key, const std::string& name, const std::string& text) {
  HKEY handle;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(handle, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>(text.size() + 1));
  RegCloseKey(handle);
}

Bytes AsBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

std::string ByteText(int count, int step) {
  std::string bytes;
  for (int i = 0; i < count; ++i) bytes.push_back(static_cast<char>(i * step));
  return bytes;
}

// A configuration whose HKEY_CURRENT_USER\Software holds the given keys.
Configuration WithSoftwareKeys(std::vector<Key> keys) {
  Configuration config;
  config.roots = {Key{"HKEY_CURRENT_USER", {Key{"Software", std::move(keys), {}}}, {}}};
  return config;
}

}  // namespace

class InstallFileClients : public InstallExportFixture {
 protected:
  void SetUp() override {
    InstallExportFixture::SetUp();
    scratch = "QuorvelTestExport" + std::to_string(GetCurrentProcessId());
    scratchKey = "Software\\" + scratch;
    RegDeleteTreeA(HKEY_CURRENT_USER, scratchKey.c_str());
  }
  void TearDown() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, scratchKey.c_str());
    InstallExportFixture::TearDown();
  }

  std::string scratch;
  std::string scratchKey;
};

TEST_F(InstallFileClients, RegeditImportsEveryValueForm) {
  struct Case {
    RegValue value;
    std::string stored;  // the data the registry must hold afterwards
  };
  const std::string multi("one\0two\0\0", 9);
  const std::vector<Case> cases = {
      {Sz("", "default"), std::string("default", 8)},
      {Sz("Text", "C:\\dir \"quoted\" 100%"), std::string("C:\\dir \"quoted\" 100%", 21)},
      {Sz("Quo\"te\\name", "v"), std::string("v", 2)},
      {Sz("Lines", "first\r\nsecond"), std::string("first\r\nsecond", 14)},
      {Sz("Expand", "%TEMP%\\x", 2), std::string("%TEMP%\\x", 9)},
      {Dword("Number", 0x12345678), std::string("\x78\x56\x34\x12", 4)},
      {Dword("Negative", -2), std::string("\xFE\xFF\xFF\xFF", 4)},
      {Binary("Binary", AsBytes(ByteText(100, 3))), ByteText(100, 3)},
      {Binary("EmptyBinary", {}), ""},
      {Binary("None", {1, 2}, 0), std::string("\x01\x02", 2)},
      {Binary("BigEndian", {0, 0, 0, 1}, 5), std::string("\0\0\0\x01", 4)},
      {Binary("Link", AsBytes(std::string("l\0k\0", 4)), 6), std::string("l\0k\0", 4)},
      {Binary("Multi", AsBytes(multi), 7), multi},
      {Binary("ResourceList", {8, 8}, 8), std::string("\x08\x08", 2)},
      {Binary("FullResource", {9}, 9), std::string("\x09", 1)},
      {Binary("Requirements", {10, 10}, 10), std::string("\x0A\x0A", 2)},
      {Binary("QWord", AsBytes(ByteText(8, 17)), 11), ByteText(8, 17)},
  };
  std::vector<RegValue> values;
  for (const Case& c : cases) values.push_back(c.value);
  Compare(WithSoftwareKeys({Key{scratch, {Key{"Chg", {}, {Sz("v", "old")}}}, {}}}),
          WithSoftwareKeys({Key{scratch, {Key{"Chg", {}, {Sz("v", "new")}}, Key{"New", {}, values}}, {}}}));
  ASSERT_TRUE(Export(InstallExportCommand::Registry));

  EXPECT_EQ(RunAndWait("regedit.exe /S \"" + Path("Setup.REG") + "\""), 0);
  for (const Case& c : cases) {
    const StoredValue stored = QueryValue(scratchKey + "\\New", c.value.name);
    ASSERT_TRUE(stored.found) << c.value.name;
    EXPECT_EQ(stored.type, RegDataCodeToPlatform(c.value.code)) << c.value.name;
    EXPECT_EQ(stored.data, c.stored) << c.value.name;
  }
  EXPECT_EQ(QueryValue(scratchKey + "\\Chg", "v").data, std::string("new", 4));
}

TEST_F(InstallFileClients, SetupDeletesTheDeletedKeysAndValues) {
  for (const char* name : {"Drop", "50%\"off", "%Author%", "Keep"}) SetText(scratchKey + "\\Chg", name, "x");
  SetText(scratchKey + "\\Chg", "Quorvel", "must stay");
  SetText(scratchKey + "\\Gone\\Child", "V", "v");
  SetText(scratchKey + "\\Gone", "W", "w");
  const Key gone{"Gone", {Key{"Child", {}, {Sz("V", "v")}}}, {Sz("W", "w")}};
  Compare(WithSoftwareKeys({Key{scratch,
                                {Key{"Chg",
                                     {},
                                     {Sz("Drop", "x"), Sz("50%\"off", "x"), Sz("%Author%", "x"), Sz("Keep", "x"),
                                      Sz("Quorvel", "must stay")}},
                                 gone},
                                {}}}),
          WithSoftwareKeys({Key{scratch, {Key{"Chg", {}, {Sz("Keep", "x"), Sz("Quorvel", "must stay")}}}, {}}}));
  ASSERT_TRUE(Export(InstallExportCommand::Registry));

  InstallInf(Path("Setup_del.INF"));
  EXPECT_FALSE(KeyExists(scratchKey + "\\Gone"));
  for (const char* name : {"Drop", "50%\"off", "%Author%"})
    EXPECT_FALSE(QueryValue(scratchKey + "\\Chg", name).found) << name;
  // "%Author%" must not be read as the [Strings] key, which would delete the value "Quorvel".
  EXPECT_TRUE(QueryValue(scratchKey + "\\Chg", "Quorvel").found);
  EXPECT_TRUE(QueryValue(scratchKey + "\\Chg", "Keep").found);
}

TEST_F(InstallFileClients, SetupAppliesTheIniChanges) {
  const std::string ini = Path("T.INI");
  {
    std::ofstream out(ini, std::ios::binary);
    out << "[main]\r\nchg=a\r\ngone=x\r\nkeep=k\r\n";
  }
  Configuration before, after;
  before.systemFiles = {
      SystemFile{ini + "(INI)", {IniSection{"[main]", {{"chg", "a"}, {"gone", "x"}, {"keep", "k"}}}}, {}}};
  after.systemFiles = {SystemFile{
      ini + "(INI)",
      {IniSection{"[main]", {{"chg", "b"}, {"keep", "k"}, {"add", "1"}}}, IniSection{"[Extra]", {{"e", "50% \"q\""}}}},
      {}}};
  Compare(before, after);
  ASSERT_TRUE(Export(InstallExportCommand::SystemFiles));

  InstallInf(Path("Setup_add.INF"));
  const auto entry = [&](const char* section, const char* name) {
    char buffer[256];
    const DWORD length = GetPrivateProfileStringA(section, name, "(missing)", buffer, sizeof buffer, ini.c_str());
    return std::string(buffer, length);
  };
  EXPECT_EQ(entry("main", "chg"), "b");
  EXPECT_EQ(entry("main", "add"), "1");
  EXPECT_EQ(entry("main", "keep"), "k");
  EXPECT_EQ(entry("Extra", "e"), "50% \"q\"");
  // Removing "gone=x" is in the file ("...,\"gone=x\","), but Wine's setupapi handles an
  // UpdateInis line by writing its new entry only: an empty one leaves the old entry in place.
}
