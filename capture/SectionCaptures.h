#pragma once
// The sections of a configuration data file, each written by one capture: the registry
// (RegistryCapture.cpp), the drives (FileStructureCapture.cpp) and the system files
// (SystemFilesCapture.cpp). Names in every list are sorted in the order of CompareTextLocale.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "capture/OwnPlaces.h"
#include "core/TreeModel.h"
#include "core/UserInteraction.h"
#include "datafiles/TWriter.h"
#include "platform/SystemFileType.h"

// Folders (and files) a capture could not read and left out of the configuration, rather than
// record them empty: a later snapshot that reads them would show their content as new.
struct UnreadableItems {
  static constexpr size_t kNamedPaths = 3;
  int count = 0;
  std::vector<std::string> firstPaths;  // the first kNamedPaths of them

  void Add(const std::string& path) {
    ++count;
    if (firstPaths.size() < kNamedPaths) firstPaths.push_back(path);
  }
};

// The status text a save shows for them; empty when there are none.
std::string UnreadableReport(const UnreadableItems& items);

// What a capture needs of the thread it runs on. A capture runs on a worker thread while the
// main thread waits; every call here reaches the user interface or the selection trees on the
// main thread, and the capture goes on only when it returned.
// Implementations: HostedCaptureThread (capture/CaptureThreads.h), DirectCaptureHost (below).
class CaptureHost {
 public:
  // The thread's progress fields. A capture changes the ones it means to and shows all three.
  struct Progress {
    std::string status;
    int max = 0;
    int position = 0;
  };

  virtual ~CaptureHost() = default;

  Progress progress;
  void ShowProgress() { DisplayProgress(progress); }

  // Left out of the capture when set; owned by the caller of the save.
  const OwnPlaces* ownPlaces = nullptr;
  // Filled by the file-structure capture on the capture's thread; read after it ended.
  UnreadableItems unreadable;

  // An error box with one OK button; the capture goes on once the user closed it.
  virtual void ShowError(const std::string& text) = 0;
  // Runs call on the main thread, which owns the selection trees and their views.
  virtual void OnMainThread(const std::function<void()>& call) = 0;

 protected:
  virtual void DisplayProgress(const Progress& shown) = 0;
};

// Runs a capture on the calling thread, which is then the main thread: for work without capture
// threads. Progress and messages go straight to ui.
class DirectCaptureHost : public CaptureHost {
 public:
  DirectCaptureHost(UserInteraction& ui, StatusChannel channel) : ui_(ui), channel_(channel) {}

  void ShowError(const std::string& text) override;
  void OnMainThread(const std::function<void()>& call) override { call(); }

 protected:
  void DisplayProgress(const Progress& shown) override;

 private:
  UserInteraction& ui_;
  StatusChannel channel_;
};

// The registry section: one entry per root key of the tree that is not unchecked, in
// alphabetical order. The tree ends as it was, but collapsed with its top node expanded.
void CaptureRegistrySection(TWriter& writer, TreeModel& registryTree, CaptureHost& host);

// The drives header and section: one entry per drive of the tree that is not unchecked.
void CaptureDrivesSection(TWriter& writer, const TreeModel& driveTree, CaptureHost& host);

// The system-files header and section: one entry per system file that is not unchecked, found in
// the folders the caller read.
void CaptureSystemFilesSection(TWriter& writer, const TreeModel& systemTree, const SystemFileFolders& folders,
                               CaptureHost& host);

// The record of one key and everything below it. path is below root, without leading
// backslash ("" for the root itself); the walk's first level shows progress.
void WriteRegistryKeyRecord(TWriter& writer, CaptureHost& host, HKEY root, const std::string& path);

// The record of one folder and everything below it; folder ends with a backslash. The walk's
// first level shows progress. Own places of the host are left out; folders that cannot be
// enumerated are left out of their parent's list and added to host.unreadable (a folder itself
// unreadable is written empty and added too). A name the code page cannot spell is recorded by
// its short name; a folder too deep for the "A" functions is reached through its short path.
void WriteFolderRecord(TWriter& writer, CaptureHost& host, const std::string& folder);

// The bodies of one system file; a file that does not exist has an empty body.
void WriteIniBody(TWriter& writer, CaptureHost& host, const std::string& path);
void WriteTextBody(TWriter& writer, const std::string& path);

// A child of a selection tree's top node (a root key, a drive, a system file) as the captures
// need it.
struct TopChild {
  std::string text;
  int stateIndex = -1;
  int imageIndex = -1;
};
// The children of the tree's first top-level node, in tree order, read on the main thread.
std::vector<TopChild> ReadTopChildren(const TreeModel& tree, CaptureHost& host);
