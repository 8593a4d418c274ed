#include "wizards/StepWizardWindow.h"

#include "res/resource.h"
#include "ui/ToolTips.h"
#include "wizards/StepWizardWindowIds.h"

namespace {

int ControlOf(int first, int chapter) { return first + kWizardChapterIdStep * (chapter - 1); }

// The main window's commands behind the picture buttons of chapters 2 to 4 (0: the explorer).
constexpr int kButtonCommands[StepWizardCourse::kChapters] = {0, IDM_SAVE_CURRENT_CONFIG, 0, IDM_COMPARE, 0};

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += (text.empty() ? "" : "\r\n") + line;
  return text;
}

}  // namespace

TfWizard::TfWizard(WizardHost host, const std::string& settingsKeyPath)
    : Dialog(IDD_STEP_WIZARD, "TfWizard", "fWizard"),
      host_(std::move(host)),
      course_(settingsKeyPath),
      ui_(StatusControls{}) {}

TfWizard::~TfWizard() {
  for (HICON picture : pictures_) DestroyIcon(picture);
}

bool TfWizard::OnInit() {
  ui_ = GuiInteraction(StatusControls{hwnd_, nullptr});
  std::vector<std::pair<int, std::string>> hints;
  for (int chapter = 1; chapter <= StepWizardCourse::kChapters; ++chapter) {
    const StepChapter& content = StepWizardCourse::ChapterOf(chapter);
    Item(ControlOf(IDC_WIZARD_TEXT1, chapter)).SetText(JoinLines(content.lines));
    const int button = ControlOf(IDC_WIZARD_BUTTON1, chapter);
    hints.emplace_back(button, content.buttonHint);
    if (chapter >= 2 && chapter <= 4 && host_.buttonPicture) {
      if (HICON picture = host_.buttonPicture(kButtonCommands[chapter - 1])) {
        pictures_.push_back(picture);
        SendMessageA(Item(button), BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(picture));
      }
    }
  }
  AddToolTips(hwnd_, hints);
  ShowChapter();
  return true;
}

void TfWizard::ShowChapter() {
  busy_ = true;
  const int current = course_.Chapter();
  if (current == StepWizardCourse::kFinished) {
    ui_.Tell(MsgType::Information, "The Step-by-Step Wizard has completed the procedure!");
    course_.Reset();
    busy_ = false;
    Close();
    return;
  }
  for (int chapter = 1; chapter <= StepWizardCourse::kChapters; ++chapter) {
    for (int first : {IDC_WIZARD_PANEL1, IDC_WIZARD_TEXT1, IDC_WIZARD_BUTTON1, IDC_WIZARD_DONE1})
      Item(ControlOf(first, chapter)).Enable(chapter == current);
    CheckDlgButton(hwnd_, ControlOf(IDC_WIZARD_DONE1, chapter), current > chapter ? BST_CHECKED : BST_UNCHECKED);
  }
  Item(IDC_WIZARD_HINTS).SetText(JoinLines(StepWizardCourse::HintLines(current)));
  // The focus follows the chapter, so Tab and Space work on it at once.
  if (GetFocus() == nullptr || !IsWindowEnabled(GetFocus()))
    SendMessageA(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(ControlOf(IDC_WIZARD_BUTTON1, current)).Handle()),
                 TRUE);
  busy_ = false;
}

int TfWizard::ChapterOfControl(int id, int first) {
  const int offset = id - first;
  if (offset < 0 || offset % kWizardChapterIdStep != 0) return 0;
  const int chapter = offset / kWizardChapterIdStep + 1;
  return chapter <= StepWizardCourse::kChapters ? chapter : 0;
}

bool TfWizard::OnCommand(int id, int code, HWND) {
  if (code != BN_CLICKED) return false;
  if (const int chapter = ChapterOfControl(id, IDC_WIZARD_BUTTON1)) {
    RunChapter(chapter);
    return true;
  }
  if (const int chapter = ChapterOfControl(id, IDC_WIZARD_DONE1)) {
    if (busy_) return true;
    if (StepWizardCourse::ChapterOf(chapter).buttonRunsCommand)
      RefuseBox(chapter);
    else
      Advance();
    return true;
  }
  switch (id) {
    case IDC_WIZARD_NEXT:
      Advance();
      return true;
    case IDC_WIZARD_QUIT:
      Close();
      return true;
    case IDC_WIZARD_RESET:
      if (busy_) return true;
      course_.Reset();
      ShowChapter();
      return true;
    case IDC_WIZARD_ON_TOP:
      SetWindowPos(hwnd_, IsDlgButtonChecked(hwnd_, IDC_WIZARD_ON_TOP) ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      return true;
    default:
      return false;
  }
}

void TfWizard::Advance() {
  if (busy_) return;
  try {
    course_.Advance(ui_);
  } catch (...) {
    // The box clicked stays as the chapter shows it.
    ShowChapter();
    throw;
  }
  ShowChapter();
}

void TfWizard::RefuseBox(int chapter) {
  if (course_.Chapter() == 2 || course_.Chapter() == 4)
    ui_.Tell(MsgType::Information, "Please click the button instead !");
  busy_ = true;
  CheckDlgButton(hwnd_, ControlOf(IDC_WIZARD_DONE1, chapter),
                 course_.Chapter() > chapter ? BST_CHECKED : BST_UNCHECKED);
  busy_ = false;
}

void TfWizard::RunChapter(int chapter) {
  if (busy_ || chapter != course_.Chapter()) return;
  switch (chapter) {
    case 1:
      host_.showSelectionPages();
      ui_.Tell(MsgType::Information, "Please make your selections now!");
      host_.bringToFront();
      return;
    case 3:
      host_.startExplorer();
      return;
    case 5:
      host_.showLogPages();
      ui_.Tell(MsgType::Information, "Review/restore your changes now!");
      host_.bringToFront();
      return;
    default:
      break;
  }
  // Chapters 2 and 4: the command runs in the main window; only a command that ran to its end
  // finishes the chapter.
  // The command lets messages run: meanwhile the wizard's own clicks wait for it.
  const HWND button = Item(ControlOf(IDC_WIZARD_BUTTON1, chapter));
  SendMessageA(button, BM_SETSTATE, TRUE, 0);
  busy_ = true;
  host_.bringToFront();
  const bool done = host_.runCommand(kButtonCommands[chapter - 1]);
  busy_ = false;
  if (!Exists()) return;
  SendMessageA(button, BM_SETSTATE, FALSE, 0);
  if (done) course_.CommandDone();
  ShowChapter();
  if (Exists()) SetForegroundWindow(hwnd_);
}

void TfWizard::Close() {
  if (closed_) return;
  closed_ = true;
  course_.Save();
  if (Exists()) End(IDCANCEL);
}
