#pragma once
// Walks of a configuration data file for the compare benchmark: the floor, which reads every
// value of a file once with TReader and compares nothing, and a copy that keeps only some
// subtrees (a smaller configuration with the same changes). Files with system-file entries are
// refused: the benchmark selects none.

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "core/Errors.h"
#include "datafiles/ConfigurationFile.h"
#include "datafiles/RegDataCode.h"
#include "datafiles/Stream.h"
#include "datafiles/TReader.h"
#include "datafiles/TWriter.h"

struct ConfigurationCounts {
  uint64_t keys = 0;
  uint64_t values = 0;
  uint64_t folders = 0;
  uint64_t files = 0;

  ConfigurationCounts& operator+=(const ConfigurationCounts& other) {
    keys += other.keys;
    values += other.values;
    folders += other.folders;
    files += other.files;
    return *this;
  }
};

// The least a compare must do: every name and every value of both files read through TReader's
// buffer into reused storage.
class ConfigurationReadFloor {
 public:
  ConfigurationCounts Read(const std::string& path) {
    TFileStream stream(path, FileMode::OpenRead);
    TReader reader(stream, kStreamBufferSize);
    reader_ = &reader;
    counts_ = {};
    reader.ReadString(text_);
    reader.ReadListBegin();
    while (!reader.EndOfList()) {
      reader.ReadString(text_);
      KeyRecord();
    }
    reader.ReadListEnd();
    reader.ReadString(text_);
    reader.ReadListBegin();
    while (!reader.EndOfList()) {
      reader.ReadString(text_);
      reader.ReadInteger();  // image index
      FolderRecord();
    }
    reader.ReadListEnd();
    reader.ReadString(text_);
    reader.ReadListBegin();
    if (!reader.EndOfList()) throw Exception("the floor reads no system files");
    reader.ReadListEnd();
    reader_ = nullptr;
    return counts_;
  }

 private:
  void KeyRecord() {
    ++counts_.keys;
    TReader& reader = *reader_;
    for (int32_t i = reader.ReadInteger(); i > 0; --i) {
      reader.ReadString(text_);
      KeyRecord();
    }
    for (int32_t i = reader.ReadInteger(); i > 0; --i) {
      ++counts_.values;
      reader.ReadString(text_);
      reader.ReadInteger();  // record kind
      const int32_t code = reader.ReadInteger();
      if (IsTextRegDataCode(code)) {
        reader.ReadString(text_);
      } else if (code == kRdInteger) {
        reader.ReadInteger();
      } else {
        bytes_.resize(static_cast<size_t>(reader.ReadInteger()));
        reader.Read(bytes_.data(), bytes_.size());
      }
    }
  }

  void FolderRecord() {
    ++counts_.folders;
    TReader& reader = *reader_;
    for (int32_t i = reader.ReadInteger(); i > 0; --i) {
      reader.ReadString(text_);
      FolderRecord();
    }
    for (int32_t i = reader.ReadInteger(); i > 0; --i) {
      ++counts_.files;
      reader.ReadString(text_);
      reader.ReadInteger();  // record kind
      reader.ReadInteger();  // time stamp
      reader.ReadInteger();  // size
      reader.ReadInteger();  // attributes
    }
  }

  TReader* reader_ = nullptr;
  std::string text_;
  std::vector<uint8_t> bytes_;
  ConfigurationCounts counts_;
};

// Copies a configuration data file keeping only the subtrees named by kept paths: registry
// paths "HKEY_CURRENT_USER\Software\...", folder paths "Q:\Folder\..." (the drive's letter and
// colon, then the folders), compared ignoring ASCII case. A kept key or folder is copied whole;
// its ancestors keep only the subkeys or subfolders on the way to kept ones, and no values or
// files of their own; everything else is left out.
class ConfigurationFilter {
 public:
  ConfigurationFilter(const std::vector<std::string>& keptKeys, const std::vector<std::string>& keptFolders) {
    for (const std::string& path : keptKeys) Keep(registry_, path);
    for (const std::string& path : keptFolders) Keep(folders_, path);
  }

  ConfigurationCounts Copy(const std::string& from, const std::string& to) {
    TFileStream in(from, FileMode::OpenRead);
    TReader reader(in, kStreamBufferSize);
    TFileStream out(to, FileMode::Create);
    TWriter writer(out, kStreamBufferSize);
    reader_ = &reader;
    counts_ = {};

    writer.WriteString(reader.ReadString());
    Section(writer, registry_, false);
    writer.WriteString(reader.ReadString());
    Section(writer, folders_, true);
    writer.WriteString(reader.ReadString());
    reader.ReadListBegin();
    if (!reader.EndOfList()) throw Exception("the filter copies no system files");
    reader.ReadListEnd();
    writer.WriteListBegin();
    writer.WriteListEnd();
    writer.FlushBuffer();
    reader_ = nullptr;
    return counts_;
  }

