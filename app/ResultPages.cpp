#include "app/ResultPages.h"

#include <commctrl.h>

#include "capture/SettingsAccess.h"
#include "compare/ResultRecords.h"

namespace {

void FillRows(HWND list, const std::vector<ResultRow>& rows) {
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  for (const ResultRow& row : rows) {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_STATE;
    item.iItem = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = const_cast<char*>(row.caption.c_str());
    item.iImage = row.imageIndex;
    item.stateMask = LVIS_STATEIMAGEMASK | LVIS_CUT;
    item.state = INDEXTOSTATEIMAGEMASK(row.stateImage) | (row.greyed ? LVIS_CUT : 0);
    int index = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    for (size_t i = 0; i < row.columns.size(); ++i) {
      LVITEMA sub{};
      sub.iSubItem = static_cast<int>(i + 1);
      sub.pszText = const_cast<char*>(row.columns[i].c_str());
      SendMessageA(list, LVM_SETITEMTEXTA, index, reinterpret_cast<LPARAM>(&sub));
    }
  }
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

}  // namespace

ResultPages::ResultPages(AppState& app, GuiInteraction& ui, const ResultControls& controls, HIMAGELIST icons)
    : app_(app), ui_(ui), controls_(controls), icons_(icons) {
  Bind(registryBinding_, controls_.registryTree, registry_, LogSection::Registry);
  Bind(driveBinding_, controls_.driveTree, drives_, LogSection::Drives);
  Bind(systemBinding_, controls_.systemTree, systemFiles_, LogSection::SystemFiles);
  for (HWND list : {controls_.registryValues, controls_.driveFiles, controls_.systemValues}) {
    SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(icons_));
    SendMessageA(list, LVM_SETIMAGELIST, LVSIL_STATE, reinterpret_cast<LPARAM>(icons_));
  }
  ShowNoLog();
}

ResultPages::~ResultPages() {
  registryBinding_.reset();
  driveBinding_.reset();
  systemBinding_.reset();
}

void ResultPages::Bind(std::unique_ptr<TreeViewBinding>& binding, HWND view, TreeModel& model, LogSection section) {
  SendMessageA(view, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(icons_));
  SendMessageA(view, TVM_SETIMAGELIST, TVSIL_STATE, reinterpret_cast<LPARAM>(icons_));
  binding = std::make_unique<TreeViewBinding>(view, model);
  TreeViewBinding* raw = binding.get();
  if (section != LogSection::SystemFiles) {
    model.SetLoader([this, raw, section](TreeModel& tree, TreeNode& node) {
      if (app_.currentLogFile.empty()) return;
      WaitCursor wait(ui_);
      raw->Select(&node);
      ExpandResultNode(tree, node, app_.currentLogFile, app_.logPositions, section, ui_);
    });
  }
  binding->onSelect = [this, section](TreeNode* node) { ShowRows(section, node); };
  // The file list reads the log while the cursor waits; the selection stays put meanwhile.
  binding->canChangeSelection = [this] { return !ui_.Waiting(); };
}

bool ResultPages::HandleNotify(const NMHDR& header, LRESULT& result) {
  for (auto* binding : {registryBinding_.get(), driveBinding_.get(), systemBinding_.get()})
    if (binding->HandleNotify(header, result)) return true;
  return false;
}

void ResultPages::ClearLists() {
  for (HWND list : {controls_.registryValues, controls_.driveFiles, controls_.systemValues})
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
}

void ResultPages::ShowNoLog() {
  for (TreeModel* tree : {&registry_, &drives_, &systemFiles_}) {
    tree->Clear();
    tree->Add(nullptr, "<No log file loaded>");
  }
  ClearLists();
}

void ResultPages::ShowResults() {
  for (TreeModel* tree : {&registry_, &drives_, &systemFiles_})
    if (TreeNode* top = tree->FirstTop()) tree->Expand(top);
}

void ResultPages::ShowRows(LogSection section, TreeNode* node) {
  std::vector<ResultRow> rows;
  HWND list = section == LogSection::Registry ? controls_.registryValues
              : section == LogSection::Drives ? controls_.driveFiles
                                              : controls_.systemValues;
  try {
    if (node && !app_.currentLogFile.empty()) {
      switch (section) {
        case LogSection::Registry:
          ReadRegistryRows(*node, app_.currentLogFile, app_.logPositions, ReadRequiredText("DefaultText"),
                           ReadRequiredText("EmptyText"), rows);
          break;
        case LogSection::Drives:
          ReadDriveRows(*node, app_.currentLogFile, app_.logPositions, rows);
          break;
        case LogSection::SystemFiles:
          ReadSystemFileRows(*node, app_.currentLogFile, app_.logPositions, -1, rows);
          break;
      }
    }
  } catch (...) {
    FillRows(list, rows);  // the rows read so far stay
    throw;
  }
  FillRows(list, rows);
}
