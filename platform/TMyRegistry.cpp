#include "platform/TMyRegistry.h"

#include <algorithm>

namespace {

// Longest key or value name the platform allows, in bytes of an ANSI name (a DBCS character
// takes two), plus the terminating zero.
constexpr DWORD kMaxNameBuffer = 2 * 16383 + 1;
// Growing buffers on ERROR_MORE_DATA ends here even if a value keeps growing meanwhile.
constexpr int kMaxReadAttempts = 8;

template <typename T>
void Fit(std::vector<T>& buffer, size_t size) {
  if (buffer.size() < size) buffer.resize(size);
}

[[noreturn]] void RaiseFormatted(const char* pattern, const std::string& arg) {
  throw EMyRegistryException(FormatText(pattern, arg));
}

bool AsciiEqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (x >= 'a' && x <= 'z') x -= 'a' - 'A';
    if (y >= 'a' && y <= 'z') y -= 'a' - 'A';
    if (x != y) return false;
  }
  return true;
}

// Enumerates names through fn(index, buffer, length), growing the buffer when the platform's
// longest-name count was short (it counts characters, an ANSI name may need more bytes).
template <typename EnumFn>
void EnumNames(DWORD count, DWORD longest, std::vector<std::string>& names, EnumFn fn) {
  names.clear();
  std::vector<char> buffer(std::min(longest + 1, kMaxNameBuffer));
  for (DWORD i = 0; i < count; ++i) {
    DWORD length = static_cast<DWORD>(buffer.size());
    LONG rc = fn(i, buffer.data(), &length);
    if (rc == ERROR_MORE_DATA && buffer.size() < kMaxNameBuffer) {
      buffer.resize(kMaxNameBuffer);
      length = static_cast<DWORD>(buffer.size());
      rc = fn(i, buffer.data(), &length);
    }
    if (rc == ERROR_SUCCESS) names.emplace_back(buffer.data(), length);
  }
}

// Deletes path below parent after its subkeys, from the last index down, so that a deletion
// does not shift the indexes still to be visited.
bool DeleteKeyTree(HKEY parent, const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(parent, path.c_str(), 0, KEY_READ | kNativeView, &key) == ERROR_SUCCESS) {
    UniqueHKey owner(key);
    DWORD count = 0;
    DWORD longest = 0;
    if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &count, &longest, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr) == ERROR_SUCCESS) {
      std::vector<char> buffer(std::min(longest + 1, kMaxNameBuffer));
      for (DWORD i = count; i-- > 0;) {
        DWORD length = static_cast<DWORD>(buffer.size());
        LONG rc = RegEnumKeyExA(key, i, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_MORE_DATA) {
          buffer.resize(kMaxNameBuffer);
          length = static_cast<DWORD>(buffer.size());
          rc = RegEnumKeyExA(key, i, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
        }
        if (rc == ERROR_SUCCESS) DeleteKeyTree(key, std::string(buffer.data(), length));
      }
    }
  }
  return RegDeleteKeyExA(parent, path.c_str(), kNativeView, 0) == ERROR_SUCCESS;
}

}  // namespace

const char* const kRootKeyNames[kRootKeyCount] = {
    "HKEY_CLASSES_ROOT",     "HKEY_CURRENT_USER",   "HKEY_LOCAL_MACHINE", "HKEY_USERS",
    "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA",
};

bool RegAccessMask(int regAccess, REGSAM& mask) {
  switch (regAccess) {
    case kRegAccessDefault:
    case kRegAccessRead:
      mask = KEY_READ | kNativeView;
      return true;
    case kRegAccessReadWrite:
      mask = KEY_READ | KEY_WRITE | kNativeView;
      return true;
    case kRegAccessFull:
      mask = KEY_ALL_ACCESS | kNativeView;
      return true;
    default:
      return false;
  }
}

int RootKeyIndex(std::string_view name) {
  for (int i = 0; i < kRootKeyCount; ++i)
    if (AsciiEqualNoCase(name, kRootKeyNames[i])) return i;
  return -1;
}

