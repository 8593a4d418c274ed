#pragma once
// A window handle as a value: it does not own the window, it only gives the handle typed,
// one-line forwarders so callers do not repeat the casts of SendMessage.

#include <windows.h>

#include <string>

class Window {
 public:
  Window(HWND handle = nullptr) : hwnd_(handle) {}

  HWND Handle() const { return hwnd_; }
  operator HWND() const { return hwnd_; }
  void Attach(HWND handle) { hwnd_ = handle; }
  HWND Detach() {
    HWND handle = hwnd_;
    hwnd_ = nullptr;
    return handle;
  }
  bool Exists() const { return hwnd_ && IsWindow(hwnd_); }

  Window Item(int id) const { return GetDlgItem(hwnd_, id); }
  Window Parent() const { return GetParent(hwnd_); }
  int Id() const { return GetDlgCtrlID(hwnd_); }

  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return SendMessageA(hwnd_, message, wParam, lParam);
  }
  bool Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return PostMessageA(hwnd_, message, wParam, lParam) != FALSE;
  }

  std::string Text() const {
    int length = GetWindowTextLengthA(hwnd_);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    length = GetWindowTextA(hwnd_, text.data(), length + 1);
    text.resize(static_cast<size_t>(length));
    return text;
  }
  bool SetText(const std::string& text) const { return SetWindowTextA(hwnd_, text.c_str()) != FALSE; }

  // Check boxes and radio buttons.
  bool IsChecked() const { return Send(BM_GETCHECK) == BST_CHECKED; }
  void SetChecked(bool checked) const { Send(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED); }
  // Presses a button as a mouse click does: it toggles a check box and notifies the parent.
  void Click() const { Send(BM_CLICK); }

  bool Enable(bool enabled = true) const { return EnableWindow(hwnd_, enabled) != FALSE; }
  bool IsEnabled() const { return IsWindowEnabled(hwnd_) != FALSE; }
  bool Show(int command = SW_SHOW) const { return ShowWindow(hwnd_, command) != FALSE; }
  bool IsVisible() const { return IsWindowVisible(hwnd_) != FALSE; }
  bool Invalidate(bool erase = true) const { return InvalidateRect(hwnd_, nullptr, erase) != FALSE; }
  HWND Focus() const { return SetFocus(hwnd_); }

  HFONT Font() const { return reinterpret_cast<HFONT>(Send(WM_GETFONT)); }
  void SetFont(HFONT font, bool redraw = true) const { Send(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw); }

  DWORD Style() const { return static_cast<DWORD>(GetWindowLongPtrA(hwnd_, GWL_STYLE)); }
  DWORD ExStyle() const { return static_cast<DWORD>(GetWindowLongPtrA(hwnd_, GWL_EXSTYLE)); }

  RECT WindowRect() const {
    RECT rect{};
    GetWindowRect(hwnd_, &rect);
    return rect;
  }
  RECT ClientRect() const {
    RECT rect{};
    GetClientRect(hwnd_, &rect);
    return rect;
  }
  // The window's rectangle in the client coordinates of another window (its parent, mostly).
  RECT RectIn(HWND other) const {
    RECT rect = WindowRect();
    MapWindowPoints(HWND_DESKTOP, other, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }
  int Width() const {
    RECT rect = WindowRect();
    return rect.right - rect.left;
  }
  int Height() const {
    RECT rect = WindowRect();
    return rect.bottom - rect.top;
  }

  bool Move(int x, int y, int width, int height, bool repaint = true) const {
    return MoveWindow(hwnd_, x, y, width, height, repaint) != FALSE;
  }
  bool Move(const RECT& rect, bool repaint = true) const {
    return Move(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, repaint);
  }
  bool SetPosition(int x, int y) const {
    return SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
  }
  bool SetSize(int width, int height) const {
    return SetWindowPos(hwnd_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
  }

  bool Destroy() {
    bool destroyed = DestroyWindow(hwnd_) != FALSE;
    hwnd_ = nullptr;
    return destroyed;
  }

 protected:
  HWND hwnd_;
};