 private:
  enum class Part { Dropped, OnTheWay, Kept };

  struct Paths {
    std::set<std::string> kept;
    std::set<std::string> onTheWay;  // ancestors of kept paths
  };

  static std::string Upper(std::string text) {
    for (char& c : text)
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
  }

  static void Keep(Paths& paths, const std::string& path) {
    const std::string upper = Upper(path);
    paths.kept.insert(upper);
    for (size_t at = upper.find('\\'); at != std::string::npos; at = upper.find('\\', at + 1))
      paths.onTheWay.insert(upper.substr(0, at));
  }

  static Part PartOf(const Paths& paths, const std::string& upperPath) {
    if (paths.kept.count(upperPath)) return Part::Kept;
    return paths.onTheWay.count(upperPath) ? Part::OnTheWay : Part::Dropped;
  }

  // Root entries or drive entries, each kept when some kept path begins with it.
  void Section(TWriter& writer, const Paths& paths, bool drives) {
    TReader& reader = *reader_;
    reader.ReadListBegin();
    writer.WriteListBegin();
    while (!reader.EndOfList()) {
      const std::string name = reader.ReadString();
      const int32_t image = drives ? reader.ReadInteger() : 0;
      // A drive is addressed by its letter and colon, not by its whole node text.
      const std::string path = Upper(drives ? name.substr(0, 2) : name);
      const Part part = PartOf(paths, path);
      if (part == Part::Dropped) {
        Record(nullptr, drives);
        continue;
      }
      writer.WriteString(name);
      if (drives) writer.WriteInteger(image);
      if (part == Part::Kept)
        Record(&writer, drives);
      else
        OnTheWay(writer, paths, path, drives);
    }
    reader.ReadListEnd();
    writer.WriteListEnd();
  }

  // A key or folder above kept ones: its kept children are written to a memory stream first,
  // because their count comes before them.
  void OnTheWay(TWriter& writer, const Paths& paths, const std::string& path, bool folder) {
    TReader& reader = *reader_;
    TMemoryStream children;
    int32_t kept = 0;
    {
      TWriter childWriter(children, kStreamBufferSize);
      for (int32_t i = reader.ReadInteger(); i > 0; --i) {
        const std::string name = reader.ReadString();
        const std::string childPath = path + "\\" + Upper(name);
        const Part part = PartOf(paths, childPath);
        if (part == Part::Dropped) {
          Record(nullptr, folder);
          continue;
        }
        ++kept;
        childWriter.WriteString(name);
        if (part == Part::Kept)
          Record(&childWriter, folder);
        else
          OnTheWay(childWriter, paths, childPath, folder);
      }
      childWriter.FlushBuffer();
    }
    writer.WriteInteger(kept);
    writer.Write(children.Data(), children.Bytes().size());
    for (int32_t i = reader.ReadInteger(); i > 0; --i) {
      reader.ReadString(text_);
      Leaf(nullptr, folder);
    }
    writer.WriteInteger(0);
  }

  // A whole key or folder record, copied to out or, without out, read past.
  void Record(TWriter* out, bool folder) {
    TReader& reader = *reader_;
    if (out) ++(folder ? counts_.folders : counts_.keys);
    const int32_t subs = reader.ReadInteger();
    if (out) out->WriteInteger(subs);
    for (int32_t i = 0; i < subs; ++i) {
      reader.ReadString(text_);
      if (out) out->WriteString(text_);
      Record(out, folder);
    }
    const int32_t leaves = reader.ReadInteger();
    if (out) out->WriteInteger(leaves);
    for (int32_t i = 0; i < leaves; ++i) {
      reader.ReadString(text_);
      if (out) out->WriteString(text_);
      Leaf(out, folder);
    }
  }

  // One value record or file record after its name.
  void Leaf(TWriter* out, bool file) {
    TReader& reader = *reader_;
    auto copyInteger = [&] {
      const int32_t value = reader.ReadInteger();
      if (out) out->WriteInteger(value);
      return value;
    };
    copyInteger();  // record kind
    if (file) {
      if (out) ++counts_.files;
      copyInteger();  // time stamp
      copyInteger();  // size
      copyInteger();  // attributes
      return;
    }
    if (out) ++counts_.values;
    const int32_t code = copyInteger();
    if (IsTextRegDataCode(code)) {
      reader.ReadString(text_);
      if (out) out->WriteString(text_);
    } else if (code == kRdInteger) {
      copyInteger();
    } else {
      bytes_.resize(static_cast<size_t>(copyInteger()));
      reader.Read(bytes_.data(), bytes_.size());
      if (out) out->Write(bytes_.data(), bytes_.size());
    }
  }

  Paths registry_;
  Paths folders_;
  TReader* reader_ = nullptr;
  std::string text_;
  std::vector<uint8_t> bytes_;
  ConfigurationCounts counts_;
};
