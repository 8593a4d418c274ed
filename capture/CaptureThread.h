#pragma once
// A capture runs on a worker thread of its own at below-normal priority and writes into its
// own stream (a file of its own during a save, memory where a test reads it back). It shares nothing with the other
// capture; every change of the user interface goes to the main thread through MainThreadCalls.

#include <windows.h>

#include <atomic>
#include <memory>
#include <optional>
#include <string>

#include "core/Errors.h"
#include "core/MainThreadCalls.h"
#include "core/UserInteraction.h"
#include "datafiles/Stream.h"
#include "datafiles/TWriter.h"
#include "platform/Handle.h"
#include "platform/ProcessorFaults.h"

class CaptureThread {
 public:
  CaptureThread(MainThreadCalls& calls, UserInteraction& ui, StatusChannel channel, std::unique_ptr<TStream> out);
  virtual ~CaptureThread();
  CaptureThread(const CaptureThread&) = delete;
  CaptureThread& operator=(const CaptureThread&) = delete;

  // Creates the thread suspended, lowers its priority, then lets it run.
  void Start();
  // Called with each new capture thread, still suspended, and the channel it reports on; unset
  // in the program. Lets a benchmark put the two threads on CPUs of its choice.
  using StartHook = void (*)(HANDLE thread, StatusChannel channel);
  static void SetStartHook(StartHook hook);
  bool Finished() const { return finished_.load(); }
  // Waits for the thread itself to end after Finished().
  void Join();

  TStream& Stream() { return *stream_; }
  TWriter& Writer() { return writer_; }
  // Set when the capture ended with an error; its output is then incomplete.
  const std::optional<ErrorInfo>& Failure() const { return failure_; }

 protected:
  virtual void Execute() = 0;
  // Shows status text and progress on this thread's display, on the main thread.
  void Display(const std::string& status, int max, int position);
  // Runs call on the main thread and waits for it.
  void Synchronize(const std::function<void()>& call) { calls_.Synchronize(call); }
  UserInteraction& Ui() { return ui_; }

 private:
  static DWORD WINAPI ThreadProc(void* self);

  MainThreadCalls& calls_;
  UserInteraction& ui_;
  StatusChannel channel_;
  std::unique_ptr<TStream> stream_;
  TWriter writer_;
  UniqueKernelObject handle_;
  std::atomic<bool> finished_{false};
  std::optional<ErrorInfo> failure_;
  NoFaultRecoveryScope noFaultRecovery_;  // the thread waits on the main thread's frames
};
