#pragma once
// The base of the program's dialogs. One static dialog procedure finds the object (stored at
// WM_INITDIALOG) and dispatches to virtuals; an exception thrown by a handler never crosses
// the Win32 callback, it goes to the handler error hook (ui/HandlerErrors.h) instead. Modal and
// modeless dialogs alike take their messages from the message pump, which gives them keyboard
// navigation and turns F1 into WM_HELP; WM_HELP asks for the dialog's help section
// (ui/HelpRequests.h) unless OnMessage handles it.
//
// Every dialog is made from a template whose font becomes Tahoma when the screen has that
// font, so the dialog units of the layout follow the font that is shown. A top-level dialog
// shows the application title before its own caption ("Quorvel - Settings").

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "ui/HandlerErrors.h"
#include "ui/Window.h"

inline constexpr const char* kApplicationTitle = "Quorvel";
inline constexpr const char* kDialogFontName = "Tahoma";

class Dialog : public Window {
 public:
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;
  // A modeless dialog still open is destroyed with its object.
  virtual ~Dialog();

  // Runs the dialog modally, its owner's top-level window disabled meanwhile; the result is what
  // End received, 0 when a WM_QUIT ended it, -1 when it could not be made.
  INT_PTR DoModal(HWND owner);
  // Makes the dialog modeless (hidden unless its template says WS_VISIBLE); false on failure.
  bool Create(HWND parent);
  // Closes the dialog with result: ends the modal loop, or destroys the modeless window.
  void End(INT_PTR result);
  INT_PTR Result() const { return result_; }

  // The form's class name and its owner path ("fOptions\GeneralTS"), for error reports.
  const std::string& ClassName() const { return className_; }
  std::string OwnerPath() const;
  // The help section of this dialog: its form's class name, also for a tab page of the form.
  const std::string& HelpSection() const { return owner_ ? owner_->HelpSection() : className_; }

 protected:
  // owner: the dialog this one is a part of (a tab page's form), for the owner path.
  Dialog(int templateId, std::string className, std::string name, const Dialog* owner = nullptr);

  // Return true to let the system focus the first control.
  virtual bool OnInit() { return true; }
  // Return true when handled; otherwise IDOK and IDCANCEL go on to OnOK and OnCancel.
  virtual bool OnCommand(int /*id*/, int /*code*/, HWND /*control*/) { return false; }
  virtual bool OnNotify(int /*id*/, const NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
  // Any other message; result is the dialog procedure's return value when handled.
  virtual bool OnMessage(UINT /*message*/, WPARAM, LPARAM, INT_PTR& /*result*/) { return false; }
  virtual void OnOK() { End(IDOK); }
  virtual void OnCancel() { End(IDCANCEL); }

 private:
  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  std::vector<unsigned char> LoadTemplate() const;
  void EnableOwner();
  HandlerSource Source() const { return {hwnd_, className_, OwnerPath()}; }

  int templateId_;
  std::string className_;
  std::string name_;
  const Dialog* owner_;
  bool modal_ = false;
  bool ended_ = false;            // End was called while modal
  HWND disabledOwner_ = nullptr;  // the owner a modal run disabled, until End enables it
  INT_PTR result_ = 0;
};

// True when a font family of that name (compared ignoring case) is among the screen fonts.
bool IsScreenFont(const std::string& faceName);

// A copy of a dialog template (DLGTEMPLATE or DLGTEMPLATEEX) with another font face; the
// template unchanged when it names no font. Throws Exception on a truncated template.
std::vector<unsigned char> DialogTemplateWithFont(const unsigned char* data, std::size_t size,
                                                  const std::string& faceName);
