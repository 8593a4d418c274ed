#include "ui/ListView.h"

#include <gtest/gtest.h>

#include "tests/app/AppTestSupport.h"

namespace {

class ListViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitControlsForTests();
    list.Attach(CreateWindowExA(0, WC_LISTVIEWA, "", WS_POPUP | LVS_REPORT | LVS_SHOWSELALWAYS, 0, 0, 400, 300, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr));
    ASSERT_TRUE(list.Exists());
    list.AddColumns({{"Name", 120}, {"Size", 60, ListAlign::Right}});
  }
  void TearDown() override { list.Destroy(); }

  // Rows "d", "c", "b", "a" for the owner's records 0 to 3.
  void FillReversed() {
    ListView::Refill refill(list);
    for (size_t owner = 0; owner < 4; ++owner)
      list.AddRow({owner}, {std::string(1, static_cast<char>('d' - owner)), "1"});
  }

  // Reorders the rows as a header click will: by their texts, through the owner indexes.
  void SortByText() {
    static const char* const kTexts = "dcba";
    list.Send(LVM_SORTITEMS, reinterpret_cast<WPARAM>(kTexts),
              reinterpret_cast<LPARAM>(+[](LPARAM a, LPARAM b, LPARAM texts) -> int {
                const char* t = reinterpret_cast<const char*>(texts);
                return t[a] - t[b];
              }));
  }

  void SelectRow(int row, UINT state = LVIS_SELECTED) {
    LVITEMA item{};
    item.stateMask = state;
    item.state = state;
    list.Send(LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  }

  ListView list;
};

}  // namespace

TEST_F(ListViewTest, ColumnsKeepTheirCaptionWidthAndAlignment) {
  ASSERT_EQ(list.ColumnCount(), 2);
  struct Expected {
    const char* caption;
    int width;
    int format;
  };
  const Expected expected[] = {{"Name", 120, LVCFMT_LEFT}, {"Size", 60, LVCFMT_RIGHT}};
  for (int column = 0; column < 2; ++column) {
    char caption[32] = "";
    LVCOLUMNA entry{};
    entry.mask = LVCF_TEXT | LVCF_FMT;
    entry.pszText = caption;
    entry.cchTextMax = sizeof caption;
    ASSERT_TRUE(list.Send(LVM_GETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&entry)));
    EXPECT_STREQ(caption, expected[column].caption);
    EXPECT_EQ(entry.fmt & LVCFMT_JUSTIFYMASK, expected[column].format);
    EXPECT_EQ(list.ColumnWidth(column), expected[column].width);
  }
  list.SetColumnWidth(1, 77);
  EXPECT_EQ(list.ColumnWidth(1), 77);
}

TEST_F(ListViewTest, RowsMapBackToTheirRecordsAfterTheListReordersThem) {
  FillReversed();
  FillReversed();  // a refill replaces the rows
  ASSERT_EQ(list.Count(), 4);
  SortByText();
  ASSERT_EQ(ListText(list, 0, 0), "a");
  EXPECT_EQ(list.OwnerOf(0), 3u);
  EXPECT_EQ(list.RowOf(3), 0);
  EXPECT_EQ(list.RowOf(0), 3);
  EXPECT_EQ(list.RowOf(9), -1);

  EXPECT_FALSE(list.HasSelection());
  EXPECT_EQ(list.FocusedOwner(), std::nullopt);
  SelectRow(0);
  SelectRow(2, LVIS_SELECTED | LVIS_FOCUSED);
  EXPECT_TRUE(list.HasSelection());
  EXPECT_EQ(list.SelectedOwners(), (std::vector<size_t>{3, 1})) << "in the order the list shows them";
  EXPECT_EQ(list.FocusedOwner(), std::optional<size_t>(1));

  list.SetSelected(3, false);
  list.SetSelected(0, true);
  EXPECT_EQ(list.SelectedOwners(), (std::vector<size_t>{1, 0}));

  list.AddRow({ListView::kNoOwner}, {"nothing"});
  EXPECT_EQ(list.OwnerOf(4), ListView::kNoOwner);
  EXPECT_EQ(list.OwnerOf(99), ListView::kNoOwner) << "no row there";
}

TEST_F(ListViewTest, RowsShowTheirImagesStateImagesAndGreying) {
  struct Case {
    ListItem item;
    int image;  // as the list reports it
    UINT state;
  };
  const Case cases[] = {
      {{0}, I_IMAGENONE, 0},
      {{1, 5, 0}, 5, INDEXTOSTATEIMAGEMASK(1)},  // state images count from 1 in a list view
      {{2, 0, 11, true}, 0, INDEXTOSTATEIMAGEMASK(12) | LVIS_CUT},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item.owner);
    const int row = list.AddRow(c.item, {"row"});
    LVITEMA shown{};
    shown.mask = LVIF_IMAGE | LVIF_STATE;
    shown.iItem = row;
    shown.stateMask = LVIS_STATEIMAGEMASK | LVIS_CUT;
    ASSERT_TRUE(list.Send(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&shown)));
    EXPECT_EQ(shown.iImage, c.image);
    EXPECT_EQ(shown.state, c.state);
  }
}
