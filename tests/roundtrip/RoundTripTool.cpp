// The helper of the round-trip test: it prepares the machine, performs an "installation" with
// real platform calls, reads the log back, and writes snapshots of the registry, drive C: and
// WIN.INI that the test script compares.
//   RoundTripTool prepare <program folder>   pre-existing state, file backup copies, Last.SXS
//   RoundTripTool install                     the installation
//   RoundTripTool changes <log file>          one line per change the log holds, sorted
//   RoundTripTool snapshot <output file>      registry (HKLM, HKCU) and C:\, sorted
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "app/SelectionTreeBuilder.h"
#include "platform/FileSystem.h"
#include "compare/ExportTreeWalk.h"
#include "compare/LogLoader.h"
#include "core/CheckStates.h"
#include "core/Errors.h"
#include "core/ScriptedInteraction.h"
#include "datafiles/SelectionFile.h"
#include "tests/roundtrip/MachineChanges.h"
#include "tests/roundtrip/MachineSnapshot.h"

namespace {

using namespace machine;

constexpr const char* kTestKey = "Software\\QuorvelRoundTrip";
constexpr const char* kSharedDlls = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";
constexpr const char* kFolder = "C:\\QuorvelRoundTrip\\";

// The state an installation meets: keys, values, counters, files and WIN.INI entries it will
// change or delete, with copies of the files it changes or deletes in the file backup folder;
// and the selection the batch run captures.
void Prepare(const std::string& programFolder) {
  const std::string existing = std::string(kTestKey) + "\\Existing";
  SetText(HKEY_LOCAL_MACHINE, existing, "Changed", "before");
  SetText(HKEY_LOCAL_MACHINE, existing, "Deleted", "going");
  SetDword(HKEY_LOCAL_MACHINE, existing + "\\DeletedKey", "Number", 7);
  SetText(HKEY_LOCAL_MACHINE, existing + "\\DeletedKey\\Below", "", "unnamed");
  SetText(HKEY_CURRENT_USER, kTestKey, "User", "before");
  MakeFolder(kFolder);
  WriteFileText(std::string(kFolder) + "changed.txt", "the original text\r\n");
  WriteFileText(std::string(kFolder) + "deleted.txt", "deleted by the installation\r\n");
  WriteFileText(std::string(kFolder) + "shared.dll", "a shared library");
  WriteFileText(std::string(kFolder) + "registered.dll", "a library that gains a counter");
  SetDword(HKEY_LOCAL_MACHINE, kSharedDlls, std::string(kFolder) + "shared.dll", 2);
  SetIniEntry("QuorvelRoundTrip", "Changed", "before");
  SetIniEntry("QuorvelRoundTrip", "Deleted", "going");

  // The file backup tool's folder: program folder + "DLLBackup\", with the drive's colon dropped.
  const std::string backup = programFolder + "DLLBackup\\";
  MakeFolder(backup);
  MakeFolder(backup + "C");
  MakeFolder(backup + "C\\QuorvelRoundTrip");
  for (const char* name : {"changed.txt", "deleted.txt"})
    Check(CopyFileA((std::string(kFolder) + name).c_str(), (backup + "C\\QuorvelRoundTrip\\" + name).c_str(), FALSE),
          std::string("backup copy of ") + name);

  TreeModel registry, drives, systemFiles;
  registry.SetLoader(LoadRegistryChildren);
  drives.SetLoader(LoadDriveChildren);
  systemFiles.SetLoader(LoadSystemFileChildren);
  const IconSink noIcons = [](HICON) { return -1; };
  BuildRegistrySelectionTree(registry);
  BuildDriveSelectionTree(drives, noIcons);
  BuildSystemFileSelectionTree(systemFiles, {}, noIcons);
  for (TreeModel* tree : {&registry, &drives, &systemFiles}) SetNodeChecked(*tree->FirstTop(), false);
  for (const char* path : {"HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER"}) {
    TreeNode* node = FindTreeNodeByPath(path, registry, false);
    Check(node != nullptr, std::string("selection node ") + path);
    SetNodeChecked(*node, true);
    UpdateAncestors(*node);
  }
  TreeNode* driveC = nullptr;
  for (size_t i = 0; i < drives.FirstTop()->Count(); ++i)
    if (drives.FirstTop()->Child(i)->Text().rfind("C:", 0) == 0) driveC = drives.FirstTop()->Child(i);
  Check(driveC != nullptr, "drive C: in the selection");
  SetNodeChecked(*driveC, true);
  UpdateAncestors(*driveC);
  TreeNode* winIni = FindTreeNodeByPath("WIN.INI", systemFiles, false);
  Check(winIni != nullptr, "WIN.INI in the selection");
  SetNodeChecked(*winIni, true);
  UpdateAncestors(*winIni);
  SaveSelections(programFolder + "Last.SXS", registry, drives, systemFiles, {});
}

void Install() {
  const std::string fresh = std::string(kTestKey) + "\\Installed";
  // Every value type, and the unnamed value.
  SetText(HKEY_LOCAL_MACHINE, fresh, "", "unnamed value");
  SetValue(HKEY_LOCAL_MACHINE, fresh, "None", REG_NONE, std::string("\x01\x02", 2));
  SetText(HKEY_LOCAL_MACHINE, fresh, "String", "text");
  SetValue(HKEY_LOCAL_MACHINE, fresh, "Expand", REG_EXPAND_SZ, std::string("%WINDIR%\\x\0", 10));
  SetValue(HKEY_LOCAL_MACHINE, fresh, "Binary", REG_BINARY, std::string("\x00\xff\x10", 3));
  SetDword(HKEY_LOCAL_MACHINE, fresh, "Dword", 0x12345678);
  SetValue(HKEY_LOCAL_MACHINE, fresh, "BigEndian", REG_DWORD_BIG_ENDIAN, std::string("\x12\x34\x56\x78", 4));
  SetValue(HKEY_LOCAL_MACHINE, fresh, "Link", REG_LINK, std::string("l\0i\0", 4));
  SetValue(HKEY_LOCAL_MACHINE, fresh, "Multi", REG_MULTI_SZ, std::string("one\0two\0\0", 9));
  SetValue(HKEY_LOCAL_MACHINE, fresh, "Resources", REG_RESOURCE_LIST, std::string("\x01\x00\x00\x00", 4));
  SetValue(HKEY_LOCAL_MACHINE, fresh, "Descriptor", REG_FULL_RESOURCE_DESCRIPTOR, std::string("\x02", 1));
  SetValue(HKEY_LOCAL_MACHINE, fresh, "Requirements", REG_RESOURCE_REQUIREMENTS_LIST, std::string("\x03\x04", 2));
  SetValue(HKEY_LOCAL_MACHINE, fresh, "Qword", REG_QWORD, std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8));
  SetText(HKEY_LOCAL_MACHINE, fresh + "\\Sub", "Deep", "below");
  SetText(HKEY_CURRENT_USER, std::string(kTestKey) + "\\UserInstalled", "Setting", "on");

