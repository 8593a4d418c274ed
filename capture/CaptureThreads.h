#pragma once
// The two capture threads of a save: the registry, and the drives followed by the system files.

#include "capture/CaptureThread.h"
#include "capture/SelectionTrees.h"

class TWriteRegThread : public CaptureThread {
 public:
  TWriteRegThread(MainThreadCalls& calls, UserInteraction& ui, TreeModel& registryTree)
      : CaptureThread(calls, ui, StatusChannel::Main), registryTree_(registryTree) {}

 protected:
  void Execute() override;

 private:
  TreeModel& registryTree_;
};

class TWriteDrivesThread : public CaptureThread {
 public:
  TWriteDrivesThread(MainThreadCalls& calls, UserInteraction& ui, const TreeModel& driveTree,
                     const TreeModel& systemTree)
      : CaptureThread(calls, ui, StatusChannel::Secondary), driveTree_(driveTree), systemTree_(systemTree) {}

 protected:
  void Execute() override;

 private:
  const TreeModel& driveTree_;
  const TreeModel& systemTree_;
};
