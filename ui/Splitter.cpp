#include "ui/Splitter.h"

#include <algorithm>

#include "ui/Dpi.h"

namespace {

constexpr char kSplitterClass[] = "QuorvelSplitter";

}  // namespace

Splitter::Splitter(HWND parent, int id, std::function<void()> onMoved)
    : WindowBase("TSplitter", "Splitter"), onMoved_(std::move(onMoved)) {
  const WindowClassSpec windowClass{kSplitterClass, LoadCursor(nullptr, IDC_SIZEWE),
                                    reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)};
  CreateFromClass(windowClass, 0, "", WS_CHILD, {0, 0, 0, 0}, parent,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

int Splitter::BarWidth() const { return DpiScale(WindowDpi(hwnd_))(kBarWidth); }

int Splitter::Arrange(const RECT& area) {
  area_ = area;
  const int width = area.right - area.left;
  const int barWidth = BarWidth();
  const int minPane = DpiScale(WindowDpi(hwnd_))(kMinPane);
  int left = position_ < 0 ? width * 2 / 5 : position_;
  left = std::max(minPane, std::min(left, width - barWidth - minPane));
  // A page too narrow for two minimal panes still gets a non-negative left pane.
  placed_ = std::max(0, left);
  MoveWindow(hwnd_, area.left + placed_, area.top, barWidth, std::max(0L, area.bottom - area.top), TRUE);
  return placed_;
}

LRESULT Splitter::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
      grabOffset_ = ParentX(lParam) - (area_.left + placed_);
      SetCapture(hwnd_);
      return 0;
    case WM_MOUSEMOVE:
      if (GetCapture() != hwnd_) return 0;
      position_ = ParentX(lParam) - grabOffset_ - area_.left;
      if (onMoved_) onMoved_();
      // Moved panes are drawn anew at once: bits the move copied (a list's rows) would otherwise
      // show shifted until something else repaints them.
      RedrawWindow(GetParent(hwnd_), &area_, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
      return 0;
    case WM_LBUTTONUP:
      if (GetCapture() == hwnd_) ReleaseCapture();
      return 0;
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

int Splitter::ParentX(LPARAM lParam) const {
  POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  MapWindowPoints(hwnd_, GetParent(hwnd_), &point, 1);
  return point.x;
}
