#include "app/AddSystemFileDialog.h"

#include <gtest/gtest.h>

#include <fstream>

#include "app/AddSystemFileDialogIds.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/ModalWatcher.h"

namespace {

class AddSystemFileDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = TestFolder("QuorvelAddSystemFile");
    iniFile = folder + "APP.INI";
    std::ofstream(iniFile) << "[Main]\nKey=1\n";
    SetHandlerErrorHook([this](const HandlerSource&, std::exception_ptr error) {
      try {
        std::rethrow_exception(error);
      } catch (const std::exception& e) {
        errors.push_back(e.what());
      }
    });
    form.currentFolder = folder;
    form.chooseFile = [this](const FileDialogSpec& spec, std::string& path) {
      dialogs.push_back(spec);
      if (choice.empty()) return false;
      path = choice;
      return true;
    };
    ASSERT_TRUE(form.Create(nullptr));
    form.Show();
  }
  void TearDown() override {
    SetHandlerErrorHook(nullptr);
    DeleteFileA(iniFile.c_str());
    RemoveDirectoryA(folder.c_str());
  }

  void Enter(const std::string& name, int typeButton) {
    form.Item(IDC_ADD_FILE_NAME).SetText(name);
    form.Item(typeButton).Click();
    form.Send(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(form.Item(IDOK).Handle()));
  }

  std::string folder, iniFile, choice;
  TfAddSystemFile form;
  std::vector<std::string> errors;
  std::vector<FileDialogSpec> dialogs;
};

}  // namespace

TEST_F(AddSystemFileDialogTest, ShowsTheNameFieldTheTypeChoiceAndTheNote) {
  EXPECT_EQ(form.Text(), "Quorvel - Add System File");
  for (const char* text : {"&Filename:", "...", "&INI file (e.g. WIN.INI)", "&TEXT file (e.g. CONFIG.SYS)",
                           "NOTE:\r\nThe program cannot restore text file changes!", "&OK", "&Cancel"})
    EXPECT_TRUE(HasChildText(form, text)) << text;
  EXPECT_EQ(IsDlgButtonChecked(form.Handle(), IDC_ADD_FILE_INI), BST_CHECKED) << "INI is preset";
  EXPECT_EQ(IsDlgButtonChecked(form.Handle(), IDC_ADD_FILE_TEXT), BST_UNCHECKED);
}

TEST_F(AddSystemFileDialogTest, OkAcceptsOnlyAnExistingFileAndStaysOpenOtherwise) {
  const std::string missing = folder + "NONE.INI";
  for (const std::string& name : {missing, std::string("NONE.INI"), std::string()}) {
    SCOPED_TRACE(name);
    errors.clear();
    Enter(name, IDC_ADD_FILE_INI);
    const std::string shown = name.empty() ? folder : missing;  // the folder with its "\"
    EXPECT_EQ(errors, std::vector<std::string>{"Error:  File " + shown + " not found!"});
    EXPECT_TRUE(form.Exists());
  }

  // A name without folder is found in the current folder.
  errors.clear();
  Enter("APP.INI", IDC_ADD_FILE_TEXT);
  EXPECT_TRUE(errors.empty());
  EXPECT_FALSE(form.Exists());
  EXPECT_EQ(form.Result(), IDOK);
  EXPECT_EQ(form.choice.path, iniFile);
  EXPECT_FALSE(form.choice.iniFile);
}

TEST_F(AddSystemFileDialogTest, BrowseFillsTheNameFromTheFileDialog) {
  form.Item(IDC_ADD_FILE_NAME).SetText("C:\\KEEP.INI");
  form.Item(IDC_ADD_FILE_BROWSE).Click();
  EXPECT_EQ(form.Item(IDC_ADD_FILE_NAME).Text(), "C:\\KEEP.INI") << "a cancelled dialog keeps the name";

  choice = iniFile;
  form.Item(IDC_ADD_FILE_BROWSE).Click();
  EXPECT_EQ(form.Item(IDC_ADD_FILE_NAME).Text(), iniFile);
  ASSERT_EQ(dialogs.size(), 2u);
  EXPECT_EQ(dialogs[0].title, "Add System File");
  EXPECT_EQ(dialogs[0].filter, "All files (*.*)|*.*|INI files (*.INI)|*.ini|TEXT files (*.TXT)|*.txt");

  Enter(iniFile, IDC_ADD_FILE_INI);
  EXPECT_EQ(form.choice.path, iniFile);
  EXPECT_TRUE(form.choice.iniFile);
}
