#pragma once
// The compare benchmark's installation: about 30,000 reproducible changes to the capture
// workload made with the platform's own calls (new, deleted and changed values of several types,
// new and deleted keys, also in the two wide keys; new, deleted and changed files, new and
// deleted folders), each remembered with what undoes it, so that the workload the capture
// benchmark measures is put back afterwards. The changes stay inside a few subtrees (the wide
// keys, some keys and folders of the top level), so that a configuration of those subtrees
// alone holds the same changes.

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "bench/BenchRegistry.h"

// splitmix64: the same sequence on every machine and compiler, unlike the standard
// distributions.
class BenchRandom {
 public:
  explicit BenchRandom(uint64_t seed) : state_(seed) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  size_t Below(size_t n) { return n ? static_cast<size_t>(Next() % n) : 0; }
  bool Percent(int p) { return Below(100) < static_cast<size_t>(p); }

 private:
  uint64_t state_;
};

// What one run changed, by the kinds a compare reports.
struct ChangeCounts {
  int newKeys = 0, deletedKeys = 0, newValues = 0, deletedValues = 0, changedValues = 0;
  int newFolders = 0, deletedFolders = 0, newFiles = 0, deletedFiles = 0, changedFiles = 0;

  int Total() const {
    return newKeys + deletedKeys + newValues + deletedValues + changedValues + newFolders + deletedFolders + newFiles +
           deletedFiles + changedFiles;
  }
  bool operator==(const ChangeCounts&) const = default;
  std::string Text() const {
    char text[400];
    snprintf(text, sizeof text,
             "keys %d new, %d deleted; values %d new, %d deleted, %d changed; folders %d new, %d deleted; files %d "
             "new, %d deleted, %d changed; %d in all",
             newKeys, deletedKeys, newValues, deletedValues, changedValues, newFolders, deletedFolders, newFiles,
             deletedFiles, changedFiles, Total());
    return text;
  }
};

class WorkloadChanges {
 public:
  // benchKey below root; benchFolder "Q:\" with backslash; stash a folder outside benchFolder
  // on the same disk, where deleted files and folders wait to come back.
  WorkloadChanges(HKEY root, std::string rootName, std::string benchKey, std::string benchFolder, std::string stash)
      : root_(root),
        rootName_(std::move(rootName)),
        benchKey_(std::move(benchKey)),
        benchFolder_(std::move(benchFolder)),
        stash_(std::move(stash)) {}
  ~WorkloadChanges() { Undo(); }
  WorkloadChanges(const WorkloadChanges&) = delete;
  WorkloadChanges& operator=(const WorkloadChanges&) = delete;

