#pragma once
// The step-by-step wizard's course: five chapters (select, save, install, compare, review) and
// a sixth that means done. The chapter is kept in the settings value "WizardChapter", so a user
// can quit after installing (perhaps to reboot) and go on at the next start.

#include <string>
#include <vector>

#include "core/UserInteraction.h"

struct StepChapter {
  std::vector<std::string> lines;  // the chapter's text
  const char* buttonHint;          // the hint of its action button
  bool buttonRunsCommand;          // 2 and 4: only the button finishes them, their boxes refuse
  const char* hints;               // the hint text, lines separated by "|"
};

class StepWizardCourse {
 public:
  static constexpr int kChapters = 5;
  static constexpr int kFinished = 6;

  // The chapter of the settings key below HKEY_CURRENT_USER (made if missing); 1 when there is
  // none or it is not a chapter.
  explicit StepWizardCourse(std::string settingsKeyPath);

  int Chapter() const { return chapter_; }
  void Reset() { chapter_ = 1; }
  // Next Step and the boxes of chapters 1, 3 and 5. Chapters 2 and 4 are left only when the user
  // agrees to skip them; otherwise "Please click the button to execute operation #n!" is raised
  // and the chapter stays.
  void Advance(UserInteraction& ui);
  // After the button of chapter 2 or 4 has run its command.
  void CommandDone() { ++chapter_; }
  void Save() const;

  static const StepChapter& ChapterOf(int chapter);  // 1 to 5
  // The hint text of a chapter, 1 to 6, as lines.
  static std::vector<std::string> HintLines(int chapter);

 private:
  std::string keyPath_;
  int chapter_ = 1;
};
