#include "platform/ProcessorFaults.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "app/ErrorDialog.h"
#include "app/ErrorDialogIds.h"
#include "app/ErrorReporting.h"
#include "app/MainWindow.h"
#include "core/Errors.h"
#include "platform/CrashReport.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/ModalWatcher.h"
#include "ui/HandlerErrors.h"

namespace {

// volatile: the compiler must neither fold the faults away nor drop them as unused.
volatile int zero = 0;
volatile int sink = 0;
volatile int* volatile nowhere = nullptr;

void DivideByZero() { sink = 100 / zero; }
void ReadNull() { sink = *nowhere; }
void WriteNull() { *nowhere = 1; }

struct FaultCase {
  const char* name;
  void (*fault)();
  ErrorKind kind;
  const char* messageStart;
};

const FaultCase kFaults[] = {
    {"integer division by zero", DivideByZero, ErrorKind::EDivByZero, "Division by zero at address "},
    {"read of null", ReadNull, ErrorKind::EAccessViolation, "Access violation at address "},
    {"write to null", WriteNull, ErrorKind::EAccessViolation, "Access violation at address "},
};

ErrorInfo FaultOf(void (*fault)()) {
  try {
    RunCatchingFaults(fault);
  } catch (...) {
    return DescribeError(std::current_exception());
  }
  return {ErrorKind::Exception, "no error"};
}

// A fault is recovered, and a crash report walks the stack, only where the table-based unwind
// data of x86_64 lets the handler check the frames; on i686 every fault ends the process with a
// crash report (tested below).
#ifdef _WIN64
constexpr bool kX64UnwindTables = true;
#else
constexpr bool kX64UnwindTables = false;
#endif

class ProcessorFaultTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!kX64UnwindTables) GTEST_SKIP() << "faults are fatal on i686";
    InitControlsForTests();
    InstallFaultHandling();
  }
};

}  // namespace

TEST_F(ProcessorFaultTest, AFaultInsideAGuardIsThrownAsAnErrorOfItsKind) {
  for (int round = 0; round < 2; ++round) {  // the second round: nothing of the first is left over
    for (const FaultCase& c : kFaults) {
      SCOPED_TRACE(c.name);
      ErrorInfo info = FaultOf(c.fault);
      EXPECT_EQ(info.kind, c.kind);
      EXPECT_EQ(info.message.rfind(c.messageStart, 0), 0u) << info.message;
      EXPECT_NE(info.message.find("in module 'app_tests.exe'."), std::string::npos) << info.message;
    }
  }
  EXPECT_NE(FaultOf(WriteNull).message.find("\rWrite of address 0000000000000000."), std::string::npos);
  EXPECT_NE(FaultOf(ReadNull).message.find("\rRead of address 0000000000000000."), std::string::npos);
}

TEST_F(ProcessorFaultTest, OtherErrorsAndNestedGuardsPassThroughUnchanged) {
  EXPECT_EQ(FaultOf([] { throw EReadError("short read"); }).kind, ErrorKind::EReadError);
  // The inner guard catches; the outer one goes on as if nothing happened.
  bool outerFinished = false;
  RunCatchingFaults([&] {
    EXPECT_EQ(FaultOf(DivideByZero).kind, ErrorKind::EDivByZero);
    outerFinished = true;
  });
  EXPECT_TRUE(outerFinished);
}

TEST_F(ProcessorFaultTest, FaultsThatSystemCodeTrapsItselfStayItsOwn) {
  // The system probes the address under its own handler; the guard must not take that fault.
  bool bad = false;
  RunCatchingFaults([&] { bad = IsBadReadPtr(nullptr, 4) != FALSE; });
  EXPECT_TRUE(bad);
}

namespace {

constexpr int kDivideCommand = 9990;
constexpr int kNullCommand = 9991;
constexpr int kDialogCommand = 9992;

// A dialog whose "&Details" button divides by zero.
class FaultingDialog : public TErrorFRM {
 public:
  FaultingDialog() : TErrorFRM(ErrorReport{"kind", "message", "details"}) {}

