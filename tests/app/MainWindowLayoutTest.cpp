#include "app/MainWindow.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shellapi.h>

#include <functional>
#include <memory>
#include <vector>

#include "app/ErrorReporting.h"
#include "app/Settings.h"
#include "platform/TMyRegistry.h"
#include "res/resource.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/ModalWatcher.h"
#include "ui/Dpi.h"
#include "ui/Splitter.h"

namespace {

constexpr char kSettingsKey[] = "Software\\QuorvelTests\\MainWindowLayout";

int Width(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  return rect.right - rect.left;
}

int ColumnWidth(HWND list, int column) { return static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, column, 0)); }

// The 32 x 32 colour pixels of an icon, to tell icons apart.
std::vector<DWORD> IconPixels(HICON icon) {
  std::vector<DWORD> pixels(32 * 32);
  ICONINFO info{};
  if (!icon || !GetIconInfo(icon, &info)) return {};
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  format.bmiHeader.biWidth = 32;
  format.bmiHeader.biHeight = -32;  // top-down
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  HDC dc = GetDC(nullptr);
  GetDIBits(dc, info.hbmColor, 0, 32, pixels.data(), &format, DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return pixels;
}

// Records what the toolbar's tooltip is told about its activation.
std::vector<WPARAM> activations;
WNDPROC originalTipProc = nullptr;
LRESULT CALLBACK RecordActivation(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == TTM_ACTIVATE) activations.push_back(wParam);
  return CallWindowProcA(originalTipProc, window, message, wParam, lParam);
}

class MainWindowLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitControlsForTests();
    app.programFolder = TestFolder("QuorvelLayout");
    RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
    settings = std::make_unique<StaticRegScope>(kSettingsKey, app.programFolder);
  }
  void TearDown() override {
    window.reset();
    DrainQuitMessages();
    settings.reset();
    RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
    DeleteFileA((app.programFolder + "Last.SXS").c_str());
    RemoveDirectoryA(app.programFolder.c_str());
  }

  // A new main window as the program starts it, after the settings were written; beforeStartup
  // runs between the window's creation and its start-up selection.
  void Start(const std::function<void()>& beforeStartup = {}) {
    window.reset();
    window = std::make_unique<MainWindow>(session, [this](HWND, const ErrorSource&, std::exception_ptr error) {
      errors.push_back(DescribeError(error).message);
    });
    ASSERT_NE(window->Create(), nullptr);
    if (beforeStartup) beforeStartup();
    window->LoadStartupSelection();
  }

  // Drags a splitter by dx pixels the way the mouse does.
  static void Drag(HWND splitter, int dx) {
    SendMessageA(splitter, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 10));
    SendMessageA(splitter, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(1 + dx, 10));
    SendMessageA(splitter, WM_LBUTTONUP, 0, MAKELPARAM(1 + dx, 10));
  }

  int32_t Stored(const std::string& name) { return settings->Reg().ReadInteger(name); }

  Session session;
  AppState& app = session.State();
  std::unique_ptr<StaticRegScope> settings;
  std::vector<std::string> errors;
  std::unique_ptr<MainWindow> window;
};

}  // namespace

