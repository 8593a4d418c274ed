#pragma once
// Worker threads hand every change of the user interface to the main thread: the worker
// blocks in Synchronize until the main thread, waiting in WaitUntil, has run the call.
// An error thrown by the call is rethrown in the worker.

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>

class MainThreadCalls {
 public:
  // Worker side.
  void Synchronize(const std::function<void()>& call);
  // Wakes the waiting main thread so it tests its condition again (a worker finished).
  void Notify();

  // Main thread: runs the calls that are waiting now.
  void RunPending();
  // Main thread: until done() holds, runs calls as they arrive and idle() at least every
  // few milliseconds (the GUI lets its window messages run there).
  void WaitUntil(const std::function<bool()>& done, const std::function<void()>& idle);

 private:
  struct Pending {
    const std::function<void()>* call;
    std::exception_ptr error;
    bool finished = false;
  };

  std::mutex mutex_;
  std::condition_variable arrived_;   // main thread waits: a call came or a worker notified
  std::condition_variable finished_;  // workers wait: their call ran
  std::deque<Pending*> queue_;
  bool notified_ = false;
};
