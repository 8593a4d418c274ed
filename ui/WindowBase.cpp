#include "ui/WindowBase.h"

#include <utility>

#include "ui/MessagePump.h"

WindowBase::WindowBase(std::string className, std::string ownerPath)
    : source_{nullptr, std::move(className), std::move(ownerPath)} {}

WindowBase::~WindowBase() {
  if (hwnd_ && IsWindow(hwnd_)) {
    // The derived object is gone already: no handler may run while the window goes.
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

HWND WindowBase::CreateFromClass(const WindowClassSpec& windowClass, DWORD exStyle, const char* title, DWORD style,
                                 const WindowPlacement& placement, HWND parent, HMENU menuOrId) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  if (!GetClassInfoExA(instance, windowClass.name, &wc)) {
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &WindowBase::Procedure;
    wc.hInstance = instance;
    wc.hCursor = windowClass.cursor;
    wc.hbrBackground = windowClass.background;
    wc.hIcon = windowClass.icon;
    wc.hIconSm = windowClass.smallIcon;
    wc.lpszClassName = windowClass.name;
    if (!RegisterClassExA(&wc)) return nullptr;
  }
  return CreateWindowExA(exStyle, windowClass.name, title, style, placement.x, placement.y, placement.width,
                         placement.height, parent, menuOrId, instance, this);
}

LRESULT WindowBase::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefaultHandling(message, wParam, lParam);
}

LRESULT WindowBase::DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) const {
  return DefWindowProcA(source_.window, message, wParam, lParam);
}

LRESULT CALLBACK WindowBase::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<WindowBase*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    self = static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->hwnd_ = window;
    self->source_.window = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  // Messages before WM_NCCREATE, or after the object went.
  if (!self) return DefWindowProcA(window, message, wParam, lParam);
  LRESULT result = 0;
  try {
    result = self->HandleMessage(message, wParam, lParam);
  } catch (...) {
    ReportHandlerError(self->source_, std::current_exception());
  }
  if (message == WM_NCDESTROY) {
    MessagePump::RemoveWindow(window);
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    self->source_.window = nullptr;
  }
  return result;
}