TEST_F(MainWindowLayoutTest, SplittersAndColumnWidthsComeBackAtTheNextStart) {
  Start();
  HWND list = window->Control("DriveSelFiles");
  for (int column = 0; column < 4; ++column) EXPECT_EQ(ColumnWidth(list, column), 120) << "nothing stored yet";
  const int treeWidth = Width(window->Control("RegView"));
  Drag(window->Control("RegViewSplitter"), 60);
  EXPECT_EQ(Width(window->Control("RegView")), treeWidth + 60);
  SendMessageA(list, LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(77, 0));
  SendMessageA(window->Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(window->Handle(), nullptr);
  EXPECT_EQ(Stored("RegViewSplitter"), treeWidth + 60);
  EXPECT_EQ(Stored("DriveSelFilesColumnCount"), 4);
  EXPECT_EQ(Stored("DriveSelFilesColumn1"), 77);

  Start();
  EXPECT_EQ(Width(window->Control("RegView")), treeWidth + 60);
  EXPECT_EQ(Width(window->Control("DriveSel")), treeWidth) << "each page keeps its own splitter";
  EXPECT_EQ(ColumnWidth(window->Control("DriveSelFiles"), 1), 77);
  EXPECT_EQ(ColumnWidth(window->Control("DriveSelFiles"), 2), 120);
  EXPECT_TRUE(errors.empty());
}

TEST_F(MainWindowLayoutTest, ASplitterDraggedPastTheEdgeLeavesBothPanesVisible) {
  Start();
  Drag(window->Control("ResultViewSplitter"), 5000);
  EXPECT_GE(Width(window->Control("ResultValues")), Splitter::kMinPane);
  Drag(window->Control("ResultViewSplitter"), -5000);
  EXPECT_GE(Width(window->Control("ResultView")), Splitter::kMinPane);
}

TEST_F(MainWindowLayoutTest, CancelledCloseQueryKeepsTheWindowButSavesTheLayout) {
  Start();
  HANDLE last = CreateFileA((app.programFolder + "Last.SXS").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  CloseHandle(last);
  app.selectionChanged = true;
  std::string question;
  ModalWatcher watcher([&](HWND dialog) {
    question = ChildTexts(dialog).back();
    PressDialogButton(dialog, IDCANCEL);
  });
  SendMessageA(window->Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(watcher.Seen(), 1);
  EXPECT_NE(question.find("Save the current selection as the default"), std::string::npos) << question;
  EXPECT_NE(window->Handle(), nullptr);
  EXPECT_EQ(Stored("ResultValuesColumnCount"), 2);
  EXPECT_EQ(Stored("RegViewSplitter"), Width(window->Control("RegView")));
}

TEST_F(MainWindowLayoutTest, WelcomeFlagAndHintsFollowTheSettings) {
  struct Case {
    int dontShowWelcome;  // -1: not stored
    int showHints;
    uint32_t hintColor;
    bool welcome;
    COLORREF tipColor;
  };
  const Case cases[] = {
      {-1, 1, kDefaultHintColor, true, GetSysColor(COLOR_INFOBK)},
      {1, 1, 0x0000FF, false, 0x0000FF},
      {0, 0, kDefaultHintColor, true, GetSysColor(COLOR_INFOBK)},
  };
  for (const Case& c : cases) {
    TMyRegistry& reg = settings->Reg();
    if (c.dontShowWelcome < 0)
      reg.DeleteValue("DontShowWelcome");
    else
      reg.WriteBool("DontShowWelcome", c.dontShowWelcome != 0);
    reg.WriteInteger("ShowHints", c.showHints);
    reg.WriteInteger("HintColor", static_cast<int32_t>(c.hintColor));
    HWND tips = nullptr;
    activations.clear();
    Start([&] {
      tips = reinterpret_cast<HWND>(SendMessageA(window->Control("Toolbar"), TB_GETTOOLTIPS, 0, 0));
      originalTipProc = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrA(tips, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordActivation)));
    });
    EXPECT_EQ(window->ShowWelcome(), c.welcome) << c.dontShowWelcome;
    ASSERT_NE(tips, nullptr);
    EXPECT_EQ(activations, std::vector<WPARAM>{static_cast<WPARAM>(c.showHints)}) << c.showHints;
    EXPECT_EQ(static_cast<COLORREF>(SendMessageA(tips, TTM_GETTIPBKCOLOR, 0, 0)), c.tipColor);
  }
}

TEST_F(MainWindowLayoutTest, TheOptionsDialogClosedWithOkAppliesTheTooltipSettingsAtOnce) {
  Start();
  HWND tips = reinterpret_cast<HWND>(SendMessageA(window->Control("Toolbar"), TB_GETTOOLTIPS, 0, 0));
  ASSERT_NE(tips, nullptr);
  const auto tipColor = [&] { return static_cast<COLORREF>(SendMessageA(tips, TTM_GETTIPBKCOLOR, 0, 0)); };
  ASSERT_EQ(tipColor(), GetSysColor(COLOR_INFOBK));
  // Stored while the program runs; the dialog shows it and saves it back.
  settings->Reg().WriteInteger("HintColor", 0x0000FF);
  struct Close {
    int button;
    COLORREF tipColorAfter;
  };
  for (const Close& close : {Close{IDCANCEL, GetSysColor(COLOR_INFOBK)}, Close{IDOK, 0x0000FF}}) {
    ModalWatcher watcher([&](HWND dialog) { PressDialogButton(dialog, close.button); });
    window->RunCommand(IDM_SETTINGS);
    EXPECT_EQ(watcher.Seen(), 1);
    EXPECT_EQ(tipColor(), close.tipColorAfter) << close.button;
  }
  EXPECT_TRUE(errors.empty());
}

TEST_F(MainWindowLayoutTest, ProgramIconComesFirstAndTheDocumentIconSecond) {
  char exe[MAX_PATH];
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  HINSTANCE instance = GetModuleHandleA(nullptr);
  auto resource = [&](int id) {
    return static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON, 32, 32, LR_SHARED));
  };
  std::vector<DWORD> program = IconPixels(resource(IDI_QUORVEL));
  std::vector<DWORD> document = IconPixels(resource(IDI_DOCUMENT));
  ASSERT_FALSE(program.empty());
  ASSERT_NE(program, document);
  for (const auto& [index, expected] : {std::pair{0, &program}, std::pair{1, &document}}) {
    HICON large = nullptr;
    ASSERT_EQ(ExtractIconExA(exe, index, &large, nullptr, 1), 1u) << index;
    EXPECT_EQ(IconPixels(large), *expected) << index;
    DestroyIcon(large);
  }
  Start();
  EXPECT_EQ(IconPixels(reinterpret_cast<HICON>(GetClassLongPtrA(window->Handle(), GCLP_HICON))), program);
}

