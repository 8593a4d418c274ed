#include <gtest/gtest.h>

#include <filesystem>

#include "compare/CompareConfigurations.h"
#include "compare/LogLoader.h"
#include "compare/ResultRecords.h"
#include "core/Errors.h"
#include "datafiles/SelectionFile.h"
#include "datafiles/TreeBlock.h"
#include "tests/compare/CompareFixture.h"
#include "tests/datafiles/TreeDump.h"

namespace {

Bytes Str(std::string_view text) {
  return Encode([&](TWriter& w) { w.WriteString(text); });
}

// A machine with something in every section.
Configuration Machine() {
  Configuration config;
  config.roots = {Key{"HKEY_CURRENT_USER", {Key{"Software", {Key{"App", {}, {Sz("", "")}}}, {}}}, {}},
                  Key{"HKEY_LOCAL_MACHINE",
                      {Key{"SOFTWARE", {}, {Dword("Count", 70000), Binary("Blob", {0, 1, 255})}}},
                      {Sz("Name", std::string(300, 'x'))}}};
  config.drives = {Drive{"C: System", 17,
                         Folder{"", {Folder{"WINDOWS", {}, {FileEntry{"WIN.INI", 1, 2, 3}}}}, {FileEntry{"boot.ini"}}}},
                   Drive{"D: Data", 18, Folder{}}};
  config.systemFiles = {SystemFile{"WIN.INI", {IniSection{"[windows]", {{"load", ""}, {"run", "x"}}}}, {}},
                        SystemFile{"Autoexec.bat", {}, {"@ECHO OFF", "", "  PATH C:\\"}}};
  return config;
}

// A configuration whose only registry root or drive nests depth levels, each with one subkey or
// subfolder, written without recursion.
Bytes DeepConfiguration(bool drive, int depth) {
  const auto nested = [depth](TWriter& w) {
    for (int i = 0; i < depth; ++i) {
      w.WriteInteger(1);
      w.WriteString("k");
    }
    w.WriteInteger(0);
    for (int i = 0; i <= depth; ++i) w.WriteInteger(0);
  };
  return Encode([&](TWriter& w) {
    w.WriteString(kRegistrationHeader);
    w.WriteListBegin();
    if (!drive) {
      w.WriteString("HKEY_USERS");
      nested(w);
    }
    w.WriteListEnd();
    w.WriteString(kDrivesHeader);
    w.WriteListBegin();
    if (drive) {
      w.WriteString("C: System");
      w.WriteInteger(17);
      nested(w);
    }
    w.WriteListEnd();
    w.WriteString(kSystemFilesHeader);
    w.WriteListBegin();
    w.WriteListEnd();
  });
}

// The configuration with the count that follows the record name (the first or second of its
// two counts, both 0) set to -1.
Bytes WithNegativeCount(const Configuration& config, std::string_view name, int which) {
  Bytes bytes = EncodeConfiguration(config);
  const Bytes pattern = Join({Str(name), Hex(which == 0 ? "02 00" : "02 00 02 00")});
  const auto at = std::search(bytes.begin(), bytes.end(), pattern.begin(), pattern.end());
  EXPECT_NE(at, bytes.end()) << name;
  if (at != bytes.end()) *(at + static_cast<std::ptrdiff_t>(pattern.size()) - 1) = 0xFF;
  return bytes;
}

Bytes EmptyTreeBlock() { return Join({Str(kSelectionHeader), Hex("02 00")}); }

}  // namespace

using CompareLog = CompareFixture;

