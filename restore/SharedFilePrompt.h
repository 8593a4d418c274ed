#pragma once
// The "Shared DLLs" question: a form of its own (the file's path in a read-only field, two
// buttons and the check box "Repeat for all subsequent files."), so it is not a message box of
// UserInteraction. The GUI implements it with its dialog, batch mode and tests with fixed or
// scripted answers. The texts are here so that every implementation shows the same ones.

#include <string>

enum class SharedFileCase {
  CounterAtZero,    // the registry restore set a shared-file counter to zero
  StillRegistered,  // the drive restore meets an added file that is still registered as shared
};

struct SharedFileQuestion {
  SharedFileCase which;
  std::string path;  // the file, shown in the read-only field
};

struct SharedFileAnswer {
  bool deleteFile = false;   // the delete button; "Don't Delete File" (the default) is false
  bool repeatForAll = true;  // the check box, checked at first
};

class SharedFilePrompt {
 public:
  virtual ~SharedFilePrompt() = default;
  virtual SharedFileAnswer Ask(const SharedFileQuestion& question) = 0;
};

inline constexpr char kSharedFileCaption[] = "Shared DLLs";
inline constexpr char kSharedFileLead[] = "This file is registered for multiple access:";
inline constexpr char kSharedFileKeep[] = "Don't Delete File";
inline constexpr char kSharedFileRepeat[] = "Repeat for all subsequent files.";

// The explanation below the path.
inline const char* SharedFileExplanation(SharedFileCase which) {
  return which == SharedFileCase::CounterAtZero
             ? "The file access counter has been reset to zero, which means that no registered "
               "applications are now using the file. Would you like to delete the file now?"
             : "Deleting this file is not recommended as it is still in use by other registered "
               "applications! The correct procedure is to decrement the access counter by one. The "
               "program will do this automatically when it restores the corresponding registry entry.";
}

// The caption of the delete button.
inline const char* SharedFileDeleteCaption(SharedFileCase which) {
  return which == SharedFileCase::CounterAtZero ? "Delete File" : "Delete File Anyway";
}
