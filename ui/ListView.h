#pragma once
// A report-style list view over an HWND it does not own. Every row keeps the index of the
// owner's record in its lParam: the owner maps rows (selected, focused, clicked) back to its own
// data and never reads text back from the control, so rows may be reordered (LVM_SORTITEMS hands
// the comparison the lParams) without losing their records.

#include <windows.h>

#include <commctrl.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/Window.h"

enum class ListAlign { Left, Right, Center };

struct ListColumn {
  std::string caption;
  int width;                          // at 96 DPI: AddColumns scales it to the list's DPI
  ListAlign align = ListAlign::Left;  // the first column of a list view is always left-aligned
};

inline constexpr int kListNoImage = -1;

// What a row shows besides its texts, and the record it stands for.
struct ListItem {
  size_t owner;                   // index of the owner's record
  int image = kListNoImage;       // in the small image list
  int stateImage = kListNoImage;  // in the state image list, counted from 0
  bool cut = false;               // drawn greyed
};

class ListView : public Window {
 public:
  // The owner of a row that stands for no record (a "nothing to show" line).
  static constexpr size_t kNoOwner = static_cast<size_t>(-1);

  using Window::Window;
  ListView(Window window) : Window(window) {}

  void SetFullRowSelect() const;
  void SetImageList(HIMAGELIST images, int which = LVSIL_SMALL) const;

  void AddColumns(const std::vector<ListColumn>& columns) const;
  int ColumnCount() const;
  int ColumnWidth(int column) const;
  // Also takes LVSCW_AUTOSIZE and LVSCW_AUTOSIZE_USEHEADER.
  void SetColumnWidth(int column, int width) const;

  // Each column as wide as its widest text or its caption, whichever is wider, and never
  // narrower than floors[column] (columns beyond floors have no floor).
  void FitColumns(const std::vector<int>& floors) const;
  std::vector<int> ColumnWidths() const;

  // Orders the rows by compare(owner of one row, owner of another), <0 placing the first one
  // first. Rows keep their owners: only their positions change.
  void SortRows(const std::function<int(size_t, size_t)>& compare) const;
  // The header's sort arrow on column, up for ascending; the other columns lose theirs. -1: none.
  void ShowSortArrow(int column, bool ascending) const;
  // NM_CUSTOMDRAW of a list: rows marked cut (greyed) draw their texts in the grey of
  // disabled text, since not every common-controls version shows the cut state itself.
  static LRESULT DrawCutRowsGreyed(const NMHDR& header);

  int Count() const;
  // Appends a row; cells are its texts from the first column on. Returns the row's position.
  int AddRow(const ListItem& item, const std::vector<std::string>& cells) const;
  void Clear() const;

  size_t OwnerOf(int row) const;
  // The row showing the owner's record; -1 when none does.
  int RowOf(size_t owner) const;
  bool HasSelection() const;
  // The owner indexes of the selected rows, in the order the list shows them.
  std::vector<size_t> SelectedOwners() const;
  std::optional<size_t> FocusedOwner() const;
  void SetSelected(size_t owner, bool selected) const;
  // The owner of the first selected row.
  std::optional<size_t> FirstSelectedOwner() const;
  // Selects the row of owner and scrolls it into view.
  void SelectAndShow(size_t owner) const;

  // Empties the list and holds its drawing until the scope ends, so a refill draws once.
  class Refill {
   public:
    explicit Refill(HWND list);
    ~Refill();
    Refill(const Refill&) = delete;
    Refill& operator=(const Refill&) = delete;

   private:
    HWND list_;
  };
};