TEST_F(CompareLog, ASmallLogByteForByte) {
  Configuration before;
  before.roots = {Key{"HKEY_LOCAL_MACHINE", {Key{"Soft", {}, {Sz("v", "a")}}}, {}}};
  Configuration after = before;
  after.roots[0].subkeys[0].values[0].text = "b";
  Compare(before, after);

  const Bytes header = Str(kLogHeader);
  const Bytes selections =
      Join({EmptyTreeBlock(), EmptyTreeBlock(), EmptyTreeBlock(), Str(kExcludeListMarker), Hex("02 00")});
  // Soft: kind 8, images 0/1, no children, its block right after the change block's header.
  const Bytes registryTree =
      Join({Str(kSelectionHeader), Hex("02 01"), Str("My Computer"), Hex("02 00 02 02 02 02 09 02 00 02 01"),
            Str("HKEY_LOCAL_MACHINE"), Hex("02 00 02 00 02 01 09 02 00 02 01"), Str("Soft"),
            Hex("02 08 02 00 02 01 08 02 29 02 00")});
  const Bytes registryBlock = Join({Str(kRegistryChangeHeader), Hex("02 02"), Str("v"), Hex("02 0B 02 01"), Str("a"),
                                    Str("v"), Hex("02 0C 02 01"), Str("b")});
  const Bytes driveTree =
      Join({Str(kSelectionHeader), Hex("02 01"), Str("Drives"), Hex("02 00 02 02 02 02 08 02 00 02 00")});
  const Bytes systemTree =
      Join({Str(kSelectionHeader), Hex("02 01"), Str("System Files"), Hex("02 00 02 00 02 00 08 02 00 02 00")});
  ASSERT_EQ(registryBlock.size(), 0x3Fu);
  EXPECT_EQ(Log(), Join({header, selections, registryTree, Hex("02 3F"), registryBlock, driveTree, Hex("02 28"),
                         Str(kDriveChangeHeader), systemTree, Hex("02 2E"), Str(kSystemFileChangeHeader)}));

  const int64_t registryTreeAt = static_cast<int64_t>(header.size() + selections.size());
  EXPECT_EQ(positions.registry.treePosition, registryTreeAt);
  EXPECT_EQ(positions.registry.baseOffset, registryTreeAt + int64_t(registryTree.size()) + 2);
  EXPECT_EQ(positions.drives.treePosition, positions.registry.baseOffset + 0x3F);
  EXPECT_EQ(positions.drives.baseOffset, positions.drives.treePosition + int64_t(driveTree.size()) + 2);
  EXPECT_EQ(positions.systemFiles.treePosition, positions.drives.baseOffset + 0x28);
  EXPECT_EQ(positions.systemFiles.baseOffset, positions.systemFiles.treePosition + int64_t(systemTree.size()) + 2);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(CompareLog, AFileComparedWithItselfHoldsOnlyTopNodesAndRootEntries) {
  WriteBytesToFile(oldFile, EncodeConfiguration(Machine()));
  newFile = oldFile;
  excludeList = {"C:\\pagefile.sys"};
  Run();

  EXPECT_EQ(ResultDump(registryResult),
            "My Computer | 0 | 2/2 | children\n"
            "  HKEY_CURRENT_USER | 0 | 0/1\n"
            "  HKEY_LOCAL_MACHINE | 0 | 0/1\n");
  EXPECT_EQ(ResultDump(driveResult),
            "Drives | 0 | 2/2 | children\n"
            "  C: System | 0 | 17/17\n"
            "  D: Data | 0 | 18/18\n");
  EXPECT_EQ(ResultDump(systemFileResult),
            "System Files | 0 | 0/0 | children\n"
            "  WIN.INI | 0 | 21/21\n"
            "  AUTOEXEC.BAT | 0 | 22/22\n");

  // Each change block is its header string alone.
  const Bytes log = Log();
  const auto at = [&](int64_t position, size_t size) {
    return Bytes(log.begin() + position, log.begin() + position + static_cast<int64_t>(size));
  };
  EXPECT_EQ(at(positions.registry.baseOffset - 2, 43), Join({Hex("02 29"), Str(kRegistryChangeHeader)}));
  EXPECT_EQ(at(positions.drives.baseOffset - 2, 42), Join({Hex("02 28"), Str(kDriveChangeHeader)}));
  EXPECT_EQ(at(positions.systemFiles.baseOffset - 2, 48), Join({Hex("02 2E"), Str(kSystemFileChangeHeader)}));
  EXPECT_EQ(positions.drives.treePosition, positions.registry.baseOffset + 41);
  EXPECT_EQ(positions.systemFiles.treePosition, positions.drives.baseOffset + 40);
  EXPECT_EQ(static_cast<int64_t>(log.size()), positions.systemFiles.baseOffset + 46);

  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(excludeList, std::vector<std::string>{"C:\\pagefile.sys"});
  const std::vector<std::string>& status = ui.statusTexts[0];
  for (const char* text : {" Comparing registry: HKEY_CURRENT_USER", " Comparing registry: HKEY_LOCAL_MACHINE",
                           " Comparing file structure", " Comparing file structure: C: System",
                           " Compare system files:", " Compare system files :AUTOEXEC.BAT"})
    EXPECT_NE(std::find(status.begin(), status.end(), text), status.end()) << text;
  EXPECT_EQ(status.back(), " Status");
}

TEST_F(CompareLog, TheSelectionBlockHoldsTheSelectionsAsTheCompareFoundThem) {
  BuildSelection(registrySelection, "My Computer", 5, {{"HKEY_LOCAL_MACHINE", 4}});
  BuildSelection(driveSelection, "Drives", 5, {{"C: System", 4}});
  BuildSelection(systemFileSelection, "System Files", 4, {{"WIN.INI", 4}});
  excludeList = {"C:\\A.TXT", "C:\\B.TXT"};
  const Bytes expected = Join({Str(kLogHeader), Encode([&](TWriter& w) {
                                 SaveSelections(w, registrySelection, driveSelection, systemFileSelection, excludeList);
                               })});
  Compare(Machine(), Machine());
  const Bytes log = Log();
  ASSERT_GE(log.size(), expected.size());
  EXPECT_EQ(Bytes(log.begin(), log.begin() + static_cast<int64_t>(expected.size())), expected);
  EXPECT_EQ(positions.registry.treePosition, static_cast<int64_t>(expected.size()));
}

// Long texts that end the registry section of both files and the last record of the registry
// and system-file change blocks: the registry block ends where the drive tree begins, the
// system-file block at the end of the file, and both read back through a window on the block.
TEST_F(CompareLog, LongTextsThatEndASectionAndAChangeBlockReadBack) {
  const std::string before(300, 'b'), after(400, 'a');
  const auto machine = [](const std::string& text) {
    Configuration config;
    config.roots = {Key{"HKEY_USERS", {Key{"K", {}, {Sz("v", text)}}}, {}}};
    config.systemFiles = {SystemFile{"WIN.INI", {IniSection{"[s]", {{"e", text}}}}, {}}};
    return config;
  };
  Compare(machine(before), machine(after));

  std::vector<ResultRow> rows;
  ReadRegistryRows(NodeAt(registryResult, {"My Computer", "HKEY_USERS", "K"}), logFile, positions, "", "", rows);
  ReadSystemFileRows(NodeAt(systemFileResult, {"System Files", "WIN.INI", "[s]"}), logFile, positions, 0, rows);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].text, before);
  EXPECT_EQ(rows[1].text, after);
  EXPECT_EQ(rows[2].text, before);
  EXPECT_EQ(rows[3].text, after);
  EXPECT_TRUE(ui.messages.empty());
}