  void Apply() {
    CheckFileCall(CreateDirectoryA(stash_.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS,
                  "creating " + stash_);
    // The wide keys and folder by their names in the workload; then top-level keys and folders
    // picked at random until they hold enough values and files for the rest.
    ChangeKeys("Wide Key 30000", {1500, 1500, 300, 300, 1000, 1, true});
    ChangeKeys("Many Values 10000", {0, 0, 600, 600, 800, 1, false});
    std::vector<std::string> topKeys = PickTopKeys(60000);
    ChangeKeys(topKeys, {800, 800, 3000, 3000, 5000, 2, false});
    ChangeFolders({"Many Files 5000"}, {0, 0, 400, 400, 500});
    ChangeFolders(PickTopFolders(25000), {150, 150, 2500, 2500, 4000});
  }

  // Puts everything back, last change first. Failures are counted, not thrown: as much as
  // possible goes back, and the caller learns that the workload is damaged.
  int Undo() {
    int failures = 0;
    for (size_t i = undo_.size(); i > 0; --i) {
      try {
        undo_[i - 1]();
      } catch (const std::exception& error) {
        if (failures++ == 0) firstUndoError_ = error.what();
      }
    }
    undo_.clear();
    undoFailures_ += failures;
    return failures;
  }

  const ChangeCounts& Counts() const { return counts_; }
  const std::string& FirstUndoError() const { return firstUndoError_; }
  // The subtrees that hold every change, as ConfigurationFilter takes them.
  const std::vector<std::string>& ChangedKeyPaths() const { return keptKeys_; }
  const std::vector<std::string>& ChangedFolderPaths() const { return keptFolders_; }
  std::string RegistryPath(const std::string& key) const { return rootName_ + "\\" + benchKey_ + "\\" + key; }

 private:
  struct KeyQuota {
    int deletedKeys, newKeys, newValues, deletedValues, changedValues;
    int deletedKeyDepth;  // keys this deep below the changed key or deeper may go
    bool newKeysAtTop;    // new keys only directly below the changed key
  };
  struct FolderQuota {
    int deletedFolders, newFolders, newFiles, deletedFiles, changedFiles;
  };

  struct KeyInfo {
    std::string path;  // below root
    std::vector<std::string> values;
    std::vector<size_t> children;
    int depth = 0;
    size_t subtreeEnd = 0;  // one after the last key below it (keys are listed parents first)
    bool gone = false;
  };
  struct FileInfo {
    std::string name;
    DWORD size = 0;
    DWORD attributes = 0;
    FILETIME written{};
  };
  struct FolderInfo {
    std::string path;  // without trailing backslash
    std::vector<FileInfo> files;
    std::vector<size_t> children;
    int depth = 0;
    size_t subtreeEnd = 0;
    bool gone = false;
  };

  static std::string LastName(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

  // The name of a new item beside an existing one, so that new names spread over the sorted
  // lists as an installer's do; " new" and a serial number make it unique.
  std::string NewNameBeside(const std::string& existing, const char* fallback) {
    const std::string base = existing.empty() ? fallback : existing;
    return base + " new" + std::to_string(++serial_);
  }

  // ------------------------------------------------------------------ registry

  void WalkKeys(const std::string& path, int depth, std::vector<KeyInfo>& keys) {
    const size_t me = keys.size();
    keys.push_back({path, {}, {}, depth, 0, false});
    std::vector<std::string> subkeys;
    {
      UniqueHKey key = OpenRegKey(root_, path, KEY_READ);
      auto names = RegKeyNames(key.Get());
      subkeys = std::move(names.first);
      keys[me].values = std::move(names.second);
    }
    // Byte order, whatever the platform's order: the same picks on every run.
    std::sort(subkeys.begin(), subkeys.end());
    std::sort(keys[me].values.begin(), keys[me].values.end());
    for (const std::string& subkey : subkeys) {
      keys[me].children.push_back(keys.size());
      WalkKeys(path + "\\" + subkey, depth + 1, keys);
    }
    keys[me].subtreeEnd = keys.size();
  }

  std::vector<std::string> PickTopKeys(size_t values) {
    UniqueHKey bench = OpenRegKey(root_, benchKey_, KEY_READ);
    std::vector<std::string> names = RegKeyNames(bench.Get()).first;
    std::sort(names.begin(), names.end());
    std::vector<std::string> picked;
    size_t held = 0;
    while (held < values && !names.empty()) {
      const size_t i = random_.Below(names.size());
      const std::string name = names[i];
      names.erase(names.begin() + static_cast<std::ptrdiff_t>(i));
      if (name == "Wide Key 30000" || name == "Many Values 10000") continue;
      std::vector<KeyInfo> keys;
      WalkKeys(benchKey_ + "\\" + name, 0, keys);
      for (const KeyInfo& key : keys) held += key.values.size();
      picked.push_back(name);
    }
    return picked;
  }

  void ChangeKeys(const std::string& name, const KeyQuota& quota) { ChangeKeys(std::vector<std::string>{name}, quota); }

  void ChangeKeys(const std::vector<std::string>& names, const KeyQuota& quota) {
    std::vector<KeyInfo> keys;
    for (const std::string& name : names) {
      keptKeys_.push_back(RegistryPath(name));
      WalkKeys(benchKey_ + "\\" + name, 0, keys);
    }
    DeleteKeys(keys, quota);
    ChangeValues(keys, quota);
    AddValues(keys, quota.newValues);
    AddKeys(keys, quota);
  }

  void DeleteKeys(std::vector<KeyInfo>& keys, const KeyQuota& quota) {
    for (int done = 0, tries = 0; done < quota.deletedKeys && tries < quota.deletedKeys * 50; ++tries) {
      const size_t i = random_.Below(keys.size());
      if (keys[i].depth < quota.deletedKeyDepth) continue;
      bool free = true;
      for (size_t j = i; j < keys[i].subtreeEnd && free; ++j) free = !keys[j].gone;
      if (!free) continue;
      for (size_t j = i; j < keys[i].subtreeEnd; ++j) keys[j].gone = true;
      const std::string parent = keys[i].path.substr(0, keys[i].path.find_last_of('\\'));
      const std::string name = LastName(keys[i].path);
      KeySnapshot snapshot;
      {
        UniqueHKey key = OpenRegKey(root_, parent);
        snapshot = DeleteRegKeyTree(key.Get(), name);
      }
      undo_.push_back([this, parent, snapshot = std::move(snapshot)] {
        UniqueHKey key = OpenRegKey(root_, parent);
        RecreateRegKeyTree(key.Get(), snapshot);
      });
      ++counts_.deletedKeys;
      ++done;
    }
  }

  // New data of another look than old: texts grow, numbers move, bytes flip; one change in
  // eight gives the value another type.
  RegData ChangedData(const RegData& old) {
    RegData data = old;
    if (random_.Percent(12)) {
      data.type = old.type == REG_DWORD ? REG_SZ : REG_DWORD;
      if (data.type == REG_DWORD) {
        const DWORD number = static_cast<DWORD>(random_.Next());
        data.bytes.assign(reinterpret_cast<const BYTE*>(&number), reinterpret_cast<const BYTE*>(&number) + 4);
      } else {
        const std::string text = "changed type " + std::to_string(++serial_);
        data.bytes.assign(text.c_str(), text.c_str() + text.size() + 1);
      }
      return data;
    }
    switch (old.type) {
      case REG_SZ:
      case REG_EXPAND_SZ: {
        std::string text(old.bytes.begin(), old.bytes.end());
        text = text.substr(0, text.find('\0')) + " v" + std::to_string(++serial_);
        data.bytes.assign(text.c_str(), text.c_str() + text.size() + 1);
        break;
      }
      case REG_MULTI_SZ: {
        // One more string before the list's final terminator.
        const std::string item = "item" + std::to_string(++serial_);
        std::vector<BYTE> bytes = old.bytes;
        while (!bytes.empty() && bytes.back() == 0) bytes.pop_back();
        if (!bytes.empty()) bytes.push_back(0);
        bytes.insert(bytes.end(), item.begin(), item.end());
        bytes.push_back(0);
        bytes.push_back(0);
        data.bytes = std::move(bytes);
        break;
      }
      default:
        if (data.bytes.empty())
          data.bytes.push_back(static_cast<BYTE>(random_.Next()));
        else
          data.bytes[random_.Below(data.bytes.size())] ^= 0x5A;
        break;
    }
    return data;
  }

  RegData NewData() {
    RegData data;
    const std::string text = "C:\\Program Files\\Bench Setup\\file" + std::to_string(++serial_) + ".dat";
    switch (random_.Below(7)) {
      case 0:
      case 1:
        data.type = REG_SZ;
        data.bytes.assign(text.c_str(), text.c_str() + text.size() + 1);
        break;
      case 2:
        data.type = REG_EXPAND_SZ;
        data.bytes.assign(text.c_str(), text.c_str() + text.size() + 1);
        break;
      case 3:
        data.type = REG_MULTI_SZ;
        data.bytes.assign(text.c_str(), text.c_str() + text.size() + 1);
        data.bytes.insert(data.bytes.end(), text.c_str(), text.c_str() + text.size() + 1);
        data.bytes.push_back(0);
        break;
      case 4:
        data.type = REG_BINARY;
        for (size_t i = random_.Below(64); i > 0; --i) data.bytes.push_back(static_cast<BYTE>(random_.Next()));
        break;
      case 5:
        data.type = REG_QWORD;
        for (int i = 0; i < 8; ++i) data.bytes.push_back(static_cast<BYTE>(random_.Next()));
        break;
      default: {
        data.type = REG_DWORD;
        const DWORD number = static_cast<DWORD>(random_.Next());
        data.bytes.assign(reinterpret_cast<const BYTE*>(&number), reinterpret_cast<const BYTE*>(&number) + 4);
        break;
      }
    }
    return data;
  }

  // Distinct values of keys that stay: the first ones change, the next ones go.
  void ChangeValues(std::vector<KeyInfo>& keys, const KeyQuota& quota) {
    std::vector<std::pair<size_t, size_t>> values;
    for (size_t k = 0; k < keys.size(); ++k)
      if (!keys[k].gone)
        for (size_t v = 0; v < keys[k].values.size(); ++v) values.emplace_back(k, v);
    const size_t wanted = std::min(values.size(), static_cast<size_t>(quota.changedValues + quota.deletedValues));
    for (size_t i = 0; i < wanted; ++i) std::swap(values[i], values[i + random_.Below(values.size() - i)]);
    for (size_t i = 0; i < wanted; ++i) {
      const std::string path = keys[values[i].first].path;
      const std::string name = keys[values[i].first].values[values[i].second];
      UniqueHKey key = OpenRegKey(root_, path);
      RegData old = ReadRegValue(key.Get(), name);
      if (i < static_cast<size_t>(quota.changedValues)) {
        WriteRegValue(key.Get(), name, ChangedData(old));
        ++counts_.changedValues;
      } else {
        CheckRegCall(RegDeleteValueA(key.Get(), name.c_str()), "deleting value " + name);
        ++counts_.deletedValues;
      }
      undo_.push_back([this, path, name, old = std::move(old)] {
        UniqueHKey key = OpenRegKey(root_, path);
        WriteRegValue(key.Get(), name, old);
      });
    }
  }

  void AddValues(std::vector<KeyInfo>& keys, int count) {
    for (int done = 0; done < count;) {
      KeyInfo& info = keys[random_.Below(keys.size())];
      if (info.gone) continue;
      const std::string name =
          NewNameBeside(info.values.empty() ? "" : info.values[random_.Below(info.values.size())], "Setting");
      UniqueHKey key = OpenRegKey(root_, info.path);
      WriteRegValue(key.Get(), name, NewData());
      undo_.push_back([this, path = info.path, name] {
        UniqueHKey key = OpenRegKey(root_, path);
        CheckRegCall(RegDeleteValueA(key.Get(), name.c_str()), "deleting value " + name);
      });
      ++counts_.newValues;
      ++done;
    }
  }

  void AddKeys(std::vector<KeyInfo>& keys, const KeyQuota& quota) {
    for (int done = 0; done < quota.newKeys;) {
      const KeyInfo& parent = keys[quota.newKeysAtTop ? 0 : random_.Below(keys.size())];
      if (parent.gone) continue;
      const std::string beside =
          parent.children.empty() ? "" : LastName(keys[parent.children[random_.Below(parent.children.size())]].path);
      const std::string name = NewNameBeside(beside, "Component");
      {
        UniqueHKey parentKey = OpenRegKey(root_, parent.path);
        UniqueHKey key = CreateNewRegKey(parentKey.Get(), name);
        for (size_t i = 1 + random_.Below(3); i > 0; --i)
          WriteRegValue(key.Get(), "Value" + std::to_string(i), NewData());
        if (random_.Percent(20)) {
          UniqueHKey sub = CreateNewRegKey(key.Get(), "Options");
          WriteRegValue(sub.Get(), "", NewData());
        }
      }
      undo_.push_back([this, path = parent.path, name] {
        UniqueHKey key = OpenRegKey(root_, path);
        DeleteRegKeyTree(key.Get(), name);
      });
      ++counts_.newKeys;
      ++done;
    }
  }

  // ------------------------------------------------------------------ files

  void WalkFolders(const std::string& path, int depth, std::vector<FolderInfo>& folders) {
    const size_t me = folders.size();
    folders.push_back({path, {}, {}, depth, 0, false});
    std::vector<std::string> subfolders;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((path + "\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) throw Exception("cannot list " + path);
    do {
      // Dot folders are left out of a capture, so changes there would not show.
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (entry.cFileName[0] != '.') subfolders.emplace_back(entry.cFileName);
      } else {
        folders[me].files.push_back(
            {entry.cFileName, entry.nFileSizeLow, entry.dwFileAttributes, entry.ftLastWriteTime});
      }
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    std::sort(subfolders.begin(), subfolders.end());
    std::sort(folders[me].files.begin(), folders[me].files.end(),
              [](const FileInfo& a, const FileInfo& b) { return a.name < b.name; });
    for (const std::string& name : subfolders) {
      folders[me].children.push_back(folders.size());
      WalkFolders(path + "\\" + name, depth + 1, folders);
    }
    folders[me].subtreeEnd = folders.size();
  }

  std::string FolderPath(const std::string& name) const { return benchFolder_ + name; }

  std::vector<std::string> PickTopFolders(size_t files) {
    std::vector<FolderInfo> top;
    WalkFolders(benchFolder_.substr(0, benchFolder_.size() - 1), 0, top);
    std::vector<std::string> names;
    for (size_t child : top[0].children) names.push_back(LastName(top[child].path));
    std::vector<std::string> picked;
    size_t held = 0;
    while (held < files && !names.empty()) {
      const size_t i = random_.Below(names.size());
      const std::string name = names[i];
      names.erase(names.begin() + static_cast<std::ptrdiff_t>(i));
      if (name == "Many Files 5000") continue;
      const size_t at = static_cast<size_t>(
          std::find_if(top.begin(), top.end(), [&](const FolderInfo& f) { return f.path == FolderPath(name); }) -
          top.begin());
      for (size_t j = at; j < top[at].subtreeEnd; ++j) held += top[j].files.size();
      picked.push_back(name);
    }
    return picked;
  }

  void ChangeFolders(const std::vector<std::string>& names, const FolderQuota& quota) {
    std::vector<FolderInfo> folders;
    for (const std::string& name : names) {
      keptFolders_.push_back(benchFolder_.substr(0, 2) + "\\" + name);
      WalkFolders(FolderPath(name), 0, folders);
    }
    DeleteFolders(folders, quota.deletedFolders);
    ChangeFiles(folders, quota);
    AddFiles(folders, quota.newFiles);
    AddFolders(folders, quota.newFolders);
  }

  void Move(const std::string& from, const std::string& to) {
    CheckFileCall(MoveFileA(from.c_str(), to.c_str()), "moving " + from);
    undo_.push_back([from, to] { CheckFileCall(MoveFileA(to.c_str(), from.c_str()), "moving back " + from); });
  }

  std::string StashName(const char* prefix) { return stash_ + "\\" + prefix + std::to_string(++serial_); }

  void DeleteFolders(std::vector<FolderInfo>& folders, int count) {
    for (int done = 0, tries = 0; done < count && tries < count * 50; ++tries) {
      const size_t i = random_.Below(folders.size());
      if (folders[i].depth < 2) continue;
      bool free = true;
      for (size_t j = i; j < folders[i].subtreeEnd && free; ++j) free = !folders[j].gone;
      if (!free) continue;
      for (size_t j = i; j < folders[i].subtreeEnd; ++j) folders[j].gone = true;
      Move(folders[i].path, StashName("D"));
      ++counts_.deletedFolders;
      ++done;
    }
  }

  static void SetWriteTime(const std::string& path, const FILETIME& written) {
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw Exception("cannot open " + path);
    const BOOL ok = SetFileTime(file, nullptr, nullptr, &written);
    CloseHandle(file);
    CheckFileCall(ok, "setting the time of " + path);
  }

  static FILETIME Later(FILETIME time, uint64_t seconds) {
    uint64_t ticks = (static_cast<uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime) + seconds * 10000000ull;
    return {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  }

  // Files of folders that stay: a quarter get a new time, a quarter grow (written with another
  // time), a quarter become read-only; then the next ones go.
  void ChangeFiles(std::vector<FolderInfo>& folders, const FolderQuota& quota) {
    std::vector<std::pair<size_t, size_t>> files;
    for (size_t f = 0; f < folders.size(); ++f)
      if (!folders[f].gone)
        for (size_t i = 0; i < folders[f].files.size(); ++i) files.emplace_back(f, i);
    const size_t wanted = std::min(files.size(), static_cast<size_t>(quota.changedFiles + quota.deletedFiles));
    for (size_t i = 0; i < wanted; ++i) std::swap(files[i], files[i + random_.Below(files.size() - i)]);
    for (size_t i = 0; i < wanted; ++i) {
      const FileInfo file = folders[files[i].first].files[files[i].second];
      const std::string path = folders[files[i].first].path + "\\" + file.name;
      if (i >= static_cast<size_t>(quota.changedFiles)) {
        Move(path, StashName("F"));
        ++counts_.deletedFiles;
        continue;
      }
      ++counts_.changedFiles;
      switch (i % 4) {
        case 0:
        case 1:
          SetWriteTime(path, Later(file.written, 3 * 86400));
          undo_.push_back([path, file] { SetWriteTime(path, file.written); });
          break;
        case 2: {
          HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
          if (handle == INVALID_HANDLE_VALUE) throw Exception("cannot open " + path);
          SetFilePointer(handle, 0, nullptr, FILE_END);
          const char more[] = "grown by an installer";
          DWORD written = 0;
          const BOOL ok =
              WriteFile(handle, more, 1 + static_cast<DWORD>(random_.Below(sizeof more - 1)), &written, nullptr);
          CloseHandle(handle);
          CheckFileCall(ok, "writing " + path);
          SetWriteTime(path, Later(file.written, 86400));
          undo_.push_back([path, file] {
            HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            if (handle == INVALID_HANDLE_VALUE) throw Exception("cannot open " + path);
            SetFilePointer(handle, static_cast<LONG>(file.size), nullptr, FILE_BEGIN);
            const BOOL ok = SetEndOfFile(handle);
            CloseHandle(handle);
            CheckFileCall(ok, "truncating " + path);
            SetWriteTime(path, file.written);
          });
          break;
        }
        default:
          CheckFileCall(SetFileAttributesA(path.c_str(), file.attributes | FILE_ATTRIBUTE_READONLY),
                        "making " + path + " read-only");
          undo_.push_back([path, file] {
            CheckFileCall(SetFileAttributesA(path.c_str(), file.attributes), "resetting the attributes of " + path);
          });
          break;
      }
    }
  }

  void WriteNewFile(const std::string& path) {
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) throw Exception("cannot create " + path);
    std::string bytes(random_.Below(200), 'x');
    DWORD written = 0;
    const BOOL ok = WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(handle);
    CheckFileCall(ok, "writing " + path);
    // 2024-06-01 plus two seconds per file: the same times on every run.
    SetWriteTime(path, Later({0xA553C000u, 0x01DAB3B6u}, 2 * static_cast<uint64_t>(serial_)));
  }

  static std::string NameWithSuffix(const std::string& name, const std::string& suffix) {
    const size_t dot = name.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? name + suffix : name.substr(0, dot) + suffix + name.substr(dot);
  }

  void AddFiles(std::vector<FolderInfo>& folders, int count) {
    for (int done = 0; done < count;) {
      const FolderInfo& folder = folders[random_.Below(folders.size())];
      if (folder.gone) continue;
      const std::string beside =
          folder.files.empty() ? "Readme.txt" : folder.files[random_.Below(folder.files.size())].name;
      const std::string path = folder.path + "\\" + NameWithSuffix(beside, " new" + std::to_string(++serial_));
      WriteNewFile(path);
      undo_.push_back([path] { CheckFileCall(DeleteFileA(path.c_str()), "deleting " + path); });
      ++counts_.newFiles;
      ++done;
    }
  }

  void AddFolders(std::vector<FolderInfo>& folders, int count) {
    for (int done = 0; done < count;) {
      const FolderInfo& parent = folders[random_.Below(folders.size())];
      if (parent.gone) continue;
      const std::string beside =
          parent.children.empty() ? "" : LastName(folders[parent.children[random_.Below(parent.children.size())]].path);
      const std::string path = parent.path + "\\" + NewNameBeside(beside, "Data");
      CheckFileCall(CreateDirectoryA(path.c_str(), nullptr), "creating " + path);
      undo_.push_back([path] { DeleteFolderTree(path); });
      for (size_t i = 1 + random_.Below(8); i > 0; --i) WriteNewFile(path + "\\file" + std::to_string(i) + ".dll");
      if (random_.Percent(25)) {
        CheckFileCall(CreateDirectoryA((path + "\\Sub").c_str(), nullptr), "creating " + path + "\\Sub");
        for (size_t i = 1 + random_.Below(3); i > 0; --i) WriteNewFile(path + "\\Sub\\part" + std::to_string(i));
      }
      ++counts_.newFolders;
      ++done;
    }
  }

  HKEY root_;
  std::string rootName_;
  std::string benchKey_;
  std::string benchFolder_;
  std::string stash_;
  BenchRandom random_{20240611};
  int serial_ = 0;
  ChangeCounts counts_;
  std::vector<std::function<void()>> undo_;
  int undoFailures_ = 0;
  std::string firstUndoError_;
  std::vector<std::string> keptKeys_;
  std::vector<std::string> keptFolders_;
};
