#include "wizards/StepWizardCourse.h"

#include "core/Errors.h"
#include "platform/TMyRegistry.h"

namespace {

constexpr const char* kChapterValue = "WizardChapter";

const StepChapter kCourse[StepWizardCourse::kChapters] = {
    {{"1. Switch to main Quorvel window  and select items to monitor:", "    1.1 Registry Keys", "    1.2 Drives",
      "    1.3 System Files"},
     "Click here to select items.",
     false,
     "Click the check boxes to select items.|Click \"+\" symbols to expand items. Click Sheets tab for drives and "
     "the system files display.||Click the CheckBox when done !!!"},
    {{"2.Save current computer configuration (all selected items). All selected",
      "registry, drives and system files information will be saved to a configuration file."},
     "Click here to store current configuration.",
     true,
     "Click button to save current configuration to a file.|Note: Only selected items will be stored!"},
    {{"3. Install Application: Now you can install an application or modify the",
      "registry or file system. All changes will be recorded automatically."},
     "Click here to open the Windows Explorer.",
     false,
     "Click button to start Windows Explorer.|Now you can install a new application or modify the registry or "
     "file system.|Note: If you want you can exit the program now and continue this step later.|(Save settings "
     "before exiting! Quorvel will prompt you if it is not the first time.)||Click the CheckBox when done !!!"},
    {{"4. Compare: The file stored in Step 2 will now be compared with",
      "the current configuration. All the changes will be recorded."},
     "Click here to compare (create log file).",
     true,
     "Click button to resave current configuration to a file.This file will be compared to the one chosen in Step "
     "2 and a log file with the differences will be generated.|Please specify a filename (usually the name of the "
     "installed application).|Note: Please DON'T change the selection made in Step 2!"},
    {{"5. Review Changes: Now you can review your changes",
      "and restore your old configuration if you change your mind."},
     "Click here to review changes and restore if needed.",
     false,
     "Quorvel is now ready to deinstall the software. Please switch to the next tab. Right-click the registry keys "
     "you want to restore (see the icons). Quorvel will display the changes to be made.| Note: You can also "
     "perform this step later after testing the application. (Click on \"Load Log File\" to load the log file "
     "created for the application.)|You can also restore an entire tree with subkeys.  All changes below will be "
     "included.||Click CheckBox when finished !!!"},
};

constexpr const char* kFinishedHints = "The Wizard has completed the procedure!";

}  // namespace

StepWizardCourse::StepWizardCourse(std::string settingsKeyPath) : keyPath_(std::move(settingsKeyPath)) {
  TMyRegistry reg(HKEY_CURRENT_USER, kRegAccessReadWrite);
  if (!reg.OpenKey(keyPath_, true) || !reg.ValueExists(kChapterValue)) return;
  const int32_t stored = reg.ReadInteger(kChapterValue);
  // A value some other hand left out of range starts the course anew.
  if (stored >= 1 && stored <= kChapters) chapter_ = stored;
}

void StepWizardCourse::Advance(UserInteraction& ui) {
  if (chapter_ >= 1 && chapter_ <= kChapters && ChapterOf(chapter_).buttonRunsCommand) {
    if (ui.Ask(MsgType::Confirmation, "Skip operation #" + std::to_string(chapter_) + "?", MsgButtons::YesNo) !=
        MsgAnswer::Yes)
      throw Exception("Please click the button to execute operation #" + std::to_string(chapter_) + "!");
  }
  ++chapter_;
}

void StepWizardCourse::Save() const {
  TMyRegistry reg(HKEY_CURRENT_USER, kRegAccessReadWrite);
  if (reg.OpenKey(keyPath_, true)) reg.WriteInteger(kChapterValue, chapter_);
}

const StepChapter& StepWizardCourse::ChapterOf(int chapter) { return kCourse[chapter - 1]; }

std::vector<std::string> StepWizardCourse::HintLines(int chapter) {
  const std::string text = chapter >= 1 && chapter <= kChapters ? ChapterOf(chapter).hints : kFinishedHints;
  std::vector<std::string> lines;
  size_t start = 0;
  for (;;) {
    const size_t bar = text.find('|', start);
    lines.push_back(text.substr(start, bar - start));
    if (bar == std::string::npos) return lines;
    start = bar + 1;
  }
}
