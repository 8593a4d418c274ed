#include "capture/SaveConfiguration.h"

#include <memory>
#include <vector>

#include "capture/CaptureThreads.h"
#include "platform/FileSystem.h"
#include "datafiles/ConfigurationFile.h"

const char* const kOldConfigFile = "OldCFG.SXD";
const char* const kNewConfigFile = "NewCFG.SXD";
const char* const kOldConfigBackup = "OldCFG.BAK";

namespace {

constexpr size_t kFileBufferSize = 102400;

// Each thread writes its section into a file of its own beside the target, so a save holds no
// section in memory however large the snapshot. The files go when the save ends, either way.
struct SectionFiles {
  explicit SectionFiles(const std::string& target)
      : registry(target + ".registry.tmp"), drives(target + ".drives.tmp") {}
  ~SectionFiles() {
    DeleteFileA(registry.c_str());
    DeleteFileA(drives.c_str());
  }
  SectionFiles(const SectionFiles&) = delete;
  SectionFiles& operator=(const SectionFiles&) = delete;

  const std::string registry;
  const std::string drives;
};

// The section files outlive the threads, whose streams hold them open.
struct Capture {
  // Settings are read here, on the main thread, as the save starts; the threads read none.
  Capture(const std::string& target, const SelectionTrees& trees, MainThreadCalls& calls, UserInteraction& ui)
      : files(target),
        registry(calls, ui, trees.registry, std::make_unique<TFileStream>(files.registry, FileMode::Create)),
        drives(calls, ui, trees.drives, trees.systemFiles, CurrentSystemFileFolders(),
               std::make_unique<TFileStream>(files.drives, FileMode::Create)) {}

  SectionFiles files;
  TWriteRegThread registry;
  TWriteDrivesThread drives;
};

// Runs both capture threads to their end. A failed capture leaves an unfinished section that
// a later compare would misread, so it fails the whole save instead.
std::unique_ptr<Capture> RunCaptureThreads(const std::string& target, const SelectionTrees& trees,
                                           MainThreadCalls& calls, UserInteraction& ui) {
  ui.ShowSecondaryStatus(true);
  struct HideSecondary {
    UserInteraction& ui;
    ~HideSecondary() { ui.ShowSecondaryStatus(false); }
  } hide{ui};

  auto capture = std::make_unique<Capture>(target, trees, calls, ui);
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
    // One sequential copy of each section file.
    TStream& section = thread->Stream();
    section.SetPosition(0);
    std::vector<uint8_t> buffer(kFileBufferSize);
    while (const size_t read = section.Read(buffer.data(), buffer.size())) writer.Write(buffer.data(), read);
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
  std::unique_ptr<Capture> capture = RunCaptureThreads(path, trees, calls, ui);
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
  std::unique_ptr<Capture> capture = RunCaptureThreads(current, trees, calls, ui);
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
