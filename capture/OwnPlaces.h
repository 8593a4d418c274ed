#pragma once
// The program's own folders, files and registry keys. A capture leaves them out, so that a log
// never lists them and an undo never deletes the program's working files, backups or settings;
// the restore engine asks the same queries as a last guard. Paths compare ignoring case.

#include <string>
#include <string_view>
#include <vector>

class OwnPlaces {
 public:
  // A folder whose whole subtree is the program's; a trailing "\" is added when missing.
  void AddFolder(std::string folderPath);
  // A file of the program in a folder it shares with others. The name may be "*" followed by
  // an ending ("*.SXL"): every file whose name ends so.
  void AddFile(const std::string& folderPath, const std::string& name);
  // A key with everything below it, as a full path beginning with the root-key name
  // ("HKEY_CURRENT_USER\Software\...").
  void AddKey(std::string keyPath);

  // The folder is own or lies below an own folder; with or without a trailing "\".
  bool HoldsFolder(const std::string& folderPath) const;
  // The file is own or lies in (or below) an own folder.
  bool HoldsFile(const std::string& filePath) const;
  // The key is own or lies below an own key.
  bool HoldsKey(const std::string& keyPath) const;
  // Something own lies in the folder or below the key, or they are own themselves: deleting them
  // whole would take the program's places along.
  bool HoldsAnythingIn(const std::string& folderPath) const;
  bool HoldsAnythingUnder(const std::string& keyPath) const;

  // For walks, which ask once per folder or key instead of once per entry.
  // The names of the direct subfolders of folder (ending with "\") that are own folders.
  void OwnSubfolders(std::string_view folder, std::vector<std::string_view>& names) const;
  // The own file names and "*ending" patterns of folder (ending with "\").
  void OwnFileNames(std::string_view folder, std::vector<std::string_view>& names) const;
  // The names of the direct subkeys of keyPath (full path, root-key name first) that are own keys.
  void OwnSubkeys(std::string_view keyPath, std::vector<std::string_view>& names) const;
  // name matches an own file name or pattern of OwnFileNames.
  static bool MatchesFileName(std::string_view pattern, std::string_view name);

  const std::vector<std::string>& Folders() const { return folders_; }
  const std::vector<std::string>& Keys() const { return keys_; }

 private:
  struct OwnFile {
    std::string folder;  // ends with "\"
    std::string name;
  };

  std::vector<std::string> folders_;  // each ends with "\"
  std::vector<OwnFile> files_;
  std::vector<std::string> keys_;  // without trailing "\"
};

// Equal texts ignoring case, as the file system and the registry compare names.
bool SamePathText(std::string_view a, std::string_view b);

// The program's own places at this moment. programFolder ends with "\"; empty backup folders or
// settings key stay out. The program folder is own as a whole, with its "DLLBackup" folder,
// unless it is shared (a drive root, or a folder holding the Windows folder): then only the
// program's files there are own — the exe, the fixed working files, logs, selections,
// configurations and the temporary files of a save. A shared backup folder is left to the
// capture. The settings key below HKEY_CURRENT_USER is own under its alias below HKEY_USERS too.
OwnPlaces BuildOwnPlaces(const std::string& exePath, const std::string& programFolder, const std::string& backupDir,
                         const std::string& dllBackupPath, const std::string& settingsKeyPath);

// A folder the program must not take as a whole (see BuildOwnPlaces).
bool IsSharedFolder(const std::string& folderPath);
