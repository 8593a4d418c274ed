#include "app/SplashWindow.h"

#include "ui/Controls.h"
#include "ui/Dpi.h"
#include "ui/MessagePump.h"

namespace {

constexpr const char* kClassName = "QuorvelSplash";
// At 96 DPI; the window is made for the system's DPI.
constexpr int kWidth = 380;
constexpr int kHeight = 150;
constexpr int kBandHeight = 70;

// The picture: a band in the caption colours with the program's name.
void PaintPicture(HWND hwnd, HFONT titleFont) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd, &paint);
  const DpiScale scale(SystemDpi());
  RECT band{0, 0, scale(kWidth), scale(kBandHeight)};
  TRIVERTEX corners[2] = {{0, 0, 0x0000, 0x0000, 0x8000, 0}, {band.right, band.bottom, 0x1000, 0x8400, 0xD000, 0}};
  GRADIENT_RECT rect{0, 1};
  if (!GradientFill(dc, corners, 2, &rect, 1, GRADIENT_FILL_RECT_H))
    FillRect(dc, &band, GetSysColorBrush(COLOR_ACTIVECAPTION));
  HGDIOBJ oldFont = SelectObject(dc, titleFont);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  RECT text = band;
  text.left += scale(16);
  DrawTextA(dc, "Quorvel", -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  SelectObject(dc, oldFont);
  EndPaint(hwnd, &paint);
}

}  // namespace

LRESULT SplashWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return DefaultHandling(message, wParam, lParam);
  PaintPicture(hwnd_, titleFont_.Get());
  return 0;
}

SplashWindow::SplashWindow() : WindowBase("TfSplash", "fSplash") {
  const DpiScale scale(SystemDpi());
  titleFont_.Reset(CreateFontA(-scale(28), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Tahoma"));
  const int width = scale(kWidth);
  const int height = scale(kHeight);
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  const WindowClassSpec windowClass{kClassName, LoadCursorA(nullptr, IDC_WAIT), GetSysColorBrush(COLOR_BTNFACE)};
  if (!CreateFromClass(windowClass, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "Quorvel", WS_POPUP | WS_BORDER,
                       {x, y, width, height}, nullptr, nullptr))
    return;
  loadLabel_ = CreateChild(hwnd_, "STATIC", "Loading...", WS_VISIBLE | SS_LEFT, 1);
  statusLabel_ = CreateChild(hwnd_, "STATIC", "Status:", WS_VISIBLE | SS_LEFT, 2);
  MoveWindow(loadLabel_, scale(16), scale(kBandHeight + 12), width - scale(32), scale(20), FALSE);
  MoveWindow(statusLabel_, scale(16), scale(kBandHeight + 40), width - scale(32), scale(20), FALSE);
  ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
  UpdateWindow(hwnd_);
  shownAt_ = GetTickCount();
  watching_ = this;
  activationHook_ = SetWindowsHookExA(WH_CBT, WatchActivation, nullptr, GetCurrentThreadId());
}

SplashWindow::~SplashWindow() {
  if (activationHook_) UnhookWindowsHookEx(activationHook_);
  if (watching_ == this) watching_ = nullptr;
}

LRESULT CALLBACK SplashWindow::WatchActivation(int code, WPARAM wParam, LPARAM lParam) {
  // Hidden before the activated window (a message box, the error dialog) is drawn.
  if (code == HCBT_ACTIVATE && watching_ && watching_->hwnd_ && reinterpret_cast<HWND>(wParam) != watching_->hwnd_)
    ShowWindow(watching_->hwnd_, SW_HIDE);
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void SplashWindow::SetLabel(HWND label, const std::string& text) {
  if (!label) return;
  SetWindowTextA(label, text.c_str());
  UpdateWindow(label);
}

void SplashWindow::SetTitle(const std::string& text) { SetLabel(loadLabel_, text); }

void SplashWindow::SetStatus(const std::string& text) { SetLabel(statusLabel_, text); }

void SplashWindow::WaitShown(DWORD minimumMs) const {
  if (!hwnd_) return;
  while (GetTickCount() - shownAt_ < minimumMs) {
    MessagePump::RunPending();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
  }
}
