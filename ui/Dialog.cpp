#include "ui/Dialog.h"

#include <utility>

#include "core/Errors.h"
#include "platform/ProcessorFaults.h"
#include "ui/CaptionColors.h"
#include "ui/HelpRequests.h"
#include "ui/MessagePump.h"

namespace {

// Walks the fixed part of a dialog template up to the font face name.
class TemplateReader {
 public:
  TemplateReader(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}

  std::size_t Position() const { return position_; }
  void Skip(std::size_t count) {
    if (count > size_ - position_) throw Exception("Invalid dialog template");
    position_ += count;
  }
  WORD Word() {
    std::size_t at = position_;
    Skip(2);
    return static_cast<WORD>(data_[at] | data_[at + 1] << 8);
  }
  DWORD Dword() {
    DWORD low = Word();
    return low | static_cast<DWORD>(Word()) << 16;
  }
  void SkipString() {
    while (Word() != 0) {
    }
  }
  // A menu or class entry: nothing, an ordinal after 0xFFFF, or a string.
  void SkipNameOrOrdinal() {
    WORD first = Word();
    if (first == 0xFFFF)
      Word();
    else if (first != 0)
      SkipString();
  }

 private:
  const unsigned char* data_;
  std::size_t size_;
  std::size_t position_ = 0;
};

struct FontPlace {
  bool present = false;
  std::size_t faceOffset = 0;  // where the face name starts
  std::size_t faceEnd = 0;     // after its terminating zero
};

FontPlace FindFontFace(const unsigned char* data, std::size_t size) {
  TemplateReader reader(data, size);
  bool extended = size >= 4 && data[0] == 1 && data[1] == 0 && data[2] == 0xFF && data[3] == 0xFF;
  DWORD style;
  if (extended) {
    reader.Skip(4 + 4 + 4);  // version, signature, help id, extended style
    style = reader.Dword();
  } else {
    style = reader.Dword();
    reader.Dword();  // extended style
  }
  reader.Skip(2 + 4 * 2);      // item count, x, y, cx, cy
  reader.SkipNameOrOrdinal();  // menu
  reader.SkipNameOrOrdinal();  // window class
  reader.SkipString();         // title
  FontPlace place;
  if (!(style & DS_SETFONT)) return place;
  reader.Word();                         // point size
  if (extended) reader.Skip(2 + 1 + 1);  // weight, italic, character set
  place.present = true;
  place.faceOffset = reader.Position();
  reader.SkipString();
  place.faceEnd = reader.Position();
  return place;
}

std::size_t AlignToDword(std::size_t offset) { return (offset + 3) & ~static_cast<std::size_t>(3); }

int CALLBACK FontFamilyFound(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM searched) {
  auto* search = reinterpret_cast<std::pair<const std::string*, bool>*>(searched);
  if (lstrcmpiA(font->lfFaceName, search->first->c_str()) != 0) return 1;
  search->second = true;
  return 0;
}

class ScreenDC {
 public:
  ScreenDC() : dc_(GetDC(nullptr)) {}
  ~ScreenDC() {
    if (dc_) ReleaseDC(nullptr, dc_);
  }
  ScreenDC(const ScreenDC&) = delete;
  ScreenDC& operator=(const ScreenDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
};

}  // namespace

Dialog::Dialog(int templateId, std::string className, std::string name, const Dialog* owner)
    : templateId_(templateId), className_(std::move(className)), name_(std::move(name)), owner_(owner) {}

Dialog::~Dialog() {
  if (hwnd_ && IsWindow(hwnd_)) {
    // The derived object is gone already: no handler may run while the window goes.
    SetWindowLongPtrA(hwnd_, DWLP_USER, 0);
    DestroyWindow(hwnd_);
  }
}

std::string Dialog::OwnerPath() const { return owner_ ? owner_->OwnerPath() + "\\" + name_ : name_; }

std::vector<unsigned char> Dialog::LoadTemplate() const {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(templateId_), MAKEINTRESOURCEA(5));  // RT_DIALOG
  HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
  const auto* data = loaded ? static_cast<const unsigned char*>(LockResource(loaded)) : nullptr;
  if (!data) throw Exception(ErrorKind::EResNotFound, "Dialog template " + std::to_string(templateId_) + " not found");
  std::size_t size = SizeofResource(module, resource);
  if (IsScreenFont(kDialogFontName)) return DialogTemplateWithFont(data, size, kDialogFontName);
  return {data, data + size};
}

INT_PTR Dialog::DoModal(HWND owner) {
  std::vector<unsigned char> dialogTemplate = LoadTemplate();
  HWND ownerWindow = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
  modal_ = true;
  ended_ = false;
  result_ = 0;
  HWND made =
      CreateDialogIndirectParamA(GetModuleHandleA(nullptr), reinterpret_cast<LPCDLGTEMPLATEA>(dialogTemplate.data()),
                                 ownerWindow, Procedure, reinterpret_cast<LPARAM>(this));
  if (!made) {
    modal_ = false;
    return -1;
  }
  if (!ended_) {
    // Shown before the owner is disabled: the owner loses the activation while its control
    // still has the focus, and can give it back when the dialog closes.
    ShowWindow(made, SW_SHOW);
    if (ownerWindow && IsWindowEnabled(ownerWindow)) {
      disabledOwner_ = ownerWindow;
      EnableWindow(ownerWindow, FALSE);
    }
    MessagePump::RunUntil([this, made] { return ended_ || !IsWindow(made); });
  }
  EnableOwner();
  if (IsWindow(made)) DestroyWindow(made);
  modal_ = false;
  return result_;
}

