#include "restore/RegistryRestore.h"

#include <windows.h>

#include "platform/TMyRegistry.h"
#include "core/Errors.h"
#include "core/Formatting.h"
#include "restore/PlainNames.h"
#include "restore/RegistryNames.h"
#include "restore/RestorePass.h"

namespace {

constexpr size_t kMostValueTextLength = 600;

std::string IntegerBytes(int32_t value) {
  const auto bits = static_cast<uint32_t>(value);
  const char bytes[4] = {static_cast<char>(bits), static_cast<char>(bits >> 8), static_cast<char>(bits >> 16),
                         static_cast<char>(bits >> 24)};
  return std::string(bytes, 4);
}

// Where a result node's key lives: the root-key node at level 1, the names below it.
struct KeyLocation {
  HKEY root = nullptr;   // nullptr: the level-1 text names no root key
  std::string rootName;  // the table's spelling of the root key
  std::string subPath;   // below the root, without leading "\"
  std::string parentSubPath;
  std::vector<std::string> names;  // of the keys below the root, as the log spells them

  std::string Path() const { return rootName + "\\" + subPath; }
  std::string ParentPath() const { return rootName + "\\" + parentSubPath; }
};

KeyLocation LocationOf(const TreeNode& node) {
  KeyLocation location;
  std::vector<const TreeNode*> names;
  const TreeNode* at = &node;
  for (; at && at->Level() > 1; at = at->Parent()) names.push_back(at);
  if (!at || at->Level() != 1) return location;
  const int index = RootKeyIndex(at->Text());
  location.root = RootKeyHandle(index);
  location.rootName = index >= 0 ? kRootKeyNames[index] : at->Text();
  for (auto it = names.rbegin(); it != names.rend(); ++it) {
    location.parentSubPath = location.subPath;
    location.subPath += (location.subPath.empty() ? "" : "\\") + (*it)->Text();
    location.names.push_back((*it)->Text());
  }
  return location;
}

class RegistryRestore {
 public:
  explicit RegistryRestore(RestorePass& pass) : pass_(pass), settings_(pass.Environment().settings) {
    registry_.SetRegAccess(kRegAccessFull);
  }

  void Node(TreeNode& node) {
    const size_t unfinishedBefore = pass_.Unfinished();
    const KeyLocation key = LocationOf(node);

    if (pass_.NodeKind(node) == kKindDeleted && pass_.Flag(kRestoreDeletions) && !pass_.Filtered()) {
      // Creating the key creates its missing parents too.
      const bool done = pass_.RunItem({"Create Key", key.ParentPath(), node.Text(), "", ""}, [&] {
        Open(key, true);
        registry_.CloseKey();
        return std::string(kStatusDone);
      });
      if (done && pass_.Executing()) pass_.MarkRestored(node);
    }

    if (!pass_.Filtered())
      for (size_t i = 0; i < node.Count(); ++i) Node(*node.Child(i));

    if (node.Data() != 0) {
      const int32_t count = pass_.SeekRecords(node);
      if (node.Text() == "SharedDlls" && _stricmp(key.Path().c_str(), kSharedDllsKeyPath) == 0) {
        sharedCounters_ = true;
        sharedFileAnswer_ = settings_.handleSharedDLLs;
      }
      for (int32_t i = 0; i < count; ++i) Value(key);
      registry_.CloseKey();
    }

    // The SharedDlls key itself is never deleted: other installations count on it.
    if (pass_.NodeKind(node) == kKindNew && pass_.Flag(kRestoreAdditions) && !pass_.Filtered() && !sharedCounters_) {
      const bool done = pass_.RunItem({"Delete Key", key.ParentPath(), node.Text(), "", ""}, [&] {
        RequireKey(key);
        if (pass_.Environment().ownPlaces.HoldsAnythingUnder(key.Path()))
          throw Exception("Key kept: it holds the settings of Quorvel itself.");
        registry_.SetRootKey(key.root);
        registry_.DeleteKey("\\" + key.subPath);
        if (registry_.GetKey("\\" + key.subPath))
          throw EMyRegistryException("The key could not be deleted. Check your user permissions.");
        return std::string(kStatusDone);
      });
      if (done && pass_.Executing()) pass_.MarkRestored(node);
    }

    sharedCounters_ = false;
    pass_.MarkVisited(node, unfinishedBefore);
  }