// The HKEY_ constants, not 0x80000000+i cast to a handle: on 64-bit the predefined handles
// are sign-extended.
HKEY RootKeyHandle(int index) {
  switch (index) {
    case 0:
      return HKEY_CLASSES_ROOT;
    case 1:
      return HKEY_CURRENT_USER;
    case 2:
      return HKEY_LOCAL_MACHINE;
    case 3:
      return HKEY_USERS;
    case 4:
      return HKEY_PERFORMANCE_DATA;
    case 5:
      return HKEY_CURRENT_CONFIG;
    case 6:
      return HKEY_DYN_DATA;
    default:
      return nullptr;
  }
}

std::string RootKeyName(HKEY root) {
  for (int i = 0; i < kRootKeyCount; ++i)
    if (RootKeyHandle(i) == root) return kRootKeyNames[i];
  return {};
}

void RegValueReader::Prepare(DWORD longestName, DWORD longestData) {
  Fit(name_, std::min(longestName + 1, kMaxNameBuffer));
  Fit(data_, std::max<size_t>(longestData, 1));
}

LONG RegValueReader::Read(HKEY key, DWORD index) {
  Fit(name_, 1);
  Fit(data_, 1);
  LONG rc = ERROR_MORE_DATA;
  for (int attempt = 0; rc == ERROR_MORE_DATA && attempt < kMaxReadAttempts; ++attempt) {
    nameLength_ = static_cast<DWORD>(name_.size());
    dataLength_ = static_cast<DWORD>(data_.size());
    rc = RegEnumValueA(key, index, name_.data(), &nameLength_, nullptr, &type_, data_.data(), &dataLength_);
    if (rc != ERROR_MORE_DATA) break;
    // The data count says what the data needs; a name that did not fit says nothing.
    if (dataLength_ > data_.size())
      data_.resize(dataLength_);
    else if (name_.size() < kMaxNameBuffer)
      name_.resize(kMaxNameBuffer);
    else
      data_.resize(2 * data_.size());
  }
  if (rc != ERROR_SUCCESS) nameLength_ = dataLength_ = 0;
  return rc;
}

bool RegValueReader::ReadName(HKEY key, DWORD index) {
  Fit(name_, 1);
  nameLength_ = static_cast<DWORD>(name_.size());
  LONG rc = RegEnumValueA(key, index, name_.data(), &nameLength_, nullptr, nullptr, nullptr, nullptr);
  if (rc == ERROR_MORE_DATA && name_.size() < kMaxNameBuffer) {
    name_.resize(kMaxNameBuffer);
    nameLength_ = kMaxNameBuffer;
    rc = RegEnumValueA(key, index, name_.data(), &nameLength_, nullptr, nullptr, nullptr, nullptr);
  }
  dataLength_ = 0;
  if (rc != ERROR_SUCCESS) nameLength_ = 0;
  return rc == ERROR_SUCCESS;
}

TMyRegistry::TMyRegistry(HKEY root, int regAccess) : rootKey_(root), regAccess_(regAccess) {}

TMyRegistry::~TMyRegistry() {
  CloseKey();
  if (ownsRootKey_ && rootKey_) RegCloseKey(rootKey_);
}

void TMyRegistry::SetRootKey(HKEY root) {
  if (root == rootKey_) return;
  if (ownsRootKey_) {
    if (rootKey_) RegCloseKey(rootKey_);
    ownsRootKey_ = false;
  }
  rootKey_ = root;
  CloseKey();
}

HKEY TMyRegistry::BaseKey(const std::string& path, std::string& subPath, bool* fromCurrent) const {
  bool relative = (path.empty() || path[0] != '\\') && currentKey_ != nullptr;
  if (fromCurrent) *fromCurrent = relative;
  subPath = !path.empty() && path[0] == '\\' ? path.substr(1) : path;
  return relative ? currentKey_ : rootKey_;
}

bool TMyRegistry::OpenKey(const std::string& path, bool canCreate) {
  REGSAM mask = 0;
  if (!RegAccessMask(regAccess_, mask)) throw Exception("unknown Accesstype");
  std::string subPath;
  bool relativeToCurrent = false;
  HKEY base = BaseKey(path, subPath, &relativeToCurrent);
  HKEY key = nullptr;
  LONG rc;
  if (!canCreate || subPath.empty())
    rc = RegOpenKeyExA(base, subPath.c_str(), 0, mask, &key);
  else
    rc = RegCreateKeyExA(base, subPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, mask, nullptr, &key, nullptr);
  if (rc != ERROR_SUCCESS) return false;

  std::string newPath = subPath;
  if (relativeToCurrent && !currentPath_.empty())
    newPath = subPath.empty() ? currentPath_ : currentPath_ + "\\" + subPath;
  CloseKey();
  currentKey_ = key;
  currentKeyAccess_ = regAccess_;
  currentPath_ = std::move(newPath);
  return true;
}

