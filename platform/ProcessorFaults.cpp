#include "platform/ProcessorFaults.h"

#include <float.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <mutex>

#include "platform/CrashReport.h"

namespace {

// One active guard of a thread; guards nest, the innermost catches.
struct Guard {
  void* jump[5];  // __builtin_setjmp's buffer: where the fault handler resumes the thread
  Guard* outer;
  EXCEPTION_RECORD fault;
};

// Plain TLS, not thread_local: the handler must not allocate on a thread's first fault.
DWORD guardSlot = TLS_OUT_OF_INDEXES;

Guard* InnermostGuard() {
  return guardSlot == TLS_OUT_OF_INDEXES ? nullptr : static_cast<Guard*>(TlsGetValue(guardSlot));
}
void SetInnermostGuard(Guard* guard) {
  if (guardSlot != TLS_OUT_OF_INDEXES) TlsSetValue(guardSlot, guard);
}

std::atomic<int> recoveryBlockers{0};

// The code range of the module that holds this code: the program's own code.
ULONG_PTR ownStart = 0;
ULONG_PTR ownEnd = 0;

bool InOwnCode(ULONG_PTR address) { return address >= ownStart && address < ownEnd; }

bool IsProcessorFault(DWORD code) {
  switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_INT_OVERFLOW:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
    case EXCEPTION_FLT_DIVIDE_BY_ZERO:
    case EXCEPTION_FLT_INVALID_OPERATION:
    case EXCEPTION_FLT_OVERFLOW:
    case EXCEPTION_FLT_UNDERFLOW:
    case EXCEPTION_FLT_INEXACT_RESULT:
    case EXCEPTION_FLT_DENORMAL_OPERAND:
    case EXCEPTION_FLT_STACK_CHECK:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_PRIV_INSTRUCTION:
    case EXCEPTION_STACK_OVERFLOW:
    case EXCEPTION_IN_PAGE_ERROR:
    case EXCEPTION_DATATYPE_MISALIGNMENT:
      return true;
    default:
      return false;
  }
}

// A stack overflow leaves the thread without its guard page; nothing goes on after it.
bool IsRecoverable(DWORD code) { return IsProcessorFault(code) && code != EXCEPTION_STACK_OVERFLOW; }

// True when every frame from the fault up to the guard is this program's own code. A frame of
// another module (a message loop of the system, a callback of the C runtime) may hold locks or
// state that abandoning it would break.
bool OnlyOwnFramesUpToGuard(const CONTEXT& faultContext, const Guard* guard) {
#ifdef _WIN64
  constexpr int kMaxFrames = 256;
  CONTEXT context = faultContext;
  const auto guardAddress = reinterpret_cast<DWORD64>(guard);
  for (int depth = 0; depth < kMaxFrames; ++depth) {
    if (context.Rsp >= guardAddress) return true;
    if (!InOwnCode(context.Rip)) return false;
    if (!StepToCaller(context)) return false;
  }
  return false;
#else
  (void)faultContext;
  (void)guard;
  return false;
#endif
}

// Entered instead of the faulting instruction: goes back to the innermost guard's frame.
[[noreturn, maybe_unused]] __attribute__((noinline)) void ResumeAtGuard() {
  __builtin_longjmp(InnermostGuard()->jump, 1);
}

// Points the faulting thread at ResumeAtGuard, as if the faulting instruction had called it.
void RedirectToGuard(CONTEXT& context) {
#ifdef _WIN64
  // Below the fault's own frame, 16-byte aligned less the return address of a call.
  context.Rsp = ((context.Rsp - 256) & ~static_cast<DWORD64>(15)) - 8;
  context.Rip = reinterpret_cast<DWORD64>(&ResumeAtGuard);
#else
  (void)context;
#endif
}

[[noreturn]] void EndWithCrashReport(EXCEPTION_POINTERS* exception) {
  WriteCrashReport(*exception);
  TerminateProcess(GetCurrentProcess(), exception->ExceptionRecord->ExceptionCode);
  ExitProcess(exception->ExceptionRecord->ExceptionCode);
}

// First to see every exception of the process. Faults in other modules go on to their own
// handlers (system code traps faults of its own); what none of them handles ends in the
// unhandled-exception filter.
LONG CALLBACK OnFault(EXCEPTION_POINTERS* exception) {
  const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
  if (!IsProcessorFault(record.ExceptionCode)) return EXCEPTION_CONTINUE_SEARCH;
  if (!InOwnCode(reinterpret_cast<ULONG_PTR>(record.ExceptionAddress))) return EXCEPTION_CONTINUE_SEARCH;
  Guard* guard = InnermostGuard();
  if (guard && IsRecoverable(record.ExceptionCode) && recoveryBlockers.load() == 0 &&
      OnlyOwnFramesUpToGuard(*exception->ContextRecord, guard)) {
    guard->fault = record;
    RedirectToGuard(*exception->ContextRecord);
    return EXCEPTION_CONTINUE_EXECUTION;
  }
  // Nothing of ours can handle it, and on 64-bit Windows a fault inside a window procedure
  // could otherwise vanish at the system's callback boundary: report and end here.
  EndWithCrashReport(exception);
}

LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* exception) { EndWithCrashReport(exception); }

// An error that no handler caught ends the program too: with a report, not a bare abort().
[[noreturn]] void OnTerminate() {
  RaiseException(kUncaughtErrorCode, EXCEPTION_NONCONTINUABLE, 0, nullptr);
  std::abort();
}

