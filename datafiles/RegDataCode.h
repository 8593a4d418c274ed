#pragma once
// The registry data type code that data files store and the compare tells apart. It equals the
// platform's REG_ number except that REG_DWORD and REG_BINARY are exchanged. No <windows.h>:
// the data-file and compare code that reads these codes also builds natively.

#include <cstdint>

#include "core/Errors.h"

constexpr int kRdNone = 0;
constexpr int kRdString = 1;
constexpr int kRdExpandString = 2;
constexpr int kRdInteger = 3;  // REG_DWORD
constexpr int kRdBinary = 4;   // REG_BINARY
constexpr int kRdIntegerBigEndian = 5;
constexpr int kRdLink = 6;
constexpr int kRdMultiString = 7;
constexpr int kRdResourceList = 8;
constexpr int kRdFullResourceDescriptor = 9;
constexpr int kRdResourceRequirementsList = 10;
constexpr int kRdQWord = 11;

constexpr int kRdHighest = kRdQWord;

// The platform's REG_ numbers of the two exchanged types; the others equal their codes.
constexpr uint32_t kPlatformRegDword = 4;
constexpr uint32_t kPlatformRegBinary = 3;

// Texts (codes 1 and 2) are stored as strings, code 3 as an integer, every other code as a
// length and that many bytes.
inline bool IsTextRegDataCode(int code) { return code == kRdString || code == kRdExpandString; }

[[noreturn]] inline void RaiseUnknownDataType() { throw EMyRegistryException("unknown Datatype of the Registry"); }

// Only the low seven bits carry the type: callers may keep flags in the high bit of a code.
inline uint32_t RegDataCodeToPlatform(int code) {
  int type = code & 0x7F;
  if (type > kRdHighest) RaiseUnknownDataType();
  if (type == kRdInteger) return kPlatformRegDword;
  if (type == kRdBinary) return kPlatformRegBinary;
  return static_cast<uint32_t>(type);
}

inline int PlatformToRegDataCode(uint32_t platformType) {
  if (platformType > static_cast<uint32_t>(kRdHighest)) RaiseUnknownDataType();
  if (platformType == kPlatformRegDword) return kRdInteger;
  if (platformType == kPlatformRegBinary) return kRdBinary;
  return static_cast<int>(platformType);
}
