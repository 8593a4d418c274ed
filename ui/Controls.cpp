#include "ui/Controls.h"

#include <commctrl.h>
#include <uxtheme.h>

#include "ui/Dpi.h"

HWND CreateChild(HWND parent, const char* className, const std::string& text, DWORD style, int id, DWORD exStyle) {
  HWND child = CreateWindowExA(exStyle, className, text.c_str(), WS_CHILD | style, 0, 0, 0, 0, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
  if (child) SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(DefaultGuiFont()), FALSE);
  return child;
}

void AddTabs(HWND tab, const std::vector<std::string>& captions) {
  for (size_t i = 0; i < captions.size(); ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(captions[i].c_str());
    SendMessageA(tab, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
  }
}

std::string GetWindowTextString(HWND window) {
  int length = GetWindowTextLengthA(window);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  GetWindowTextA(window, text.data(), length + 1);
  text.resize(static_cast<size_t>(length));
  return text;
}

HFONT DefaultGuiFont() { return GuiFontForDpi(SystemDpi()); }

SIZE TextExtent(HWND control, const std::string& text, bool wrap) {
  HDC dc = GetDC(control);
  HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
  RECT client;
  GetClientRect(control, &client);
  RECT area{0, 0, wrap ? client.right : 0, 0};
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &area,
            DT_CALCRECT | DT_NOPREFIX | (wrap ? DT_WORDBREAK : DT_SINGLELINE));
  SelectObject(dc, previous);
  ReleaseDC(control, dc);
  return {area.right - area.left, area.bottom - area.top};
}

HBRUSH TabPageTextColors(HDC dc) {
  if (!IsAppThemed()) return nullptr;
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  return GetSysColorBrush(COLOR_WINDOW);
}
