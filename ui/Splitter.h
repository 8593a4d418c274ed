#pragma once
// A vertical bar between a left and a right pane that the user drags with the mouse. The
// owner lays its panes out through Arrange, which also places the bar; a drag moves the
// divider and asks the owner to lay out again.

#include <windows.h>

#include <functional>

#include "ui/WindowBase.h"

class Splitter : public WindowBase {
 public:
  // At 96 DPI; scaled to the window's DPI.
  static constexpr int kBarWidth = 4;
  static constexpr int kMinPane = 40;

  Splitter(HWND parent, int id, std::function<void()> onMoved);

  int BarWidth() const;

  // The left pane's width as last arranged.
  int Position() const { return placed_; }
  // A stored width; takes effect at the next Arrange.
  void SetPosition(int position) { position_ = position; }

  // Places the bar inside area (parent's client coordinates) and returns the left pane's
  // width. Without a position of its own the left pane takes two fifths. The position is
  // clamped to keep both panes visible but kept as chosen, so a window that grows back shows
  // it again.
  int Arrange(const RECT& area);

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  // The mouse's x in the parent's client coordinates.
  int ParentX(LPARAM lParam) const;

  std::function<void()> onMoved_;
  int position_ = -1;
  int placed_ = 0;
  RECT area_{};
  int grabOffset_ = 0;  // from the bar's left edge to where the mouse took it
};