// A log the compare wrote loads with the same trees and record offsets, and every new and
// deleted key and folder expands: one record per node, none inside another.
TEST_F(CompareLog, ALogLoadsAndExpandsAsTheCompareWroteIt) {
  const auto machine = [](bool after) {
    const std::string v = after ? "2" : "1";
    const Key nested{after ? "Added" : "Removed",
                     {Key{"A", {Key{"B", {}, {Sz("b", v)}}}, {Dword("a", 1)}}, Key{"C", {}, {}}},
                     {Sz("x", v)}};
    Configuration config;
    config.roots = {Key{"HKEY_USERS", {Key{"App", {nested, Key{"Same", {}, {}}}, {Sz("v", v)}}}, {Dword("d", after)}}};
    config.drives = {
        Drive{"C: System", 17,
              Folder{"",
                     {Folder{after ? "NEW" : "OLD", {Folder{"IN", {}, {FileEntry{"f"}}}}, {FileEntry{"g"}}},
                      Folder{"KEEP", {}, {FileEntry{"k", after ? 2 : 1}}}},
                     {FileEntry{"root.txt", after ? 2 : 1}}}}};
    config.systemFiles = {SystemFile{"WIN.INI", {IniSection{"[s]", {{"e", v}}}}, {}}};
    return config;
  };
  Compare(machine(false), machine(true));

  TreeModel selections[3];
  std::vector<std::string> excludes;
  TreeModel registry, drives, systemFiles;
  LogPositions loaded;
  LoadLogFile(logFile, selections[0], selections[1], selections[2], excludes, {registry, drives, systemFiles}, loaded,
              ui, {});
  EXPECT_EQ(DumpTree(registry), DumpTree(registryResult));
  EXPECT_EQ(DumpTree(drives), DumpTree(driveResult));
  EXPECT_EQ(loaded.registry.nodeOffsets, positions.registry.nodeOffsets);
  EXPECT_EQ(loaded.drives.nodeOffsets, positions.drives.nodeOffsets);
  EXPECT_EQ(loaded.registry.nodeOffsets.size(), 4u);  // HKEY_USERS, App, Added, Removed
  EXPECT_EQ(loaded.drives.nodeOffsets.size(), 4u);    // C: System, KEEP, NEW, OLD

  ExpandSubtree(registry, *registry.FirstTop(), logFile, loaded, LogSection::Registry, ui);
  ExpandSubtree(drives, *drives.FirstTop(), logFile, loaded, LogSection::Drives, ui);
  const std::string registryDump = DumpTree(registry);
  for (const char* key : {"Added", "Removed", "    B |", "    C |"})
    EXPECT_NE(registryDump.find(key), std::string::npos) << key << "\n" << registryDump;
  EXPECT_NE(DumpTree(drives).find("IN"), std::string::npos) << DumpTree(drives);
  EXPECT_TRUE(ui.messages.empty());
}

