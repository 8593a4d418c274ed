#include "ui/ListView.h"

namespace {

int FormatOf(ListAlign align) {
  switch (align) {
    case ListAlign::Right:
      return LVCFMT_RIGHT;
    case ListAlign::Center:
      return LVCFMT_CENTER;
    case ListAlign::Left:
      break;
  }
  return LVCFMT_LEFT;
}

}  // namespace

void ListView::SetFullRowSelect() const {
  Send(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
}

void ListView::SetImageList(HIMAGELIST images, int which) const {
  Send(LVM_SETIMAGELIST, static_cast<WPARAM>(which), reinterpret_cast<LPARAM>(images));
}

void ListView::AddColumns(const std::vector<ListColumn>& columns) const {
  int position = ColumnCount();
  for (const ListColumn& column : columns) {
    LVCOLUMNA entry{};
    entry.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    entry.fmt = FormatOf(column.align);
    entry.pszText = const_cast<char*>(column.caption.c_str());
    entry.cx = column.width;
    entry.iSubItem = position;
    Send(LVM_INSERTCOLUMNA, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(&entry));
    ++position;
  }
}

int ListView::ColumnCount() const {
  auto header = reinterpret_cast<HWND>(Send(LVM_GETHEADER));
  return header ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

int ListView::ColumnWidth(int column) const { return static_cast<int>(Send(LVM_GETCOLUMNWIDTH, column)); }

void ListView::SetColumnWidth(int column, int width) const {
  Send(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(width, 0));
}

int ListView::Count() const { return static_cast<int>(Send(LVM_GETITEMCOUNT)); }

int ListView::AddRow(const ListItem& item, const std::vector<std::string>& cells) const {
  static const std::string kEmpty;
  LVITEMA row{};
  row.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE | LVIF_STATE;
  row.iItem = Count();
  row.pszText = const_cast<char*>((cells.empty() ? kEmpty : cells.front()).c_str());
  row.lParam = static_cast<LPARAM>(item.owner);
  row.iImage = item.image >= 0 ? item.image : I_IMAGENONE;
  row.stateMask = LVIS_STATEIMAGEMASK | LVIS_CUT;
  // A list view counts its state images from 1; 0 draws none.
  row.state = INDEXTOSTATEIMAGEMASK(item.stateImage >= 0 ? item.stateImage + 1 : 0) | (item.cut ? LVIS_CUT : 0);
  const int position = static_cast<int>(Send(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&row)));
  for (size_t i = 1; position >= 0 && i < cells.size(); ++i) {
    LVITEMA cell{};
    cell.iSubItem = static_cast<int>(i);
    cell.pszText = const_cast<char*>(cells[i].c_str());
    Send(LVM_SETITEMTEXTA, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(&cell));
  }
  return position;
}

void ListView::Clear() const { Send(LVM_DELETEALLITEMS); }

size_t ListView::OwnerOf(int row) const {
  LVITEMA item{};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  if (!Send(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return kNoOwner;
  return static_cast<size_t>(item.lParam);
}

int ListView::RowOf(size_t owner) const {
  LVFINDINFOA find{};
  find.flags = LVFI_PARAM;
  find.lParam = static_cast<LPARAM>(owner);
  return static_cast<int>(Send(LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
}

bool ListView::HasSelection() const { return Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED) >= 0; }

std::vector<size_t> ListView::SelectedOwners() const {
  std::vector<size_t> owners;
  for (int row = -1; (row = static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED))) >= 0;)
    owners.push_back(OwnerOf(row));
  return owners;
}

std::optional<size_t> ListView::FocusedOwner() const {
  const int row = static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
  if (row < 0) return std::nullopt;
  return OwnerOf(row);
}

void ListView::SetSelected(size_t owner, bool selected) const {
  const int row = RowOf(owner);
  if (row < 0) return;
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED;
  item.state = selected ? LVIS_SELECTED : 0;
  Send(LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

ListView::Refill::Refill(HWND list) : list_(list) {
  SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
  ListView(list_).Clear();
}

ListView::Refill::~Refill() {
  SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list_, nullptr, TRUE);
}
