#pragma once
// Builds small log files byte by byte with TWriter, following the log layout: header, selection
// block, then per section the pruned result tree, the change block's length and the block.
// Tests describe change-block contents as plain structs and get the record offsets back.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "compare/LogLayout.h"
#include "core/TreeModel.h"
#include "datafiles/SelectionFile.h"
#include "datafiles/Stream.h"
#include "datafiles/TWriter.h"
#include "datafiles/TreeBlock.h"
#include "tests/datafiles/StreamBytes.h"

// A registry value record: kind, type code and the data in the form of its code.
struct LogValue {
  std::string name;
  int kind = kRecordNew;
  int code = 1;
  std::string data;     // codes 1 and 2: the text; other codes but 3: the bytes
  int32_t integer = 0;  // code 3
};

inline LogValue LogText(std::string name, int kind, std::string text, int code = 1) {
  return {std::move(name), kind, code, std::move(text), 0};
}
inline LogValue LogDword(std::string name, int kind, int32_t value) { return {std::move(name), kind, 3, "", value}; }
inline LogValue LogBinary(std::string name, int kind, std::string bytes, int code = 4) {
  return {std::move(name), kind, code, std::move(bytes), 0};
}

struct LogKey {
  std::string name;
  std::vector<LogKey> subkeys;
  std::vector<LogValue> values;
};

struct LogFileRecord {
  std::string name;
  int kind = kRecordNew;
  uint32_t time = 0;
  uint32_t size = 0;
  uint32_t attributes = 0;
};

struct LogFolder {
  std::string name;
  std::vector<LogFolder> subfolders;
  std::vector<LogFileRecord> files;
};

// An INI entry (value) or a text file's line (line index), by the file's type.
struct LogEntry {
  std::string name;
  int kind = kRecordNew;
  std::string value;
  int32_t lineIndex = -1;  // >= 0: a line of a text file
};

inline void WriteLogValueData(TWriter& w, const LogValue& v) {
  w.WriteInteger(v.kind);
  w.WriteInteger(v.code);
  if (v.code == 1 || v.code == 2) {
    w.WriteString(v.data);
  } else if (v.code == 3) {
    w.WriteInteger(v.integer);
  } else {
    w.WriteInteger(static_cast<int32_t>(v.data.size()));
    w.Write(v.data.data(), v.data.size());
  }
}

inline void WriteLogValueList(TWriter& w, const std::vector<LogValue>& values) {
  w.WriteInteger(static_cast<int32_t>(values.size()));
  for (const LogValue& v : values) {
    w.WriteString(v.name);
    WriteLogValueData(w, v);
  }
}

inline void WriteLogKeyRecord(TWriter& w, const LogKey& key) {
  w.WriteInteger(static_cast<int32_t>(key.subkeys.size()));
  for (const LogKey& sub : key.subkeys) {
    w.WriteString(sub.name);
    WriteLogKeyRecord(w, sub);
  }
  WriteLogValueList(w, key.values);
}

inline void WriteLogFileList(TWriter& w, const std::vector<LogFileRecord>& files) {
  w.WriteInteger(static_cast<int32_t>(files.size()));
  for (const LogFileRecord& f : files) {
    w.WriteString(f.name);
    w.WriteInteger(f.kind);
    w.WriteInteger(static_cast<int32_t>(f.time));
    w.WriteInteger(static_cast<int32_t>(f.size));
    w.WriteInteger(static_cast<int32_t>(f.attributes));
  }
}

inline void WriteLogFolderRecord(TWriter& w, const LogFolder& folder) {
  w.WriteInteger(static_cast<int32_t>(folder.subfolders.size()));
  for (const LogFolder& sub : folder.subfolders) {
    w.WriteString(sub.name);
    WriteLogFolderRecord(w, sub);
  }
  WriteLogFileList(w, folder.files);
}