using CompareFailures = CompareFixture;

TEST_F(CompareFailures, RefusedHeadersAreToldAndEndInASilentAbort) {
  const std::string olderVersion =
      "This version of the program does not process *.SXD-files of version 1.4 or earlier!";
  const std::string readError = "File read error, aborted.";
  const Bytes good = EncodeConfiguration(Machine());
  const auto withHeader = [](std::string header) {
    Configuration config = Machine();
    config.header = std::move(header);
    return EncodeConfiguration(config);
  };
  struct Case {
    const char* what;
    Bytes oldBytes;
    Bytes newBytes;
    std::vector<std::string> messages;
  };
  const Case cases[] = {
      {"old file of version 1.4", withHeader(std::string(kOldRegistrationHeader)), good, {olderVersion, readError}},
      {"new file of version 1.4", good, withHeader(std::string(kOldRegistrationHeader)), {olderVersion, readError}},
      {"version 1.4 wins over a foreign old file",
       withHeader("foreign"),
       withHeader(std::string(kOldRegistrationHeader)),
       {olderVersion, readError}},
      {"foreign old file",
       withHeader("* THIS IS A SNAPTRACE RESULT DATAFILE *"),
       good,
       {"ERROR: " + oldFile + "\rInvalid file or wrong version.", readError}},
      {"foreign new file", good, withHeader(""), {"ERROR: " + newFile + "\rInvalid file or wrong version.", readError}},
      {"empty old file", {}, good, {readError}},
      {"new file beginning with an integer", good, Hex("02 05"), {readError}},
  };
  // A log of an earlier run under the same name: a refused file must not cost it.
  const Bytes earlierLog = Hex("06 05 65 61 72 6C 79");
  WriteBytesToFile(logFile, earlierLog);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteBytesToFile(oldFile, c.oldBytes);
    WriteBytesToFile(newFile, c.newBytes);
    excludeList = {"C:\\KEEP.TXT"};
    CappedInteraction user;
    RecordingObserver view(registryResult);
    EXPECT_THROW(CompareConfigurations(oldFile, newFile, logFile, Trees(), excludeList, positions, user), EAbort);
    EXPECT_EQ(user.Texts(), c.messages);
    for (const auto& message : user.messages) EXPECT_EQ(message.type, MsgType::Error);
    EXPECT_EQ(excludeList, std::vector<std::string>{"C:\\KEEP.TXT"});
    EXPECT_EQ(view.updateDepth, 0);
    EXPECT_EQ(ReadBytesOfFile(logFile), earlierLog);
  }
}

