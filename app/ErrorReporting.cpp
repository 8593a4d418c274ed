#include "app/ErrorReporting.h"

#include "app/ErrorDialog.h"
#include "core/Errors.h"
#include "ui/ActiveOwner.h"
#include "ui/Dialog.h"
#include "ui/HandlerErrors.h"
#include "ui/MessagePump.h"

ErrorReport BuildErrorReport(const ErrorSource& source, std::exception_ptr error) {
  ErrorInfo info = DescribeError(error);
  ErrorReport report;
  report.kindText = ErrorKindText(info.kind);
  report.message = info.message;
  report.details = std::string("Errortype:\r\n   ") + ErrorKindName(info.kind) + "\r\nError produced by:\r\n   " +
                   source.className + "\r\nError occurred:\r\n   " + source.ownerPath;
  return report;
}

void ShowError(HWND window, const ErrorSource& source, std::exception_ptr error) {
  const HWND owner = ActiveOwnerOf(window);
  ErrorInfo info = DescribeError(error);
  if (ErrorKindIsA(info.kind, ErrorKind::EMyAbort)) {
    MessageBoxA(owner, "Operation aborted!", kApplicationTitle, MB_OK | MB_ICONINFORMATION);
    return;
  }
  if (ErrorKindIsA(info.kind, ErrorKind::EAbort)) return;  // ends an operation without a word
  MessagePump::RunPending();
  TErrorFRM form(BuildErrorReport(source, error));
  form.DoModal(owner);
  MessagePump::RunPending();
}

void InstallHandlerErrorHook() {
  SetHandlerErrorHook([](const HandlerSource& source, std::exception_ptr error) {
    HWND owner = source.window ? GetAncestor(source.window, GA_ROOT) : nullptr;
    ShowError(owner, {source.className, source.ownerPath}, error);
  });
}
