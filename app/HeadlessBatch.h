#pragma once
// Batch mode where no window can be shown (a scheduled task, a remote shell, CI): no window
// is created, status and errors go to standard error, and the exit code tells the outcome.

#include "app/AppState.h"
#include "app/CommandLine.h"

// Whether this process can show windows to a user: its window station is interactive and a
// window can be created on it.
bool HasInteractiveDisplay();

// Builds the selection trees from the machine, loads "Last.SXS" when it exists, runs the
// request; 0 when it succeeded, 1 when it failed (the error is on standard error).
int RunHeadlessBatch(AppState& app, const CommandLineRequest& request);
