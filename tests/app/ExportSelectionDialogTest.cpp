#include <gtest/gtest.h>

#include "app/ExportSelectionDialog.h"
#include "app/ExportSelectionDialogIds.h"
#include "tests/app/ModalWatcher.h"

namespace {

constexpr int kBoxes[] = {IDC_EXPORT_NEW_KEY,   IDC_EXPORT_DELETED_KEY,   IDC_EXPORT_ALTERED_KEY,
                          IDC_EXPORT_NEW_VALUE, IDC_EXPORT_DELETED_VALUE, IDC_EXPORT_VALUE_OLD,
                          IDC_EXPORT_VALUE_NEW};

}  // namespace

TEST(ExportSelectionDialogTest, BoxesAreWordedForTheTreeOfTheExport) {
  struct Case {
    LogSection mode;
    std::vector<std::string> captions;
  };
  const std::vector<std::string> keys = {"New keys",       "Deleted keys",         "Changed keys",        "New values",
                                         "Deleted values", "Changed values (old)", "Changed values (new)"};
  const Case cases[] = {
      {LogSection::Registry, keys},
      {LogSection::Drives,
       {"New folder", "Deleted folder", "Modified folder", "New file", "Deleted file", "File (old)", "File (new)"}},
      {LogSection::SystemFiles, keys},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.mode));
    TfExpForm form;
    form.choice = {kAllKinds, c.mode};
    ASSERT_TRUE(form.Create(nullptr));
    EXPECT_EQ(form.Text(), "Quorvel - Selection");
    EXPECT_TRUE(HasChildText(form, "Choose objects to exported:"));
    for (size_t i = 0; i < c.captions.size(); ++i) {
      EXPECT_EQ(form.Item(kBoxes[i]).Text(), c.captions[i]);
      EXPECT_TRUE(form.Item(kBoxes[i]).IsChecked());
    }
  }
}

TEST(ExportSelectionDialogTest, OkKeepsExactlyTheTickedKinds) {
  TfExpForm form;
  // Kind 0 and 21 are in the incoming set but have no box: OK drops them.
  form.choice = {KindBit(0) | KindBit(kKindDeleted) | KindBit(kRecordOldSide) | KindBit(21), LogSection::Drives};
  ASSERT_TRUE(form.Create(nullptr));
  EXPECT_FALSE(form.Item(IDC_EXPORT_NEW_KEY).IsChecked());
  EXPECT_TRUE(form.Item(IDC_EXPORT_DELETED_KEY).IsChecked());
  EXPECT_TRUE(form.Item(IDC_EXPORT_VALUE_OLD).IsChecked());

  form.Item(IDC_EXPORT_DELETED_KEY).Click();
  form.Item(IDC_EXPORT_VALUE_NEW).Click();
  form.Send(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(form.Item(IDOK).Handle()));
  EXPECT_EQ(form.Result(), IDOK);
  EXPECT_EQ(form.choice.kinds, KindBit(kRecordOldSide) | KindBit(kRecordNewSide));
  EXPECT_EQ(form.choice.mode, LogSection::Drives);
}
