#include "app/ErrorReporting.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "app/ErrorDialog.h"
#include "app/ErrorDialogIds.h"
#include "core/Errors.h"
#include "tests/app/ModalWatcher.h"
#include "ui/Controls.h"
#include "ui/MessagePump.h"

namespace {

const ErrorSource kSource{"TfOptions", "fOptions\\ApplyBTN"};

struct KindCase {
  const char* name;
  std::exception_ptr error;
  const char* kindText;
  const char* message;
};

}  // namespace

TEST(BuildErrorReport, NamesTheKindInPlainWordsAndKeepsTheMessage) {
  const KindCase cases[] = {
      {"integer division by zero", std::make_exception_ptr(Exception(ErrorKind::EDivByZero, "Division by zero")),
       "Integer calculation error\r\nDivide by zero", "Division by zero"},
      {"file creation", std::make_exception_ptr(Exception(ErrorKind::EFCreateError, "Cannot create file C:\\A.SXD")),
       "Stream error:File creation error", "Cannot create file C:\\A.SXD"},
      {"registry layer", std::make_exception_ptr(EMyRegistryException("Failed to create key Software\\X")),
       "Windows registry access error", "Failed to create key Software\\X"},
      {"unnamed kind", std::make_exception_ptr(Exception("Something odd")), "General program error", "Something odd"},
      {"runtime error", std::make_exception_ptr(std::runtime_error("odd too")), "General program error", "odd too"},
      {"out of memory", std::make_exception_ptr(std::bad_alloc()), "Insufficient memory", "Out of memory"},
  };
  for (const KindCase& c : cases) {
    SCOPED_TRACE(c.name);
    ErrorReport report = BuildErrorReport(kSource, c.error);
    EXPECT_EQ(report.kindText, c.kindText);
    EXPECT_EQ(report.message, c.message);
  }
}

TEST(BuildErrorReport, DetailsNameKindSourceAndOwnerPath) {
  ErrorReport report = BuildErrorReport(kSource, std::make_exception_ptr(EReadError("short read")));
  EXPECT_EQ(report.details,
            "Errortype:\r\n   EReadError\r\nError produced by:\r\n   TfOptions\r\nError occurred:\r\n   "
            "fOptions\\ApplyBTN");
  report = BuildErrorReport(ErrorSource{"TApplication", ""}, std::make_exception_ptr(std::bad_alloc()));
  EXPECT_EQ(report.details,
            "Errortype:\r\n   EOutOfMemory\r\nError produced by:\r\n   TApplication\r\nError occurred:\r\n   ");
}

TEST(WithCrLfLineBreaks, EveryLineBreakBecomesCrLf) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\junk.SXL\rNot a logfile !", "C:\\junk.SXL\r\nNot a logfile !"},
      {"a\nb", "a\r\nb"},
      {"a\r\nb", "a\r\nb"},
      {"a\r\rb\n", "a\r\n\r\nb\r\n"},
      {"\n\r", "\r\n\r\n"},
      {"no break", "no break"},
  };
  for (const auto& [text, shown] : cases) EXPECT_EQ(WithCrLfLineBreaks(text), shown) << text;
}

