// The registry section: every checked root key walked whole, key by key, in sorted order.
//
// Under Wine every registry call is a round trip to the wineserver, so the walk makes as few as
// it can: each key is opened once (relative to its parent), sized with one RegQueryInfoKeyA, and
// each value's name, type and data come from one RegEnumValueA. The records are those a walk
// through TMyRegistry writes that lists the names first and then queries every value by name.

#include <algorithm>
#include <cstring>
#include <deque>
#include <string_view>

#include "capture/LocaleSort.h"
#include "capture/OwnPlaces.h"
#include "capture/SectionCaptures.h"
#include "core/CheckStates.h"
#include "core/Errors.h"
#include "datafiles/ConfigurationFile.h"
#include "datafiles/RecordKinds.h"
#include "datafiles/RegDataCode.h"
#include "platform/TMyRegistry.h"

namespace {

// Longest key or value name the platform allows, in bytes of an ANSI name, plus the zero.
constexpr DWORD kMaxNameBuffer = 2 * 16383 + 1;

template <typename T>
void Fit(std::vector<T>& buffer, size_t size) {
  if (buffer.size() < size) buffer.resize(size);
}

// What a value's payload is made of, by its code.
struct Payload {
  std::string_view text;           // codes 1 and 2
  int32_t integer = 0;             // code 3
  const uint8_t* bytes = nullptr;  // any other code
  DWORD size = 0;
};

[[noreturn]] void RaiseGetDataFailed(std::string_view name) {
  throw EMyRegistryException(FormatText("Failed to get data for '%s'", std::string(name)));
}

[[noreturn]] void RaiseInvalidDataType(std::string_view name) {
  throw EMyRegistryException(FormatText("Invalid data type for '%s'", std::string(name)));
}

// A string value is the text up to its first zero byte.
std::string_view TextUpToZero(const uint8_t* data, DWORD size) {
  if (size == 0) return {};
  const char* text = reinterpret_cast<const char*>(data);
  const void* zero = std::memchr(text, '\0', size);
  return std::string_view(text, zero ? static_cast<const char*>(zero) - text : size);
}

// A code-3 value is read into 4 bytes, little-endian; shorter data leaves the high bytes 0 and
// longer data does not fit.
int32_t IntegerOf(std::string_view name, const uint8_t* data, DWORD size) {
  if (size > 4) RaiseGetDataFailed(name);
  uint32_t value = 0;
  for (DWORD i = 0; i < size; ++i) value |= static_cast<uint32_t>(data[i]) << (8 * i);
  return static_cast<int32_t>(value);
}

class RegistryWalk {
 public:
  RegistryWalk(TWriter& writer, CaptureHost& host, HKEY root)
      : writer_(writer), host_(host), silentReadFailures_(root == HKEY_DYN_DATA) {
    if (!host.ownPlaces) return;
    // The own keys below this root, as paths below it: the walk compares them with its own path.
    const std::string rootPrefix = RootKeyName(root) + "\\";
    for (const std::string& own : host.ownPlaces->Keys())
      if (own.size() > rootPrefix.size() &&
          SamePathText(std::string_view(own).substr(0, rootPrefix.size()), rootPrefix))
        ownKeys_.push_back(own.substr(rootPrefix.size()));
  }

  void WriteKeyRecord(HKEY root, const std::string& path) {
    path_ = path;
    WriteKey(root, path.c_str());
  }

 private:
  // The subkey names of the key being written at one depth, each zero-terminated. A walk keeps
  // one per depth and reuses it for the next key there, so a key costs no allocation once the
  // buffers are large enough.
  struct KeyLevel {
    std::string names;
    std::vector<std::pair<uint32_t, uint32_t>> spans;  // offset and length of each name
    std::vector<uint32_t> order;

    std::string_view Name(size_t i) const { return std::string_view(names.data() + spans[i].first, spans[i].second); }
  };

  // One value of the key being written. Name and data lie in the walk's value buffers.
  struct ValueEntry {
    uint32_t nameOffset;
    uint32_t nameLength;
    uint32_t dataOffset;
    uint32_t dataLength;
    DWORD type;
    // The enumeration cannot stand for a query by this name: it is queried when written.
    bool queryByName;
  };

