#include "compare/ResultPath.h"

#include <string_view>

#include "core/CheckStates.h"

namespace {

std::string AsciiUpper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return upper;
}

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && AsciiUpper(a) == AsciiUpper(b);
}

// Root-level and top-level nodes are few, and the lists there are not sorted by name (they
// follow the selection trees), so they are searched in full.
TreeNode* FindChildExactly(const TreeModel& tree, const TreeNode* parent, const std::string& text) {
  const size_t count = parent ? parent->Count() : tree.TopCount();
  for (size_t i = 0; i < count; ++i) {
    TreeNode* node = parent ? parent->Child(i) : tree.Top(i);
    if (node->Text() == text) return node;
  }
  return nullptr;
}

TreeNode* LastChild(const TreeModel& tree, const TreeNode* parent) {
  const size_t count = parent ? parent->Count() : tree.TopCount();
  if (count == 0) return nullptr;
  return parent ? parent->Child(count - 1) : tree.Top(count - 1);
}

}  // namespace

TreeNode* AddResultNode(TreeModel& tree, TreeNode* parent, const std::string& text, int image, int kind,
                        int selectedImage) {
  return tree.Add(parent, {.text = text, .stateIndex = kind, .imageIndex = image, .selectedIndex = selectedImage});
}

ResultPath::ResultPath(TreeModel& resultTree, const TreeModel& selectionTree)
    : resultTree_(resultTree), selectionTree_(selectionTree) {}

void ResultPath::Push(std::string_view name) {
  if (size_ == entries_.size()) entries_.emplace_back();
  Entry& entry = entries_[size_++];
  entry.name.assign(name);
  entry.result = nullptr;
  entry.selectionResolved = false;
  entry.selection = nullptr;
  entry.children.reset();
}

void ResultPath::Pop() { --size_; }

TreeNode* ResultPath::FindOrCreate(int image, int kind, int selectedImage) {
  TreeNode* parent = nullptr;
  for (size_t level = 0; level < size_; ++level) {
    Entry& entry = entries_[level];
    if (!entry.result) {
      TreeNode* found = nullptr;
      if (level < 2) {
        found = FindChildExactly(resultTree_, parent, entry.name);
      } else {
        TreeNode* last = LastChild(resultTree_, parent);
        if (last && last->Text() == entry.name) found = last;
      }
      entry.result = found ? found : AddResultNode(resultTree_, parent, entry.name, image, kind, selectedImage);
    }
    parent = entry.result;
  }
  return parent;
}

const TreeNode* ResultPath::SelectionChild(Entry& parent, const std::string& name) {
  if (!parent.selection) return nullptr;
  if (!parent.children) {
    parent.children = std::make_unique<ChildIndex>();
    for (size_t i = 0; i < parent.selection->Count(); ++i) {
      const TreeNode* child = parent.selection->Child(i);
      // The first of equal texts wins, as a search from the front would find it.
      parent.children->emplace(AsciiUpper(child->Text()), child);
    }
  }
  const auto it = parent.children->find(AsciiUpper(name));
  return it == parent.children->end() ? nullptr : it->second;
}

int ResultPath::Lookup(const std::string& name) {
  const TreeNode* node = nullptr;
  for (size_t level = 0; level < size_; ++level) {
    Entry& entry = entries_[level];
    if (!entry.selectionResolved) {
      if (level == 0) {
        for (size_t i = 0; i < selectionTree_.TopCount() && !entry.selection; ++i)
          if (SameIgnoringAsciiCase(selectionTree_.Top(i)->Text(), entry.name)) entry.selection = selectionTree_.Top(i);
      } else {
        entry.selection = SelectionChild(entries_[level - 1], entry.name);
      }
      entry.selectionResolved = true;
    }
    node = entry.selection;
  }
  if (size_ > 0) node = SelectionChild(entries_[size_ - 1], name);
  if (node) return node->StateIndex();
  return IsSkippedControlSet(name) ? kStateUnchecked : kStateNotFound;
}

bool ResultPath::IsSkippedControlSet(const std::string& name) const {
  // The names between the top node's and the looked-up one, each followed by "\".
  std::string between;
  for (size_t level = 1; level < size_; ++level) between += entries_[level].name + "\\";
  if (!SameIgnoringAsciiCase(between, "HKEY_LOCAL_MACHINE\\SYSTEM\\")) return false;
  return IsControlSetName(name);
}

bool IsControlSetName(std::string_view name) {
  const std::string upper = AsciiUpper(name);
  return upper.rfind("CONTROLSET", 0) == 0 || upper == "CURRENTCONTROLSET";
}
