#pragma once
// Configuration data files for compare tests, described as plain structs and written with
// TWriter the way the captures write them: names sorted in the compare's order, INI entries in
// file order, text lines sorted with their positions, blank lines left out.

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "core/TextCompare.h"
#include "datafiles/ConfigurationFile.h"
#include "datafiles/SystemFileText.h"
#include "tests/datafiles/StreamBytes.h"

struct RegValue {
  std::string name;
  int32_t code = 1;
  std::string text;     // codes 1 and 2
  int32_t integer = 0;  // code 3
  Bytes bytes;          // every other code
};

inline RegValue Sz(std::string name, std::string text, int32_t code = 1) {
  return {std::move(name), code, std::move(text), 0, {}};
}
inline RegValue Dword(std::string name, int32_t value) { return {std::move(name), 3, {}, value, {}}; }
inline RegValue Binary(std::string name, Bytes bytes, int32_t code = 4) {
  return {std::move(name), code, {}, 0, std::move(bytes)};
}

struct Key {
  std::string name;
  std::vector<Key> subkeys;
  std::vector<RegValue> values;
};

struct FileEntry {
  std::string name;
  int32_t time = 0x2A5B6000;
  int32_t size = 0;
  int32_t attributes = 0x20;
};

struct Folder {
  std::string name;
  std::vector<Folder> folders;
  std::vector<FileEntry> files;
};

struct Drive {
  std::string name;  // "C: System"
  int32_t image = 17;
  Folder root;
};

struct IniEntry {
  std::string name;
  std::string value;
};

struct IniSection {
  std::string name;  // with brackets
  std::vector<IniEntry> entries;
};

// An INI or a text file by its entry text (WIN.INI, Autoexec.bat, C:\X.INI(INI), ...).
struct SystemFile {
  std::string entry;
  std::vector<IniSection> sections;
  std::vector<std::string> lines;  // file order, blank ones included
};

struct Configuration {
  std::string header{kRegistrationHeader};
  std::vector<Key> roots;  // root keys by their names, in selection-tree order
  std::vector<Drive> drives;
  std::vector<SystemFile> systemFiles;
};

template <class T>
std::vector<T> SortedByName(std::vector<T> items) {
  std::stable_sort(items.begin(), items.end(), [](const T& a, const T& b) { return TextLess(a.name, b.name); });
  return items;
}

inline void WriteValueData(TWriter& w, const RegValue& value) {
  w.WriteInteger(value.code);
  if (value.code == 1 || value.code == 2) {
    w.WriteString(value.text);
  } else if (value.code == 3) {
    w.WriteInteger(value.integer);
  } else {
    w.WriteInteger(static_cast<int32_t>(value.bytes.size()));
    w.Write(value.bytes.data(), value.bytes.size());
  }
}

// kind 21 in configuration files; 9 or 10 for the copy a log holds of a new or deleted key.
inline void WriteKeyRecord(TWriter& w, const Key& key, int32_t kind = 21) {
  const std::vector<Key> subkeys = SortedByName(key.subkeys);
  w.WriteInteger(static_cast<int32_t>(subkeys.size()));
  for (const Key& subkey : subkeys) {
    w.WriteString(subkey.name);
    WriteKeyRecord(w, subkey, kind);
  }
  const std::vector<RegValue> values = SortedByName(key.values);
  w.WriteInteger(static_cast<int32_t>(values.size()));
  for (const RegValue& value : values) {
    w.WriteString(value.name);
    w.WriteInteger(kind);
    WriteValueData(w, value);
  }
}

inline void WriteFolderRecord(TWriter& w, const Folder& folder, int32_t kind = 21) {
  const std::vector<Folder> folders = SortedByName(folder.folders);
  w.WriteInteger(static_cast<int32_t>(folders.size()));
  for (const Folder& sub : folders) {
    w.WriteString(sub.name);
    WriteFolderRecord(w, sub, kind);
  }
  const std::vector<FileEntry> files = SortedByName(folder.files);
  w.WriteInteger(static_cast<int32_t>(files.size()));
  for (const FileEntry& file : files) {
    w.WriteString(file.name);
    w.WriteInteger(kind);
    w.WriteInteger(file.time);
    w.WriteInteger(file.size);
    w.WriteInteger(file.attributes);
  }
}

inline void WriteEntryList(TWriter& w, const IniSection& section, int32_t kind = 21) {
  w.WriteInteger(static_cast<int32_t>(section.entries.size()));
  for (const IniEntry& entry : section.entries) {
    w.WriteString(entry.name);
    w.WriteInteger(kind);
    w.WriteString(entry.value);
  }
}

// An entry of no known type (a damaged file) gets the body its fields suggest.
inline bool HasIniBody(const SystemFile& file) {
  try {
    return IsIniType(SystemFileTypeOfText(file.entry));
  } catch (const std::exception&) {
    return !file.sections.empty();
  }
}

inline void WriteSystemFileBody(TWriter& w, const SystemFile& file) {
  if (HasIniBody(file)) {
    const std::vector<IniSection> sections = SortedByName(file.sections);
    w.WriteInteger(static_cast<int32_t>(sections.size()));
    for (const IniSection& section : sections) {
      w.WriteString(section.name);
      WriteEntryList(w, section);
    }
    return;
  }
  struct Line {
    std::string name;
    int32_t position;
  };
  std::vector<Line> lines;
  for (size_t i = 0; i < file.lines.size(); ++i)
    if (file.lines[i].find_first_not_of(" \t") != std::string::npos)
      lines.push_back({file.lines[i], static_cast<int32_t>(i)});
  lines = SortedByName(lines);
  w.WriteInteger(static_cast<int32_t>(lines.size()));
  for (const Line& line : lines) {
    w.WriteString(line.name);
    w.WriteInteger(21);
    w.WriteInteger(line.position);
  }
}

inline Bytes EncodeConfiguration(const Configuration& config) {
  return Encode([&](TWriter& w) {
    w.WriteString(config.header);
    w.WriteListBegin();
    for (const Key& root : config.roots) {
      w.WriteString(root.name);
      WriteKeyRecord(w, root);
    }
    w.WriteListEnd();
    w.WriteString(kDrivesHeader);
    w.WriteListBegin();
    for (const Drive& drive : config.drives) {
      w.WriteString(drive.name);
      w.WriteInteger(drive.image);
      WriteFolderRecord(w, drive.root);
    }
    w.WriteListEnd();
    w.WriteString(kSystemFilesHeader);
    w.WriteListBegin();
    for (const SystemFile& file : config.systemFiles) {
      w.WriteString(file.entry);
      WriteSystemFileBody(w, file);
    }
    w.WriteListEnd();
  });
}

inline void WriteBytesToFile(const std::string& fileName, const Bytes& bytes) {
  std::ofstream(fileName, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline Bytes ReadBytesOfFile(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}