 protected:
  bool OnCommand(int id, int code, HWND control) override {
    if (id == IDC_ERROR_DETAILS_BUTTON) DivideByZero();
    return TErrorFRM::OnCommand(id, code, control);
  }
};

struct ShownError {
  std::string kind, message, details;
};

ShownError ReadErrorDialog(HWND dialog) {
  return {WindowText(GetDlgItem(dialog, IDC_ERROR_KIND)), WindowText(GetDlgItem(dialog, IDC_ERROR_MESSAGE)),
          WindowText(GetDlgItem(dialog, IDC_ERROR_DETAILS))};
}

class FaultingCommandTest : public ProcessorFaultTest {
 protected:
  void SetUp() override {
    ProcessorFaultTest::SetUp();
    if (IsSkipped()) return;
    InstallHandlerErrorHook();
    window = std::make_unique<MainWindow>(session, ShowError);
    ASSERT_NE(window->Create(), nullptr);
    window->Commands().Add({kDivideCommand, "DivideMNU", false, [](CommandEnvironment&) { DivideByZero(); }});
    window->Commands().Add({kNullCommand, "NullMNU", false, [](CommandEnvironment&) { WriteNull(); }});
    window->Commands().Add({kDialogCommand, "DialogMNU", false, [](CommandEnvironment& e) {
                              FaultingDialog dialog;
                              dialog.DoModal(e.owner);
                            }});
  }
  void TearDown() override {
    window.reset();
    SetHandlerErrorHook(nullptr);
    DrainQuitMessages();
  }

  Session session;
  std::unique_ptr<MainWindow> window;
};

}  // namespace

TEST_F(FaultingCommandTest, AFaultingCommandShowsTheErrorDialogWithItsKindAndTheWindowGoesOn) {
  struct CommandCase {
    int command;
    const char* kind;
    const char* kindName;
    const char* component;
  };
  const CommandCase cases[] = {
      {kDivideCommand, "Integer calculation error\r\nDivide by zero", "EDivByZero", "DivideMNU"},
      {kNullCommand, "Access violation, memory has not been allocated for that area", "EAccessViolation", "NullMNU"},
  };
  for (int round = 0; round < 2; ++round) {
    for (const CommandCase& c : cases) {
      SCOPED_TRACE(c.kindName);
      ShownError shown;
      ModalWatcher watcher([&](HWND dialog) {
        shown = ReadErrorDialog(dialog);
        PressDialogButton(dialog, IDOK);
      });
      window->RunCommand(c.command);
      EXPECT_EQ(watcher.Seen(), 1);
      EXPECT_EQ(shown.kind, c.kind);
      EXPECT_NE(shown.message.find(" at address "), std::string::npos) << shown.message;
      EXPECT_EQ(shown.details, std::string("Errortype:\r\n   ") + c.kindName +
                                   "\r\nError produced by:\r\n   TMenuItem\r\nError occurred:\r\n   MainForm\\" +
                                   c.component);
      // Not left busy: the command can run again.
      EXPECT_TRUE(window->IsCommandEnabled(c.command));
    }
  }
}

TEST_F(FaultingCommandTest, AFaultInADialogOfACommandIsReportedAndTheDialogStaysOpen) {
  HWND faulting = nullptr;
  ShownError shown;
  bool faultingStillOpen = false;
  ModalWatcher watcher([&](HWND dialog) {
    if (!faulting) {
      faulting = dialog;
      PressDialogButton(dialog, IDC_ERROR_DETAILS_BUTTON);
      return;
    }
    shown = ReadErrorDialog(dialog);
    faultingStillOpen = IsWindow(faulting) && IsWindowVisible(faulting);
    PressDialogButton(dialog, IDOK);
    PressDialogButton(faulting, IDOK);
  });
  window->RunCommand(kDialogCommand);
  EXPECT_EQ(watcher.Seen(), 2);
  EXPECT_EQ(shown.kind, "Integer calculation error\r\nDivide by zero");
  EXPECT_NE(shown.details.find("Error produced by:\r\n   TErrorFRM"), std::string::npos) << shown.details;
  EXPECT_TRUE(faultingStillOpen);
  EXPECT_TRUE(IsWindowEnabled(window->Handle())) << "the modal loop ended as usual";
}

// --- Crashes that cannot be recovered: a child process of this exe crashes, this one reads
// its report.

namespace {

constexpr const char* kCrashCaseVariable = "QUORVEL_CRASH_CASE";

std::string OwnExePath() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, sizeof path);
  return path;
}

std::string ReportBesideExe() {
  std::string path = OwnExePath();
  return path.substr(0, path.find_last_of('\\') + 1) + "app_tests-crash.txt";
}

BOOL CALLBACK FaultingLocaleCallback(LPSTR) {
  WriteNull();
  return TRUE;
}

// Runs this exe's crash child with caseName; returns its exit code.
DWORD RunCrashChild(const std::string& caseName) {
  SetEnvironmentVariableA(kCrashCaseVariable, caseName.c_str());
  std::string commandLine = "\"" + OwnExePath() + "\" --gtest_filter=CrashChild.* --gtest_also_run_disabled_tests";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const BOOL started = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                                      nullptr, &startup, &process);
  SetEnvironmentVariableA(kCrashCaseVariable, nullptr);
  if (!started) return 0;
  DWORD code = 0;
  if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

std::string FileText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace

