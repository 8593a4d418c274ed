#include <gtest/gtest.h>
#include <windows.h>
TEST(Wine, RegistryWorks) {
  HKEY k; ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\QuorvelTest", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr), ERROR_SUCCESS);
  RegCloseKey(k); RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\QuorvelTest");
}