// A configuration cut off inside its sections: the error names it, and the log that was being
// written is removed.
TEST_F(CompareFailures, ACutOffConfigurationIsNamedAndLeavesNoLog) {
  const Bytes good = EncodeConfiguration(Machine());
  const Bytes cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() / 2));
  const std::pair<const std::string*, bool> cases[] = {{&oldFile, true}, {&newFile, false}};
  for (const auto& [damaged, oldSide] : cases) {
    SCOPED_TRACE(*damaged);
    WriteBytesToFile(oldFile, oldSide ? cut : good);
    WriteBytesToFile(newFile, oldSide ? good : cut);
    try {
      Run();
      ADD_FAILURE() << "no failure";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Kind(), ErrorKind::EReadError);
      EXPECT_EQ(e.Message().rfind("ERROR: " + *damaged + "\r", 0), 0u) << e.Message();
    }
    EXPECT_FALSE(std::filesystem::exists(logFile));
  }
}

TEST_F(CompareFailures, FilesThatCannotBeOpenedOrCreated) {
  const Bytes good = EncodeConfiguration(Machine());
  WriteBytesToFile(newFile, good);
  try {
    Run();
    ADD_FAILURE() << "a missing old file was compared";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Kind(), ErrorKind::EFOpenError);
  }
  EXPECT_FALSE(std::filesystem::exists(logFile)) << "no log file without both configurations";

  WriteBytesToFile(oldFile, good);
  logFile = Path("missing folder/Result.SXL");
  try {
    Run();
    ADD_FAILURE() << "a log file was created in a missing folder";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Kind(), ErrorKind::EFCreateError);
  }
}

TEST_F(CompareFailures, TheLogFileNeverOverwritesAConfigurationFile) {
  const Bytes good = EncodeConfiguration(Machine());
  WriteBytesToFile(oldFile, good);
  WriteBytesToFile(newFile, good);
  for (const std::string& configuration : {oldFile, newFile}) {
    logFile = configuration;
    EXPECT_THROW(Run(), Exception);
    EXPECT_EQ(ReadBytesOfFile(configuration), good);
  }
}

