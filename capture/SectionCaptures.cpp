#include "capture/SectionCaptures.h"

void DirectCaptureHost::ShowError(const std::string& text) { ui_.Ask(MsgType::Error, text, MsgButtons::Ok); }

void DirectCaptureHost::DisplayProgress(const Progress& shown) {
  ui_.SetStatus(channel_, shown.status);
  ui_.SetProgress(channel_, shown.max, shown.position);
  ui_.ProcessMessages();
}

// A view may be painting the tree on the main thread while a capture runs, so the capture takes
// its copy there.
std::vector<TopChild> ReadTopChildren(const TreeModel& tree, CaptureHost& host) {
  std::vector<TopChild> children;
  host.OnMainThread([&] {
    const TreeNode* top = tree.FirstTop();
    if (!top) return;
    for (size_t i = 0; i < top->Count(); ++i) {
      const TreeNode* child = top->Child(i);
      children.push_back({child->Text(), child->StateIndex(), child->ImageIndex()});
    }
  });
  return children;
}

std::string UnreadableReport(const UnreadableItems& items) {
  if (items.count == 0) return {};
  std::string text =
      "Status: " + std::to_string(items.count) +
      (items.count == 1 ? " folder or file could not be read and is" : " folders or files could not be read and are") +
      " not in the configuration:";
  for (const std::string& path : items.firstPaths) text += "\r" + path;
  if (items.count > static_cast<int>(items.firstPaths.size())) text += "\r...";
  return text;
}
