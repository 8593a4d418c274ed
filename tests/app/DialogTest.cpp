#include "ui/Dialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <utility>

#include "app/ErrorDialog.h"
#include "app/ErrorDialogIds.h"
#include "app/ErrorReporting.h"
#include "app/OptionsDialog.h"
#include "app/OptionsDialogIds.h"
#include "core/Errors.h"
#include "tests/app/ModalWatcher.h"

namespace {

std::vector<unsigned char> ErrorDialogTemplate() {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(IDD_ERROR), MAKEINTRESOURCEA(5));
  const auto* data = static_cast<const unsigned char*>(LockResource(LoadResource(module, resource)));
  return {data, data + SizeofResource(module, resource)};
}

INT_PTR CALLBACK PlainProcedure(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// A window made from a template in memory, destroyed at the end of the scope.
struct TemplateWindow {
  explicit TemplateWindow(const std::vector<unsigned char>& data)
      : window(CreateDialogIndirectParamA(GetModuleHandleA(nullptr), reinterpret_cast<LPCDLGTEMPLATEA>(data.data()),
                                          nullptr, PlainProcedure, 0)) {}
  ~TemplateWindow() { DestroyWindow(window); }
  HWND window;
};

int ChildCount(HWND parent) { return static_cast<int>(ChildTexts(parent).size()); }

// A plain (not extended) template by hand: DS_SETFONT, one static text with id 7.
std::vector<unsigned char> PlainTemplate() {
  std::vector<unsigned char> bytes;
  auto word = [&](unsigned value) {
    bytes.push_back(static_cast<unsigned char>(value & 0xFF));
    bytes.push_back(static_cast<unsigned char>(value >> 8));
  };
  auto dword = [&](DWORD value) {
    word(value & 0xFFFF);
    word(value >> 16);
  };
  auto text = [&](const char* s) {
    for (; *s; ++s) word(static_cast<unsigned char>(*s));
    word(0);
  };
  auto align = [&] { bytes.resize((bytes.size() + 3) & ~std::size_t{3}, 0); };
  dword(WS_POPUP | WS_CAPTION | DS_SETFONT);
  dword(0);
  word(1);  // one item
  for (int i = 0; i < 4; ++i) word(i < 2 ? 0 : 100);
  word(0);  // no menu
  word(0);  // default class
  text("Plain");
  word(8);
  text("MS Shell Dlg");
  align();
  dword(WS_CHILD | WS_VISIBLE | SS_LEFT);
  dword(0);
  for (int i = 0; i < 4; ++i) word(i < 2 ? 5 : 40);
  word(7);
  word(0xFFFF);
  word(0x0082);  // static
  text("Hi");
  word(0);  // no creation data
  return bytes;
}

// Makes sure Tahoma is a screen font for a test: a Wine prefix may not have it installed,
// Wine's own copy then serves as a font private to this process.
class TahomaFont {
 public:
  TahomaFont() {
    if (IsScreenFont("Tahoma")) return;
    if (AddFontResourceExA(kWineTahoma, FR_PRIVATE, nullptr) > 0) added_ = true;
  }
  ~TahomaFont() {
    if (added_) RemoveFontResourceExA(kWineTahoma, FR_PRIVATE, nullptr);
  }
  TahomaFont(const TahomaFont&) = delete;
  TahomaFont& operator=(const TahomaFont&) = delete;

 private:
  static constexpr const char* kWineTahoma = "Z:\\usr\\share\\wine\\fonts\\tahoma.ttf";
  bool added_ = false;
};

// Restores the default error hook when a test ends.
struct HookGuard {
  ~HookGuard() {
    SetHandlerErrorHook(nullptr);
    TakeLastHandlerError();
  }
};

// An error dialog whose "&Details" fails: a handler that throws.
class FailingDetailsForm : public TErrorFRM {
 public:
  FailingDetailsForm() : TErrorFRM(ErrorReport{"kind", "message", "details"}) {}

 protected:
  bool OnCommand(int id, int code, HWND control) override {
    if (id == IDC_ERROR_DETAILS_BUTTON) throw EReadError("Details failed");
    return TErrorFRM::OnCommand(id, code, control);
  }
};

}  // namespace

TEST(ScreenFont, FindsTahomaIgnoringCaseAndNoUnknownFace) {
  TahomaFont tahoma;
  ASSERT_TRUE(IsScreenFont("Tahoma")) << "neither installed nor in Wine's fonts folder";
  EXPECT_TRUE(IsScreenFont("tAHOMA"));
  EXPECT_FALSE(IsScreenFont("Quorvel No Such Face"));
}

TEST(DialogTemplateWithFont, ReplacesTheFaceAndKeepsTheControlsWhateverTheNameLength) {
  std::vector<unsigned char> original = ErrorDialogTemplate();
  for (const char* face : {"Ab", "Arial", "Tahoma", "Courier New", "Quorvel Very Long Face"}) {
    SCOPED_TRACE(face);
    std::vector<unsigned char> changed = DialogTemplateWithFont(original.data(), original.size(), face);
    TemplateWindow dialog(changed);
    ASSERT_NE(dialog.window, nullptr);
    EXPECT_EQ(FontFace(dialog.window), face);
    EXPECT_EQ(ChildCount(dialog.window), 7);
    EXPECT_EQ(WindowText(GetDlgItem(dialog.window, IDC_ERROR_DETAILS_BUTTON)), "&Details");
    EXPECT_TRUE(GetWindowLongA(GetDlgItem(dialog.window, IDC_ERROR_DETAILS), GWL_STYLE) & ES_READONLY);
  }
}