// The window comes back where it was last restored to, maximised when it was; a minimised
// window comes back restored; a place no monitor shows any more is moved onto the nearest one.
TEST_F(MainWindowLayoutTest, WindowPlacementComesBackRestoredOnAVisibleMonitor) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  ASSERT_TRUE(GetMonitorInfoA(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor));
  const RECT work = monitor.rcWork;
  const RECT normal{100, 80, 800, 580};
  struct Case {
    const char* name;
    UINT showCommand;
    RECT stored;  // written to the settings after the close, as another screen left it
    RECT expected;
    bool maximized;
  };
  const Case cases[] = {
      {"normal", SW_SHOWNORMAL, {}, normal, false},
      {"maximised", SW_SHOWMAXIMIZED, {}, normal, true},
      {"minimised", SW_SHOWMINIMIZED, {}, normal, false},
      {"right of the screen",
       SW_SHOWNORMAL,
       {work.right + 500, 300, work.right + 1200, 800},
       {work.right - 700, 300, work.right, 800},
       false},
      {"above and left",
       SW_SHOWNORMAL,
       {-2000, -1500, -1300, -1000},
       {work.left, work.top, work.left + 700, work.top + 500},
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Start();
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    placement.showCmd = c.showCommand;
    placement.rcNormalPosition = normal;
    SetWindowPlacement(window->Handle(), &placement);
    SendMessageA(window->Handle(), WM_CLOSE, 0, 0);
    ASSERT_EQ(window->Handle(), nullptr);
    if (!IsRectEmpty(&c.stored)) {
      settings->Reg().WriteInteger("MainFormLeft", c.stored.left);
      settings->Reg().WriteInteger("MainFormTop", c.stored.top);
      settings->Reg().WriteInteger("MainFormRight", c.stored.right);
      settings->Reg().WriteInteger("MainFormBottom", c.stored.bottom);
    }

    Start();
    window->Show(SW_SHOWNORMAL);
    placement.length = sizeof placement;
    ASSERT_TRUE(GetWindowPlacement(window->Handle(), &placement));
    const RECT& shown = placement.rcNormalPosition;
    EXPECT_EQ(shown.left, c.expected.left);
    EXPECT_EQ(shown.top, c.expected.top);
    EXPECT_EQ(shown.right, c.expected.right);
    EXPECT_EQ(shown.bottom, c.expected.bottom);
    EXPECT_EQ(IsZoomed(window->Handle()) != FALSE, c.maximized);
    EXPECT_FALSE(IsIconic(window->Handle()));
    window.reset();
    DrainQuitMessages();
  }
}

namespace {

int Height(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  return rect.bottom - rect.top;
}

LONG FontHeight(HWND control) {
  LOGFONTA face{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof face, &face);
  return face.lfHeight < 0 ? -face.lfHeight : face.lfHeight;
}

}  // namespace

TEST_F(MainWindowLayoutTest, AMonitorOfTwiceTheDpiDoublesFontsAndLengthsAtTheSuggestedPlace) {
  Start();
  HWND panel = window->Control("Statuspanel");
  HWND tree = window->Control("RegView");
  const int dpi = static_cast<int>(WindowDpi(window->Handle()));
  const int panelHeight = Height(panel);
  const LONG fontHeight = FontHeight(tree);
  ASSERT_GT(fontHeight, 0);

  RECT suggested{40, 30, 40 + 1100, 30 + 800};
  SendMessageA(window->Handle(), WM_DPICHANGED, MAKEWPARAM(2 * dpi, 2 * dpi), reinterpret_cast<LPARAM>(&suggested));
  RECT placed;
  GetWindowRect(window->Handle(), &placed);
  EXPECT_EQ(placed.left, suggested.left);
  EXPECT_EQ(placed.right - placed.left, 1100);
  EXPECT_NEAR(Height(panel), 2 * panelHeight, 1);
  EXPECT_NEAR(FontHeight(tree), 2 * fontHeight, 2);
  EXPECT_NEAR(FontHeight(window->Control("ResultDriveFiles")), 2 * fontHeight, 2) << "hidden pages too";
}

TEST_F(MainWindowLayoutTest, TheStatusLineSaysSoWhenAdministratorRightsAreMissing) {
  for (const bool rights : {true, false}) {
    app.administratorRights = rights;
    Start();
    HWND label = window->Control("RightsLBL");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ((GetWindowLongPtrA(label, GWL_STYLE) & WS_VISIBLE) != 0, !rights);
    if (rights) continue;
    char text[64] = {};
    GetWindowTextA(label, text, sizeof text);
    EXPECT_STREQ(text, "No administrator rights");
    RECT panel;
    RECT note;
    GetWindowRect(window->Control("Statuspanel"), &panel);
    GetWindowRect(label, &note);
    EXPECT_LE(panel.right, note.left) << "the panel gives the note its room";
    EXPECT_GT(note.right - note.left, 0);
  }
}
