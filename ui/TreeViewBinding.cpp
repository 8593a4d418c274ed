#include "ui/TreeViewBinding.h"

namespace {

// Marks a change of expansion that the view itself started, also when the model throws.
class ExpansionFromView {
 public:
  explicit ExpansionFromView(bool& flag) : flag_(flag) { flag_ = true; }
  ~ExpansionFromView() { flag_ = false; }

 private:
  bool& flag_;
};

HTREEITEM ItemOf(const TreeNode* node) { return node ? static_cast<HTREEITEM>(node->ViewItem()) : TVI_ROOT; }

TreeNode* NodeOfItem(HWND tree, HTREEITEM item) {
  if (!item) return nullptr;
  TVITEMA tvItem{};
  tvItem.mask = TVIF_PARAM | TVIF_HANDLE;
  tvItem.hItem = item;
  if (!SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tvItem))) return nullptr;
  return reinterpret_cast<TreeNode*>(tvItem.lParam);
}

}  // namespace

TreeViewBinding::TreeViewBinding(HWND treeView, TreeModel& model, HidesNode hides)
    : tree_(treeView), model_(model), hides_(std::move(hides)) {
  model_.ForEach([this](TreeNode& node) { InsertItem(node); });
  model_.AddObserver(this);
}

TreeViewBinding::~TreeViewBinding() {
  model_.RemoveObserver(this);
  model_.ForEach([this](TreeNode& node) { model_.SetViewItem(&node, nullptr); });
}

namespace {

// Fills every attribute of the item from its node, so an insert needs no second message.
void FillItem(TVITEMA& item, TreeNode& node) {
  item.mask |= TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN | TVIF_STATE | TVIF_PARAM;
  item.pszText = const_cast<char*>(node.Text().c_str());
  item.lParam = reinterpret_cast<LPARAM>(&node);
  item.iImage = node.ImageIndex();
  item.iSelectedImage = node.SelectedIndex();
  item.cChildren = node.HasChildren() ? 1 : 0;
  // State images have four bits; the restored bit above them shows as the greyed look.
  int stateImage = node.StateIndex() > 0 ? (node.StateIndex() & 15) : 0;
  item.stateMask = TVIS_STATEIMAGEMASK | TVIS_CUT;
  item.state = INDEXTOSTATEIMAGEMASK(stateImage) | (node.Cut() ? TVIS_CUT : 0);
}

}  // namespace

bool TreeViewBinding::Shows(const TreeNode& node) const {
  return (!node.Parent() || node.Parent()->ViewItem()) && !(hides_ && hides_(node));
}

void TreeViewBinding::InsertItem(TreeNode& node) {
  if (!Shows(node)) return;
  TVINSERTSTRUCTA insert{};
  insert.hParent = ItemOf(node.Parent());
  const size_t index = node.Index();
  const size_t siblings = node.Parent() ? node.Parent()->Count() : model_.TopCount();
  if (index + 1 == siblings) {
    insert.hInsertAfter = TVI_LAST;  // the usual append: no handle for the view to look up
  } else {
    // After the nearest sibling before it that shows; hidden siblings have no item.
    insert.hInsertAfter = TVI_FIRST;
    for (size_t i = index; i > 0; --i) {
      const TreeNode* previous = node.Parent() ? node.Parent()->Child(i - 1) : model_.Top(i - 1);
      if (previous->ViewItem()) {
        insert.hInsertAfter = ItemOf(previous);
        break;
      }
    }
  }
  FillItem(insert.item, node);
  model_.SetViewItem(
      &node, reinterpret_cast<void*>(SendMessageA(tree_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert))));
  if (node.Expanded()) SyncExpansion(node);
}

void TreeViewBinding::InsertSubtree(TreeNode& node) {
  InsertItem(node);
  if (!node.ViewItem()) return;
  for (size_t i = 0; i < node.Count(); ++i) InsertSubtree(*node.Child(i));
  SyncExpansion(node);
}