 private:
  // A known root, names that address exactly the key the log lists, and none of the program's
  // own settings.
  void RequireKey(const KeyLocation& key) const {
    if (!key.root) throw EMyRegistryException(FormatText("Unknown root key %s.", key.rootName));
    if (pass_.Environment().ownPlaces.HoldsKey(key.Path()))
      throw Exception("This is a setting of Quorvel itself; an undo never changes it.");
    RequireSpelledKeyPath(key.root, key.names);
  }

  // The node's key as the registry object's current key. Without create a missing key fails.
  bool Open(const KeyLocation& key, bool create) {
    RequireKey(key);
    registry_.SetRootKey(key.root);
    if (registry_.CurrentKey() && registry_.CurrentPath() == key.subPath) return true;
    if (registry_.OpenKey("\\" + key.subPath, create)) return true;
    if (create) throw EMyRegistryException(FormatText("Failed to create key %s", key.Path()));
    return false;
  }

  void Value(const KeyLocation& key) {
    TReader& reader = pass_.Reader();
    const RestorePass::Record record = pass_.ReadKind(reader.ReadString());
    const int code = reader.ReadInteger();
    std::string data;  // text, 4 integer bytes, or the raw bytes
    int32_t integer = 0;
    if (IsTextRegDataCode(code)) {
      data = reader.ReadString();
    } else if (code == kRdInteger) {
      integer = reader.ReadInteger();
      data = IntegerBytes(integer);
    } else {
      data = pass_.Block().ReadBytes();
    }

    const bool counter = sharedCounters_ && code == kRdInteger;
    if (counter) {
      switch (record.kind) {
        case kRecordNew:
          delta_ = -integer;
          break;
        case kRecordDeleted:
          delta_ = integer;
          break;
        case kRecordOldSide:
          oldCounter_ = integer;
          break;
        case kRecordNewSide:
          delta_ = oldCounter_ - integer;
          break;
      }
    }

    const char* operation = nullptr;
    if (!counter) {
      if (record.kind == kRecordNew && pass_.Flag(kRestoreAdditions)) operation = "Delete Value";
      if (record.kind == kRecordDeleted && pass_.Flag(kRestoreDeletions)) operation = "Restore Deleted Value";
      if (record.kind == kRecordOldSide && pass_.Flag(kRestoreModifications)) operation = "Changed, restore old value.";
    } else if ((record.kind == kRecordNew && pass_.Flag(kRestoreAdditions)) ||
               (record.kind == kRecordDeleted && pass_.Flag(kRestoreDeletions)) ||
               (record.kind == kRecordNewSide && pass_.Flag(kRestoreModifications))) {
      operation = delta_ >= 0 ? "Increment Counter" : "Decrement Counter";
    }

    RestorePass::Outcome outcome = RestorePass::Outcome::None;
    if (record.passes && operation) {
      ToDoItem item{operation, key.Path(), record.name.empty() ? settings_.defaultText : record.name,
                    counter ? RegistryValueText(kRdInteger, IntegerBytes(delta_), settings_.emptyText)
                            : RegistryValueText(code, data, settings_.emptyText),
                    ""};
      outcome = pass_.RunRecordItem(std::move(item), [&] {
        if (counter) return AdjustCounter(key, record.name);
        if (record.kind == kRecordNew) {
          DeleteValue(key, record.name);
        } else {
          Open(key, true);
          RequireSpelledValueName(registry_.CurrentKey(), record.name);
          WriteValue(record.name, code, data, integer);
        }
        return std::string(kStatusDone);
      });
    }
    pass_.RecordDone(record, outcome);
  }

