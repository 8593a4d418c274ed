#include "tools/ToolWindow.h"

#include "core/Errors.h"
#include "platform/TMyRegIniFile.h"
#include "tools/FoundFileList.h"
#include "ui/MessagePump.h"

ToolWindow::ToolWindow(int templateId, const char* className, const char* section, const std::string& settingsKeyPath,
                       SIZE minimumAt96)
    : Dialog(templateId, className, section),
      section_(section),
      minimumAt96_(minimumAt96),
      ini_(std::make_unique<TMyRegIniFile>(settingsKeyPath)) {}

ToolWindow::~ToolWindow() = default;

void ToolWindow::SaveState() { SaveFormLayout(*ini_, section_, hwnd_, LayoutLists()); }

void ToolWindow::RestoreLayout() {
  RestoreFormLayout(*ini_, section_, hwnd_, LayoutLists());
  Layout();
}

void ToolWindow::FinishRun() {
  if (closeRequested_) OnCancel();
}

void ToolWindow::OnCancel() {
  if (Running()) {
    // The run is below on the stack: it ends first, then the window.
    closeRequested_ = true;
    CancelRun();
    return;
  }
  SaveState();
  End(IDCANCEL);
}

bool ToolWindow::OnMessage(UINT message, WPARAM, LPARAM lParam, INT_PTR& result) {
  return HandleToolWindowSizing(
      hwnd_, message, lParam, minimumAt96_, [this] { Layout(); }, result);
}

void ToolWindow::ProcessMessages() {
  MessagePump::RunPending();
  // A Close during the run stops every part still to come as well.
  if (closeRequested_) CancelRun();
}

void ToolWindow::ReportError(std::exception_ptr error) {
  // The user asked to close: the run's abort needs no notice on the way out.
  if (closeRequested_) {
    try {
      std::rethrow_exception(error);
    } catch (const EMyAbort&) {
      return;
    } catch (...) {
    }
  }
  ReportHandlerError({hwnd_, ClassName(), OwnerPath()}, error);
}
