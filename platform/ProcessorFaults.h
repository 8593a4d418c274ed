#pragma once
// Processor faults (access violation, integer division by zero, ...) as errors of their kind.
//
// GCC has no __try/__except for C++, and a fault is no C++ exception. A vectored handler,
// installed once, turns a fault into an error only where that is safe: on the thread of an
// active guard (RunCatchingFaults), for a fault in this program's own code, with nothing but
// this program's own frames between the fault and the guard (no message loop of the system, no
// callback of another module). It then resumes the thread at the guard, which throws an
// Exception of the fault's kind from its own clean frame. The frames between are abandoned
// without running their destructors: what they held leaks, which is the price of going on
// after a bug instead of ending the program.
//
// Every other fault in this program's code, and every fault that nothing handles, is fatal: a
// crash report (platform/CrashReport.h) is written and the process ends. Worker threads carry
// no guard, so their faults always end the process with a report.
//
// While a worker thread runs (NoFaultRecoveryScope), every fault is fatal: the worker may be
// waiting on a frame that recovery would abandon.
//
// Recovery needs the table-based unwind data of x86_64 to check the frames; on i686 every
// fault is fatal.

#include <windows.h>

#include <functional>

#include "core/Errors.h"

// Adds the vectored handler and the unhandled-exception filter; repeated calls do nothing.
void InstallFaultHandling();

// Runs body; a recoverable fault inside it is thrown from here as an Exception.
void RunCatchingFaults(const std::function<void()>& body);

// The same inside an active guard of this thread; elsewhere body runs unguarded, so that a
// fault outside a command stays fatal.
void RunCatchingFaultsWithinGuard(const std::function<void()>& body);

// Alive as long as a worker thread shares state with the frames of the main thread; any
// thread may hold one.
class NoFaultRecoveryScope {
 public:
  NoFaultRecoveryScope();
  ~NoFaultRecoveryScope();
  NoFaultRecoveryScope(const NoFaultRecoveryScope&) = delete;
  NoFaultRecoveryScope& operator=(const NoFaultRecoveryScope&) = delete;
};

// The error kind of an exception code: EAccessViolation, EDivByZero, EZeroDivide, ...;
// EExternalException for a processor or system exception of no other kind.
ErrorKind FaultKind(DWORD exceptionCode);

// The message of a fault: what happened, at which address of which module, and for an access
// violation which address was read or written.
std::string FaultMessage(const EXCEPTION_RECORD& record);
