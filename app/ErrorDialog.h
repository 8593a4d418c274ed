#pragma once
// TErrorFRM: names the kind of an error, shows its message and, on request, the details.
// It starts shrunk so that it ends just above the details box; "&Details" gives it its full
// height. The headline and the kind text are measured and get the room they need: the controls
// below move down and the dialog grows.

#include <string>

#include "app/ErrorReporting.h"
#include "platform/Handle.h"
#include "ui/Dialog.h"

class TErrorFRM : public Dialog {
 public:
  explicit TErrorFRM(ErrorReport report);

  ErrorReport report;  // in: what the dialog shows

  int FullHeight() const { return fullHeight_; }
  void ShowDetails();

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;

 private:
  int FitLabelHeights();

  UniqueFont headlineFont_;
  int fullHeight_ = 0;
};

// Text for an edit control: every line break ("\r", "\n" or "\r\n") as "\r\n", the only one an
// edit control shows. Messages break lines with "\r" alone.
std::string WithCrLfLineBreaks(const std::string& text);
