#include "app/GuiInteraction.h"

#include <commctrl.h>
#include <commdlg.h>

#include <cstring>

#include "platform/PathText.h"
#include "ui/ActiveOwner.h"
#include "ui/MessagePump.h"

namespace {

UINT IconOf(MsgType type) {
  switch (type) {
    case MsgType::Error:
      return MB_ICONERROR;
    case MsgType::Information:
      return MB_ICONINFORMATION;
    case MsgType::Confirmation:
      return MB_ICONQUESTION;
    case MsgType::Warning:
      return MB_ICONWARNING;
  }
  return 0;
}

MsgAnswer AnswerOf(int id) {
  switch (id) {
    case IDOK:
      return MsgAnswer::Ok;
    case IDYES:
      return MsgAnswer::Yes;
    case IDNO:
      return MsgAnswer::No;
    default:
      return MsgAnswer::Cancel;
  }
}

constexpr int kNoToAll = 100;
constexpr int kYesToAll = 101;
constexpr int kAll = 102;

// Yes, No and All, or the five-button question, have no message-box style of their own: a task
// dialog carries them.
MsgAnswer AskWithOwnButtons(HWND owner, MsgType type, const std::string& text, MsgButtons set) {
  std::wstring wideText(MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wideText.data(), static_cast<int>(wideText.size()));
  const TASKDIALOG_BUTTON toAll[] = {{kNoToAll, L"No to All"}, {kYesToAll, L"Yes to All"}};
  const TASKDIALOG_BUTTON all[] = {{kAll, L"All"}};
  const bool withToAll = set == MsgButtons::YesNoCancelAll;
  TASKDIALOGCONFIG config{};
  config.cbSize = sizeof config;
  config.hwndParent = owner;
  config.pszWindowTitle = L"Quorvel";
  config.pszContent = wideText.c_str();
  config.dwCommonButtons = TDCBF_YES_BUTTON | TDCBF_NO_BUTTON | (withToAll ? TDCBF_CANCEL_BUTTON : 0);
  config.pButtons = withToAll ? toAll : all;
  config.cButtons = withToAll ? 2 : 1;
  // Enter answers Yes, as in the system's own questions; the task dialog would take the first
  // of its own buttons ("No to All") otherwise.
  config.nDefaultButton = IDYES;
  config.pszMainIcon = type == MsgType::Warning ? TD_WARNING_ICON : TD_INFORMATION_ICON;
  int pressed = IDCANCEL;
  if (FAILED(TaskDialogIndirect(&config, &pressed, nullptr, nullptr))) return MsgAnswer::Cancel;
  if (pressed == kNoToAll) return MsgAnswer::NoToAll;
  if (pressed == kYesToAll) return MsgAnswer::YesToAll;
  if (pressed == kAll) return MsgAnswer::All;
  // Closed without a button: the question without Cancel counts it as No.
  if (!withToAll && pressed == IDCANCEL) return MsgAnswer::No;
  return AnswerOf(pressed);
}

}  // namespace

MsgAnswer GuiInteraction::Ask(MsgType type, const std::string& text, MsgButtons buttons) {
  if (unattended_) return unattended_->Ask(type, text, buttons);
  if (buttons == MsgButtons::YesNoCancelAll || buttons == MsgButtons::YesNoAll)
    return AskWithOwnButtons(ActiveOwnerOf(controls_.owner), type, text, buttons);
  UINT style = IconOf(type);
  switch (buttons) {
    case MsgButtons::Ok:
      style |= MB_OK;
      break;
    case MsgButtons::OkCancel:
      style |= MB_OKCANCEL;
      break;
    case MsgButtons::YesNo:
      style |= MB_YESNO;
      break;
    case MsgButtons::YesNoCancel:
      style |= MB_YESNOCANCEL;
      break;
    case MsgButtons::YesNoCancelAll:
    case MsgButtons::YesNoAll:
      break;
  }
  // The cursor may be the hourglass of a running command; a question needs the arrow.
  HCURSOR cursor = SetCursor(LoadCursor(nullptr, IDC_ARROW));
  int pressed = MessageBoxA(ActiveOwnerOf(controls_.owner), text.c_str(), "Quorvel", style | MB_TASKMODAL);
  SetCursor(cursor);
  return AnswerOf(pressed);
}

