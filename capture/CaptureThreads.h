#pragma once
// The two capture threads of a save: the registry, and the drives followed by the system files.

#include "capture/CaptureThread.h"
#include "capture/SectionCaptures.h"
#include "capture/SelectionTrees.h"

// A capture thread is the host of the captures it runs: their progress, error boxes and tree
// work reach the main thread through its synchronised calls.
class HostedCaptureThread : public CaptureThread, public CaptureHost {
 public:
  using CaptureThread::CaptureThread;

  void ShowError(const std::string& text) override;
  void OnMainThread(const std::function<void()>& call) override { Synchronize(call); }

 protected:
  void DisplayProgress(const Progress& shown) override { Display(shown.status, shown.max, shown.position); }
};

class TWriteRegThread : public HostedCaptureThread {
 public:
  TWriteRegThread(MainThreadCalls& calls, UserInteraction& ui, TreeModel& registryTree, std::unique_ptr<TStream> out)
      : HostedCaptureThread(calls, ui, StatusChannel::Main, std::move(out)), registryTree_(registryTree) {}

 protected:
  void Execute() override;

 private:
  TreeModel& registryTree_;
};

class TWriteDrivesThread : public HostedCaptureThread {
 public:
  // The thread reads no settings: the save gives it the folders of the system files.
  TWriteDrivesThread(MainThreadCalls& calls, UserInteraction& ui, const TreeModel& driveTree,
                     const TreeModel& systemTree, SystemFileFolders systemFileFolders, std::unique_ptr<TStream> out)
      : HostedCaptureThread(calls, ui, StatusChannel::Secondary, std::move(out)),
        driveTree_(driveTree),
        systemTree_(systemTree),
        systemFileFolders_(std::move(systemFileFolders)) {}

 protected:
  void Execute() override;

 private:
  const TreeModel& driveTree_;
  const TreeModel& systemTree_;
  const SystemFileFolders systemFileFolders_;
};
