#include "ui/ListView.h"

#include <algorithm>

#include "ui/Dpi.h"

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
  const DpiScale scale(WindowDpi(hwnd_));
  for (const ListColumn& column : columns) {
    LVCOLUMNA entry{};
    entry.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    entry.fmt = FormatOf(column.align);
    entry.pszText = const_cast<char*>(column.caption.c_str());
    entry.cx = scale(column.width);
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

void ListView::FitColumns(const std::vector<int>& floors) const {
  const int columns = ColumnCount();
  for (int column = 0; column < columns; ++column) {
    SetColumnWidth(column, LVSCW_AUTOSIZE);
    const int byText = ColumnWidth(column);
    SetColumnWidth(column, LVSCW_AUTOSIZE_USEHEADER);
    int width = std::max(byText, ColumnWidth(column));
    if (static_cast<size_t>(column) < floors.size()) width = std::max(width, floors[static_cast<size_t>(column)]);
    SetColumnWidth(column, width);
  }
}

std::vector<int> ListView::ColumnWidths() const {
  std::vector<int> widths;
  for (int column = 0, columns = ColumnCount(); column < columns; ++column) widths.push_back(ColumnWidth(column));
  return widths;
}

namespace {

int CALLBACK CompareOwners(LPARAM first, LPARAM second, LPARAM compare) {
  return (*reinterpret_cast<const std::function<int(size_t, size_t)>*>(compare))(static_cast<size_t>(first),
                                                                                 static_cast<size_t>(second));
}

}  // namespace

void ListView::SortRows(const std::function<int(size_t, size_t)>& compare) const {
  Send(LVM_SORTITEMS, reinterpret_cast<WPARAM>(&compare), reinterpret_cast<LPARAM>(CompareOwners));
}

void ListView::ShowSortArrow(int column, bool ascending) const {
  auto header = reinterpret_cast<HWND>(Send(LVM_GETHEADER));
  const int columns = ColumnCount();
  for (int i = 0; i < columns; ++i) {
    HDITEMA item{};
    item.mask = HDI_FORMAT;
    SendMessageA(header, HDM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
    if (i == column) item.fmt |= ascending ? HDF_SORTUP : HDF_SORTDOWN;
    SendMessageA(header, HDM_SETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
}

LRESULT ListView::DrawCutRowsGreyed(const NMHDR& header) {
  auto& draw = const_cast<NMLVCUSTOMDRAW&>(reinterpret_cast<const NMLVCUSTOMDRAW&>(header));
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
      const auto row = static_cast<WPARAM>(draw.nmcd.dwItemSpec);
      if (!(SendMessageA(header.hwndFrom, LVM_GETITEMSTATE, row, LVIS_CUT) & LVIS_CUT)) return CDRF_DODEFAULT;
      draw.clrText = GetSysColor(COLOR_GRAYTEXT);
      return CDRF_NEWFONT;
    }
    default:
      return CDRF_DODEFAULT;
  }
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

std::optional<size_t> ListView::FirstSelectedOwner() const {
  const int row = static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  if (row < 0) return std::nullopt;
  return OwnerOf(row);
}

void ListView::SelectAndShow(size_t owner) const {
  SetSelected(owner, true);
  Send(LVM_ENSUREVISIBLE, static_cast<WPARAM>(RowOf(owner)), FALSE);
}

ListView::Refill::Refill(HWND list) : list_(list) {
  SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
  ListView(list_).Clear();
}

ListView::Refill::~Refill() {
  SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list_, nullptr, TRUE);
}
