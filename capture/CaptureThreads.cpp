#include "capture/CaptureThreads.h"

#include "platform/NativeView.h"

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
  // The walk sees System32 as it is, not the 32-bit files the system would show a 32-bit build.
  NativeFileSystemScope nativeFiles;
  CaptureDrivesSection(Writer(), driveTree_, *this);
  CaptureSystemFilesSection(Writer(), systemTree_, systemFileFolders_, *this);
}
