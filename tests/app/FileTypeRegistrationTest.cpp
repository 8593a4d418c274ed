#include "app/FileTypeRegistration.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/TMyRegistry.h"

namespace {

constexpr char kExe[] = "C:\\Program Files\\Quorvel Test\\Quorvel.exe";

std::string DefaultValue(HKEY root, const std::string& key) {
  TMyRegistry reg(root, kRegAccessFull);
  if (!reg.OpenKey("\\Software\\Classes\\" + key, false) || !reg.ValueExists("")) return "<none>";
  return reg.ReadString("");
}

void Unregister(HKEY root) {
  for (const char* key : {".SXS", ".SXL", ".SXD"})
    RegDeleteKeyA(root, (std::string("Software\\Classes\\") + key).c_str());
  for (const char* key :
       {"Quorvel\\shell\\open\\command", "Quorvel\\shell\\open", "Quorvel\\shell", "Quorvel\\DefaultIcon", "Quorvel"})
    RegDeleteKeyA(root, (std::string("Software\\Classes\\") + key).c_str());
}

class FileTypeRegistrationTest : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override { Unregister(Root()); }
  void TearDown() override { Unregister(Root()); }
  HKEY Root() const { return FileTypeRoot(GetParam()); }
};

TEST_P(FileTypeRegistrationTest, TypesOpenWithTheQuotedExeAndAreWrittenOnlyWhenTheyDiffer) {
  EXPECT_EQ(Root(), GetParam() ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER);
  EXPECT_TRUE(RegisterFileTypes(kExe, GetParam()));
  for (const char* extension : {".SXS", ".SXL", ".SXD"}) EXPECT_EQ(DefaultValue(Root(), extension), "Quorvel");
  EXPECT_EQ(DefaultValue(Root(), "Quorvel\\shell\\open\\command"), std::string("\"") + kExe + "\" \"%1\"");
  EXPECT_EQ(DefaultValue(Root(), "Quorvel\\DefaultIcon"), std::string("\"") + kExe + "\",1");
  EXPECT_FALSE(RegisterFileTypes(kExe, GetParam())) << "nothing differs the second time";
  EXPECT_TRUE(RegisterFileTypes("C:\\Elsewhere\\Quorvel.exe", GetParam())) << "a moved program is registered anew";
}

INSTANTIATE_TEST_SUITE_P(PerMachineAndPerUser, FileTypeRegistrationTest, ::testing::Bool());

}  // namespace
