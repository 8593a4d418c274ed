#pragma once
// Where an exception that escaped a window or dialog handler goes. No exception may cross a
// Win32 callback: the window procedures of ui/ catch everything and hand it to one hook, which
// the program entry installs (the error dialog, or a line on standard error in batch mode).

#include <windows.h>

#include <exception>
#include <functional>
#include <string>

// The window whose handler raised the error, named as the error report names it.
struct HandlerSource {
  HWND window = nullptr;
  std::string className;  // "TfOptions"
  std::string ownerPath;  // "fOptions\GeneralTS"
};

using HandlerErrorHook = std::function<void(const HandlerSource& source, std::exception_ptr error)>;
// Without a hook an error is kept for TakeLastHandlerError and otherwise ignored.
void SetHandlerErrorHook(HandlerErrorHook hook);
std::exception_ptr TakeLastHandlerError();

// Hands error to the hook; never throws (an error of the hook itself is kept instead).
void ReportHandlerError(const HandlerSource& source, std::exception_ptr error) noexcept;