bool Dialog::Create(HWND parent) {
  if (Exists()) return false;
  std::vector<unsigned char> dialogTemplate = LoadTemplate();
  modal_ = false;
  result_ = 0;
  return CreateDialogIndirectParamA(GetModuleHandleA(nullptr), reinterpret_cast<LPCDLGTEMPLATEA>(dialogTemplate.data()),
                                    parent, Procedure, reinterpret_cast<LPARAM>(this)) != nullptr;
}

void Dialog::End(INT_PTR result) {
  result_ = result;
  if (!hwnd_) return;
  if (modal_) {
    ended_ = true;
    // Gone from the screen at once, the owner active again, as the loop may end only later.
    EnableOwner();
    SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    HWND owner = GetWindow(hwnd_, GW_OWNER);
    if (owner && GetActiveWindow() == hwnd_) SetForegroundWindow(owner);
    // Wakes the modal loop should it be waiting for a message.
    Post(WM_NULL);
  } else {
    DestroyWindow(hwnd_);
  }
}

void Dialog::EnableOwner() {
  // Enabled before the dialog goes, so the owner is activated again, not another program.
  if (disabledOwner_) EnableWindow(disabledOwner_, TRUE);
  disabledOwner_ = nullptr;
}

INT_PTR CALLBACK Dialog::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Dialog* self;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<Dialog*>(lParam);
    SetWindowLongPtrA(window, DWLP_USER, lParam);
    self->hwnd_ = window;
    // Tab pages are part of their dialog, whose navigation covers them.
    if (!(GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD)) MessagePump::AddWindow(window, nullptr, true);
  } else {
    self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, DWLP_USER));
  }
  if (!self) return FALSE;  // messages before WM_INITDIALOG, or after the object went
  if (message == WM_NCDESTROY) {
    MessagePump::RemoveWindow(window);
    SetWindowLongPtrA(window, DWLP_USER, 0);
    self->hwnd_ = nullptr;
    return FALSE;
  }
  try {
    // A fault in a dialog opened by a command is reported here, and the dialog stays usable.
    INT_PTR result = FALSE;
    RunCatchingFaultsWithinGuard([&] { result = self->Dispatch(message, wParam, lParam); });
    return result;
  } catch (...) {
    ReportHandlerError(self->Source(), std::current_exception());
    return message == WM_INITDIALOG ? TRUE : FALSE;
  }
}

INT_PTR Dialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      if (!(Style() & WS_CHILD)) {
        std::string caption = Text();
        SetText(caption.empty() ? kApplicationTitle : std::string(kApplicationTitle) + " - " + caption);
        ApplyCaptionColorSettings(hwnd_);
      }
      return OnInit() ? TRUE : FALSE;
    }
    case WM_COMMAND: {
      int id = LOWORD(wParam);
      int code = HIWORD(wParam);
      if (OnCommand(id, code, reinterpret_cast<HWND>(lParam))) return TRUE;
      if (code != BN_CLICKED) return FALSE;
      if (id == IDOK) {
        OnOK();
        return TRUE;
      }
      if (id == IDCANCEL) {
        OnCancel();
        return TRUE;
      }
      return FALSE;
    }
    case WM_NOTIFY: {
      const NMHDR& header = *reinterpret_cast<const NMHDR*>(lParam);
      LRESULT result = 0;
      if (!OnNotify(static_cast<int>(header.idFrom), header, result)) return FALSE;
      if (hwnd_) SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
      return TRUE;
    }
    case WM_HELP: {
      INT_PTR result = FALSE;
      if (OnMessage(message, wParam, lParam, result)) return result;
      RequestHelp(HelpSection());
      return TRUE;
    }
    default: {
      INT_PTR result = FALSE;
      return OnMessage(message, wParam, lParam, result) ? result : FALSE;
    }
  }
}

bool IsScreenFont(const std::string& faceName) {
  ScreenDC screen;
  LOGFONTA query{};
  query.lfCharSet = DEFAULT_CHARSET;
  // Asks for that family only; the callback still compares, as the name is the criterion.
  lstrcpynA(query.lfFaceName, faceName.c_str(), LF_FACESIZE);
  std::pair<const std::string*, bool> search{&faceName, false};
  EnumFontFamiliesExA(screen.Get(), &query, FontFamilyFound, reinterpret_cast<LPARAM>(&search), 0);
  return search.second;
}

std::vector<unsigned char> DialogTemplateWithFont(const unsigned char* data, std::size_t size,
                                                  const std::string& faceName) {
  FontPlace place = FindFontFace(data, size);
  if (!place.present) return {data, data + size};
  std::vector<unsigned char> result(data, data + place.faceOffset);
  int length = MultiByteToWideChar(CP_ACP, 0, faceName.c_str(), -1, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');  // with the terminating zero
  MultiByteToWideChar(CP_ACP, 0, faceName.c_str(), -1, wide.data(), length);
  for (wchar_t c : wide) {
    result.push_back(static_cast<unsigned char>(c & 0xFF));
    result.push_back(static_cast<unsigned char>((c >> 8) & 0xFF));
  }
  // The controls start on a DWORD boundary after the header, in both copies.
  result.resize(AlignToDword(result.size()), 0);
  std::size_t items = AlignToDword(place.faceEnd);
  if (items < size) result.insert(result.end(), data + items, data + size);
  return result;
}
