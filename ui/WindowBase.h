#pragma once
// The base of the program's own window classes (main window, splash window, splitter). Each
// class is registered once per name; CreateWindowEx hands the object over, WM_NCCREATE ties
// the handle to it, and one static window procedure dispatches to HandleMessage. An exception
// thrown by a handler never crosses the Win32 callback: it goes to the handler error hook, as
// a dialog's does.

#include <windows.h>

#include <string>

#include "ui/HandlerErrors.h"
#include "ui/Window.h"

// What a window class looks like; the procedure is always the base's.
struct WindowClassSpec {
  const char* name;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  HICON icon = nullptr;
  HICON smallIcon = nullptr;
};

struct WindowPlacement {
  int x = CW_USEDEFAULT;
  int y = CW_USEDEFAULT;
  int width = CW_USEDEFAULT;
  int height = CW_USEDEFAULT;
};

class WindowBase : public Window {
 public:
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;
  // A window still open is destroyed with its object, its handlers no longer called.
  virtual ~WindowBase();

 protected:
  // className and ownerPath name the window in error reports ("TMainForm", "MainForm").
  WindowBase(std::string className, std::string ownerPath);

  // Registers the class when this process has none of that name yet, then creates the window
  // tied to this object; null when it could not be made.
  HWND CreateFromClass(const WindowClassSpec& windowClass, DWORD exStyle, const char* title, DWORD style,
                       const WindowPlacement& placement, HWND parent, HMENU menuOrId);

  // Every message after WM_NCCREATE; the default leaves it to DefWindowProc.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) const;

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HandlerSource source_;
};