TEST(ErrorDialog, ShowsTheReportAndHidesTheDetailsUntilAsked) {
  TErrorFRM form(
      ErrorReport{"Integer calculation error\r\nDivide by zero", "C:\\junk.SXL\rNot a logfile !", "the details"});
  ASSERT_TRUE(form.Create(nullptr));
  EXPECT_EQ(form.Text(), "Quorvel - Error");
  EXPECT_TRUE(form.ExStyle() & WS_EX_TOOLWINDOW);
  EXPECT_NE(form.Item(IDC_ERROR_ICON).Send(STM_GETICON), 0);
  EXPECT_EQ(form.Item(IDC_ERROR_TITLE).Text(), "Error !");
  EXPECT_EQ(form.Item(IDC_ERROR_KIND).Text(), "Integer calculation error\r\nDivide by zero");
  EXPECT_EQ(form.Item(IDC_ERROR_MESSAGE).Text(), "C:\\junk.SXL\r\nNot a logfile !");
  EXPECT_EQ(form.Item(IDC_ERROR_MESSAGE).Send(EM_GETLINECOUNT), 2);
  EXPECT_EQ(form.Item(IDC_ERROR_DETAILS).Text(), "the details");
  EXPECT_EQ(form.Item(IDOK).Text(), "&OK");
  EXPECT_EQ(form.Item(IDC_ERROR_DETAILS_BUTTON).Text(), "&Details");
  for (int id : {IDC_ERROR_MESSAGE, IDC_ERROR_DETAILS}) EXPECT_TRUE(form.Item(id).Style() & ES_READONLY);

  // The full height is the template's (184 dialog units of client area and the frame), or more
  // where the kind text needs room; the details box then ends inside it.
  RECT client{0, 0, 260, 184};
  MapDialogRect(form, &client);
  AdjustWindowRectEx(&client, form.Style(), FALSE, form.ExStyle());
  int fullHeight = form.FullHeight();
  EXPECT_GE(fullHeight, client.bottom - client.top);

  // Shrunk: it ends just above the details box.
  int frameHeight = form.Height() - form.ClientRect().bottom;
  int detailsTop = form.Item(IDC_ERROR_DETAILS).RectIn(form).top;
  EXPECT_EQ(form.Height(), detailsTop + frameHeight - 1);
  EXPECT_GT(detailsTop, form.ClientRect().bottom - 1);
  EXPECT_LE(form.Item(IDOK).RectIn(form).bottom, form.ClientRect().bottom);

  RECT window = form.WindowRect();
  EXPECT_NEAR((window.left + window.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
  EXPECT_NEAR((window.top + window.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);

  form.Item(IDC_ERROR_DETAILS_BUTTON).Click();
  EXPECT_EQ(form.Height(), fullHeight);
  EXPECT_LE(form.Item(IDC_ERROR_DETAILS).RectIn(form).bottom, form.ClientRect().bottom);
}

TEST(ErrorDialog, HeadlineAndKindTextGetTheRoomTheyNeed) {
  const char* kinds[] = {"General program error", "Integer calculation error\r\nDivide by zero",
                         "Access violation, memory has not been allocated for that area",
                         "Stream error:Error reading/writing class information\r\nMethod ReadBuffer is not able to "
                         "read the specified number of Bytes"};
  for (const char* kind : kinds) {
    SCOPED_TRACE(kind);
    TErrorFRM form(ErrorReport{kind, "message", "details"});
    ASSERT_TRUE(form.Create(nullptr));
    Window headline = form.Item(IDC_ERROR_TITLE);
    LOGFONTA font{};
    GetObjectA(headline.Font(), sizeof font, &font);
    EXPECT_GE(font.lfWeight, FW_BOLD) << "the headline stands out";
    const SIZE headlineText = TextExtent(headline, "Error !", false);
    EXPECT_GE(headline.ClientRect().right, headlineText.cx);
    EXPECT_GE(headline.ClientRect().bottom, headlineText.cy);

    Window kindLabel = form.Item(IDC_ERROR_KIND);
    EXPECT_GE(kindLabel.ClientRect().bottom, TextExtent(kindLabel, kind, true).cy);
    EXPECT_GE(kindLabel.RectIn(form).top, headline.RectIn(form).bottom) << "no overlap";
    EXPECT_GE(form.Item(IDC_ERROR_MESSAGE).RectIn(form).top, kindLabel.RectIn(form).bottom);
    EXPECT_LE(form.Item(IDOK).RectIn(form).bottom, form.ClientRect().bottom) << "the buttons stay visible";
  }
}

TEST(ShowError, UserCancelIsANoticeOnly) {
  std::string caption;
  bool aborted = false, errorDialog = false;
  ModalWatcher watcher([&](HWND dialog) {
    caption = WindowText(dialog);
    aborted = HasChildText(dialog, "Operation aborted!");
    errorDialog = GetDlgItem(dialog, IDC_ERROR_DETAILS) != nullptr;
    PressDialogButton(dialog, IDOK);
  });
  ShowError(nullptr, kSource, std::make_exception_ptr(EMyAbort()));
  EXPECT_EQ(watcher.Seen(), 1);
  EXPECT_EQ(caption, "Quorvel");
  EXPECT_TRUE(aborted);
  EXPECT_FALSE(errorDialog);
}

TEST(ShowError, SilentAbortShowsNothing) {
  ModalWatcher watcher([](HWND dialog) { PressDialogButton(dialog, IDOK); });
  ShowError(nullptr, kSource, std::make_exception_ptr(EAbort()));
  MessagePump::RunPending();
  EXPECT_EQ(watcher.Seen(), 0);
}

TEST(ShowError, OtherErrorsOpenTheErrorDialog) {
  std::string kind, message, details;
  int shrunkHeight = 0;
  ModalWatcher watcher([&](HWND dialog) {
    kind = WindowText(GetDlgItem(dialog, IDC_ERROR_KIND));
    message = WindowText(GetDlgItem(dialog, IDC_ERROR_MESSAGE));
    details = WindowText(GetDlgItem(dialog, IDC_ERROR_DETAILS));
    RECT rect;
    GetWindowRect(dialog, &rect);
    shrunkHeight = rect.bottom - rect.top;
    PressDialogButton(dialog, IDOK);
  });
  ShowError(nullptr, kSource, std::make_exception_ptr(EMyRegistryException("Failed to create key Software\\X")));
  EXPECT_EQ(watcher.Seen(), 1);
  EXPECT_EQ(kind, "Windows registry access error");
  EXPECT_EQ(message, "Failed to create key Software\\X");
  EXPECT_EQ(details, BuildErrorReport(kSource, std::make_exception_ptr(EMyRegistryException(""))).details);
  TErrorFRM reference(ErrorReport{});
  ASSERT_TRUE(reference.Create(nullptr));
  EXPECT_EQ(shrunkHeight, reference.Height()) << "shown shrunk";
}
