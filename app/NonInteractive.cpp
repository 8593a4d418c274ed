#include "app/NonInteractive.h"

#include <windows.h>

namespace {

// A program without a console of its own writes to the console it was started from, or to
// wherever its standard error was redirected.
HANDLE StandardError() {
  static HANDLE handle = [] {
    HANDLE h = GetStdHandle(STD_ERROR_HANDLE);
    if (h == nullptr || h == INVALID_HANDLE_VALUE) {
      if (AttachConsole(ATTACH_PARENT_PROCESS))
        h = CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                        nullptr);
    }
    return h;
  }();
  return handle;
}

// Message texts break lines with "\r", which a console would print over.
std::string OneLine(const std::string& text) {
  std::string line;
  for (char c : text) line += c == '\r' || c == '\n' ? ' ' : c;
  return line;
}

const char* TypeWord(MsgType type) {
  switch (type) {
    case MsgType::Error:
      return "Error";
    case MsgType::Warning:
      return "Warning";
    case MsgType::Confirmation:
      return "Question";
    case MsgType::Information:
      break;
  }
  return "Information";
}

MsgAnswer FirstButton(MsgButtons buttons) {
  return buttons == MsgButtons::Ok || buttons == MsgButtons::OkCancel ? MsgAnswer::Ok : MsgAnswer::Yes;
}

const char* AnswerWord(MsgAnswer answer) { return answer == MsgAnswer::Ok ? "OK" : "Yes"; }

}  // namespace

void NonInteractive::WriteLine(const std::string& text) {
  HANDLE handle = StandardError();
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return;
  std::string line = OneLine(text) + "\r\n";
  DWORD written = 0;
  WriteFile(handle, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

MsgAnswer NonInteractive::Ask(MsgType type, const std::string& text, MsgButtons buttons) {
  MsgAnswer answer = FirstButton(buttons);
  std::string line = std::string(TypeWord(type)) + ": " + OneLine(text);
  if (buttons != MsgButtons::Ok) line += std::string(" -> ") + AnswerWord(answer);
  WriteLine(line);
  return answer;
}

void NonInteractive::SetStatus(StatusChannel, const std::string& text) {
  std::string line = OneLine(text);
  // Long work sets the same text again and again; a log needs it once.
  size_t first = line.find_first_not_of(' ');
  if (first == std::string::npos || line == lastStatus_) return;
  lastStatus_ = line;
  WriteLine(line.substr(first));
}

bool NonInteractive::ChooseSaveFile(const FileDialogSpec&, std::string&) { return false; }

bool NonInteractive::ChooseOpenFile(const FileDialogSpec&, std::string&) { return false; }