  void WriteKey(HKEY parent, const char* subPath);
  void DropOwnSubkeys(KeyLevel& level);
  void ReadSubkeyNames(HKEY key, DWORD count, DWORD longest, KeyLevel& level);
  void ReadValues(HKEY key, DWORD count, DWORD longestName, DWORD longestData);
  std::string_view NameOf(const ValueEntry& entry) const {
    return std::string_view(valueNames_.data() + entry.nameOffset, entry.nameLength);
  }
  void WriteValue(HKEY key, const ValueEntry& entry);
  void WriteQueriedValue(HKEY key, std::string_view name);
  void WriteUnknownType(std::string_view name);
  template <typename Read>
  void WriteCodedValue(std::string_view name, int code, Read read);

  TWriter& writer_;
  CaptureHost& host_;
  bool silentReadFailures_;  // HKEY_DYN_DATA: its values come and go while it is read
  size_t depth_ = 0;
  std::deque<KeyLevel> levels_;       // by depth; a deque keeps them in place while it grows
  std::string path_;                  // of the key being written, below the root
  std::vector<std::string> ownKeys_;  // below the root; left out with everything below them
  LocaleSorter sorter_;
  std::vector<char> nameBuffer_;
  RegValueReader valueReader_;
  std::vector<uint8_t> queryBuffer_;
  // The values of one key at a time: a key's values are read after all its subkeys are written.
  std::vector<ValueEntry> values_;
  std::string valueNames_;
  std::vector<uint8_t> valueData_;
};

void RegistryWalk::WriteKey(HKEY parent, const char* subPath) {
  if (levels_.size() <= depth_) levels_.emplace_back();
  KeyLevel& level = levels_[depth_++];
  // A key that cannot be opened has no subkeys and no values.
  UniqueHKey key;
  HKEY opened = nullptr;
  if (RegOpenKeyExA(parent, subPath, 0, KEY_READ | kNativeView, &opened) == ERROR_SUCCESS) key.Reset(opened);
  DWORD subkeyCount = 0, longestSubkey = 0, valueCount = 0, longestValueName = 0, longestData = 0;
  if (key && RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, &subkeyCount, &longestSubkey, nullptr, &valueCount,
                              &longestValueName, &longestData, nullptr, nullptr) != ERROR_SUCCESS)
    subkeyCount = valueCount = 0;

  ReadSubkeyNames(key.Get(), subkeyCount, longestSubkey, level);
  if (!ownKeys_.empty()) DropOwnSubkeys(level);
  level.order = sorter_.Order(level.spans.size(), [&](size_t i) { return level.Name(i); });
  writer_.WriteInteger(static_cast<int32_t>(level.order.size()));
  if (depth_ == 1) {
    host_.progress.max = static_cast<int>(level.order.size());
    host_.ShowProgress();
  }
  for (size_t i = 0; i < level.order.size(); ++i) {
    if (depth_ == 1) {
      host_.progress.position = static_cast<int>(i);
      host_.ShowProgress();
    }
    std::string_view name = level.Name(level.order[i]);
    writer_.WriteString(name);
    size_t pathLength = path_.size();
    if (!path_.empty()) path_ += '\\';
    path_ += name;
    WriteKey(key.Get(), name.data());
    path_.resize(pathLength);
  }

  ReadValues(key.Get(), valueCount, longestValueName, longestData);
  writer_.WriteInteger(static_cast<int32_t>(values_.size()));
  const std::vector<uint32_t>& order = sorter_.Order(values_.size(), [this](size_t i) { return NameOf(values_[i]); });
  for (uint32_t i : order) WriteValue(key.Get(), values_[i]);
  --depth_;
}

// A handful of own keys at most: each is compared with the path once per key, and with the
// subkey names only where the path leads to it.
void RegistryWalk::DropOwnSubkeys(KeyLevel& level) {
  for (const std::string& own : ownKeys_) {
    const size_t start = path_.empty() ? 0 : path_.size() + 1;
    if (own.size() <= start ||
        (!path_.empty() &&
         (own[path_.size()] != '\\' || !SamePathText(std::string_view(own).substr(0, path_.size()), path_))))
      continue;
    std::string_view name = std::string_view(own).substr(start);
    if (name.find('\\') != std::string_view::npos) continue;
    for (size_t i = 0; i < level.spans.size(); ++i) {
      if (!SamePathText(level.Name(i), name)) continue;
      level.spans.erase(level.spans.begin() + static_cast<std::ptrdiff_t>(i));
      break;
    }
  }
}

