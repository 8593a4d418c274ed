#include <gtest/gtest.h>

#include "app/CompareDialog.h"
#include "app/CompareDialogIds.h"
#include "core/Errors.h"
#include "tests/app/ModalWatcher.h"

namespace {

struct FileDialogCall {
  FileDialogSpec spec;
  bool save;
};

class CompareDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetHandlerErrorHook([this](const HandlerSource&, std::exception_ptr error) {
      try {
        std::rethrow_exception(error);
      } catch (const std::exception& e) {
        errors.push_back(e.what());
      }
    });
    form.compare = [this](const ConfigurationFiles& files) {
      compared.push_back(files);
      if (!failCompare.empty()) throw Exception(failCompare);
    };
    form.chooseFile = [this](const FileDialogSpec& spec, bool save, std::string& path) {
      dialogs.push_back({spec, save});
      if (choices.empty() || choices.front().empty()) return false;
      path = choices.front();
      choices.erase(choices.begin());
      return true;
    };
  }
  void TearDown() override { SetHandlerErrorHook(nullptr); }

  void Open(const ConfigurationFiles& shown = {}) {
    form.files = shown;
    ASSERT_TRUE(form.Create(nullptr));
    form.Show();
  }
  void PressOk() {
    form.Send(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(form.Item(IDOK).Handle()));
  }

  TfCompare form;
  std::vector<std::string> errors;
  std::vector<ConfigurationFiles> compared;
  std::string failCompare;
  std::vector<FileDialogCall> dialogs;
  std::vector<std::string> choices;
};

}  // namespace

TEST_F(CompareDialogTest, ShowsItsLabelsAndButtons) {
  Open();
  EXPECT_EQ(form.Text(), "Quorvel - Compare Two Configurations");
  for (const char* text : {"Ol&d config file:", "&New config file:", "&Log file:", "&OK", "&Cancel"})
    EXPECT_TRUE(HasChildText(form, text)) << text;
}

TEST_F(CompareDialogTest, OkNamesTheFirstEmptyFieldAndKeepsTheDialogOpen) {
  struct Case {
    ConfigurationFiles files;
    const char* message;
  };
  const Case cases[] = {
      {{"", "", ""}, "Choose file for old configuration."},
      {{"", "b.SXD", "c.SXL"}, "Choose file for old configuration."},
      {{"a.SXD", "", "c.SXL"}, "Choose file for new configuration."},
      {{"a.SXD", "b.SXD", ""}, "Choose file for log file."},
  };
  Open();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    errors.clear();
    form.Item(IDC_COMPARE_OLD).SetText(c.files.oldFile);
    form.Item(IDC_COMPARE_NEW).SetText(c.files.newFile);
    form.Item(IDC_COMPARE_LOG).SetText(c.files.logFile);
    PressOk();
    EXPECT_EQ(errors, std::vector<std::string>{c.message});
    EXPECT_TRUE(form.Exists());
  }
  EXPECT_TRUE(compared.empty());
}

TEST_F(CompareDialogTest, OkComparesTheNamedFilesAndClosesOnlyWhenTheCompareSucceeded) {
  Open({"C:\\old.SXD", "C:\\new.SXD", "C:\\run.SXL"});
  failCompare = "File read error, aborted.";
  PressOk();
  EXPECT_TRUE(form.Exists()) << "a failed compare leaves the dialog open";
  EXPECT_EQ(errors, std::vector<std::string>{"File read error, aborted."});

  failCompare.clear();
  PressOk();
  EXPECT_FALSE(form.Exists());
  EXPECT_EQ(form.Result(), IDOK);
  ASSERT_EQ(compared.size(), 2u);
  EXPECT_EQ(compared[1].oldFile, "C:\\old.SXD");
  EXPECT_EQ(compared[1].newFile, "C:\\new.SXD");
  EXPECT_EQ(compared[1].logFile, "C:\\run.SXL");
  EXPECT_EQ(form.files.logFile, "C:\\run.SXL");
}

TEST_F(CompareDialogTest, BrowseButtonsFillTheirFieldsFromTheirFileDialogs) {
  Open({"C:\\before.SXD", "", ""});
  choices = {"C:\\old.SXD", "C:\\new.SXD", "C:\\run.SXL", ""};
  for (int button : {IDC_COMPARE_OLD_BROWSE, IDC_COMPARE_NEW_BROWSE, IDC_COMPARE_LOG_BROWSE, IDC_COMPARE_LOG_BROWSE})
    form.Item(button).Click();

  ConfigurationFiles fields = form.ReadFields();
  EXPECT_EQ(fields.oldFile, "C:\\old.SXD");
  EXPECT_EQ(fields.newFile, "C:\\new.SXD");
  EXPECT_EQ(fields.logFile, "C:\\run.SXL") << "a cancelled dialog keeps the field";
  ASSERT_EQ(dialogs.size(), 4u);
  for (int i : {0, 1}) {
    const FileDialogCall& load = dialogs[i];
    EXPECT_FALSE(load.save);
    EXPECT_EQ(load.spec.title, "Load a config file");
    EXPECT_EQ(load.spec.filter, "Config file  (*.SXD)|*.SXD");
    EXPECT_EQ(load.spec.defaultExt, "SXD");
    EXPECT_TRUE(load.spec.fileMustExist);
    EXPECT_EQ(load.spec.fileName, "") << "the open dialog starts without a name";
  }
  const FileDialogCall& save = dialogs[2];
  EXPECT_TRUE(save.save);
  EXPECT_EQ(save.spec.title, "Save a log file");
  EXPECT_EQ(save.spec.filter, "Log file (*.SXL)|*.SXL");
  EXPECT_EQ(save.spec.defaultExt, "SXL");
  EXPECT_TRUE(save.spec.promptOverwrite);
}
