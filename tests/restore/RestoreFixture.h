#pragma once
// Restore tests on the real machine: snapshots of a few places of the registry, the disk and
// INI files through the real capture walks, the real compare into a log file, then a restore
// pass, and a second snapshot and compare to prove the machine is back where it was.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "capture/SectionCaptures.h"
#include "compare/CompareConfigurations.h"
#include "compare/LogLoader.h"
#include "core/ScriptedInteraction.h"
#include "datafiles/ConfigurationFile.h"
#include "datafiles/Stream.h"
#include "datafiles/TWriter.h"
#include "restore/RestoreRequest.h"
#include "tests/capture/TestFolder.h"

// A test folder with a short name: backups nest whole paths below other folders, and the
// shell's buffers hold 255 characters.
class ScratchFolder : public TestFolder {
 public:
  explicit ScratchFolder(const std::string& tag) : TestFolder("QR_" + tag + "_" + HashedTestName()) {}

 private:
  static std::string HashedTestName() {
    char name[16];
    std::snprintf(name, sizeof name, "%08X", static_cast<unsigned>(std::hash<std::string>{}(CurrentTestName())));
    return name;
  }
};

// The places a snapshot takes; everything else of the machine stays out.
struct SnapshotPlaces {
  HKEY root = HKEY_CURRENT_USER;
  std::string rootName = "HKEY_CURRENT_USER";
  std::string key;     // below root; empty: no registry
  std::string folder;  // a full path ending in "\"; empty: no drive
  std::vector<std::string> iniFiles;
  std::vector<std::string> textFiles;
};