void GuiInteraction::SetStatus(StatusChannel channel, const std::string& text) {
  HWND target = channel == StatusChannel::Main ? controls_.statusPanel : controls_.statusLabel2;
  if (!target) return;
  SetWindowTextA(target, text.c_str());
  // Shown at once, also when the work that follows lets no messages run.
  UpdateWindow(target);
}

void GuiInteraction::SetProgress(StatusChannel channel, int max, int position) {
  HWND bar = channel == StatusChannel::Main ? controls_.progressBar1 : controls_.progressBar2;
  if (!bar) return;
  SendMessageA(bar, PBM_SETRANGE32, 0, max);
  SendMessageA(bar, PBM_SETPOS, position, 0);
}

void GuiInteraction::ShowSecondaryStatus(bool visible) {
  for (HWND control : {controls_.statusLabel2, controls_.progressBar2})
    if (control) ShowWindow(control, visible ? SW_SHOW : SW_HIDE);
}

void GuiInteraction::ProcessMessages() { MessagePump::RunPending(); }

void GuiInteraction::BeginWait() { savedCursors_.push_back(SetCursor(LoadCursor(nullptr, IDC_WAIT))); }

void GuiInteraction::EndWait() {
  if (savedCursors_.empty()) return;
  SetCursor(savedCursors_.back());
  savedCursors_.pop_back();
}

std::string CommonDialogFilter(const std::string& filter) {
  std::string result = filter;
  for (char& c : result)
    if (c == '|') c = '\0';
  result.append(2, '\0');
  return result;
}

bool ShowFileDialog(HWND owner, const FileDialogSpec& spec, std::string& path, bool save) {
  std::string filter = CommonDialogFilter(spec.filter);
  char buffer[MAX_PATH * 4] = {};
  lstrcpynA(buffer, spec.fileName.c_str(), sizeof buffer);
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = buffer;
  ofn.nMaxFile = sizeof buffer;
  ofn.lpstrTitle = spec.title.empty() ? nullptr : spec.title.c_str();
  ofn.lpstrDefExt = spec.defaultExt.empty() ? nullptr : spec.defaultExt.c_str();
  ofn.lpstrInitialDir = spec.initialDir.empty() ? nullptr : spec.initialDir.c_str();
  ofn.Flags = OFN_HIDEREADONLY | OFN_EXPLORER;
  if (spec.promptOverwrite) ofn.Flags |= OFN_OVERWRITEPROMPT;
  if (spec.pathMustExist) ofn.Flags |= OFN_PATHMUSTEXIST;
  if (spec.fileMustExist) ofn.Flags |= OFN_FILEMUSTEXIST;
  BOOL ok = save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
  if (!ok) return false;
  path = buffer;
  return true;
}

bool GuiInteraction::ChooseSaveFile(const FileDialogSpec& spec, std::string& path) {
  if (unattended_) return unattended_->ChooseSaveFile(spec, path);
  return ShowFileDialog(ActiveOwnerOf(controls_.owner), spec, path, true);
}

bool GuiInteraction::ChooseOpenFile(const FileDialogSpec& spec, std::string& path) {
  if (unattended_) return unattended_->ChooseOpenFile(spec, path);
  return ShowFileDialog(ActiveOwnerOf(controls_.owner), spec, path, false);
}

bool GuiInteraction::ChooseOpenFiles(const FileDialogSpec& spec, std::vector<std::string>& paths) {
  if (unattended_) return unattended_->ChooseOpenFiles(spec, paths);
  std::string filter = CommonDialogFilter(spec.filter);
  // Room for many names: the folder, then each name, each ended by a zero.
  std::vector<char> buffer(64 * 1024, '\0');
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = ActiveOwnerOf(controls_.owner);
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(buffer.size());
  ofn.lpstrTitle = spec.title.empty() ? nullptr : spec.title.c_str();
  ofn.lpstrInitialDir = spec.initialDir.empty() ? nullptr : spec.initialDir.c_str();
  ofn.Flags = OFN_HIDEREADONLY | OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST;
  if (!GetOpenFileNameA(&ofn)) return false;
  std::vector<std::string> parts;
  for (const char* part = buffer.data(); *part; part += strlen(part) + 1) parts.emplace_back(part);
  paths.clear();
  if (parts.size() == 1) {
    paths = parts;  // one file: its full path
  } else if (!parts.empty()) {
    const std::string folder = WithTrailingBackslash(parts.front());
    for (size_t i = 1; i < parts.size(); ++i) paths.push_back(folder + parts[i]);
  }
  return !paths.empty();
}
