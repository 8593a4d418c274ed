#include "capture/CaptureThreads.h"

#include "capture/SectionCaptures.h"

void TWriteRegThread::Execute() {
  // The registry tree is re-sorted during the walk; its view must not redraw meanwhile. The
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
  CaptureRegistrySection(Writer(), registryTree_, [&](const std::string& s, int max, int pos) { Display(s, max, pos); });
}

void TWriteDrivesThread::Execute() {
  CaptureProgress progress = [&](const std::string& s, int max, int pos) { Display(s, max, pos); };
  CaptureDrivesSection(Writer(), driveTree_, progress);
  CaptureSystemFilesSection(Writer(), systemTree_, progress);
}
