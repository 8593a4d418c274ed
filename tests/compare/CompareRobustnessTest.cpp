#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "core/Errors.h"
#include "tests/compare/CompareFixture.h"
#include "tests/datafiles/TreeDump.h"

namespace {

// Every kind of record, nested a few levels, with a change in every section.
Configuration Sample(bool after) {
  const std::string v = after ? "2" : "1";
  Configuration config;
  config.roots = {Key{"HKEY_CURRENT_USER",
                      {Key{"Software",
                           {Key{"App", {Key{"Deep", {Key{"Deeper", {}, {Sz("x", v)}}}, {}}}, {Sz("", v)}},
                            Key{after ? "New" : "Gone", {Key{"Sub", {}, {Dword("d", 1)}}}, {Sz("s", "t")}}},
                           {Binary("b", {1, 2, static_cast<uint8_t>(after)}), Dword("n", after ? 70000 : -5),
                            Sz("long", std::string(300, after ? 'y' : 'x'), 2), Binary("multi", {'a', 0, 0}, 7)}}},
                      {}},
                  Key{"HKEY_LOCAL_MACHINE",
                      {Key{"SYSTEM", {Key{"ControlSet001", {}, {Dword("c", after)}}, Key{"Select", {}, {}}}, {}}},
                      {}}};
  config.drives = {Drive{"C: System", 17,
                         Folder{"",
                                {Folder{"WINDOWS",
                                        {Folder{after ? "Fresh" : "Stale", {Folder{"In", {}, {FileEntry{"i"}}}}, {}}},
                                        {FileEntry{"win.ini", after ? 2 : 1}, FileEntry{"x.dll"}}}},
                                {FileEntry{"boot.ini", 1, 2, after ? 0x21 : 0x20}}}},
                   Drive{after ? "D: New" : "E: Old", 18, Folder{}}};
  config.systemFiles = {
      SystemFile{"WIN.INI",
                 {IniSection{"[windows]", {{"load", v}, {"run", "x"}, {"run", v}}},
                  IniSection{after ? "[added]" : "[removed]", {{"k", "v"}}}},
                 {}},
      SystemFile{"Autoexec.bat", {}, {"@ECHO OFF", after ? "PATH D:\\" : "PATH C:\\"}},
      SystemFile{after ? "C:\\A.INI(INI)" : "C:\\B.TXT(TXT)", {IniSection{"[s]", {{"a", "b"}}}}, {"line"}}};
  return config;
}

class Mutator {
 public:
  explicit Mutator(uint32_t seed) : random_(seed) {}

  // A few damages of the kinds a disk, a transfer or a hostile file brings.
  Bytes Mutate(Bytes bytes) {
    const uint32_t count = 1 + Next(3);
    for (uint32_t i = 0; i < count && !bytes.empty(); ++i) {
      const size_t at = Next(static_cast<uint32_t>(bytes.size()));
      switch (Next(7)) {
        case 0:
          bytes[at] ^= static_cast<uint8_t>(1u << Next(8));
          break;
        case 1:
          bytes[at] = static_cast<uint8_t>(Next(256));
          break;
        case 2:
          bytes.resize(at);
          break;
        case 3:
          bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), static_cast<uint8_t>(Next(256)));
          break;
        case 4:
          bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(at));
          break;
        default:
          DamageLength(bytes, at);
          break;
      }
    }
    return bytes;
  }

  uint32_t Next(uint32_t bound) { return static_cast<uint32_t>(random_() % bound); }

 private:
  // The next integer or string from at gets an extreme count or length.
  void DamageLength(Bytes& bytes, size_t at) {
    static const uint32_t kExtremes[] = {0x7FFFFFFF, 0xFFFFFFFF, 0x80000000, 0x00FFFFFF, 1000000};
    for (size_t p = at; p + 1 < bytes.size(); ++p) {
      const uint8_t tag = bytes[p];
      if (tag == kTagInt8 || tag == kTagShortString) {
        bytes[p + 1] = Next(2) ? 0xFF : 0x7F;
        return;
      }
      if (tag == kTagInt16 || tag == kTagInt32 || tag == kTagLongString) {
        // Widened to a 32-bit value in place of the old payload.
        const uint32_t value = kExtremes[Next(5)];
        const size_t payload = tag == kTagInt16 ? 2 : 4;
        if (p + 1 + payload > bytes.size()) return;
        bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(p + 1),
                    bytes.begin() + static_cast<std::ptrdiff_t>(p + 1 + payload));
        if (tag == kTagInt16) bytes[p] = kTagInt32;
        const uint8_t wide[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                                 static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
        bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(p + 1), wide, wide + 4);
        return;
      }
    }
  }

  std::mt19937 random_;
};

}  // namespace

using CompareRobustness = CompareFixture;

// Damaged configuration files end in our errors or messages: no crash, no hang, no huge
// allocation (the sanitizer build watches memory), no flood of messages, and the clean-up runs.
TEST_F(CompareRobustness, DamagedFilesEndInErrorsNeverInCrashesOrMessageFloods) {
  BuildSelection(registrySelection, "My Computer", 5,
                 {{"HKEY_CURRENT_USER", 4}, {"HKEY_LOCAL_MACHINE\\SYSTEM\\Select", 4}});
  BuildSelection(driveSelection, "Drives", 5, {{"C: System\\WINDOWS", 5}});
  const Bytes before = EncodeConfiguration(Sample(false));
  const Bytes after = EncodeConfiguration(Sample(true));
  WriteBytesToFile(oldFile, before);
  WriteBytesToFile(newFile, after);
  Run();
  ASSERT_GT(registryResult.FirstTop()->Count(), 0u) << "the sample must have changes";

  Mutator mutator(20240601);
  RecordingObserver view(systemFileResult);
  int failures = 0;
  int completed = 0;
  for (int run = 0; run < 2500 && failures == 0; ++run) {
    const bool damageOld = mutator.Next(2) == 0;
    const Bytes damaged = mutator.Mutate(damageOld ? before : after);
    // New files, not truncated ones: some file systems flush a truncated file when it closes.
    std::filesystem::remove(damageOld ? oldFile : newFile);
    std::filesystem::remove(logFile);
    WriteBytesToFile(damageOld ? oldFile : newFile, damaged);
    excludeList = {"C:\\X"};
    CappedInteraction user;
    try {
      CompareConfigurations(oldFile, newFile, logFile, Trees(), excludeList, positions, user);
      ++completed;
    } catch (const Exception&) {
      // A read error, a refusal or a silent abort: what a damaged file should give.
    } catch (const MessageFlood&) {
      ADD_FAILURE() << "run " << run << ": more than " << user.cap << " messages";
      ++failures;
    } catch (const std::exception& e) {
      ADD_FAILURE() << "run " << run << ": foreign error " << e.what();
      ++failures;
    }
    if (excludeList != std::vector<std::string>{"C:\\X"} || view.updateDepth != 0) {
      ADD_FAILURE() << "run " << run << ": clean-up incomplete";
      ++failures;
    }
    std::filesystem::remove(damageOld ? oldFile : newFile);
    WriteBytesToFile(damageOld ? oldFile : newFile, damageOld ? before : after);
  }
  // Some damages (a changed value text, say) leave a valid file.
  EXPECT_GT(completed, 0);
}