bool TMyRegistry::CreateKey(const std::string& path) {
  REGSAM mask = 0;
  if (!RegAccessMask(regAccess_, mask)) throw EMyRegistryException("TMyRegistry.CreateKey: unknown Accesstype");
  std::string subPath;
  HKEY base = BaseKey(path, subPath);
  HKEY key = nullptr;
  if (RegCreateKeyExA(base, subPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, mask, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    RaiseFormatted("Failed to create key %s", path);
  RegCloseKey(key);
  return true;
}

// An empty path names no key: without this guard it would empty the whole current key, or a
// whole root when none is open.
bool TMyRegistry::DeleteKey(const std::string& path) {
  std::string subPath;
  HKEY base = BaseKey(path, subPath);
  if (subPath.empty()) return false;
  return DeleteKeyTree(base, subPath);
}

bool TMyRegistry::DeleteValue(const std::string& name) {
  return RegDeleteValueA(currentKey_, name.c_str()) == ERROR_SUCCESS;
}

// With CloseOnRelease off the key's changes are forced to disk first; the handle is closed
// either way, since nothing else owns it.
void TMyRegistry::CloseKey() {
  if (!currentKey_) return;
  if (!closeOnRelease_) RegFlushKey(currentKey_);
  RegCloseKey(currentKey_);
  currentKey_ = nullptr;
  currentPath_.clear();
  currentKeyAccess_ = kRegAccessDefault;
}

UniqueHKey TMyRegistry::GetKey(const std::string& path) const {
  REGSAM mask = 0;
  if (!RegAccessMask(regAccess_, mask)) throw EMyRegistryException("TMyRegistry.GetKey: unknown Accesstype");
  std::string subPath;
  HKEY base = BaseKey(path, subPath);
  HKEY key = nullptr;
  if (RegOpenKeyExA(base, subPath.c_str(), 0, mask, &key) != ERROR_SUCCESS) return UniqueHKey();
  return UniqueHKey(key);
}

bool TMyRegistry::GetKeyInfo(TRegKeyInfo& info) const {
  info = TRegKeyInfo{};
  return RegQueryInfoKeyA(currentKey_, nullptr, nullptr, nullptr, &info.numSubKeys, &info.maxSubKeyLen, nullptr,
                          &info.numValues, &info.maxValueLen, &info.maxDataLen, nullptr,
                          &info.fileTime) == ERROR_SUCCESS;
}

bool TMyRegistry::HasSubKeys() const {
  TRegKeyInfo info;
  return GetKeyInfo(info) && info.numSubKeys > 0;
}

void TMyRegistry::GetKeyNames(std::vector<std::string>& names) const {
  names.clear();
  TRegKeyInfo info;
  if (!GetKeyInfo(info)) return;
  HKEY key = currentKey_;
  EnumNames(info.numSubKeys, info.maxSubKeyLen, names, [key](DWORD i, char* buffer, DWORD* length) {
    return RegEnumKeyExA(key, i, buffer, length, nullptr, nullptr, nullptr, nullptr);
  });
}

void TMyRegistry::GetValueNames(std::vector<std::string>& names) const {
  names.clear();
  TRegKeyInfo info;
  if (!GetKeyInfo(info)) return;
  HKEY key = currentKey_;
  EnumNames(info.numValues, info.maxValueLen, names, [key](DWORD i, char* buffer, DWORD* length) {
    return RegEnumValueA(key, i, buffer, length, nullptr, nullptr, nullptr, nullptr);
  });
}

void TMyRegistry::GetValues(std::vector<TRegValue>& values) const {
  values.clear();
  TRegKeyInfo info;
  if (!GetKeyInfo(info)) return;
  RegValueReader reader;
  reader.Prepare(info.maxValueLen, info.maxDataLen);
  for (DWORD i = 0; i < info.numValues; ++i) {
    const LONG rc = reader.Read(currentKey_, i);
    if (rc == ERROR_NO_MORE_ITEMS) break;
    if (rc != ERROR_SUCCESS) continue;
    values.push_back({std::string(reader.Name()), reader.Type(),
                      std::string(reinterpret_cast<const char*>(reader.Data()), reader.DataSize())});
  }
}

bool TMyRegistry::GetDataInfo(const std::string& name, TRegDataInfo& info) const {
  info = TRegDataInfo{};
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(currentKey_, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
  info.dataSize = size;
  if (type > static_cast<DWORD>(kRdHighest)) return false;
  info.regData = PlatformToRegDataCode(type);
  return true;
}

int TMyRegistry::GetDataSize(const std::string& name) const {
  TRegDataInfo info;
  return GetDataInfo(name, info) ? static_cast<int>(info.dataSize) : -1;
}

int TMyRegistry::GetDataType(const std::string& name) const {
  TRegDataInfo info;
  return GetDataInfo(name, info) ? info.regData : kRdNone;
}

bool TMyRegistry::ValueExists(const std::string& name) const {
  TRegDataInfo info;
  return GetDataInfo(name, info);
}

int TMyRegistry::GetData(const std::string& name, void* buffer, DWORD size, int& code) const {
  DWORD type = 0;
  if (RegQueryValueExA(currentKey_, name.c_str(), nullptr, &type, static_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS)
    RaiseFormatted("Failed to get data for '%s'", name);
  code = PlatformToRegDataCode(type);
  return static_cast<int>(size);
}

void TMyRegistry::PutData(const std::string& name, const void* buffer, int code, DWORD size) {
  if (currentKeyAccess_ != kRegAccessReadWrite && currentKeyAccess_ != kRegAccessFull)
    throw EMyRegistryException(
        "TMyRegistry.PutData: You need WriteAccess to write Data, please use property REGACCESS "
        "before OPENKEY");
  DWORD type = RegDataCodeToPlatform(code);
  if (RegSetValueExA(currentKey_, name.c_str(), 0, type, static_cast<const BYTE*>(buffer), size) != ERROR_SUCCESS)
    RaiseFormatted("Failed to set data for '%s'", name);
}

std::string TMyRegistry::ReadString(const std::string& name, bool expand) const {
  int size = GetDataSize(name);
  if (size < 1) return {};
  std::string data(static_cast<size_t>(size), '\0');
  int code = kRdNone;
  int length = GetData(name, data.data(), static_cast<DWORD>(size), code);
  if (code != kRdString && code != kRdExpandString) RaiseFormatted("Invalid data type for '%s'", name);
  data.resize(static_cast<size_t>(length));
  data.resize(std::min(data.size(), data.find('\0')));
  if (code == kRdExpandString && expand) {
    DWORD needed = ExpandEnvironmentStringsA(data.c_str(), nullptr, 0);
    if (needed > 0) {
      std::string expanded(needed, '\0');
      DWORD written = ExpandEnvironmentStringsA(data.c_str(), expanded.data(), needed);
      if (written > 0 && written <= needed) {
        expanded.resize(std::min<size_t>(written - 1, expanded.find('\0')));
        return expanded;
      }
    }
  }
  return data;
}

void TMyRegistry::WriteString(const std::string& name, const std::string& text, int code) {
  if (code != kRdString && code != kRdExpandString)
    throw EMyRegistryException("MyRegistry.WriteString: RegDataType must be rdString or rdExpandString");
  PutData(name, text.c_str(), code, static_cast<DWORD>(text.size() + 1));
}

int32_t TMyRegistry::ReadInteger(const std::string& name) const {
  int32_t value = 0;
  int code = kRdNone;
  GetData(name, &value, sizeof value, code);
  if (code != kRdInteger) RaiseFormatted("Invalid data type for '%s'", name);
  return value;
}

void TMyRegistry::WriteInteger(const std::string& name, int32_t value) {
  PutData(name, &value, kRdInteger, sizeof value);
}

int TMyRegistry::ReadBinaryData(const std::string& name, void* buffer, DWORD bufferSize) const {
  TRegDataInfo info;
  if (!GetDataInfo(name, info)) return 0;
  if (info.dataSize > bufferSize) RaiseFormatted("Invalid data type for '%s'", name);
  int code = kRdNone;
  GetData(name, buffer, info.dataSize, code);
  return static_cast<int>(info.dataSize);
}
