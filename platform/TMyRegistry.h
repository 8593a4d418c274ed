#pragma once
// The one way into the registry: a root key, one open current key, and value access that
// speaks the registry data type code (datafiles/RegDataCode.h) instead of REG_ numbers. Every
// misuse and platform failure raises EMyRegistryException with a fixed text; a key that
// cannot be opened is not an error (OpenKey and GetKey report it in their result).
//
// Walks that need speed can take CurrentKey() and enumerate with one platform call per value
// (RegValueReader); a child level can be a second object whose root is the parent's current key.

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "datafiles/RegDataCode.h"
#include "platform/Handle.h"

// RegAccess codes; each selects the access mask of every later open or create.
// Every key is opened in the machine's native view: a 32-bit Quorvel on 64-bit Windows then
// records and changes HKEY_LOCAL_MACHINE\Software (with its Wow6432Node as the ordinary subkey it
// is) exactly as the 64-bit one does, instead of the 32-bit copy the system would show it.
// 32-bit Windows and 64-bit processes ignore the flag.
constexpr REGSAM kNativeView = KEY_WOW64_64KEY;

constexpr int kRegAccessDefault = 0;    // KEY_READ
constexpr int kRegAccessReadWrite = 1;  // KEY_READ | KEY_WRITE
constexpr int kRegAccessRead = 2;       // KEY_READ
constexpr int kRegAccessFull = 3;       // KEY_ALL_ACCESS

// False for a code outside 0..3.
bool RegAccessMask(int regAccess, REGSAM& mask);

// The seven root names in table order; index i belongs to the predefined handle 0x80000000+i.
constexpr int kRootKeyCount = 7;
extern const char* const kRootKeyNames[kRootKeyCount];

// Index of a root name compared ignoring case, -1 when none matches.
int RootKeyIndex(std::string_view name);
// The predefined handle of a table index, nullptr outside the table.
HKEY RootKeyHandle(int index);
// The name of a predefined handle, empty when it is none of the seven.
std::string RootKeyName(HKEY root);

struct TRegKeyInfo {
  DWORD numSubKeys = 0;
  DWORD maxSubKeyLen = 0;
  DWORD numValues = 0;
  DWORD maxValueLen = 0;
  DWORD maxDataLen = 0;
  FILETIME fileTime{};
};

// One value as an enumeration reads it.
struct TRegValue {
  std::string name;
  DWORD type = 0;  // the platform's REG_ number
  std::string data;
};

// The one reader of values by index: name, platform type and data come from one platform call
// each (under Wine every call is a round trip to the server). Its buffers grow to the largest
// value met and stay for the next key, so a walk allocates only for a value larger than any before.
class RegValueReader {
 public:
  // Sizes the buffers for the longest name and data of a key (RegQueryInfoKeyA's counts).
  void Prepare(DWORD longestName, DWORD longestData);
  // ERROR_SUCCESS when Name(), Type() and Data() hold value index; ERROR_NO_MORE_ITEMS when the
  // key has no such value (any more); another code when the value cannot be read with its data,
  // also after buffers grown a few times for data that keeps growing.
  LONG Read(HKEY key, DWORD index);
  // The name of value index alone into Name(), for a value Read failed on; false when even the
  // name cannot be enumerated.
  bool ReadName(HKEY key, DWORD index);

  std::string_view Name() const { return std::string_view(name_.data(), nameLength_); }
  DWORD Type() const { return type_; }
  const uint8_t* Data() const { return data_.data(); }
  DWORD DataSize() const { return dataLength_; }

 private:
  std::vector<char> name_;
  std::vector<uint8_t> data_;
  DWORD nameLength_ = 0;
  DWORD dataLength_ = 0;
  DWORD type_ = 0;
};

struct TRegDataInfo {
  int regData = kRdNone;  // registry data type code
  DWORD dataSize = 0;     // bytes
};

class TMyRegistry {
 public:
  // Root HKEY_CURRENT_USER, keys closed on release, read access.
  TMyRegistry() = default;
  explicit TMyRegistry(HKEY root, int regAccess = kRegAccessDefault);
  TMyRegistry(const TMyRegistry&) = delete;
  TMyRegistry& operator=(const TMyRegistry&) = delete;
  virtual ~TMyRegistry();

