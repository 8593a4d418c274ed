#include "tools/RegistryKeyBackup.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "restore/ShellFileOperations.h"
#include "tests/capture/TestFolder.h"
#include "tests/capture/TestRegistryKey.h"

namespace {

std::string Bytes(const void* data, size_t size) { return std::string(static_cast<const char*>(data), size); }

// Runs a program of the system and waits for it; its exit code.
DWORD RunAndWait(std::string commandLine) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return static_cast<DWORD>(-1);
  WaitForSingleObject(process.hProcess, 60000);
  DWORD code = static_cast<DWORD>(-1);
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

TEST(RegistryKeyBackup, ValuesAndSubKeysAreWrittenParentsFirstInTheInstallExportsSpelling) {
  TestRegistryKey key;
  key.SetRaw("App", "", REG_SZ, Bytes("C:\\Acme \"quoted\"", 17));
  key.SetRaw("App", "Blob", REG_BINARY, Bytes("\x01\xFF", 2));
  key.SetRawDword("App", "Count", 42);
  key.SetRaw("App", "Lines", REG_SZ, Bytes("one\r\ntwo", 9));
  key.SetRaw("App\\Sub", "Path", REG_EXPAND_SZ, Bytes("%A%", 4));
  key.CreateRaw("App\\Sub\\Empty");

  const std::string root = "HKEY_CURRENT_USER\\" + key.Path() + "\\App";
  EXPECT_EQ(RegFileLinesOfKey(HKEY_CURRENT_USER, "HKEY_CURRENT_USER", key.Sub("App")),
            (std::vector<std::string>{
                "REGEDIT4",
                "",
                "[" + root + "]",
                "@=\"C:\\\\Acme \\\"quoted\\\"\"",
                "\"Blob\"=hex:01,FF",
                "\"Count\"=dword:0000002A",
                "\"Lines\"=hex(1):6F,6E,65,0D,0A,74,77,6F,00",
                "",
                "[" + root + "\\Sub]",
                "\"Path\"=hex(2):25,41,25,00",
                "",
                "[" + root + "\\Sub\\Empty]",
                "",
            }));
}

TEST(RegistryKeyBackup, AMissingKeyIsAnErrorAndWritesNoFile) {
  TestRegistryKey key;
  TestFolder folder;
  EXPECT_THROW(SaveKeyToRegFile(HKEY_CURRENT_USER, "HKEY_CURRENT_USER", key.Sub("Missing"), folder.Path()), Exception);
  EXPECT_EQ(CountFolderEntries(folder.Path()), 0u);
}

// What regedit reads back is what was saved: every type, an empty value, a long hex value over
// continuation lines; the same key saved twice keeps both files.
TEST(RegistryKeyBackup, RegeditImportsTheFileBackIntoTheRegistry) {
  TestRegistryKey key;
  TestFolder folder;
  const uint64_t quad = 0x1122334455667788ULL;
  const std::string longBytes(200, '\x5A');
  const struct {
    const char* subKey;
    const char* name;
    DWORD type;
    std::string bytes;
  } values[] = {
      {"App", "", REG_SZ, Bytes("default", 8)},
      {"App", "Count", REG_DWORD, Bytes("\x2A\0\0\0", 4)},
      {"App", "Quad", REG_QWORD, Bytes(&quad, sizeof quad)},
      {"App", "Multi", REG_MULTI_SZ, Bytes("a\0b\0\0", 5)},
      {"App", "Empty", REG_BINARY, ""},
      {"App", "Long", REG_BINARY, longBytes},
      {"App\\Sub\\Deeper", "Expand", REG_EXPAND_SZ, Bytes("%TEMP%\\x", 9)},
  };
  for (const auto& value : values) key.SetRaw(value.subKey, value.name, value.type, value.bytes);

  const std::string first = SaveKeyToRegFile(HKEY_CURRENT_USER, "HKEY_CURRENT_USER", key.Sub("App"), folder.Path());
  const std::string second = SaveKeyToRegFile(HKEY_CURRENT_USER, "HKEY_CURRENT_USER", key.Sub("App"), folder.Path());
  EXPECT_EQ(first.rfind(folder.Path(), 0), 0u) << first;
  EXPECT_NE(first, second);
  EXPECT_EQ(TestFolder::Read(first), TestFolder::Read(second));

  ASSERT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, key.Sub("App").c_str()), ERROR_SUCCESS);
  ASSERT_EQ(RunAndWait("regedit.exe /S \"" + first + "\""), 0u);
  for (const auto& value : values) {
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(key.GetRaw(value.subKey, value.name, type, bytes)) << value.name;
    EXPECT_EQ(type, value.type) << value.name;
    EXPECT_EQ(bytes, value.bytes) << value.name;
  }
}

}  // namespace
