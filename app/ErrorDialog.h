#pragma once
// TErrorFRM: names the kind of an error, shows its message and, on request, the details.
// It starts shrunk so that it ends just above the details box; "&Details" gives it its full
// height.

#include "app/ErrorReporting.h"
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
  int fullHeight_ = 0;
};