void TreeViewBinding::ApplyAttributes(TreeNode& node) {
  if (!node.ViewItem()) return;
  TVITEMA item{};
  item.mask = TVIF_HANDLE;
  item.hItem = ItemOf(&node);
  FillItem(item, node);
  item.mask &= ~TVIF_PARAM;
  SendMessageA(tree_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  SyncExpansion(node);
}

void TreeViewBinding::SyncExpansion(TreeNode& node) {
  HTREEITEM item = ItemOf(&node);
  bool viewExpanded =
      SendMessageA(tree_, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) & TVIS_EXPANDED;
  if (!syncingExpansion_ && viewExpanded != node.Expanded() && (node.Count() > 0 || !node.Expanded())) {
    ExpansionFromView guard(syncingExpansion_);
    SendMessageA(tree_, TVM_EXPAND, node.Expanded() ? TVE_EXPAND : TVE_COLLAPSE, reinterpret_cast<LPARAM>(item));
  }
}

void TreeViewBinding::ForgetItems(TreeNode& node) {
  model_.SetViewItem(&node, nullptr);
  for (size_t i = 0; i < node.Count(); ++i) ForgetItems(*node.Child(i));
}

void TreeViewBinding::NodeInserted(TreeNode& node) {
  TreeNode* parent = node.Parent();
  if (parent && !parent->ViewItem()) {
    // A hidden parent may show now that it holds something; the node comes with it.
    if (Shows(*parent)) InsertSubtree(*parent);
    return;
  }
  InsertItem(node);
}

void TreeViewBinding::NodeRemoving(TreeNode& node) {
  if (node.ViewItem()) SendMessageA(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(ItemOf(&node)));
  ForgetItems(node);
  // The view drops the expand button of an item whose last child went; the model may still
  // have children to load.
  if (node.Parent() && node.Parent()->Count() == 1) ApplyAttributes(*node.Parent());
}

void TreeViewBinding::NodeChanged(TreeNode& node) {
  if (!node.ViewItem() && Shows(node))
    InsertSubtree(node);
  else
    ApplyAttributes(node);
}

void TreeViewBinding::UpdateBegun() { SendMessageA(tree_, WM_SETREDRAW, FALSE, 0); }

void TreeViewBinding::UpdateEnded() {
  SendMessageA(tree_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(tree_, nullptr, TRUE);
}

TreeNode* TreeViewBinding::Selected() const {
  return NodeOfItem(tree_, reinterpret_cast<HTREEITEM>(SendMessageA(tree_, TVM_GETNEXTITEM, TVGN_CARET, 0)));
}

void TreeViewBinding::Select(TreeNode* node) {
  SendMessageA(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node ? ItemOf(node) : nullptr));
}

TreeNode* TreeViewBinding::NodeAt(POINT clientPoint) const {
  TVHITTESTINFO hit{};
  hit.pt = clientPoint;
  return NodeOfItem(tree_,
                    reinterpret_cast<HTREEITEM>(SendMessageA(tree_, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit))));
}

bool TreeViewBinding::HandleNotify(const NMHDR& header, LRESULT& result) {
  if (header.hwndFrom != tree_) return false;
  result = 0;
  switch (header.code) {
    case TVN_ITEMEXPANDINGA:
    case TVN_ITEMEXPANDINGW: {
      const auto& info = reinterpret_cast<const NMTREEVIEWA&>(header);
      TreeNode* node = reinterpret_cast<TreeNode*>(info.itemNew.lParam);
      if (!node || syncingExpansion_) return true;
      if (inputLocked_) {
        result = TRUE;
        return true;
      }
      if (info.action & TVE_EXPAND) {
        {
          // The view expands by itself once this returns; the model only follows.
          ExpansionFromView guard(syncingExpansion_);
          model_.Expand(node);
        }
        // Nothing could be loaded: the view must not keep an expand button that does nothing.
        if (node->Count() == 0)
          result = TRUE;
        else if (onExpanding)
          onExpanding(*node);  // outside the guard: what it expands further, the view follows
      }
      return true;
    }
    case TVN_ITEMEXPANDEDA:
    case TVN_ITEMEXPANDEDW: {
      const auto& info = reinterpret_cast<const NMTREEVIEWA&>(header);
      TreeNode* node = reinterpret_cast<TreeNode*>(info.itemNew.lParam);
      if (!node || syncingExpansion_) return true;
      if (info.action & TVE_COLLAPSE) {
        ExpansionFromView guard(syncingExpansion_);
        model_.Collapse(node);
        if (onCollapsed) onCollapsed(*node);
      }
      return true;
    }
    case TVN_SELCHANGINGA:
    case TVN_SELCHANGINGW:
      if (canChangeSelection && !canChangeSelection()) result = TRUE;
      return true;
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW: {
      const auto& info = reinterpret_cast<const NMTREEVIEWA&>(header);
      if (onSelect) onSelect(reinterpret_cast<TreeNode*>(info.itemNew.lParam));
      return true;
    }
    case NM_CLICK: {
      if (inputLocked_) return true;
      TVHITTESTINFO hit{};
      DWORD position = GetMessagePos();
      hit.pt = {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
      ScreenToClient(tree_, &hit.pt);
      SendMessageA(tree_, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
      if ((hit.flags & TVHT_ONITEMSTATEICON) && onStateClick) {
        if (TreeNode* node = NodeOfItem(tree_, hit.hItem)) onStateClick(*node);
      }
      return true;
    }
    case NM_CUSTOMDRAW: {
      // Greyed (cut) nodes draw their text in the grey of disabled text: not every
      // common-controls version shows the cut state itself. The selected node keeps the
      // highlight's colours, so it stays readable.
      auto& draw = const_cast<NMTVCUSTOMDRAW&>(reinterpret_cast<const NMTVCUSTOMDRAW&>(header));
      if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) {
        result = CDRF_NOTIFYITEMDRAW;
      } else if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
        const auto* node = reinterpret_cast<const TreeNode*>(draw.nmcd.lItemlParam);
        if (node && node->Cut() && !(draw.nmcd.uItemState & CDIS_SELECTED)) {
          draw.clrText = GetSysColor(COLOR_GRAYTEXT);
          result = CDRF_NEWFONT;
        }
      }
      return true;
    }
    case TVN_KEYDOWN: {
      // Space on the selected node's state image does what a click on it does.
      const auto& key = reinterpret_cast<const NMTVKEYDOWN&>(header);
      if (key.wVKey != VK_SPACE || !onStateClick) return false;
      TreeNode* node = Selected();
      if (!node || node->StateIndex() <= 0) return false;
      // Taken: the space starts no incremental search of the view.
      result = TRUE;
      if (!inputLocked_) onStateClick(*node);
      return true;
    }
    default:
      return false;
  }
}
