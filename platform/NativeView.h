#pragma once
// The machine's native view for a 32-bit Quorvel on 64-bit Windows (WOW64). The system shows a
// 32-bit process HKEY_LOCAL_MACHINE\Software from its Wow6432Node copy and SysWOW64 in place of
// System32; a snapshot taken so would miss every 64-bit installation. Registry keys are opened
// with kNativeView (platform/TMyRegistry.h); files are reached as follows:
// - the capture's drive thread turns the file-system redirection off for its walk: it makes only
//   file calls, and the redirection is a per-thread setting, so the loader and the shell on the
//   main thread never see it off;
// - everything else addresses System32 through its "Sysnative" alias, which WOW64 provides for
//   exactly this and which works for the shell's file operations as well.
// On 32-bit Windows and in the 64-bit build all of this changes nothing.

#include <string>

// True for a 32-bit process on 64-bit Windows.
bool RunsUnderWow64();

// What a snapshot records: "64-bit view" (the 64-bit build, or the 32-bit one under WOW64) or
// "32-bit Windows".
const char* RecordedView();

// The path with a System32 folder of the Windows folder replaced by its "Sysnative" alias under
// WOW64; unchanged otherwise.
std::string NativeFilePath(const std::string& path);

// Turns the file-system redirection of the calling thread off for its lifetime (under WOW64).
class NativeFileSystemScope {
 public:
  NativeFileSystemScope();
  ~NativeFileSystemScope();
  NativeFileSystemScope(const NativeFileSystemScope&) = delete;
  NativeFileSystemScope& operator=(const NativeFileSystemScope&) = delete;

 private:
  void* oldValue_ = nullptr;
  bool disabled_ = false;
};
