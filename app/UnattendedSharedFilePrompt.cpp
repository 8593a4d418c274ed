#include "app/UnattendedSharedFilePrompt.h"

#include "core/Errors.h"
#include "restore/SharedFileOrigin.h"

UnattendedSharedFilePrompt::UnattendedSharedFilePrompt(int handleSharedDLLs, const ResultTrees& trees,
                                                       const std::string& logFileName, const LogPositions& positions,
                                                       UserInteraction& ui, LineWriter writeLine)
    : handleSharedDLLs_(handleSharedDLLs),
      trees_(trees),
      logFileName_(logFileName),
      positions_(positions),
      ui_(ui),
      writeLine_(std::move(writeLine)) {}

bool UnattendedSharedFilePrompt::Decide(const std::string& path, std::string& reason) {
  if (handleSharedDLLs_ == 1) {
    reason = "HandleSharedDLLs=1";
    return true;
  }
  if (handleSharedDLLs_ == 2) {
    reason = "HandleSharedDLLs=2";
    return false;
  }
  try {
    const SharedFileOrigin origin = FindSharedFileOrigin(path, trees_, logFileName_, positions_, ui_);
    if (origin.Installed()) {
      reason = "file and counter added by the installation";
      return true;
    }
    reason = origin.fileAdded      ? "counter not added by the installation"
             : origin.counterAdded ? "file not added by the installation"
                                   : "neither file nor counter added by the installation";
  } catch (...) {
    // A file whose origin cannot be told is kept: keeping loses nothing.
    reason = "the log could not be read: " + DescribeError(std::current_exception()).message;
  }
  return false;
}

SharedFileAnswer UnattendedSharedFilePrompt::Ask(const SharedFileQuestion& question) {
  std::string reason;
  const bool deleteFile = Decide(question.path, reason);
  if (writeLine_) {
    writeLine_(std::string("Question: ") + kSharedFileCaption + ": " + kSharedFileLead + " " + question.path + " " +
               SharedFileExplanation(question.which) + " -> " +
               (deleteFile ? SharedFileDeleteCaption(question.which) : kSharedFileKeep) + " (" + reason + ")");
  }
  return {deleteFile, false};
}
