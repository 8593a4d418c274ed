#include "ui/ActiveOwner.h"

namespace {

bool TakesInput(HWND window) { return window && IsWindowVisible(window) && IsWindowEnabled(window); }

}  // namespace

HWND ActiveOwnerOf(HWND window) {
  if (!window) return nullptr;
  HWND root = GetAncestor(window, GA_ROOT);
  HWND active = GetActiveWindow();
  if (TakesInput(active) && GetAncestor(active, GA_ROOTOWNER) == root) return active;
  // Not active (another program is): the dialog the user used last still comes first.
  HWND popup = GetLastActivePopup(root);
  if (popup != root && TakesInput(popup) && GetAncestor(popup, GA_ROOTOWNER) == root) return popup;
  return root;
}
