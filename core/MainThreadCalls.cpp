#include "core/MainThreadCalls.h"

#include <chrono>

void MainThreadCalls::Synchronize(const std::function<void()>& call) {
  Pending pending{&call, nullptr};
  std::unique_lock lock(mutex_);
  queue_.push_back(&pending);
  arrived_.notify_all();
  finished_.wait(lock, [&] { return pending.finished; });
  if (pending.error) std::rethrow_exception(pending.error);
}

void MainThreadCalls::Notify() {
  std::lock_guard lock(mutex_);
  notified_ = true;
  arrived_.notify_all();
}

void MainThreadCalls::RunPending() {
  for (;;) {
    Pending* pending;
    {
      std::lock_guard lock(mutex_);
      if (queue_.empty()) return;
      pending = queue_.front();
      queue_.pop_front();
    }
    try {
      (*pending->call)();
    } catch (...) {
      pending->error = std::current_exception();
    }
    std::lock_guard lock(mutex_);
    pending->finished = true;
    finished_.notify_all();
  }
}

void MainThreadCalls::WaitUntil(const std::function<bool()>& done, const std::function<void()>& idle) {
  for (;;) {
    RunPending();
    if (done()) {
      RunPending();
      return;
    }
    if (idle) idle();
    std::unique_lock lock(mutex_);
    arrived_.wait_for(lock, std::chrono::milliseconds(10), [&] { return !queue_.empty() || notified_; });
    notified_ = false;
  }
}