// Keeps its frame: the handler resumes here with a second return of __builtin_setjmp.
__attribute__((noinline)) bool RunUntilFault(Guard& guard, const std::function<void()>& body) {
  if (__builtin_setjmp(guard.jump)) return false;
  body();
  return true;
}

const char* FaultWhat(DWORD code) {
  switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
      return "Access violation";
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_FLT_DIVIDE_BY_ZERO:
      return "Division by zero";
    case EXCEPTION_INT_OVERFLOW:
      return "Integer overflow";
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
      return "Range check error";
    case EXCEPTION_FLT_INVALID_OPERATION:
      return "Invalid floating point operation";
    case EXCEPTION_FLT_OVERFLOW:
      return "Floating point overflow";
    case EXCEPTION_FLT_UNDERFLOW:
      return "Floating point underflow";
    case EXCEPTION_PRIV_INSTRUCTION:
      return "Privileged instruction";
    case EXCEPTION_ILLEGAL_INSTRUCTION:
      return "Illegal instruction";
    case EXCEPTION_STACK_OVERFLOW:
      return "Stack overflow";
    default:
      return "External exception";
  }
}

}  // namespace

void InstallFaultHandling() {
  static std::once_flag installed;
  std::call_once(installed, [] {
    guardSlot = TlsAlloc();
    HMODULE own = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<const char*>(&InstallFaultHandling), &own);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(own);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(reinterpret_cast<const char*>(own) + dos->e_lfanew);
    ownStart = reinterpret_cast<ULONG_PTR>(own);
    ownEnd = ownStart + nt->OptionalHeader.SizeOfImage;
    AddVectoredExceptionHandler(1, OnFault);
    SetUnhandledExceptionFilter(OnUnhandledException);
    std::set_terminate(OnTerminate);
  });
}

NoFaultRecoveryScope::NoFaultRecoveryScope() { ++recoveryBlockers; }
NoFaultRecoveryScope::~NoFaultRecoveryScope() { --recoveryBlockers; }

void RunCatchingFaults(const std::function<void()>& body) {
  Guard guard{};
  guard.outer = InnermostGuard();
  SetInnermostGuard(&guard);
  bool completed;
  try {
    completed = RunUntilFault(guard, body);
  } catch (...) {
    SetInnermostGuard(guard.outer);
    throw;
  }
  // Guards of the abandoned frames went with them.
  SetInnermostGuard(guard.outer);
  if (completed) return;
  const ErrorKind kind = FaultKind(guard.fault.ExceptionCode);
  if (ErrorKindIsA(kind, ErrorKind::EMathError)) _fpreset();  // the unit still holds the exception
  throw Exception(kind, FaultMessage(guard.fault));
}

void RunCatchingFaultsWithinGuard(const std::function<void()>& body) {
  if (InnermostGuard())
    RunCatchingFaults(body);
  else
    body();
}

ErrorKind FaultKind(DWORD exceptionCode) {
  switch (exceptionCode) {
    case EXCEPTION_ACCESS_VIOLATION:
      return ErrorKind::EAccessViolation;
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
      return ErrorKind::EDivByZero;
    case EXCEPTION_INT_OVERFLOW:
      return ErrorKind::EIntOverflow;
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
      return ErrorKind::ERangeError;
    case EXCEPTION_FLT_DIVIDE_BY_ZERO:
      return ErrorKind::EZeroDivide;
    case EXCEPTION_FLT_INVALID_OPERATION:
      return ErrorKind::EInvalidOp;
    case EXCEPTION_FLT_OVERFLOW:
      return ErrorKind::EOverflow;
    case EXCEPTION_FLT_UNDERFLOW:
      return ErrorKind::EUnderflow;
    case EXCEPTION_FLT_INEXACT_RESULT:
    case EXCEPTION_FLT_DENORMAL_OPERAND:
    case EXCEPTION_FLT_STACK_CHECK:
      return ErrorKind::EMathError;
    case EXCEPTION_PRIV_INSTRUCTION:
      return ErrorKind::EPrivilege;
    case EXCEPTION_STACK_OVERFLOW:
      return ErrorKind::EStackOverflow;
    default:
      return ErrorKind::EExternalException;
  }
}

std::string FaultMessage(const EXCEPTION_RECORD& record) {
  char module[MAX_PATH] = "";
  HMODULE handle = nullptr;
  if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         static_cast<const char*>(record.ExceptionAddress), &handle))
    GetModuleFileNameA(handle, module, sizeof module);
  std::string moduleName = module;
  moduleName.erase(0, moduleName.find_last_of("\\/") + 1);
  const int digits = static_cast<int>(2 * sizeof(void*));
  char text[512];
  std::snprintf(text, sizeof text, "%s at address %0*llX in module '%s'.", FaultWhat(record.ExceptionCode), digits,
                static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(record.ExceptionAddress)),
                moduleName.c_str());
  std::string message = text;
  if (record.ExceptionCode == EXCEPTION_ACCESS_VIOLATION && record.NumberParameters >= 2) {
    const ULONG_PTR access = record.ExceptionInformation[0];
    std::snprintf(text, sizeof text, "\r%s of address %0*llX.",
                  access == 0   ? "Read"
                  : access == 8 ? "Execution"
                                : "Write",
                  digits, static_cast<unsigned long long>(record.ExceptionInformation[1]));
    message += text;
  }
  return message;
}