// Names that cannot be enumerated, and empty ones, are left out.
void RegistryWalk::ReadSubkeyNames(HKEY key, DWORD count, DWORD longest, KeyLevel& level) {
  level.names.clear();
  level.spans.clear();
  if (count == 0) return;
  Fit(nameBuffer_, std::min(longest + 1, kMaxNameBuffer));
  for (DWORD i = 0; i < count; ++i) {
    DWORD length = static_cast<DWORD>(nameBuffer_.size());
    LONG rc = RegEnumKeyExA(key, i, nameBuffer_.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_MORE_DATA && nameBuffer_.size() < kMaxNameBuffer) {
      nameBuffer_.resize(kMaxNameBuffer);
      length = kMaxNameBuffer;
      rc = RegEnumKeyExA(key, i, nameBuffer_.data(), &length, nullptr, nullptr, nullptr, nullptr);
    }
    if (rc != ERROR_SUCCESS || length == 0) continue;
    level.spans.emplace_back(static_cast<uint32_t>(level.names.size()), length);
    level.names.append(nameBuffer_.data(), length);
    level.names += '\0';
  }
}

// Each value's name, type and data from one enumeration; a name with "?" or a value whose data
// cannot be read along with its name is queried by name when it is written.
void RegistryWalk::ReadValues(HKEY key, DWORD count, DWORD longestName, DWORD longestData) {
  values_.clear();
  valueNames_.clear();
  valueData_.clear();
  if (count == 0) return;
  valueReader_.Prepare(longestName, longestData);
  for (DWORD i = 0; i < count; ++i) {
    const LONG rc = valueReader_.Read(key, i);
    if (rc == ERROR_NO_MORE_ITEMS) break;                                 // values went away meanwhile
    if (rc != ERROR_SUCCESS && !valueReader_.ReadName(key, i)) continue;  // a value without name is not listed
    const std::string_view name = valueReader_.Name();
    ValueEntry entry{};
    entry.nameOffset = static_cast<uint32_t>(valueNames_.size());
    entry.nameLength = static_cast<uint32_t>(name.size());
    entry.dataOffset = static_cast<uint32_t>(valueData_.size());
    entry.type = valueReader_.Type();
    entry.queryByName = true;
    valueNames_.append(name);
    // An ANSI name with "?" may stand for characters the code page lacks; a query by that name
    // then fails or finds another value, as it does for a walk that queries by name.
    if (rc == ERROR_SUCCESS && name.find('?') == std::string_view::npos) {
      entry.queryByName = false;
      entry.dataLength = valueReader_.DataSize();
      valueData_.insert(valueData_.end(), valueReader_.Data(), valueReader_.Data() + valueReader_.DataSize());
    }
    values_.push_back(entry);
  }
}

void RegistryWalk::WriteValue(HKEY key, const ValueEntry& entry) {
  std::string_view name = NameOf(entry);
  writer_.WriteString(name);
  writer_.WriteInteger(kRecordCaptured);
  if (entry.queryByName) {
    WriteQueriedValue(key, name);
    return;
  }
  if (entry.type > static_cast<DWORD>(kRdHighest)) {
    WriteUnknownType(name);
    return;
  }
  const uint8_t* data = valueData_.data() + entry.dataOffset;
  DWORD size = entry.dataLength;
  int code = PlatformToRegDataCode(entry.type);
  WriteCodedValue(name, code, [&](Payload& payload) {
    if (code == kRdString || code == kRdExpandString)
      payload.text = TextUpToZero(data, size);
    else if (code == kRdInteger)
      payload.integer = IntegerOf(name, data, size);
    else
      payload.bytes = data, payload.size = size;
  });
}