TEST(DialogTemplateWithFont, HandlesPlainTemplatesAndRejectsTruncatedOnes) {
  std::vector<unsigned char> plain = PlainTemplate();
  for (const char* face : {"Arial", "Tahoma"}) {
    TemplateWindow dialog(DialogTemplateWithFont(plain.data(), plain.size(), face));
    ASSERT_NE(dialog.window, nullptr);
    EXPECT_EQ(FontFace(dialog.window), face);
    EXPECT_EQ(WindowText(GetDlgItem(dialog.window, 7)), "Hi");
  }
  EXPECT_THROW(DialogTemplateWithFont(plain.data(), 20, "Arial"), Exception);
}

TEST(Dialog, TopLevelDialogsShowTheApplicationTitleAndUseTahoma) {
  TahomaFont tahoma;
  ASSERT_TRUE(IsScreenFont("Tahoma"));
  TErrorFRM error(ErrorReport{});
  ASSERT_TRUE(error.Create(nullptr));
  EXPECT_EQ(error.Text(), "Quorvel - Error");
  EXPECT_EQ(FontFace(error), "Tahoma");

  TfOptions options;
  ASSERT_TRUE(options.Create(nullptr));
  EXPECT_EQ(options.Text(), "Quorvel - Settings");
  Window page = options.Control(IDC_PATH_TO_SYSTEM_FILES).Parent();
  EXPECT_EQ(page.Text(), "") << "a tab page is no form of its own";
  EXPECT_EQ(FontFace(page), "Tahoma");
}

TEST(Dialog, ModelessDialogEndsWithItsResultAndIsDestroyed) {
  TErrorFRM form(ErrorReport{});
  ASSERT_TRUE(form.Create(nullptr));
  HWND window = form.Handle();
  form.Item(IDOK).Click();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(form.Handle(), nullptr);
  EXPECT_EQ(form.Result(), IDOK);
  EXPECT_TRUE(form.Create(nullptr)) << "can be opened again";
}

TEST(Dialog, AnErrorInAHandlerIsKeptWhenNoHookIsSet) {
  HookGuard guard;
  FailingDetailsForm form;
  ASSERT_TRUE(form.Create(nullptr));
  form.Item(IDC_ERROR_DETAILS_BUTTON).Click();
  std::exception_ptr error = TakeLastHandlerError();
  ASSERT_TRUE(error);
  EXPECT_EQ(DescribeError(error).message, "Details failed");
  EXPECT_TRUE(form.Exists());
}

TEST(Dialog, AnErrorInAHandlerReachesTheHookWithItsSource) {
  HookGuard guard;
  std::vector<std::pair<std::string, std::string>> sources;
  std::vector<std::string> messages;
  SetHandlerErrorHook([&](const HandlerSource& source, std::exception_ptr error) {
    sources.emplace_back(source.className, source.ownerPath);
    messages.push_back(DescribeError(error).message);
  });

  FailingDetailsForm form;
  ASSERT_TRUE(form.Create(nullptr));
  form.Item(IDC_ERROR_DETAILS_BUTTON).Click();

  // Enter in a tab page: the form's save fails, the error names the page, the form stays.
  TfOptions options;
  options.apply = [](const Settings&) { throw EMyRegistryException("Failed to set data for 'DefaultText'"); };
  ASSERT_TRUE(options.Create(nullptr));
  HWND page = options.Control(IDC_DEFAULT_TEXT).Parent();
  SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_TRUE(options.Exists());

  using Source = std::pair<std::string, std::string>;
  EXPECT_EQ(sources, (std::vector<Source>{{"TErrorFRM", "ErrorFRM"}, {"TTabSheet", "fOptions\\GeneralTS"}}));
  EXPECT_EQ(messages, (std::vector<std::string>{"Details failed", "Failed to set data for 'DefaultText'"}));
  EXPECT_FALSE(TakeLastHandlerError());
}

TEST(Dialog, TheInstalledHandlerShowsTheErrorDialog) {
  HookGuard guard;
  InstallHandlerErrorHook();
  FailingDetailsForm form;
  ASSERT_TRUE(form.Create(nullptr));
  form.Show();

  std::string caption, kind;
  ModalWatcher watcher([&](HWND dialog) {
    caption = WindowText(dialog);
    kind = WindowText(GetDlgItem(dialog, IDC_ERROR_KIND));
    PressDialogButton(dialog, IDOK);
  });
  form.Item(IDC_ERROR_DETAILS_BUTTON).Click();
  EXPECT_EQ(watcher.Seen(), 1);
  EXPECT_EQ(caption, "Quorvel - Error");
  EXPECT_EQ(kind,
            "Stream error:Error reading/writing class information\r\n"
            "Method ReadBuffer is not able to read the specified number of Bytes");
}
