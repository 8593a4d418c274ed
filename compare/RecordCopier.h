#pragma once
// Copies records of a configuration data file into a change block with every record kind
// replaced (9 for a new, 10 for a deleted item), or reads past them when there is no writer.
// The whole subtree of a new or deleted key or folder travels this way, as raw records without
// result nodes; nested records are walked with a stack of counts, not by recursion.

#include <cstdint>
#include <string>
#include <vector>

#include "compare/CompareRun.h"
#include "datafiles/TWriter.h"

class RecordCopier {
 public:
  // out nullptr: read past the records.
  RecordCopier(CompareSide& in, TWriter* out, int32_t kind = 0) : in_(in), out_(out), kind_(kind) {}

  // Subkey count, per subkey its name and key record, value count, per value its name and
  // value record. Returns the subkey count.
  int32_t KeyRecord();
  // After the value's name: kind, type code, data.
  void ValueRecord();
  // Like a key record, with folders and files. Returns the subfolder count.
  int32_t FolderRecord();
  // After the file's name: kind, time stamp, size, attributes.
  void FileRecord();
  // After the entry's name: kind, then the value (INI) or the line index (text).
  void EntryRecord(bool iniValues);
  // Count, then per entry its name and entry record: an INI section or a text file's lines.
  void EntryList(bool iniValues);
  // Count, then per section its name and entry list: an INI file's body.
  void SectionList();

 private:
  int32_t CopyInteger();
  // A count; a negative one is a read error, never copied into the log.
  int32_t CopyCount();
  void CopyString();
  void CopyKind();
  void CopyBytes(int32_t count);
  template <class CopyLeaf>
  int32_t Nested(CopyLeaf copyLeaf);

  CompareSide& in_;
  TWriter* out_;
  int32_t kind_;
};

// A registry value's data after its record kind: the type code, then a text (codes 1 and 2),
// an integer (code 3) or a length and that many bytes (every other code).
struct RegistryValue {
  int32_t code = 0;
  int32_t integer = 0;
  std::string text;
  std::vector<uint8_t> bytes;  // reused from value to value; only grows
};

void ReadRegistryValue(CompareSide& in, RegistryValue& value);
void WriteRegistryValue(TWriter& out, const RegistryValue& value);
// Texts of codes 1 and 2 compare with each other (with case), integers as numbers, other data
// byte for byte under the same code.
bool SameRegistryValue(const RegistryValue& a, const RegistryValue& b);
