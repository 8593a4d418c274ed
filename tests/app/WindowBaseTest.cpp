#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "core/Errors.h"
#include "ui/WindowBase.h"

namespace {

constexpr UINT kFail = WM_APP + 1;
constexpr UINT kWhoAmI = WM_APP + 2;

// A window of the program's kind: its handler answers with its own number, or throws.
class NumberedWindow : public WindowBase {
 public:
  explicit NumberedWindow(int number)
      : WindowBase("TNumbered", "Form\\Numbered" + std::to_string(number)), number_(number) {
    CreateFromClass({"QuorvelTestNumberedWindow"}, 0, "", WS_POPUP, {0, 0, 10, 10}, nullptr, nullptr);
  }
  int handled = 0;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == kFail) throw EReadError("The handler failed");
    if (message == kWhoAmI) {
      ++handled;
      return number_;
    }
    return DefaultHandling(message, wParam, lParam);
  }

 private:
  int number_;
};

struct HookGuard {
  ~HookGuard() {
    SetHandlerErrorHook(nullptr);
    TakeLastHandlerError();
  }
};

}  // namespace

// One class, registered by the first window; every window's messages reach its own object.
TEST(WindowBase, EachWindowOfOneClassReachesItsOwnObject) {
  NumberedWindow first(1), second(2);
  ASSERT_TRUE(first.Exists());
  ASSERT_TRUE(second.Exists());
  EXPECT_EQ(first.Send(kWhoAmI), 1);
  EXPECT_EQ(second.Send(kWhoAmI), 2);
  char className[64] = "";
  GetClassNameA(second, className, sizeof className);
  EXPECT_STREQ(className, "QuorvelTestNumberedWindow");
}

TEST(WindowBase, AWindowGoesWithItsObjectAndAnObjectOutlivesItsWindow) {
  HWND handle;
  {
    NumberedWindow window(3);
    handle = window;
  }
  EXPECT_FALSE(IsWindow(handle));

  NumberedWindow window(4);
  handle = window;
  DestroyWindow(handle);
  EXPECT_EQ(window.Handle(), nullptr) << "forgotten at WM_NCDESTROY";
}

TEST(WindowBase, AnErrorInAHandlerReachesTheHookWithItsSource) {
  HookGuard guard;
  std::vector<std::pair<HWND, std::string>> sources;
  std::vector<std::string> messages;
  SetHandlerErrorHook([&](const HandlerSource& source, std::exception_ptr error) {
    sources.emplace_back(source.window, source.className + " " + source.ownerPath);
    messages.push_back(DescribeError(error).message);
  });
  NumberedWindow window(5);
  EXPECT_EQ(window.Send(kFail), 0);
  EXPECT_TRUE(window.Exists()) << "the window goes on";
  EXPECT_EQ(window.Send(kWhoAmI), 5);
  using Source = std::pair<HWND, std::string>;
  EXPECT_EQ(sources, (std::vector<Source>{{window.Handle(), "TNumbered Form\\Numbered5"}}));
  EXPECT_EQ(messages, std::vector<std::string>{"The handler failed"});
  EXPECT_FALSE(TakeLastHandlerError());
}

TEST(WindowBase, AnErrorInAHandlerIsKeptWhenNoHookIsSet) {
  HookGuard guard;
  NumberedWindow window(6);
  window.Send(kFail);
  std::exception_ptr error = TakeLastHandlerError();
  ASSERT_TRUE(error);
  EXPECT_EQ(DescribeError(error).message, "The handler failed");
}