// The child's side: does what QUORVEL_CRASH_CASE names; run only by RunCrashChild.
TEST(CrashChild, DISABLED_Crash) {
  char caseName[64] = "";
  if (!GetEnvironmentVariableA(kCrashCaseVariable, caseName, sizeof caseName)) GTEST_SKIP();
  InstallFaultHandling();
  const std::string name = caseName;
  if (name == "outside a command") DivideByZero();
  if (name == "worker thread") std::thread([] { RunCatchingFaultsWithinGuard([] { WriteNull(); }); }).join();
  // A system callback between the guard and the fault: abandoning its frames is not safe.
  if (name == "under a system callback")
    RunCatchingFaults([] { EnumSystemLocalesA(FaultingLocaleCallback, LCID_INSTALLED); });
  if (name == "while a worker runs")
    RunCatchingFaults([] {
      NoFaultRecoveryScope worker;
      WriteNull();
    });
  if (name == "uncaught error") std::thread([] { throw EReadError("nobody catches this"); }).join();
  FAIL() << "no crash for " << name;
}

TEST(CrashReport, AnUnrecoverableFaultWritesAReportBesideTheExeAndEndsTheProcess) {
  struct CrashCase {
    const char* name;
    DWORD code;
    const char* exceptionLine;
  };
  const CrashCase cases[] = {
      {"outside a command", EXCEPTION_INT_DIVIDE_BY_ZERO, "Exception: 0xc0000094 EXCEPTION_INT_DIVIDE_BY_ZERO\r\n"},
      {"worker thread", EXCEPTION_ACCESS_VIOLATION, "Exception: 0xc0000005 EXCEPTION_ACCESS_VIOLATION\r\n"},
      {"under a system callback", EXCEPTION_ACCESS_VIOLATION, "Exception: 0xc0000005 EXCEPTION_ACCESS_VIOLATION\r\n"},
      {"while a worker runs", EXCEPTION_ACCESS_VIOLATION, "Exception: 0xc0000005 EXCEPTION_ACCESS_VIOLATION\r\n"},
      {"uncaught error", kUncaughtErrorCode, "Exception: 0xe0514c54 uncaught error (terminate)\r\n"},
  };
  const std::string report = ReportBesideExe();
  for (const CrashCase& c : cases) {
    SCOPED_TRACE(c.name);
    DeleteFileA(report.c_str());
    EXPECT_EQ(RunCrashChild(c.name), c.code);
    const std::string text = FileText(report);
    EXPECT_EQ(text.rfind("Quorvel crash report\r\n", 0), 0u) << text;
    EXPECT_NE(text.find(c.exceptionLine), std::string::npos) << text;
    EXPECT_NE(text.find("Address: "), std::string::npos);
    // A fault names our code; the uncaught error is raised through the system, which 32-bit
    // Windows names as the place.
    if (kX64UnwindTables || c.code != kUncaughtErrorCode) {
      EXPECT_NE(text.find("(app_tests.exe+0x"), std::string::npos) << "module and offset of our code";
    }
    EXPECT_NE(text.find(kX64UnwindTables ? "RIP=" : "EIP="), std::string::npos) << "the registers";
    if (c.code == EXCEPTION_ACCESS_VIOLATION) {
      // The address with the digits of the processor's pointers.
      EXPECT_NE(text.find("Access: write of address 00000000"), std::string::npos) << text;
    }
    // The stack: the faulting function, then the ones that called it; i686 has no unwind
    // tables to walk it by.
    const std::size_t stack = text.find("Stack:\r\n");
    ASSERT_NE(stack, std::string::npos);
    if (!kX64UnwindTables) {
      EXPECT_NE(text.find("(no stack walk on this processor)", stack), std::string::npos) << text;
      continue;
    }
    std::size_t frames = 0;
    for (std::size_t at = text.find("\r\n  ", stack); at != std::string::npos; at = text.find("\r\n  ", at + 1))
      ++frames;
    EXPECT_GE(frames, 2u) << text;
  }
  DeleteFileA(report.c_str());
}

TEST(CrashReportPath, BesideTheExeOrElseInTheTempFolder) {
  auto writable = [](const std::string&) { return true; };
  auto readOnly = [](const std::string&) { return false; };
  EXPECT_EQ(CrashReportPath("C:\\Program Files\\Quorvel\\Quorvel.exe", "C:\\Temp\\", writable),
            "C:\\Program Files\\Quorvel\\Quorvel-crash.txt");
  EXPECT_EQ(CrashReportPath("C:\\Program Files\\Quorvel\\Quorvel.exe", "C:\\Temp\\", readOnly),
            "C:\\Temp\\Quorvel-crash.txt");
  EXPECT_EQ(CrashReportPath("C:\\Q\\SNAP.EXE", "C:\\Temp", readOnly), "C:\\Temp\\SNAP-crash.txt");
}
