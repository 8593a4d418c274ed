#include "capture/SaveConfiguration.h"

#include <memory>

#include "capture/CaptureThreads.h"
#include "platform/FileSystem.h"
#include "datafiles/ConfigurationFile.h"

const char* const kOldConfigFile = "OldCFG.SXD";
const char* const kNewConfigFile = "NewCFG.SXD";
const char* const kOldConfigBackup = "OldCFG.BAK";

namespace {

constexpr size_t kFileBufferSize = 102400;

struct Capture {
  TWriteRegThread registry;
  TWriteDrivesThread drives;
};

// Runs both capture threads to their end. A failed capture leaves an unfinished section that
// a later compare would misread, so it fails the whole save instead.
std::unique_ptr<Capture> RunCaptureThreads(const SelectionTrees& trees, MainThreadCalls& calls, UserInteraction& ui) {
  ui.ShowSecondaryStatus(true);
  struct HideSecondary {
    UserInteraction& ui;
    ~HideSecondary() { ui.ShowSecondaryStatus(false); }
  } hide{ui};

  // Settings are read here, on the main thread, as the save starts; the threads read none.
  auto capture = std::unique_ptr<Capture>(new Capture{
      {calls, ui, trees.registry}, {calls, ui, trees.drives, trees.systemFiles, CurrentSystemFileFolders()}});
  capture->registry.ownPlaces = trees.ownPlaces;
  capture->drives.ownPlaces = trees.ownPlaces;
  capture->registry.Start();
  capture->drives.Start();
  calls.WaitUntil([&] { return capture->registry.Finished(); }, [&] { ui.ProcessMessages(); });
  calls.WaitUntil([&] { return capture->drives.Finished(); }, [&] { ui.ProcessMessages(); });
  capture->registry.Join();
  capture->drives.Join();

  const std::pair<const CaptureThread*, const char*> threads[] = {{&capture->registry, "the registry"},
                                                                  {&capture->drives, "the drives and system files"}};
  for (const auto& [thread, what] : threads)
    if (thread->Failure())
      throw Exception(thread->Failure()->kind, std::string("The capture of ") + what +
                                                   " failed; the configuration file was not written.\r" +
                                                   thread->Failure()->message);
  return capture;
}

// The save goes on without what could not be read, and says so where batch mode writes it too.
void ReportUnreadable(const Capture& capture, UserInteraction& ui) {
  std::string report = UnreadableReport(capture.drives.unreadable);
  if (!report.empty()) ui.SetStatus(StatusChannel::Main, report);
}

// Header, registry section, drives and system-files sections, whatever order the threads
// finished in.
void WriteCapturedFile(const std::string& path, Capture& capture) {
  TFileStream file(path, FileMode::Create);
  TWriter writer(file, kFileBufferSize);
  writer.WriteString(kRegistrationHeader);
  for (CaptureThread* thread :
       {static_cast<CaptureThread*>(&capture.registry), static_cast<CaptureThread*>(&capture.drives)}) {
    thread->Writer().FlushBuffer();
    thread->Stream().ForEachChunk([&](const uint8_t* data, size_t size) { writer.Write(data, size); });
  }
  writer.FlushBuffer();
}

// Writes next to the target first, so that a failed write never leaves a half file under the
// target's name.
std::string WriteTemporaryFile(const std::string& path, Capture& capture) {
  std::string temporary = path + ".tmp";
  try {
    WriteCapturedFile(temporary, capture);
  } catch (...) {
    DeleteFileA(temporary.c_str());
    throw;
  }
  return temporary;
}

}  // namespace

void WriteConfigurationFile(const std::string& path, const SelectionTrees& trees, MainThreadCalls& calls,
                            UserInteraction& ui) {
  std::unique_ptr<Capture> capture = RunCaptureThreads(trees, calls, ui);
  std::string temporary = WriteTemporaryFile(path, *capture);
  ReportUnreadable(*capture, ui);
  try {
    MoveReplacing(temporary, path);
  } catch (...) {
    DeleteFileA(temporary.c_str());
    throw;
  }
}

void SaveCurrentConfiguration(const std::string& programFolder, const SelectionTrees& trees, MainThreadCalls& calls,
                              UserInteraction& ui, const std::function<void()>& validateSelection) {
  WaitCursor wait(ui);
  TreeUpdate update(trees.registry);
  validateSelection();

  const std::string current = programFolder + kOldConfigFile;
  const std::string backup = programFolder + kOldConfigBackup;
  std::unique_ptr<Capture> capture = RunCaptureThreads(trees, calls, ui);
  std::string temporary = WriteTemporaryFile(current, *capture);
  ReportUnreadable(*capture, ui);
  try {
    // Exactly one previous snapshot survives: the one this save replaces.
    bool rotated = FileExists(current);
    if (rotated)
      MoveReplacing(current, backup);
    else
      DeleteIfExists(backup);
    try {
      MoveReplacing(temporary, current);
    } catch (...) {
      if (rotated) MoveFileExA(backup.c_str(), current.c_str(), MOVEFILE_REPLACE_EXISTING);
      throw;
    }
  } catch (...) {
    DeleteFileA(temporary.c_str());
    throw;
  }
}

bool SaveConfigurationAs(const std::string& programFolder, const SelectionTrees& trees, MainThreadCalls& calls,
                         UserInteraction& ui) {
  FileDialogSpec spec;
  spec.title = "Save Configuration File";
  spec.filter = "Configuration file (*.SXD)|*.SXD";
  spec.defaultExt = "SXD";
  spec.initialDir = programFolder;
  spec.promptOverwrite = true;
  spec.pathMustExist = true;
  std::string path;
  if (!ui.ChooseSaveFile(spec, path)) return false;
  WaitCursor wait(ui);
  WriteConfigurationFile(path, trees, calls, ui);
  return true;
}
