#include "app/BatchMode.h"

#include <windows.h>

#include "app/NonInteractive.h"
#include "app/RestoreRights.h"
#include "app/RestoreSettingsOf.h"
#include "app/SelectionCommands.h"
#include "app/UnattendedSharedFilePrompt.h"
#include "app/Workflows.h"
#include "platform/FileSystem.h"
#include "capture/SaveConfiguration.h"
#include "core/Errors.h"
#include "core/TextCompare.h"

namespace {

struct Batch {
  Session& session;
  UserInteraction& ui;
  MainThreadCalls& calls;
  const BatchOutput& output;

  void Status(const std::string& text) {
    if (output.showStatus) output.showStatus(text);
    ui.ProcessMessages();
  }
  StepReport Steps() {
    return [this](const std::string& text) { Status(text); };
  }
};

void Store(Batch& batch) {
  batch.Status("Status: Saving current configuration.");
  WaitCursor wait(batch.ui);
  WriteSnapshot(batch.session, batch.calls, batch.ui, batch.session.State().programFolder + kOldConfigFile);
}

void Compare(Batch& batch, const std::string& argument) {
  batch.Status("Status: Saving current configuration.");
  CompareIntoLog(batch.session, batch.calls, batch.ui, BatchLogFileName(argument), false, batch.Steps());
}

bool IsLogFileName(const std::string& path) {
  return path.size() >= 4 && CompareTextLocale(path.substr(path.size() - 4), ".SXL") == 0;
}

// Every change of the log undone, section by section, as Restore All does without asking.
void Uninstall(Batch& batch, const std::string& argument) {
  batch.Status("Status: Loading log file.");
  const std::string logFile = BatchLogFileName(argument);
  AppState& app = batch.session.State();
  WaitCursor wait(batch.ui);
  if (IsLogFileName(logFile) && FileExists(logFile)) OpenLog(batch.session, batch.ui, logFile);
  UnattendedSharedFilePrompt sharedFiles(CurrentRestoreSettings(app.programFolder).handleSharedDLLs,
                                         batch.session.Results(), app.currentLogFile, app.logPositions, batch.ui,
                                         batch.output.writeLine);
  // Unattended, the note is written and the undo goes on: what fails is reported item by item.
  AcceptRestoreAllRights(app, batch.ui, batch.session.Results());
  RestoreAll(batch.session, batch.ui, sharedFiles, batch.Steps());
}

}  // namespace

void RunBatch(const CommandLineRequest& request, Session& session, UserInteraction& ui, MainThreadCalls& calls,
              const BatchOutput& output) {
  Batch batch{session, ui, calls, output};
  switch (request.action) {
    case CommandLineAction::Store:
      Store(batch);
      break;
    case CommandLineAction::Compare:
      Compare(batch, request.argument);
      break;
    case CommandLineAction::Uninstall:
      Uninstall(batch, request.argument);
      break;
    default:
      RaiseUnknownCase("TMainForm", "RunBatch");
  }
}

std::string BatchErrorText(std::exception_ptr error) {
  const ErrorInfo info = DescribeError(error);
  return "Error: " + (info.message.empty() ? std::string("Operation aborted!") : info.message);
}

bool HasInteractiveDisplay() {
  USEROBJECTFLAGS flags{};
  DWORD needed = 0;
  if (GetUserObjectInformationA(GetProcessWindowStation(), UOI_FLAGS, &flags, sizeof flags, &needed) &&
      !(flags.dwFlags & WSF_VISIBLE))
    return false;
  HWND probe = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  if (!probe) return false;
  DestroyWindow(probe);
  return true;
}

int RunBatchWithoutDisplay(const CommandLineRequest& request, Session& session) {
  NonInteractive ui;
  try {
    ui.SetStatus(StatusChannel::Main, "Running batch mode...");
    ui.SetStatus(StatusChannel::Main, "Status: Loading selections.");
    LoadStartupSelection(session, ui);
    FinishStartupSelection(session);
    MainThreadCalls calls;
    RunBatch(
        request, session, ui, calls,
        {[&](const std::string& status) { ui.SetStatus(StatusChannel::Main, status); }, NonInteractive::WriteLine});
    NonInteractive::WriteLine("Done.");
    return 0;
  } catch (...) {
    NonInteractive::WriteLine(BatchErrorText(std::current_exception()));
    return 1;
  }
}
