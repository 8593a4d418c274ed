#pragma once
// A registry key of the running test's own, HKCU\Software\QuorvelTests\<suite>.<test>, empty
// at the start and deleted at the end: test programs run in parallel in one Wine prefix. The
// raw accessors go around the registry layer, so a check does not trust the code it checks.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "core/Errors.h"

class TestRegistryKey {
 public:
  TestRegistryKey() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : name)
      if (c == '/' || c == '\\') c = '_';
    path_ = "Software\\QuorvelTests\\" + name;
    RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr),
              ERROR_SUCCESS);
  }
  ~TestRegistryKey() {
    RegCloseKey(key_);
    RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
  }
  TestRegistryKey(const TestRegistryKey&) = delete;
  TestRegistryKey& operator=(const TestRegistryKey&) = delete;

  // Below HKEY_CURRENT_USER, without leading backslash.
  const std::string& Path() const { return path_; }
  std::string Sub(const std::string& subPath) const { return path_ + "\\" + subPath; }

  // subPath "" is the test key itself.
  void CreateRaw(const std::string& subPath) const {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(key_, subPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
  }
  bool ExistsRaw(const std::string& subPath) const {
    HKEY key = nullptr;
    if (RegOpenKeyExA(key_, subPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }
  void SetRaw(const std::string& subPath, const std::string& name, DWORD type, const std::string& bytes) const {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(key_, subPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                             static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
    RegCloseKey(key);
  }
  void SetRawDword(const std::string& subPath, const std::string& name, DWORD value) const {
    SetRaw(subPath, name, REG_DWORD, std::string(reinterpret_cast<const char*>(&value), sizeof value));
  }
  // The stored type and bytes as they are; false when the value is missing.
  bool GetRaw(const std::string& subPath, const std::string& name, DWORD& type, std::string& bytes) const {
    HKEY key = nullptr;
    if (RegOpenKeyExA(key_, subPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    DWORD size = 0;
    bool found = RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
    if (found) {
      bytes.assign(size, '\0');
      found = RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()), &size) ==
              ERROR_SUCCESS;
      bytes.resize(size);
    }
    RegCloseKey(key);
    return found;
  }
  bool ValueExistsRaw(const std::string& subPath, const std::string& name) const {
    DWORD type = 0;
    std::string bytes;
    return GetRaw(subPath, name, type, bytes);
  }

 private:
  std::string path_;
  HKEY key_ = nullptr;
};

// Runs f and checks that it raises an error of exactly this kind and text.
template <typename F>
void ExpectRaises(F f, ErrorKind kind, const std::string& text) {
  try {
    f();
    ADD_FAILURE() << "no error, expected \"" << text << "\"";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Kind(), kind) << ErrorKindName(e.Kind()) << ": " << e.Message();
    EXPECT_EQ(e.Message(), text);
  }
}