  const std::string existing = std::string(kTestKey) + "\\Existing";
  SetText(HKEY_LOCAL_MACHINE, existing, "Changed", "after");
  DeleteValue(HKEY_LOCAL_MACHINE, existing, "Deleted");
  Check(RegDeleteTreeA(HKEY_LOCAL_MACHINE, (existing + "\\DeletedKey").c_str()) == ERROR_SUCCESS, "delete key");
  SetText(HKEY_CURRENT_USER, kTestKey, "User", "after");

  SetDword(HKEY_LOCAL_MACHINE, kSharedDlls, std::string(kFolder) + "shared.dll", 3);
  SetDword(HKEY_LOCAL_MACHINE, kSharedDlls, std::string(kFolder) + "registered.dll", 1);

  const std::string folder = kFolder;
  MakeFolder(folder + "NewFolder");
  WriteFileText(folder + "NewFolder\\readme.txt", "installed\r\n");
  WriteFileText(folder + "NewFolder\\locked.txt", "read-only\r\n", FILE_ATTRIBUTE_READONLY);
  MakeFolder(folder + "EmptyFolder");
  WriteFileText(folder + "program.exe", "MZ installed program");
  WriteFileText(folder + "changed.txt", "the installation's text, longer than before\r\n");
  Check(DeleteFileA((folder + "deleted.txt").c_str()), "delete file");

  SetIniEntry("QuorvelInstalled", "Entry", "new section");
  SetIniEntry("QuorvelRoundTrip", "New", "added");
  SetIniEntry("QuorvelRoundTrip", "Changed", "after");
  SetIniEntry("QuorvelRoundTrip", "Deleted", nullptr);
}

const char* KindName(int kind) {
  switch (kind) {
    case 6:
    case 9:
      return "new";
    case 7:
    case 10:
      return "deleted";
    case 8:
      return "changed";
    case 11:
      return "old";
    case 12:
      return "now";
  }
  return "path";
}

// Every new or deleted node and every change record of the three trees, one line each.
int Changes(const std::string& logFile) {
  TreeModel registry, drives, systemFiles, registryResult, driveResult, systemResult;
  std::vector<std::string> excludeList;
  LogPositions positions;
  ScriptedInteraction ui;
  ResultTrees results{registryResult, driveResult, systemResult};
  LoadLogFile(logFile, registry, drives, systemFiles, excludeList, results, positions, ui, [] {});
  std::vector<std::string> lines;
  const char* sections[] = {"registry", "drives", "system files"};
  for (LogSection section : {LogSection::Registry, LogSection::Drives, LogSection::SystemFiles}) {
    const std::string prefix = sections[static_cast<int>(section)];
    ExportCallbacks callbacks;
    callbacks.newOrDeletedNode = [&](const ExportNode& node) {
      lines.push_back(prefix + " " + KindName(node.kind) + " " + node.path);
    };
    callbacks.record = [&](const ExportRecord& record) {
      lines.push_back(prefix + " " + KindName(record.kind) + " " + record.nodePath + " | " + record.name);
    };
    ExportChoice choice;
    choice.mode = section;
    TreeModel& tree = results.Of(section);
    ExportTreeWalk(tree, tree.FirstTop(), choice, logFile, positions, ui, callbacks);
  }
  std::sort(lines.begin(), lines.end());
  for (const std::string& line : lines) printf("%s\n", line.c_str());
  return 0;
}

int Snapshot(const std::string& output) {
  std::vector<std::string> lines;
  DumpKey(HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE", lines);
  DumpKey(HKEY_CURRENT_USER, "HKEY_CURRENT_USER", lines);
  DumpFolder("C:\\", lines);
  std::sort(lines.begin(), lines.end());
  FILE* file = fopen(output.c_str(), "wb");
  if (!file) throw Exception("cannot write " + output);
  for (const std::string& line : lines) fprintf(file, "%s\n", line.c_str());
  fclose(file);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "prepare" && argc == 3) {
      Prepare(argv[2]);
      return 0;
    }
    if (command == "install" && argc == 2) {
      Install();
      return 0;
    }
    if (command == "changes" && argc == 3) return Changes(argv[2]);
    if (command == "snapshot" && argc == 3) return Snapshot(argv[2]);
    fprintf(stderr, "usage: RoundTripTool prepare <folder> | install | changes <log> | snapshot <file>\n");
    return 2;
  } catch (...) {
    fprintf(stderr, "RoundTripTool: %s\n", DescribeError(std::current_exception()).message.c_str());
    return 1;
  }
}