TEST_F(CompareFailures, WrongSectionHeadersFailAfterTheEarlierSectionsWereWritten) {
  const Bytes good = EncodeConfiguration(Machine());
  const auto replaced = [&](std::string_view from, std::string_view to) {
    Bytes bytes = good;
    const auto at = std::search(bytes.begin(), bytes.end(), from.begin(), from.end());
    std::copy(to.begin(), to.end(), at);
    return bytes;
  };
  struct Case {
    Bytes oldBytes;
    Bytes newBytes;
    std::string message;
    bool registryWritten;
    bool drivesWritten;
  };
  const Case cases[] = {
      {replaced("DRIVES", "DRIVEZ"), good, "Error: " + oldFile + "\rNot a file-structure file: OldFile", true, false},
      {good, replaced("DRIVES", "DRIVEZ"), "Error: " + newFile + "\rNot a file-structure file: NewFile", true, false},
      {replaced("SYSTEMFILES", "SYSTEMFILEZ"), good, "ERROR: " + oldFile + "\rThis is not a systemfile: OldFile", true,
       true},
      {good, replaced("SYSTEMFILES", "SYSTEMFILEZ"), "ERROR: " + newFile + "\rThis is not a systemfile: NewFile", true,
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    WriteBytesToFile(oldFile, c.oldBytes);
    WriteBytesToFile(newFile, c.newBytes);
    excludeList = {"C:\\KEEP.TXT"};
    positions = {};
    RecordingObserver view(driveResult);
    try {
      Run();
      ADD_FAILURE() << "no failure";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
    EXPECT_EQ(excludeList, std::vector<std::string>{"C:\\KEEP.TXT"});
    EXPECT_EQ(view.updateDepth, 0);
    EXPECT_EQ(positions.registry.baseOffset != 0, c.registryWritten);
    EXPECT_EQ(positions.drives.baseOffset != 0, c.drivesWritten);
    // No partial log stays behind for a load or a restore to take for whole.
    EXPECT_FALSE(std::filesystem::exists(logFile));
    EXPECT_TRUE(ui.messages.empty());
  }
}

TEST_F(CompareFailures, ASystemFileOfUnknownTypeFailsTheCompare) {
  Configuration config = Machine();
  config.systemFiles.push_back(SystemFile{"NOTES.TXT", {}, {"a"}});
  try {
    Compare(config, config);
    ADD_FAILURE() << "no failure";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Cannot determine file type of NOTES.TXT.");
  }
}

// Malformed configurations end in the read error that names the file, and leave no log: not
// in a stack overflow, and not in a log whose nodes cannot be shown or restored.
TEST_F(CompareFailures, MalformedConfigurationsAreReadErrorsNamingTheFile) {
  const std::string invalid = "\rInvalid property value";
  Configuration plain = Machine();
  Configuration withNew = Machine();
  withNew.roots[0].subkeys.push_back(Key{"NegKey", {}, {}});
  withNew.drives[1].root.folders.push_back(Folder{"NegFolder", {}, {}});
  withNew.systemFiles[0].sections.push_back(IniSection{"[NegSection]", {}});
  Configuration withExisting = Machine();
  withExisting.roots[0].subkeys.push_back(Key{"NegKey", {}, {}});
  struct Case {
    const char* what;
    Bytes oldBytes;
    Bytes newBytes;
    std::string message;
  };
  const Case cases[] = {
      {"keys nesting too deep on both sides", DeepConfiguration(false, 20000), DeepConfiguration(false, 20000),
       "ERROR: " + oldFile + " or " + newFile + invalid},
      {"folders nesting too deep on both sides", DeepConfiguration(true, 20000), DeepConfiguration(true, 20000),
       "ERROR: " + oldFile + " or " + newFile + invalid},
      {"new key, negative subkey count", EncodeConfiguration(plain), WithNegativeCount(withNew, "NegKey", 0),
       "ERROR: " + newFile + invalid},
      {"new key, negative value count", EncodeConfiguration(plain), WithNegativeCount(withNew, "NegKey", 1),
       "ERROR: " + newFile + invalid},
      {"deleted key, negative value count", WithNegativeCount(withNew, "NegKey", 1), EncodeConfiguration(plain),
       "ERROR: " + oldFile + invalid},
      {"new folder, negative folder count", EncodeConfiguration(plain), WithNegativeCount(withNew, "NegFolder", 0),
       "ERROR: " + newFile + invalid},
      {"new folder, negative file count", EncodeConfiguration(plain), WithNegativeCount(withNew, "NegFolder", 1),
       "ERROR: " + newFile + invalid},
      {"new INI section, negative entry count", EncodeConfiguration(plain),
       WithNegativeCount(withNew, "[NegSection]", 0), "ERROR: " + newFile + invalid},
      {"key on both sides, negative value count", EncodeConfiguration(withExisting),
       WithNegativeCount(withExisting, "NegKey", 1), "ERROR: " + newFile + invalid},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteBytesToFile(oldFile, c.oldBytes);
    WriteBytesToFile(newFile, c.newBytes);
    try {
      Run();
      ADD_FAILURE() << "no failure";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Kind(), ErrorKind::EReadError);
      EXPECT_EQ(e.Message(), c.message);
    }
    EXPECT_FALSE(std::filesystem::exists(logFile));
  }
}
