#include "tools/TempFilesWindow.h"

#include <algorithm>

#include "app/RestoreSettingsOf.h"
#include "core/Formatting.h"
#include "core/TextCompare.h"
#include "platform/PathText.h"
#include "platform/TMyRegIniFile.h"
#include "tools/FoundFileDeletion.h"
#include "tools/FoundFileList.h"
#include "tools/SearchDefinitionDialog.h"
#include "tools/TempFilesWindowIds.h"
#include "ui/MessagePump.h"

namespace {

enum DetailColumn { kFileColumn, kSizeColumn, kDateColumn, kAttrColumn };

const std::vector<ListColumn> kMasterColumns = {
    {"Description", 160}, {"Folder", 170}, {"Sub-folders", 78}, {"Search Text", 80}, {"Found", 60, ListAlign::Right},
};
const std::vector<ListColumn> kDetailColumns = {
    {"File", 290}, {"Size", 80, ListAlign::Right}, {"Date", 130}, {"Attr.", 45}};

template <class T>
int Order(T a, T b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

}  // namespace

TfTempfiles::TfTempfiles(const TempFilesContext& context)
    : ToolWindow(IDD_TEMP_FILES, "TfTempfiles", kSection, context.settingsKeyPath, {480, 360}),
      context_(context),
      ui_(StatusControls{}),
      search_(*this) {}

TfTempfiles::~TfTempfiles() = default;

ListView TfTempfiles::MasterView() const { return Item(IDC_TEMP_MASTER); }
ListView TfTempfiles::DetailView() const { return Item(IDC_TEMP_DETAIL); }

std::vector<FormList> TfTempfiles::LayoutLists() const {
  return {{"MasterView", MasterView()}, {"DetailView", DetailView()}};
}

bool TfTempfiles::OnInit() {
  ui_ = GuiInteraction(StatusControls{hwnd_, Item(IDC_TEMP_STATUS)});
  for (ListView list : {MasterView(), DetailView()}) list.SetFullRowSelect();
  MasterView().AddColumns(kMasterColumns);
  DetailView().AddColumns(kDetailColumns);

  definitions_ = LoadSearchDefinitions(Ini(), kSection);
  // Not saved until the user changes the list.
  if (definitions_.empty()) definitions_ = DefaultTempDefinitions(SystemTempFolder());
  Item(IDC_TEMP_CANCEL).Enable(true);
  RestoreLayout();
  FillMaster(definitions_.empty() ? std::nullopt : std::optional<size_t>(0));
  return true;
}

bool TfTempfiles::OnCommand(int id, int code, HWND) {
  if (code != BN_CLICKED) return false;
  switch (id) {
    case IDC_TEMP_NEW:
    case IDM_TEMP_MASTER_NEW:
      NewEntry();
      return true;
    case IDC_TEMP_EDIT:
    case IDM_TEMP_MASTER_EDIT:
      EditEntry();
      return true;
    case IDC_TEMP_DELETE:
    case IDM_TEMP_MASTER_DELETE:
      DeleteEntry();
      return true;
    case IDC_TEMP_START:
      StartSearch();
      return true;
    case IDC_TEMP_CANCEL:
      search_.Cancel();
      return true;
    case IDC_TEMP_CLOSE:
      OnCancel();
      return true;
    case IDM_TEMP_DETAIL_DELETE:
      DeleteSelectedFiles();
      return true;
    case IDM_TEMP_DETAIL_SELECT_ALL:
      SelectAllFiles();
      return true;
    default:
      return false;
  }
}

bool TfTempfiles::OnNotify(int id, const NMHDR& header, LRESULT&) {
  if (id == IDC_TEMP_MASTER) {
    if (header.code == LVN_ITEMCHANGED) {
      const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
      if ((change.uChanged & LVIF_STATE) && (change.uNewState & LVIS_SELECTED) && !(change.uOldState & LVIS_SELECTED))
        ShowResults(MasterView().OwnerOf(change.iItem));
      return true;
    }
    if (header.code == NM_DBLCLK) {
      EditEntry();
      return true;
    }
    if (header.code == NM_RCLICK) {
      POINT at;
      GetCursorPos(&at);
      ShowMasterMenu(at);
      return true;
    }
  }
  if (id == IDC_TEMP_DETAIL) {
    if (header.code == LVN_COLUMNCLICK) {
      SortFiles(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
      return true;
    }
    if (HandleFoundFileListNotify(hwnd_, DetailView(), header, {IDM_TEMP_DETAIL_DELETE, IDM_TEMP_DETAIL_SELECT_ALL},
                                  search_.Running()))
      return true;
  }
  return false;
}

void TfTempfiles::Layout() {
  const RECT client = ClientRect();
  const ToolMetrics m = ToolMetricsOf(hwnd_);
  const int width = client.right, height = client.bottom;
  const int buttonLeft = width - m.margin - m.buttonWidth;
  const int listRight = buttonLeft - m.margin;
  const int panelTop = height - m.gap - m.panelHeight;
  const int masterTop = m.margin + m.labelHeight + m.gap;
  const int buttonStack = 5 * m.buttonHeight + 5 * m.gap;
  const int masterHeight = std::max(buttonStack, (panelTop - masterTop) * 2 / 5);
  const int detailLabelTop = masterTop + masterHeight + 2 * m.gap;
  const int detailTop = detailLabelTop + m.labelHeight + m.gap;
  const int detailHeight = std::max(m.buttonHeight, panelTop - m.gap - detailTop);

  Item(IDC_TEMP_MASTER_LABEL).Move(m.margin, m.margin, listRight - m.margin, m.labelHeight);
  Item(IDC_TEMP_MASTER).Move(m.margin, masterTop, listRight - m.margin, masterHeight);
  int top = masterTop;
  for (int id : {IDC_TEMP_NEW, IDC_TEMP_EDIT, IDC_TEMP_DELETE, 0, IDC_TEMP_START, IDC_TEMP_CANCEL}) {
    if (id == 0) {
      top += m.gap * 2;
      continue;
    }
    Item(id).Move(buttonLeft, top, m.buttonWidth, m.buttonHeight);
    top += m.buttonHeight + m.gap;
  }
  Item(IDC_TEMP_DETAIL_LABEL).Move(m.margin, detailLabelTop, listRight - m.margin, m.labelHeight);
  Item(IDC_TEMP_DETAIL).Move(m.margin, detailTop, listRight - m.margin, detailHeight);
  Item(IDC_TEMP_CLOSE).Move(buttonLeft, detailTop + detailHeight - m.buttonHeight, m.buttonWidth, m.buttonHeight);

  const int panelsLeft = width - m.margin - 2 * m.panelWidth - m.gap;
  Item(IDC_TEMP_STATUS).Move(m.margin, panelTop, std::max(0, panelsLeft - m.gap - m.margin), m.panelHeight);
  Item(IDC_TEMP_FILES).Move(panelsLeft, panelTop, m.panelWidth, m.panelHeight);
  Item(IDC_TEMP_FOLDERS).Move(panelsLeft + m.panelWidth + m.gap, panelTop, m.panelWidth, m.panelHeight);
  Invalidate();
}

std::optional<size_t> TfTempfiles::SelectedDefinition() const { return MasterView().FirstSelectedOwner(); }

void TfTempfiles::FillMaster(std::optional<size_t> select) {
  const ListView list = MasterView();
  const std::vector<DefinitionResult>& results = search_.Results();
  {
    ++updateCounter_;
    ListView::Refill refill(list);
    for (size_t i = 0; i < definitions_.size(); ++i) {
      const SearchDefinition& definition = definitions_[i];
      const std::string found = i < results.size() ? std::to_string(results[i].found) : std::string();
      list.AddRow(
          {i}, {definition.description, definition.folder, SubFolderText(definition.recurse), definition.mask, found});
    }
    --updateCounter_;
  }
  if (select && *select < definitions_.size()) list.SelectAndShow(*select);
}

void TfTempfiles::SaveDefinitions() { SaveSearchDefinitions(Ini(), kSection, definitions_); }

void TfTempfiles::NewEntry() {
  if (search_.Running()) return;
  SearchDefinition definition;
  definition.mask = "*.TMP";
  if (!RunSearchDefinitionDialog(hwnd_, definition)) return;
  definitions_.push_back(definition);
  FillMaster(definitions_.size() - 1);
  SaveDefinitions();
}

void TfTempfiles::EditEntry() {
  const std::optional<size_t> selected = SelectedDefinition();
  if (search_.Running() || !selected) return;
  SearchDefinition definition = definitions_[*selected];
  if (!RunSearchDefinitionDialog(hwnd_, definition)) return;
  definitions_[*selected] = definition;
  FillMaster(selected);
  SaveDefinitions();
}

void TfTempfiles::DeleteEntry() {
  const std::optional<size_t> selected = SelectedDefinition();
  if (search_.Running() || !selected) return;
  definitions_.erase(definitions_.begin() + static_cast<std::ptrdiff_t>(*selected));
  std::vector<DefinitionResult>& results = search_.Results();
  if (*selected < results.size()) results.erase(results.begin() + static_cast<std::ptrdiff_t>(*selected));
  shown_.reset();
  ShowResults(std::nullopt);
  FillMaster(definitions_.empty() ? std::nullopt : std::optional<size_t>(std::min(*selected, definitions_.size() - 1)));
  SaveDefinitions();
}

void TfTempfiles::EnableSearchControls(bool searching) {
  for (int id : {IDC_TEMP_NEW, IDC_TEMP_EDIT, IDC_TEMP_DELETE, IDC_TEMP_START}) Item(id).Enable(!searching);
  Item(IDC_TEMP_CANCEL).Enable(searching);
}

void TfTempfiles::StartSearch() {
  if (search_.Running()) return;
  const RestoreSettings settings = CurrentRestoreSettings(context_.programFolder);
  context_.deletion->backupFolder = WithTrailingBackslash(settings.backupDir) + "TEMPFILES\\";
  if (definitions_.empty()) {
    ui_.Tell(MsgType::Error, "Please select folders first!");
    return;
  }
  EnableSearchControls(true);
  {
    WaitCursor wait(ui_);
    shown_.reset();
    DetailView().Clear();
    ++updateCounter_;
    search_.Run(definitions_);
    --updateCounter_;
  }
  EnableSearchControls(false);

  std::optional<size_t> selected = SelectedDefinition();
  if (!selected) selected = 0;
  FillMaster(selected);
  MessagePump::RunPending();
  shown_.reset();
  ShowResults(selected);
  ShowCounters(search_.Counters());
  SetStatus("Search completed.");
  FinishRun();
}

void TfTempfiles::ShowResults(std::optional<size_t> definition) {
  if (updateCounter_ > 0) return;
  if (definition && shown_ == definition) return;
  WaitCursor wait(ui_);
  const ListView list = DetailView();
  ListView::Refill refill(list);
  shown_ = definition;
  if (!definition || *definition >= search_.Results().size()) return;
  const std::vector<FoundFile>& files = search_.Results()[*definition].files;
  const FileCatalog& catalog = search_.Catalog();
  const size_t rows = std::min(files.size(), kMaxShownFiles);
  for (size_t i = 0; i < rows; ++i) {
    const FoundFile& file = files[i];
    list.AddRow({i}, {catalog.PathOf(file), FormatThousands(static_cast<uint32_t>(file.size)),
                      FormatDosDateTime(file.time), FormatAttributes(file.attributes)});
  }
  if (sortColumn_ >= 0)
    list.SortRows([this](size_t a, size_t b) {
      const int order = CompareFiles(sortColumn_, a, b);
      return descending_ ? -order : order;
    });
}

int TfTempfiles::CompareFiles(int column, size_t a, size_t b) const {
  const std::vector<FoundFile>& files = search_.Results()[*shown_].files;
  const FoundFile& one = files[a];
  const FoundFile& other = files[b];
  const FileCatalog& catalog = search_.Catalog();
  switch (column) {
    case kFileColumn:
      return CompareTextLocale(catalog.PathOf(one), catalog.PathOf(other));
    case kSizeColumn:
      return Order(static_cast<uint32_t>(one.size), static_cast<uint32_t>(other.size));
    // The packed form orders as the times do: the date is the high word.
    case kDateColumn:
      return Order(one.time, other.time);
    case kAttrColumn:
      return CompareTextLocale(FormatAttributes(one.attributes), FormatAttributes(other.attributes));
    default:
      return 0;
  }
}

void TfTempfiles::SortFiles(int column) {
  descending_ = column == sortColumn_ ? !descending_ : false;
  sortColumn_ = column;
  if (!shown_ || *shown_ >= search_.Results().size()) return;
  DetailView().SortRows([this, column](size_t a, size_t b) {
    const int order = CompareFiles(column, a, b);
    return descending_ ? -order : order;
  });
  DetailView().ShowSortArrow(column, !descending_);
}

void TfTempfiles::SelectAllFiles() { SelectAllRows(DetailView()); }

void TfTempfiles::DeleteSelectedFiles() {
  if (search_.Running() || !shown_ || *shown_ >= search_.Results().size()) return;
  const ListView list = DetailView();
  const std::vector<size_t> selected = list.SelectedOwners();
  if (selected.empty()) return;
  DefinitionResult& result = search_.Results()[*shown_];
  const FileCatalog& catalog = search_.Catalog();
  const std::string question = DeletionQuestion(selected.size(), static_cast<size_t>(list.Count()),
                                                catalog.PathOf(result.files[selected.front()]));
  if (ui_.Ask(MsgType::Confirmation, question, MsgButtons::OkCancel) != MsgAnswer::Ok) return;

  const DeletionSettings settings = CurrentRestoreSettings(context_.programFolder).Deletion();
  const std::vector<size_t> lastFirst(selected.rbegin(), selected.rend());
  std::vector<size_t> deleted;
  // The list is rebuilt from what is left also when an error ends the run, so no row stands
  // for a file already gone.
  const auto rebuild = [&] {
    EraseIndexes(result.files, deleted);
    const std::optional<size_t> definition = shown_;
    shown_.reset();
    ShowResults(definition);
  };
  try {
    DeleteListedFiles(
        lastFirst, [&](size_t owner) { return catalog.PathOf(result.files[owner]); },
        [&](const std::string& path) { return DeleteFileWithBackup(path, *context_.deletion, settings, ui_); },
        deleted);
  } catch (...) {
    rebuild();
    throw;
  }
  rebuild();
}

void TfTempfiles::ShowMasterMenu(POINT at) {
  if (search_.Running()) return;
  ShowDefinitionMenu(hwnd_, at, SelectedDefinition().has_value(),
                     {IDM_TEMP_MASTER_NEW, IDM_TEMP_MASTER_EDIT, IDM_TEMP_MASTER_DELETE});
}

void TfTempfiles::SetStatus(const std::string& text) { ShowPanelText(Item(IDC_TEMP_STATUS), text); }

void TfTempfiles::ShowCounters(const SearchCounters& counters) {
  ShowFileAndFolderCounts(Item(IDC_TEMP_FILES), Item(IDC_TEMP_FOLDERS), counters.files, counters.folders);
}

void RunTempFilesWindow(HWND owner, const TempFilesContext& context) {
  TfTempfiles form(context);
  form.DoModal(owner);
}
