#include <gtest/gtest.h>

#include "platform/SettingsAccess.h"
#include "platform/TMyRegistry.h"
#include "tests/capture/TestRegistryKey.h"

namespace {

const char kReadSettingMissing[] = "Please define staticreg in the finalization clause";
const char kRequiredSettingMissing[] = "Please define StaticReg in the initialization clause";
const char kUnknownType[] = "Unknown variable type while reading registry.";

// A settings object on the test key, installed as StaticReg for the test.
class SettingsAccessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(reg.OpenKey(key.Path(), false));
    previous = SetStaticReg(&reg);
  }
  void TearDown() override { SetStaticReg(previous); }

  TestRegistryKey key;
  TMyRegistry reg{HKEY_CURRENT_USER, kRegAccessFull};
  TMyRegistry* previous = nullptr;
};

}  // namespace

TEST(SettingsAccessWithoutStaticReg, Raises) {
  ASSERT_EQ(StaticReg(), nullptr);
  ExpectRaises([] { ReadSetting("ShowHints", 1); }, ErrorKind::Exception, kReadSettingMissing);
  ExpectRaises([] { ReadRequiredSetting("ShowHints"); }, ErrorKind::Exception, kRequiredSettingMissing);
  ExpectRaises([] { ReadRequiredBool("ShowHints"); }, ErrorKind::Exception, kRequiredSettingMissing);
}

TEST_F(SettingsAccessTest, StringsAndIntegersReadAsTheyAreStored) {
  key.SetRaw("", "Text", REG_SZ, std::string("C:\\\0", 4));
  key.SetRaw("", "Unexpanded", REG_SZ, std::string("%WINDIR%\0", 9));
  key.SetRawDword("", "Number", 0x80000018u);
  EXPECT_EQ(ReadSetting("Text", 0), SettingValue(std::string("C:\\")));
  EXPECT_EQ(ReadRequiredSetting("Unexpanded"), SettingValue(std::string("%WINDIR%")));
  EXPECT_EQ(ReadSetting("Number", "x"), SettingValue(static_cast<int32_t>(0x80000018u)));
  EXPECT_EQ(ReadRequiredSetting("Number"), SettingValue(static_cast<int32_t>(0x80000018u)));
}

TEST_F(SettingsAccessTest, OtherTypesRaise) {
  const struct {
    DWORD type;
    std::string bytes;
  } cases[] = {
      {REG_BINARY, "\x01\x02"}, {REG_EXPAND_SZ, std::string("%X%\0", 4)}, {REG_MULTI_SZ, std::string("a\0\0", 3)},
      {REG_NONE, ""},           {REG_QWORD, std::string(8, '\0')},
  };
  for (const auto& c : cases) {
    key.SetRaw("", "Odd", c.type, c.bytes);
    ExpectRaises([] { ReadSetting("Odd", 0); }, ErrorKind::Exception, kUnknownType);
    ExpectRaises([] { ReadRequiredSetting("Odd"); }, ErrorKind::Exception, kUnknownType);
  }
}

TEST_F(SettingsAccessTest, MissingValueGivesTheDefaultOrRaises) {
  EXPECT_EQ(ReadSetting("Wizard2InInstall", 0), SettingValue(0));
  EXPECT_EQ(ReadSetting("DefaultText", "(default)"), SettingValue(std::string("(default)")));
  ExpectRaises([] { ReadRequiredSetting("EmptyText"); }, ErrorKind::EMyRegistryException,
               "Values have not been initialized - Value: EmptyText");
}

TEST_F(SettingsAccessTest, TypedReadersConvert) {
  key.SetRaw("", "Text", REG_SZ, std::string("12\0", 3));
  key.SetRaw("", "Word", REG_SZ, std::string("yes\0", 4));
  key.SetRawDword("", "Flag", 2);
  key.SetRawDword("", "Off", 0);
  EXPECT_EQ(ReadRequiredInt("Text"), 12);
  EXPECT_EQ(ReadRequiredText("Flag"), "2");
  EXPECT_TRUE(ReadRequiredBool("Flag"));
  EXPECT_FALSE(ReadRequiredBool("Off"));
  EXPECT_EQ(ReadRequiredText("Text"), "12");
  ExpectRaises([] { ReadRequiredInt("Word"); }, ErrorKind::EConvertError, "'yes' is not a valid integer value");
}

TEST(StaticRegInstall, ReturnsWhatWasInstalledBefore) {
  TMyRegistry first;
  TMyRegistry second;
  EXPECT_EQ(SetStaticReg(&first), nullptr);
  EXPECT_EQ(SetStaticReg(&second), &first);
  EXPECT_EQ(StaticReg(), &second);
  EXPECT_EQ(SetStaticReg(nullptr), &second);
  EXPECT_EQ(StaticReg(), nullptr);
}
