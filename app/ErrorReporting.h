#pragma once
// The one handler for every error that no operation traps: the user's cancel becomes a notice,
// the silent abort nothing, every other error the error dialog.

#include <windows.h>

#include <exception>
#include <string>

// The object whose handler raised the error.
struct ErrorSource {
  std::string className;  // "TfOptions"
  std::string ownerPath;  // names from the outermost owner down, joined with "\"
};

// What the error dialog shows.
struct ErrorReport {
  std::string kindText;  // the plain-words kind ("Integer calculation error\r\nDivide by zero")
  std::string message;
  std::string details;  // kind name, source class and owner path
};

ErrorReport BuildErrorReport(const ErrorSource& source, std::exception_ptr error);

// The application-wide error handler; owner may be null.
void ShowError(HWND owner, const ErrorSource& source, std::exception_ptr error);

// Routes every error that escapes a window or dialog handler to ShowError.
void InstallHandlerErrorHook();