inline void WriteLogEntryList(TWriter& w, const std::vector<LogEntry>& entries) {
  w.WriteInteger(static_cast<int32_t>(entries.size()));
  for (const LogEntry& e : entries) {
    w.WriteString(e.name);
    w.WriteInteger(e.kind);
    if (e.lineIndex >= 0)
      w.WriteInteger(e.lineIndex);
    else
      w.WriteString(e.value);
  }
}

// One section's change block; each Add returns the record offset of what it wrote.
class ChangeBlockBuilder {
 public:
  explicit ChangeBlockBuilder(std::string_view header) : writer_(stream_, 16) { writer_.WriteString(header); }
  int32_t AddKey(const LogKey& key) {
    return Add([&] { WriteLogKeyRecord(writer_, key); });
  }
  int32_t AddValues(const std::vector<LogValue>& values) {
    return Add([&] { WriteLogValueList(writer_, values); });
  }
  int32_t AddFolder(const LogFolder& folder) {
    return Add([&] { WriteLogFolderRecord(writer_, folder); });
  }
  int32_t AddFiles(const std::vector<LogFileRecord>& files) {
    return Add([&] { WriteLogFileList(writer_, files); });
  }
  int32_t AddEntries(const std::vector<LogEntry>& entries) {
    return Add([&] { WriteLogEntryList(writer_, entries); });
  }
  // Anything else, for damaged blocks.
  int32_t AddWith(const std::function<void(TWriter&)>& write) {
    return Add([&] { write(writer_); });
  }
  Bytes Finish() {
    writer_.FlushBuffer();
    return stream_.Bytes();
  }

 private:
  template <typename Write>
  int32_t Add(Write write) {
    writer_.FlushBuffer();
    const auto offset = static_cast<int32_t>(writer_.Position());
    write();
    return offset;
  }

  TMemoryStream stream_;
  TWriter writer_;
};

inline TreeNode* AddLogNode(TreeModel& tree, TreeNode* parent, std::string text, int state, int image, int selected,
                            int32_t data = 0, bool hasChildren = false) {
  return tree.Add(parent, {.text = std::move(text),
                           .stateIndex = state,
                           .imageIndex = image,
                           .selectedIndex = selected,
                           .hasChildren = hasChildren,
                           .data = data});
}

// The selection block of a log: three one-node selection trees and an exclude list.
struct LogSelection {
  TreeModel registry;
  TreeModel drives;
  TreeModel systemFiles;
  std::vector<std::string> excludeList{"C:\\PAGEFILE.SYS"};

  LogSelection() {
    AddLogNode(registry, nullptr, "My Computer", 5, 2, 2);
    AddLogNode(registry, registry.FirstTop(), "HKEY_LOCAL_MACHINE", 4, 0, 1, 0, true);
    AddLogNode(drives, nullptr, "Drives", 5, 2, 2);
    AddLogNode(systemFiles, nullptr, "System Files", 4, 0, 0);
  }
};

// Writes a whole log; positions receives where its sections lie.
inline Bytes AssembleLog(LogSelection& selection, TreeModel* const results[3], const Bytes blocks[3],
                         LogPositions& positions) {
  TMemoryStream stream;
  {
    TWriter w(stream, 64);
    w.WriteString(kLogHeader);
    SaveSelections(w, selection.registry, selection.drives, selection.systemFiles, selection.excludeList);
    for (int s = 0; s < 3; ++s) {
      w.FlushBuffer();
      SectionPositions& at = PositionsOf(positions, static_cast<LogSection>(s));
      at.treePosition = w.Position();
      WriteTreeBlock(w, *results[s], false, true);
      w.WriteInteger(static_cast<int32_t>(blocks[s].size()));
      w.FlushBuffer();
      at.baseOffset = w.Position();
      w.Write(blocks[s].data(), blocks[s].size());
    }
    w.FlushBuffer();
  }
  return stream.Bytes();
}

inline void WriteFileBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline Bytes ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

// A folder of its own for one test, removed with everything in it.
class TempFolder {
 public:
  explicit TempFolder(const std::string& tag)
      : path_(std::filesystem::temp_directory_path() /
              ("quorvel-" + tag + "-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()))) {
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  std::string PathOf(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};