  HKEY CurrentKey() const { return currentKey_; }
  HKEY RootKey() const { return rootKey_; }
  // A different root closes the old one when owned (and the object then owns the new one
  // only if told again), and closes the current key.
  void SetRootKey(HKEY root);
  bool OwnsRootKey() const { return ownsRootKey_; }
  void SetOwnsRootKey(bool owns) { ownsRootKey_ = owns; }
  bool CloseOnRelease() const { return closeOnRelease_; }
  void SetCloseOnRelease(bool close) { closeOnRelease_ = close; }
  // Path of the current key below the root, without leading backslash.
  const std::string& CurrentPath() const { return currentPath_; }
  int RegAccess() const { return regAccess_; }
  void SetRegAccess(int regAccess) { regAccess_ = regAccess; }

  // A path with a leading backslash starts at the root, any other at the current key (or the
  // root when none is open). False, and nothing changed, when the key cannot be opened.
  bool OpenKey(const std::string& path, bool canCreate);
  bool CreateKey(const std::string& path);
  // Deletes the key with its whole subtree.
  bool DeleteKey(const std::string& path);
  bool DeleteValue(const std::string& name);
  void CloseKey();
  // An open handle to path (resolved as in OpenKey) with the RegAccess mask, empty on failure;
  // the current key stays as it is.
  UniqueHKey GetKey(const std::string& path) const;

  bool GetKeyInfo(TRegKeyInfo& info) const;
  bool HasSubKeys() const;
  void GetKeyNames(std::vector<std::string>& names) const;
  // The unnamed default value is listed as the empty name.
  void GetValueNames(std::vector<std::string>& names) const;
  // Every value of the current key with its data, in the platform's order; a value that cannot be
  // read is left out.
  void GetValues(std::vector<TRegValue>& values) const;

  // False when the value is missing or its platform type has no code (regData is 0 then).
  bool GetDataInfo(const std::string& name, TRegDataInfo& info) const;
  int GetDataSize(const std::string& name) const;  // -1 when GetDataInfo fails
  int GetDataType(const std::string& name) const;  // 0 when GetDataInfo fails
  bool ValueExists(const std::string& name) const;

  // Bytes read into buffer; code receives the value's registry data type code.
  int GetData(const std::string& name, void* buffer, DWORD size, int& code) const;
  // Needs a current key opened with RegAccess 1 or 3.
  void PutData(const std::string& name, const void* buffer, int code, DWORD size);

  // The text up to the first zero byte; expand applies only to code 2 values.
  std::string ReadString(const std::string& name, bool expand = false) const;
  void WriteString(const std::string& name, const std::string& text, int code = kRdString);
  int32_t ReadInteger(const std::string& name) const;
  void WriteInteger(const std::string& name, int32_t value);
  bool ReadBool(const std::string& name) const { return ReadInteger(name) != 0; }
  void WriteBool(const std::string& name, bool flag) { WriteInteger(name, flag ? 1 : 0); }
  // The data size (whatever the code); 0 when the value is missing.
  int ReadBinaryData(const std::string& name, void* buffer, DWORD bufferSize) const;
  void WriteData(const std::string& name, const void* buffer, int code, DWORD size) {
    PutData(name, buffer, code, size);
  }

 protected:
  // Makes a borrowed handle the current key for one operation; the previous current key
  // comes back when the scope ends, also by an error. The handle stays the lender's.
  class BorrowedCurrentKey {
   public:
    BorrowedCurrentKey(TMyRegistry& reg, HKEY key) : reg_(reg), previous_(reg.currentKey_) { reg.currentKey_ = key; }
    ~BorrowedCurrentKey() { reg_.currentKey_ = previous_; }
    BorrowedCurrentKey(const BorrowedCurrentKey&) = delete;
    BorrowedCurrentKey& operator=(const BorrowedCurrentKey&) = delete;

   private:
    TMyRegistry& reg_;
    HKEY previous_;
  };

 private:
  // The key a path starts from, and the path without its leading backslash.
  HKEY BaseKey(const std::string& path, std::string& subPath, bool* fromCurrent = nullptr) const;

  HKEY currentKey_ = nullptr;
  HKEY rootKey_ = HKEY_CURRENT_USER;
  bool closeOnRelease_ = true;
  std::string currentPath_;
  bool ownsRootKey_ = false;
  int regAccess_ = kRegAccessDefault;
  int currentKeyAccess_ = kRegAccessDefault;  // RegAccess when the current key was opened
};
