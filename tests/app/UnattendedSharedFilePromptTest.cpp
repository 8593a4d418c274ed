#include "app/UnattendedSharedFilePrompt.h"

#include <gtest/gtest.h>

#include "restore/RegistryRestore.h"
#include "tests/restore/RestoreFixture.h"

namespace {

// Three shared files of drive Q:, each with a counter under SharedDlls, compared by the real
// compare: BOTH.DLL came with the installation (in a new folder) and got a new counter;
// FILE.DLL is a new file whose counter was there before (and went up); COUNTER.DLL was there
// before and only its counter is new.
class UnattendedSharedFilePromptTest : public RestoreFixture {
 protected:
  void SetUp() override {
    Configuration("before.SXD", false);
    Configuration("after.SXD", true);
    CompareSnapshots("before.SXD", "after.SXD");
  }

  void Configuration(const std::string& name, bool installed) {
    WriteHandMadeConfiguration(
        files / name,
        [&](TWriter& w) {
          w.WriteString("HKEY_LOCAL_MACHINE");
          for (const char* key : {"SOFTWARE", "Microsoft", "Windows", "CurrentVersion", "SharedDlls"}) {
            w.WriteInteger(1);
            w.WriteString(key);
          }
          w.WriteInteger(0);  // SharedDlls has no subkeys
          std::vector<std::pair<std::string, int>> counters;
          if (installed) counters.push_back({"Q:\\APP\\COUNTER.DLL", 1});
          counters.push_back({"Q:\\APP\\FILE.DLL", installed ? 2 : 1});
          if (installed) counters.push_back({"Q:\\APP\\NEW\\BOTH.DLL", 1});
          w.WriteInteger(static_cast<int32_t>(counters.size()));
          for (const auto& [path, count] : counters) {
            w.WriteString(path);
            w.WriteInteger(21);
            w.WriteInteger(3);  // integer
            w.WriteInteger(count);
          }
          for (int i = 0; i < 5; ++i) w.WriteInteger(0);  // no values above SharedDlls
        },
        [&](TWriter& w) {
          const auto file = [&](const char* fileName) {
            w.WriteString(fileName);
            w.WriteInteger(21);
            w.WriteInteger(0x2A5B6000);
            w.WriteInteger(100);
            w.WriteInteger(0x20);
          };
          w.WriteString("Q:");
          w.WriteInteger(17);
          w.WriteInteger(1);
          w.WriteString("APP");
          w.WriteInteger(installed ? 1 : 0);
          if (installed) {
            w.WriteString("NEW");
            w.WriteInteger(0);
            w.WriteInteger(1);
            file("BOTH.DLL");
          }
          w.WriteInteger(installed ? 2 : 1);
          file("COUNTER.DLL");
          if (installed) file("FILE.DLL");
          w.WriteInteger(0);  // no files in Q:\ itself
        });
  }

  UnattendedSharedFilePrompt Prompt(int setting) {
    return UnattendedSharedFilePrompt(setting, {registryResult, driveResult, systemResult}, logFile, positions, ui,
                                      [this](const std::string& line) { lines.push_back(line); });
  }

  std::vector<std::string> lines;
};

}  // namespace

TEST_F(UnattendedSharedFilePromptTest, TheSettingDecidesAndZeroDeletesOnlyWhatTheInstallationBroughtAndCounted) {
  struct Case {
    int setting;
    const char* path;
    bool deleteFile;
  };
  const Case cases[] = {
      {0, "Q:\\APP\\NEW\\BOTH.DLL", true}, {0, "q:\\app\\new\\both.dll", true}, {0, "Q:\\APP\\FILE.DLL", false},
      {0, "Q:\\APP\\COUNTER.DLL", false},  {0, "Q:\\APP\\OTHER.DLL", false},    {1, "Q:\\APP\\NEW\\BOTH.DLL", true},
      {1, "Q:\\APP\\FILE.DLL", true},      {1, "Q:\\APP\\COUNTER.DLL", true},   {2, "Q:\\APP\\NEW\\BOTH.DLL", false},
      {2, "Q:\\APP\\FILE.DLL", false},     {2, "Q:\\APP\\COUNTER.DLL", false},
  };
  for (const Case& c : cases) {
    for (SharedFileCase which : {SharedFileCase::CounterAtZero, SharedFileCase::StillRegistered}) {
      lines.clear();
      const SharedFileAnswer answer = Prompt(c.setting).Ask({which, c.path});
      SCOPED_TRACE(std::to_string(c.setting) + " " + c.path);
      EXPECT_EQ(answer.deleteFile, c.deleteFile);
      EXPECT_FALSE(answer.repeatForAll) << "each file is decided by itself";
      ASSERT_EQ(lines.size(), 1u);
      const std::string said = std::string(" -> ") + (c.deleteFile ? SharedFileDeleteCaption(which) : kSharedFileKeep);
      EXPECT_NE(lines[0].find(said), std::string::npos) << lines[0];
    }
  }
  EXPECT_TRUE(ui.messages.empty()) << "nothing waits for an answer";

  lines.clear();
  Prompt(0).Ask({SharedFileCase::CounterAtZero, "Q:\\APP\\FILE.DLL"});
  EXPECT_EQ(lines, std::vector<std::string>{std::string("Question: Shared DLLs: This file is registered for multiple "
                                                        "access: Q:\\APP\\FILE.DLL ") +
                                            SharedFileExplanation(SharedFileCase::CounterAtZero) +
                                            " -> Don't Delete File (counter not added by the installation)"});
}

// Without a current log nothing can show the file as the installation's own: it is kept.
TEST_F(UnattendedSharedFilePromptTest, WithoutALogTheFileIsKept) {
  const std::string noLog;
  UnattendedSharedFilePrompt prompt(0, {registryResult, driveResult, systemResult}, noLog, positions, ui,
                                    [this](const std::string& line) { lines.push_back(line); });
  EXPECT_FALSE(prompt.Ask({SharedFileCase::CounterAtZero, "Q:\\APP\\NEW\\BOTH.DLL"}).deleteFile);
}