  void DeleteValue(const KeyLocation& key, const std::string& name) {
    if (!Open(key, false)) throw Exception("Value not found.");
    RequireSpelledValueName(registry_.CurrentKey(), name);
    if (!registry_.ValueExists(name)) throw Exception("Value not found.");
    if (!registry_.DeleteValue(name) || registry_.ValueExists(name))
      throw Exception("Error deleting value. Check your user permissions.");
  }

  void WriteValue(const std::string& name, int code, const std::string& data, int32_t integer) {
    if (IsTextRegDataCode(code))
      registry_.WriteString(name, data, code);
    else if (code == kRdInteger)
      registry_.WriteInteger(name, integer);
    else
      registry_.PutData(name, data.data(), code, static_cast<DWORD>(data.size()));
  }

  // Takes the installation's difference back from the counter as it stands now. When the
  // adjustment cannot be finished the counter is put back as it was, so that the item can be
  // done again later without counting the difference twice.
  std::string AdjustCounter(const KeyLocation& key, const std::string& name) {
    Open(key, true);
    RequireSpelledValueName(registry_.CurrentKey(), name);
    const bool existed = registry_.ValueExists(name);
    const int32_t before = existed ? registry_.ReadInteger(name) : 0;
    const int32_t after = existed ? before + delta_ : delta_;
    registry_.WriteInteger(name, after);
    try {
      if (!registry_.ValueExists(name) || registry_.ReadInteger(name) != after)
        throw EMyRegistryException("The counter could not be changed. Check your user permissions.");
      std::string status = kStatusDone;
      if (after < 1) {
        if (DeleteFileAtZero(name)) {
          RequireUndoablePath(name);  // the counter's name is the file's path
          if (pass_.Environment().ownPlaces.HoldsFile(name))
            throw Exception("This is a file of Quorvel itself; an undo never deletes it.");
          DeleteFileWithBackup(name, pass_.Environment().deletion, settings_.Deletion(), pass_.Environment().ui);
        } else {
          status = "Shared file, not deleted.";
        }
        if (!registry_.DeleteValue(name) || registry_.ValueExists(name))
          throw EMyRegistryException("The counter could not be deleted. Check your user permissions.");
      }
      return status;
    } catch (...) {
      if (existed)
        registry_.WriteInteger(name, before);
      else
        registry_.DeleteValue(name);
      throw;
    }
  }

  bool DeleteFileAtZero(const std::string& path) {
    if (sharedFileAnswer_ == 1) return true;
    if (sharedFileAnswer_ == 2) return false;
    const SharedFileAnswer answer = pass_.Environment().sharedFilePrompt.Ask({SharedFileCase::CounterAtZero, path});
    if (answer.repeatForAll) sharedFileAnswer_ = answer.deleteFile ? 1 : 2;
    return answer.deleteFile;
  }

  RestorePass& pass_;
  const RestoreSettings& settings_;
  TMyRegistry registry_;
  bool sharedCounters_ = false;  // the records of the SharedDlls key are being processed
  int sharedFileAnswer_ = 0;     // 0 ask, 1 delete the file, 2 keep it
  int32_t oldCounter_ = 0;
  int32_t delta_ = 0;
};

}  // namespace

std::string RegistryValueText(int code, const std::string& data, const std::string& emptyText) {
  std::string text = FormatRegistryValue(code, data, emptyText);
  if (!IsTextRegDataCode(code) && code != kRdInteger && text.size() > kMostValueTextLength)
    text = text.substr(0, kMostValueTextLength) + "...";
  return text;
}

void RestoreRegistry(const RestoreRequest& request, RestoreEnvironment& environment) {
  if (!request.root) return;
  environment.deletion.backupFolder = BackupFolderForLog(environment.settings.backupDir, environment.logFileName);
  RestorePass pass(request, environment, LogSection::Registry);
  RegistryRestore(pass).Node(*request.root);
  pass.Finish();
}
