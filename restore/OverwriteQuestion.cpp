#include "restore/OverwriteQuestion.h"

#include "core/Errors.h"
#include "restore/ShellFileOperations.h"

namespace {

std::string FileFacts(const char* lead, const std::string& path) {
  return std::string(lead) + std::to_string(FileSizeOf(path)) + " bytes, Date " + FileDateText(path) +
         FileVersionText(path) + "\r";
}

}  // namespace

bool OverwriteQuestion::Allows(const std::string& shownPath, const std::string& source, const std::string& target) {
  MsgAnswer answer = remembered_;
  if (answer != MsgAnswer::NoToAll && answer != MsgAnswer::YesToAll) {
    answer = ui_.Ask(MsgType::Confirmation,
                     "File already exists in destination folder.\r" + shownPath + "\r\r" +
                         FileFacts("Source: ", source) + FileFacts("Dest.: ", target) + "\rOverwrite existing file ?",
                     MsgButtons::YesNoCancelAll);
    if (answer == MsgAnswer::NoToAll || answer == MsgAnswer::YesToAll) remembered_ = answer;
    if (answer == MsgAnswer::Cancel) RaiseAbort();
  }
  return answer == MsgAnswer::Yes || answer == MsgAnswer::YesToAll;
}
