#pragma once
// A font registration key of the running test's own under HKEY_LOCAL_MACHINE (the font tools
// read the machine's key), empty at the start and deleted at the end. Values are written and
// read around the registry layer, so a check does not trust the code it checks.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

class FontMachineKey {
 public:
  FontMachineKey() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = std::string("SOFTWARE\\QuorvelTests\\Fonts_") + info->test_suite_name() + "." + info->name();
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, path_.c_str());
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
  }
  ~FontMachineKey() { RegDeleteTreeA(HKEY_LOCAL_MACHINE, path_.c_str()); }
  FontMachineKey(const FontMachineKey&) = delete;
  FontMachineKey& operator=(const FontMachineKey&) = delete;

  const std::string& Path() const { return path_; }

  void Set(const std::string& name, const std::string& file) const {
    ASSERT_EQ(RegSetKeyValueA(HKEY_LOCAL_MACHINE, path_.c_str(), name.c_str(), REG_SZ, file.c_str(),
                              static_cast<DWORD>(file.size() + 1)),
              ERROR_SUCCESS);
  }
  void SetNumber(const std::string& name, DWORD number) const {
    ASSERT_EQ(RegSetKeyValueA(HKEY_LOCAL_MACHINE, path_.c_str(), name.c_str(), REG_DWORD, &number, sizeof number),
              ERROR_SUCCESS);
  }
  bool Has(const std::string& name) const {
    return RegGetValueA(HKEY_LOCAL_MACHINE, path_.c_str(), name.c_str(), RRF_RT_ANY, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
  }

 private:
  std::string path_;
};