// The names of a path, split at "\".
inline std::vector<std::string> PathNames(const std::string& path) {
  std::vector<std::string> names;
  size_t start = 0;
  while (start < path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    if (end > start) names.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

// Writes the records of the parents of a captured place around it: each parent holds the one
// child on the way and nothing else.
inline void WrappedRecord(TWriter& writer, const std::vector<std::string>& parents,
                          const std::function<void()>& inner) {
  for (const std::string& name : parents) {
    writer.WriteInteger(1);
    writer.WriteString(name);
  }
  inner();
  for (size_t i = 0; i < parents.size(); ++i) writer.WriteInteger(0);
}

// A configuration data file of the places, through the captures' own walks.
inline void WriteSnapshot(const std::string& fileName, const SnapshotPlaces& places) {
  ScriptedInteraction quiet;
  DirectCaptureHost host(quiet, StatusChannel::Main);
  TFileStream file(fileName, FileMode::Create);
  TWriter writer(file, kStreamBufferSize);
  writer.WriteString(kRegistrationHeader);
  writer.WriteListBegin();
  if (!places.key.empty()) {
    writer.WriteString(places.rootName);
    WrappedRecord(writer, PathNames(places.key),
                  [&] { WriteRegistryKeyRecord(writer, host, places.root, places.key); });
  }
  writer.WriteListEnd();
  writer.WriteString(kDrivesHeader);
  writer.WriteListBegin();
  if (!places.folder.empty()) {
    writer.WriteString(places.folder.substr(0, 2));
    writer.WriteInteger(17);
    WrappedRecord(writer, PathNames(places.folder.substr(3)), [&] { WriteFolderRecord(writer, host, places.folder); });
  }
  writer.WriteListEnd();
  writer.WriteString(kSystemFilesHeader);
  writer.WriteListBegin();
  for (const std::string& ini : places.iniFiles) {
    writer.WriteString(ini + "(INI)");
    WriteIniBody(writer, host, ini);
  }
  for (const std::string& text : places.textFiles) {
    writer.WriteString(text + "(TXT)");
    WriteTextBody(writer, text);
  }
  writer.WriteListEnd();
  writer.FlushBuffer();
}

// A configuration data file written by hand, for states no test may create on this machine (a
// new drive, a new SharedDlls key): the entries of the registry and drive lists.
inline void WriteHandMadeConfiguration(const std::string& fileName, const std::function<void(TWriter&)>& roots,
                                       const std::function<void(TWriter&)>& drives) {
  TFileStream file(fileName, FileMode::Create);
  TWriter writer(file, kStreamBufferSize);
  writer.WriteString(kRegistrationHeader);
  writer.WriteListBegin();
  roots(writer);
  writer.WriteListEnd();
  writer.WriteString(kDrivesHeader);
  writer.WriteListBegin();
  drives(writer);
  writer.WriteListEnd();
  writer.WriteString(kSystemFilesHeader);
  writer.WriteListBegin();
  writer.WriteListEnd();
  writer.FlushBuffer();
}

// Answers the "Shared DLLs" question from a queue; "Don't Delete File" with the check box
// checked when it is empty.
class ScriptedSharedFilePrompt : public SharedFilePrompt {
 public:
  std::deque<SharedFileAnswer> answers;
  std::vector<SharedFileQuestion> asked;

  SharedFileAnswer Ask(const SharedFileQuestion& question) override {
    asked.push_back(question);
    if (answers.empty()) return {};
    const SharedFileAnswer answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

// One row of the to-do list as "Operation | Path | Name | Value | Status".
inline std::string RowText(const ToDoItem& item) {
  return item.operation + " | " + item.path + " | " + item.name + " | " + item.value + " | " + item.status;
}
// The rows without their Value column, for lists whose values show dates of this machine.
inline std::vector<std::string> RowsWithoutValues(const std::vector<ToDoItem>& items) {
  std::vector<std::string> rows;
  for (const ToDoItem& item : items)
    rows.push_back(item.operation + " | " + item.path + " | " + item.name + " | " + item.status);
  return rows;
}
inline std::vector<std::string> Rows(const std::vector<ToDoItem>& items) {
  std::vector<std::string> rows;
  for (const ToDoItem& item : items) rows.push_back(RowText(item));
  return rows;
}

inline std::string FileBytes(const std::string& path) { return ScratchFolder::Read(path); }

class RestoreFixture : public ::testing::Test {
 protected:
  RestoreFixture() : files("files") {
    logFile = files / "SETUP1.SXL";
    settings.useRecycleBin = false;  // tests that need the recycle bin ask for it
    registryResult.SetLoader(ResultTreeLoader(logFile, positions, LogSection::Registry, ui));
    driveResult.SetLoader(ResultTreeLoader(logFile, positions, LogSection::Drives, ui));
  }

  void Snapshot(const std::string& name) { WriteSnapshot(files / name, places); }

  // Compares two snapshots of this test into the log and fills the result trees.
  void CompareSnapshots(const std::string& before, const std::string& after) {
    CompareConfigurations(files / before, files / after, logFile, Trees(registryResult, driveResult, systemResult),
                          excludeList, positions, ui);
  }

  // Snapshot before, the change, snapshot after, compare.
  void Record(const std::function<void()>& change) {
    Snapshot("before.SXD");
    change();
    Snapshot("after.SXD");
    CompareSnapshots("before.SXD", "after.SXD");
  }

  // Loads the log again into the result trees, as the window does.
  void ReloadLog() {
    LoadLogFile(logFile, registrySelection, driveSelection, systemSelection, excludeList,
                {registryResult, driveResult, systemResult}, positions, ui, [] {});
  }

  RestoreEnvironment Environment() {
    return {logFile, positions, settings, deletion, ui, prompt, &registryResult, ownPlaces};
  }

  std::vector<ToDoItem> Run(RestoreDriver driver, TreeModel& tree, bool executing, int flags = kRestoreDefault,
                            std::vector<FilterRow>* filter = nullptr, TreeNode* root = nullptr) {
    std::vector<ToDoItem> toDo;
    RestoreEnvironment environment = Environment();
    driver({tree, root ? root : tree.FirstTop(), filter, flags, executing, &toDo}, environment);
    return toDo;
  }

  // A new snapshot compared with the one before the change: every result node must be unchanged.
  void ExpectBackToBefore() {
    Snapshot("restored.SXD");
    TreeModel registry, drives, system;
    std::vector<std::string> excludes;
    LogPositions checkPositions;
    CompareConfigurations(files / "before.SXD", files / "restored.SXD", files / "check.SXL",
                          Trees(registry, drives, system), excludes, checkPositions, ui);
    for (TreeModel* tree : {&registry, &drives, &system})
      tree->ForEach([](TreeNode& node) {
        EXPECT_EQ(node.StateIndex() & 15, 0) << node.Path() << " still differs from the state before";
      });
  }

  CompareTrees Trees(TreeModel& registry, TreeModel& drives, TreeModel& system) {
    return {registrySelection, driveSelection, systemSelection, registry, drives, system, {21, 22}};
  }

  // The node at the names below the top node, matched exactly.
  static TreeNode* Node(TreeModel& tree, const std::vector<std::string>& names) {
    TreeNode* node = tree.FirstTop();
    for (const std::string& name : names) {
      TreeNode* next = nullptr;
      for (size_t i = 0; node && i < node->Count() && !next; ++i)
        if (node->Child(i)->Text() == name) next = node->Child(i);
      node = next;
    }
    return node;
  }

  ScratchFolder files;  // snapshots and logs, outside every captured place
  std::string logFile;
  SnapshotPlaces places;
  TreeModel registrySelection, driveSelection, systemSelection;
  TreeModel registryResult, driveResult, systemResult;
  std::vector<std::string> excludeList;
  LogPositions positions;
  ScriptedInteraction ui;
  ScriptedSharedFilePrompt prompt;
  FileDeletionState deletion;
  RestoreSettings settings;
  OwnPlaces ownPlaces;
};
