#include "app/SplashWindow.h"

#include "ui/Controls.h"

namespace {

constexpr const char* kClassName = "QuorvelSplash";
constexpr int kWidth = 380;
constexpr int kHeight = 150;
constexpr int kBandHeight = 70;

// The picture: a band in the caption colours with the program's name.
void PaintPicture(HWND hwnd, HFONT titleFont) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd, &paint);
  RECT band{0, 0, kWidth, kBandHeight};
  TRIVERTEX corners[2] = {{0, 0, 0x0000, 0x0000, 0x8000, 0}, {kWidth, kBandHeight, 0x1000, 0x8400, 0xD000, 0}};
  GRADIENT_RECT rect{0, 1};
  if (!GradientFill(dc, corners, 2, &rect, 1, GRADIENT_FILL_RECT_H))
    FillRect(dc, &band, GetSysColorBrush(COLOR_ACTIVECAPTION));
  HGDIOBJ oldFont = SelectObject(dc, titleFont);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  RECT text = band;
  text.left += 16;
  DrawTextA(dc, "Quorvel", -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  SelectObject(dc, oldFont);
  EndPaint(hwnd, &paint);
}

}  // namespace

LRESULT CALLBACK SplashWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE)
    SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
  auto* self = reinterpret_cast<SplashWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (message == WM_PAINT && self) {
    PaintPicture(hwnd, self->titleFont_.Get());
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

SplashWindow::SplashWindow() {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, IDC_WAIT);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = kClassName;
  RegisterClassExA(&wc);  // fails harmlessly when already registered
  titleFont_.Reset(CreateFontA(-28, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Tahoma"));
  const int x = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
  hwnd_ = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kClassName, "Quorvel", WS_POPUP | WS_BORDER, x, y, kWidth,
                          kHeight, nullptr, nullptr, wc.hInstance, this);
  if (!hwnd_) return;
  loadLabel_ = CreateChild(hwnd_, "STATIC", "Loading...", WS_VISIBLE | SS_LEFT, 1);
  statusLabel_ = CreateChild(hwnd_, "STATIC", "Status:", WS_VISIBLE | SS_LEFT, 2);
  MoveWindow(loadLabel_, 16, kBandHeight + 12, kWidth - 32, 20, FALSE);
  MoveWindow(statusLabel_, 16, kBandHeight + 40, kWidth - 32, 20, FALSE);
  ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
  UpdateWindow(hwnd_);
  shownAt_ = GetTickCount();
}

SplashWindow::~SplashWindow() {
  if (hwnd_) DestroyWindow(hwnd_);
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
  MSG msg;
  while (GetTickCount() - shownAt_ < minimumMs) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
  }
}
