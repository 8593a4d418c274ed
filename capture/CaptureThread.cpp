#include "capture/CaptureThread.h"

constexpr size_t kWriterBufferSize = 102400;

CaptureThread::CaptureThread(MainThreadCalls& calls, UserInteraction& ui, StatusChannel channel,
                             std::unique_ptr<TStream> out)
    : calls_(calls), ui_(ui), channel_(channel), stream_(std::move(out)), writer_(*stream_, kWriterBufferSize) {}

CaptureThread::~CaptureThread() { Join(); }

namespace {
std::atomic<CaptureThread::StartHook> startHook{nullptr};
}  // namespace

void CaptureThread::SetStartHook(StartHook hook) { startHook = hook; }

void CaptureThread::Start() {
  handle_.Reset(CreateThread(nullptr, 0, &CaptureThread::ThreadProc, this, CREATE_SUSPENDED, nullptr));
  if (!handle_) throw Exception(ErrorKind::EThread, "The capture thread could not be created.");
  SetThreadPriority(handle_.Get(), THREAD_PRIORITY_BELOW_NORMAL);
  if (StartHook hook = startHook.load()) hook(handle_.Get(), channel_);
  ResumeThread(handle_.Get());
}

void CaptureThread::Join() {
  if (!handle_) return;
  // The thread may be blocked in a call to the main thread (this one): keep serving them.
  while (WaitForSingleObject(handle_.Get(), 10) == WAIT_TIMEOUT) calls_.RunPending();
  handle_.Reset();
}

DWORD WINAPI CaptureThread::ThreadProc(void* self) {
  auto* thread = static_cast<CaptureThread*>(self);
  try {
    thread->Execute();
    thread->writer_.FlushBuffer();
  } catch (...) {
    thread->failure_ = DescribeError(std::current_exception());
  }
  thread->finished_.store(true);
  thread->calls_.Notify();
  return 0;
}

void CaptureThread::Display(const std::string& status, int max, int position) {
  Synchronize([&] {
    ui_.SetStatus(channel_, status);
    ui_.SetProgress(channel_, max, position);
    ui_.ProcessMessages();
  });
}
