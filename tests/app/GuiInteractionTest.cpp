#include "app/GuiInteraction.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/app/ModalWatcher.h"

namespace {

// The button captions of a dialog without their accelerator marks.
std::vector<std::string> ButtonTexts(HWND dialog) {
  std::vector<std::string> texts;
  for (std::string text : ChildTexts(dialog)) {
    text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
    texts.push_back(text);
  }
  return texts;
}

constexpr int kEnter = -1;  // the Enter key instead of a button

bool Has(const std::vector<std::string>& texts, const std::string& text) {
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

}  // namespace

// Yes, No and All, and the five buttons with "to All", have no message-box style: the questions
// that need them must show exactly their buttons and answer with the one pressed.
TEST(GuiInteraction, OwnButtonSetsShowTheirButtonsAndAnswerThePressedOne) {
  struct Case {
    MsgButtons set;
    std::vector<std::string> shown;
    std::vector<std::string> absent;
    int pressed;
    MsgAnswer answer;
  };
  const Case cases[] = {
      {MsgButtons::YesNoAll, {"Yes", "No", "All"}, {"Cancel", "Yes to All"}, 102, MsgAnswer::All},
      {MsgButtons::YesNoAll, {"Yes", "No", "All"}, {}, IDNO, MsgAnswer::No},
      {MsgButtons::YesNoCancelAll,
       {"Yes", "No", "Cancel", "No to All", "Yes to All"},
       {"All"},
       101,
       MsgAnswer::YesToAll},
      {MsgButtons::YesNoCancelAll, {"Yes"}, {}, IDCANCEL, MsgAnswer::Cancel},
      // Enter takes Yes, as in the system's own questions.
      {MsgButtons::YesNoCancelAll, {"Yes"}, {}, kEnter, MsgAnswer::Yes},
      {MsgButtons::YesNoAll, {"Yes"}, {}, kEnter, MsgAnswer::Yes},
  };
  GuiInteraction ui(StatusControls{});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pressed);
    std::vector<std::string> texts;
    ModalWatcher watcher([&](HWND dialog) {
      texts = ButtonTexts(dialog);
      if (c.pressed != kEnter) {
        PressDialogButton(dialog, c.pressed);
        return;
      }
      HWND focus = GetFocus();
      PostMessageA(focus ? focus : dialog, WM_KEYDOWN, VK_RETURN, 1);
      PostMessageA(focus ? focus : dialog, WM_KEYUP, VK_RETURN, 1 | LPARAM{3} << 30);
    });
    EXPECT_EQ(ui.Ask(MsgType::Confirmation, "File: C:\\A.TXT\ris write protected, delete anyway?", c.set), c.answer);
    EXPECT_EQ(watcher.Seen(), 1);
    for (const std::string& text : c.shown) EXPECT_TRUE(Has(texts, text)) << text;
    for (const std::string& text : c.absent) EXPECT_FALSE(Has(texts, text)) << text;
  }
}
