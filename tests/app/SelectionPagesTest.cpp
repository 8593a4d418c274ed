#include <gtest/gtest.h>

#include "app/ErrorReporting.h"
#include "app/Settings.h"
#include "core/CheckStates.h"
#include "platform/SettingsAccess.h"
#include "tests/app/AppTestSupport.h"
#include "tests/capture/TestRegistryKey.h"

// Selecting a key lists its values as the registry layer reads them: sorted by name, the default
// value under its own text, a type without code as an access error.
TEST(SelectionPages, RegistryValueListShowsTheSelectedKeysValues) {
  InitControlsForTests();
  TestRegistryKey key;
  StaticRegScope settings(key.Sub("Settings"), "C:\\");
  key.SetRaw("Values", "", REG_SZ, std::string("d\0", 2));
  key.SetRawDword("Values", "b", 7);
  key.SetRaw("Values", "A", REG_BINARY, "\x01\x02");
  key.SetRaw("Values", "z", 99, "x");

  Session session;
  session.State().programFolder = "C:\\";
  std::vector<std::string> errors;
  auto window = std::make_unique<MainWindow>(session, [&](HWND, const ErrorSource&, std::exception_ptr error) {
    errors.push_back(DescribeError(error).message);
  });
  ASSERT_NE(window->Create(), nullptr);
  session.BuildSelection();
  TreeNode* node = FindTreeNodeByPath("HKEY_CURRENT_USER\\" + key.Sub("Values"), session.Selection().registry, false);
  ASSERT_NE(node, nullptr);

  HWND view = window->Control("RegView");
  NMTREEVIEWA info{};
  info.hdr = {view, static_cast<UINT_PTR>(GetDlgCtrlID(view)), TVN_SELCHANGEDA};
  info.itemNew.lParam = reinterpret_cast<LPARAM>(node);
  SendMessageA(window->Handle(), WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));

  HWND list = window->Control("ListView1");
  const std::vector<std::pair<std::string, std::string>> expected = {
      {ReadRequiredText("DefaultText"), "\"d\""},
      {"A", "Binary(4), 2 bytes: 01 02 "},
      {"b", "$00000007   (7)"},
      {"z", "Registry access error"},
  };
  ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), static_cast<LRESULT>(expected.size()));
  for (size_t row = 0; row < expected.size(); ++row) {
    EXPECT_EQ(ListText(list, static_cast<int>(row), 0), expected[row].first) << row;
    EXPECT_EQ(ListText(list, static_cast<int>(row), 1), expected[row].second) << row;
  }
  EXPECT_TRUE(errors.empty());
  window.reset();
  DrainQuitMessages();
}