// Reads the value by its name the way TMyRegistry does: its type and size, then its data.
void RegistryWalk::WriteQueriedValue(HKEY key, std::string_view nameView) {
  const std::string name(nameView);
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      type > static_cast<DWORD>(kRdHighest)) {
    WriteUnknownType(name);
    return;
  }
  int code = PlatformToRegDataCode(type);
  WriteCodedValue(name, code, [&](Payload& payload) {
    DWORD readType = 0;
    if (code == kRdInteger) {
      uint32_t value = 0;
      DWORD read = sizeof value;
      if (RegQueryValueExA(key, name.c_str(), nullptr, &readType, reinterpret_cast<BYTE*>(&value), &read) !=
          ERROR_SUCCESS)
        RaiseGetDataFailed(name);
      if (PlatformToRegDataCode(readType) != kRdInteger) RaiseInvalidDataType(name);
      payload.integer = static_cast<int32_t>(value);
      return;
    }
    if ((code == kRdString || code == kRdExpandString) && size < 1) return;
    Fit(queryBuffer_, size);
    DWORD read = size;
    if (code == kRdString || code == kRdExpandString) {
      if (RegQueryValueExA(key, name.c_str(), nullptr, &readType, queryBuffer_.data(), &read) != ERROR_SUCCESS)
        RaiseGetDataFailed(name);
      int readCode = PlatformToRegDataCode(readType);
      if (readCode != kRdString && readCode != kRdExpandString) RaiseInvalidDataType(name);
      payload.text = TextUpToZero(queryBuffer_.data(), read);
      return;
    }
    // Raw data is sized again and read into the buffer; a value that changed meanwhile does
    // not match the size the record was started with.
    DWORD count = 0;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &readType, nullptr, &count) != ERROR_SUCCESS ||
        readType > static_cast<DWORD>(kRdHighest)) {
      count = 0;
    } else {
      if (count > queryBuffer_.size()) RaiseInvalidDataType(name);
      read = count;
      if (RegQueryValueExA(key, name.c_str(), nullptr, &readType, queryBuffer_.data(), &read) != ERROR_SUCCESS)
        RaiseGetDataFailed(name);
      PlatformToRegDataCode(readType);
    }
    if (count != size) throw Exception(FormatText("ERROR reading registry\r%s", path_));
    payload.bytes = queryBuffer_.data();
    payload.size = size;
  });
}

// A value whose type has no code is recorded as an empty string.
void RegistryWalk::WriteUnknownType(std::string_view name) {
  writer_.WriteInteger(kRdString);
  writer_.WriteString("");
  if (!name.empty())
    host_.ShowError("ERROR accessing registry key:\r" + path_ + ">" + std::string(name) + "<" +
                    std::to_string(name.size()) + "\rUnable to determine data type!");
}

// The code and its payload; a read that fails gives a substitute payload, so the record stays
// complete and the walk goes on.
template <typename Read>
void RegistryWalk::WriteCodedValue(std::string_view name, int code, Read read) {
  writer_.WriteInteger(code);
  Payload payload;
  std::string failure;
  bool failed = false;
  try {
    read(payload);
  } catch (const std::exception& e) {
    payload = Payload{};
    failure = e.what();
    failed = true;
  }
  if (code == kRdString || code == kRdExpandString) {
    writer_.WriteString(payload.text);
  } else if (code == kRdInteger) {
    writer_.WriteInteger(payload.integer);
  } else {
    writer_.WriteInteger(static_cast<int32_t>(payload.size));
    writer_.Write(payload.bytes, payload.size);
  }
  if (failed && !silentReadFailures_)
    host_.ShowError(failure + "\rInvalid value in:" + path_ + ", Value:" + std::string(name) +
                    "\rUnable to read value. Corrupt registry!");
}

}  // namespace

void WriteRegistryKeyRecord(TWriter& writer, CaptureHost& host, HKEY root, const std::string& path) {
  RegistryWalk walk(writer, host, root);
  walk.WriteKeyRecord(root, path);
}

void CaptureRegistrySection(TWriter& writer, TreeModel& registryTree, CaptureHost& host) {
  // The roots are written in alphabetical order whatever order the tree shows; the tree itself
  // is left in its order, so nothing here changes it from this thread.
  std::vector<TopChild> roots = ReadTopChildren(registryTree, host);
  LocaleSorter sorter;
  SortByLocale(roots, sorter, [](const TopChild& root) -> std::string_view { return root.text; });

  writer.WriteListBegin();
  for (const TopChild& root : roots) {
    if (root.stateIndex == kStateUnchecked) continue;
    host.progress.max = 0;
    host.progress.position = 0;
    host.progress.status = " Registry:" + root.text;
    host.ShowProgress();
    int index = RootKeyIndex(root.text);
    if (index < 0) throw Exception(FormatText("%s is not a root key of the registry.", root.text));
    writer.WriteString(root.text);
    WriteRegistryKeyRecord(writer, host, RootKeyHandle(index), "");
  }
  writer.WriteListEnd();
  writer.FlushBuffer();

  // A capture leaves the tree collapsed with only its top node open.
  host.OnMainThread([&] {
    registryTree.ForEach([&](TreeNode& node) { registryTree.Collapse(&node); });
    if (TreeNode* top = registryTree.FirstTop()) registryTree.Expand(top);
  });

  host.progress.status = " Status";
  host.progress.position = 0;
  host.ShowProgress();
}
