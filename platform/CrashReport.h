#pragma once
// The report of a crash the program cannot recover from: exception code and name, address and
// module, the registers and the return addresses of the stack, in a text file beside the exe.
// The text is formatted into a fixed buffer: a crash may have broken the heap.

#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>

// The exception code with which an error that nothing caught (std::terminate) ends the program.
constexpr DWORD kUncaughtErrorCode = 0xE0514C54;

// "<exe folder>\<exe name without extension>-crash.txt"; when the exe's folder cannot be
// written (a program under "Program Files" run by a user), the same name in tempFolder.
// canWrite tells whether a folder takes a new file.
std::string CrashReportPath(const std::string& exePath, const std::string& tempFolder,
                            const std::function<bool(const std::string& folder)>& canWrite);

// Formats the report into buffer (always terminated); returns its length.
std::size_t FormatCrashReport(const EXCEPTION_POINTERS& exception, char* buffer, std::size_t size);

// Writes the report for the running exe and returns its path; empty when nothing could be
// written. Overwrites the report of an earlier crash.
std::string WriteCrashReport(const EXCEPTION_POINTERS& exception);

#ifdef _WIN64
// Moves context from a frame to its caller's by the unwind tables of x86_64; false when the
// stack cannot be walked further (unreadable, or not moving towards the caller).
bool StepToCaller(CONTEXT& context);
#endif
