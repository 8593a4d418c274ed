#pragma once
// What the tests of the cleaning tools' windows share: the program file whose settings key
// holds each tool's section (cleared before and after every test), the errors the windows'
// handlers report, and the duplicate finder's drive tree ticked down to one folder.

#include <gtest/gtest.h>

#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "app/ErrorReporting.h"
#include "core/CheckStates.h"
#include "tests/app/AppTestSupport.h"
#include "tools/DuplicatesWindow.h"

inline constexpr const char* kToolExePath = "C:\\QuorvelToolTest.exe";
inline constexpr const char* kToolSettingsKey = "Software\\VXN\\QuorvelToolTest";
inline constexpr const char* kToolSettingsPath = "Software\\VXN\\QuorvelToolTest\\1.0";

class ToolWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitControlsForTests();
    RegDeleteTreeA(HKEY_CURRENT_USER, kToolSettingsKey);
    SetHandlerErrorHook(
        [this](const HandlerSource&, std::exception_ptr error) { errors.push_back(DescribeError(error).message); });
  }
  void TearDown() override {
    SetHandlerErrorHook(nullptr);
    RegDeleteTreeA(HKEY_CURRENT_USER, kToolSettingsKey);
    DrainQuitMessages();
  }

  std::vector<std::string> errors;
};

// Ticks a folder on drive C: in the form's drive tree, which leaves the drive partly checked:
// the search walks only that folder.
inline void TickFolder(TfDouble& form, const std::string& folder) {
  const auto childNamed = [](TreeNode* parent, const std::string& name) -> TreeNode* {
    for (size_t i = 0; i < parent->Count(); ++i)
      if (_stricmp(parent->Child(i)->Text().c_str(), name.c_str()) == 0) return parent->Child(i);
    return nullptr;
  };
  TreeModel& tree = form.DriveTree();
  TreeNode* node = tree.FirstTop();
  ASSERT_EQ(node->Text(), "Drives");
  TreeNode* drive = nullptr;
  for (size_t i = 0; i < node->Count() && !drive; ++i)
    if (node->Child(i)->Text().rfind("C:", 0) == 0) drive = node->Child(i);
  ASSERT_NE(drive, nullptr);
  node = drive;
  // "C:\users\...\Temp\Fixture\" below the drive, folder by folder.
  size_t at = 3;
  while (at < folder.size()) {
    const size_t end = folder.find('\\', at);
    tree.Expand(node);
    node = childNamed(node, folder.substr(at, end - at));
    ASSERT_NE(node, nullptr) << folder.substr(0, end);
    at = end + 1;
  }
  ClickStateImage(*node);
  ASSERT_EQ(drive->StateIndex(), kStatePartlyChecked);
}
