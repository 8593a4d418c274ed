#include "compare/CompareConfigurations.h"

#include <cstdio>
#include <filesystem>
#include <initializer_list>

#include "compare/ChangeBlock.h"
#include "compare/CompareRun.h"
#include "compare/FileStructureCompare.h"
#include "compare/LogFile.h"
#include "compare/RegistryCompare.h"
#include "compare/SystemFilesCompare.h"
#include "compare/UpperCase.h"
#include "core/Errors.h"
#include "datafiles/ConfigurationFile.h"
#include "datafiles/SelectionFile.h"

namespace {

// Entries that stand on the exclude list for one part of the compare only.
class TemporaryEntries {
 public:
  TemporaryEntries(std::vector<std::string>& list, std::initializer_list<std::string> entries)
      : list_(list), start_(list.size()), count_(entries.size()) {
    list_.insert(list_.end(), entries);
  }
  ~TemporaryEntries() {
    const auto start = list_.begin() + static_cast<std::ptrdiff_t>(start_);
    list_.erase(start, start + static_cast<std::ptrdiff_t>(count_));
  }
  TemporaryEntries(const TemporaryEntries&) = delete;
  TemporaryEntries& operator=(const TemporaryEntries&) = delete;

 private:
  std::vector<std::string>& list_;
  size_t start_;
  size_t count_;
};

std::string ComparableName(const std::string& fileName) {
  std::error_code error;
  std::filesystem::path path = std::filesystem::absolute(fileName, error);
  if (error) path = fileName;
  return UpperCaseLocale(path.lexically_normal().string());
}

// Creating the log truncates it: were it one of the configuration files, the compare would
// destroy the snapshot it is about to read.
void RefuseLogOverConfiguration(const std::string& oldFile, const std::string& newFile, const std::string& logFile) {
  const std::string log = ComparableName(logFile);
  if (log == ComparableName(oldFile) || log == ComparableName(newFile))
    throw Exception(ErrorKind::EFCreateError,
                    FormatText("ERROR: %s\rThe log file cannot be one of the configuration files.", logFile));
}

// The first strings of both files. A refusal is told, then "File read error, aborted." as
// for any failure of this step, and the compare ends silently.
void CheckHeaders(CompareRun& run) {
  try {
    const HeaderKind oldKind = ClassifyHeader(run.oldSide.Reader().ReadString());
    const HeaderKind newKind = ClassifyHeader(run.newSide.Reader().ReadString());
    if (oldKind == HeaderKind::OlderVersion || newKind == HeaderKind::OlderVersion) {
      run.ui.Tell(MsgType::Error, HeaderRefusalMessage(HeaderKind::OlderVersion, std::string()));
      throw EAbort();
    }
    if (oldKind != HeaderKind::Current) {
      run.ui.Tell(MsgType::Error, HeaderRefusalMessage(oldKind, run.oldFile));
      throw EAbort();
    }
    if (newKind != HeaderKind::Current) {
      run.ui.Tell(MsgType::Error, HeaderRefusalMessage(newKind, run.newFile));
      throw EAbort();
    }
  } catch (const std::exception&) {
    run.ui.Tell(MsgType::Error, "File read error, aborted.");
    throw EAbort();
  }
}

// The log file while the compare writes it: removed unless the compare completes, so that no
// log remains that a load or a restore would take for whole. Declared before the stream, so the
// stream is closed when it is removed.
class PartialLog {
 public:
  explicit PartialLog(const std::string& fileName) : fileName_(fileName) {}
  ~PartialLog() {
    // The same narrow name the stream opened it by.
    if (created_ && !complete_) std::remove(fileName_.c_str());
  }
  PartialLog(const PartialLog&) = delete;
  PartialLog& operator=(const PartialLog&) = delete;

  void Created() { created_ = true; }
  void Complete() { complete_ = true; }

 private:
  std::string fileName_;
  bool created_ = false;
  bool complete_ = false;
};

// A read error of the sections names the file it met, or both when that cannot be told.
std::string NameDamagedFile(const CompareRun& run, const std::string& message) {
  const bool oldFailed = run.oldSide.Failed();
  const bool newFailed = run.newSide.Failed();
  if (oldFailed != newFailed) return "ERROR: " + (oldFailed ? run.oldFile : run.newFile) + "\r" + message;
  return "ERROR: " + run.oldFile + " or " + run.newFile + "\r" + message;
}

}  // namespace

void CompareConfigurations(const std::string& oldFile, const std::string& newFile, const std::string& logFile,
                           const CompareTrees& trees, std::vector<std::string>& excludeList, LogPositions& positions,
                           UserInteraction& ui) {
  CompareRun run(oldFile, newFile, ui);
  RefuseLogOverConfiguration(oldFile, newFile, logFile);
  TreeUpdate registryUpdate(trees.registryResult);
  TreeUpdate driveUpdate(trees.driveResult);
  TreeUpdate systemFileUpdate(trees.systemFileResult);

  // A refused file leaves a log of the same name as it was.
  CheckHeaders(run);
  PartialLog partial(logFile);
  try {
    TFileStream logStream(logFile, FileMode::Create);
    partial.Created();
    TWriter log(logStream, kStreamBufferSize);
    log.WriteString(kLogHeader);
    {
      ChangeBlock block(kRegistryChangeHeader);
      RegistryCompare(run, trees.registryResult, trees.registrySelection, block).Run();
      run.Status(" Status");
      run.ProgressPosition(0);
      // The selections as they stood when the compare started: the walk only read them.
      SaveSelections(log, trees.registrySelection, trees.driveSelection, trees.systemFileSelection, excludeList);
      block.WriteSection(log, trees.registryResult, positions.registry);
    }

    // The compare's own files lie in compared folders more often than not.
    TemporaryEntries ownFiles(excludeList, {oldFile, newFile, logFile});
    FileStructureCompare(run, trees.driveResult, trees.driveSelection, excludeList).Run(log, positions.drives);
    SystemFilesCompare(run, trees.systemFileResult, trees.systemFileSelection, trees.systemFileImages)
        .Run(log, positions.systemFiles);
    log.FlushBuffer();
  } catch (const EReadError& error) {
    throw EReadError(NameDamagedFile(run, error.Message()));
  }
  partial.Complete();
}
