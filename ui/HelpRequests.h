#pragma once
// Where a request for the help goes. F1 in a dialog and the Help command only name the
// section they want; the program entry installs the one hook that opens the document, so batch
// mode (which installs none) never opens it and tests record the requests instead.

#include <functional>
#include <string>

// The section of the help's contents.
inline constexpr const char* kHelpContents = "";

// section: a window's class name ("TfOptions"), or kHelpContents.
using HelpRequestHook = std::function<void(const std::string& section)>;
// Without a hook a request does nothing.
void SetHelpRequestHook(HelpRequestHook hook);

// Hands the request to the hook; an error of the hook reaches the caller, which for a window's
// handler means the handler error hook (ui/HandlerErrors.h).
void RequestHelp(const std::string& section);
