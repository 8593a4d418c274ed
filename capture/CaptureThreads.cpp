#include "capture/CaptureThreads.h"

void HostedCaptureThread::ShowError(const std::string& text) {
  Synchronize([&] { Ui().Ask(MsgType::Error, text, MsgButtons::Ok); });
}

void TWriteRegThread::Execute() {
  // The capture collapses the registry tree at its end; its view must not redraw meanwhile. The
  // update runs on the main thread, where the view lives.
  Synchronize([&] { registryTree_.BeginUpdate(); });
  struct EndUpdate {
    TWriteRegThread& thread;
    ~EndUpdate() {
      try {
        thread.Synchronize([&] { thread.registryTree_.EndUpdate(); });
      } catch (...) {
      }
    }
  } endUpdate{*this};
  CaptureRegistrySection(Writer(), registryTree_, *this);
}

void TWriteDrivesThread::Execute() {
  CaptureDrivesSection(Writer(), driveTree_, *this);
  CaptureSystemFilesSection(Writer(), systemTree_, *this);
}
