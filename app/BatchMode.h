#pragma once
// Batch mode: STORECONFIG, COMPARE and UNINSTALL run their sequence on the session without the
// user and the program ends. With a display the main window shows the session (hidden); without
// one no window is created at all.

#include <exception>
#include <functional>
#include <string>

#include "app/CommandLine.h"
#include "app/Session.h"
#include "core/MainThreadCalls.h"
#include "core/UserInteraction.h"

// Where batch mode writes besides the questions: the status texts (the splash window's and
// standard error's) and the unattended answers of the "Shared DLLs" question.
struct BatchOutput {
  std::function<void(const std::string& status)> showStatus;
  std::function<void(const std::string& line)> writeLine;
};

// Runs the batch request; errors propagate to the caller after the hourglass is restored.
// Every question takes its unattended answer from ui; the "Shared DLLs" question is answered by
// UnattendedSharedFilePrompt.
void RunBatch(const CommandLineRequest& request, Session& session, UserInteraction& ui, MainThreadCalls& calls,
              const BatchOutput& output);

// The line batch mode ends with when it failed: "Error: " and the message.
std::string BatchErrorText(std::exception_ptr error);

// Whether this process can show windows to a user: its window station is interactive and a
// window can be created on it.
bool HasInteractiveDisplay();

// Batch mode where no window can be shown (a scheduled task, a remote shell, CI): status and
// errors go to standard error. Builds the selection trees from the machine, loads "Last.SXS"
// when it exists, runs the request; 0 when it succeeded, 1 when it failed.
int RunBatchWithoutDisplay(const CommandLineRequest& request, Session& session);
