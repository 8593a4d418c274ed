#include "compare/RecordCopier.h"

#include <algorithm>

#include "core/Errors.h"
#include "datafiles/RegDataCode.h"

int32_t RecordCopier::CopyInteger() {
  const int32_t value = in_.Reader().ReadInteger();
  if (out_) out_->WriteInteger(value);
  return value;
}

int32_t RecordCopier::CopyCount() {
  const int32_t count = in_.ReadCount();
  if (out_) out_->WriteInteger(count);
  return count;
}

void RecordCopier::CopyString() {
  in_.Reader().ReadString(in_.copyText);
  if (out_) out_->WriteString(in_.copyText);
}

void RecordCopier::CopyKind() {
  in_.Reader().ReadInteger();
  if (out_) out_->WriteInteger(kind_);
}

void RecordCopier::CopyBytes(int32_t count) {
  in_.RequireBytes(count);
  uint8_t chunk[4096];
  while (count > 0) {
    const size_t n = std::min<size_t>(static_cast<size_t>(count), sizeof chunk);
    in_.Reader().Read(chunk, n);
    if (out_) out_->Write(chunk, n);
    count -= static_cast<int32_t>(n);
  }
}

// A key or folder record: a count of nested records, each after its name, then a count of
// leaves, each after its name. remaining holds, per open level, the nested records still due.
template <class CopyLeaf>
int32_t RecordCopier::Nested(CopyLeaf copyLeaf) {
  const int32_t top = CopyCount();
  std::vector<int32_t>& remaining = in_.copyLevels;
  remaining.assign(1, top);
  while (!remaining.empty()) {
    if (remaining.back() > 0) {
      --remaining.back();
      CopyString();
      if (remaining.size() >= static_cast<size_t>(kMaxNesting)) throw EReadError("Invalid property value");
      remaining.push_back(CopyCount());
    } else {
      remaining.pop_back();
      const int32_t leaves = CopyCount();
      for (int32_t i = 0; i < leaves; ++i) {
        CopyString();
        copyLeaf();
      }
    }
  }
  return top;
}

int32_t RecordCopier::KeyRecord() {
  return Nested([this] { ValueRecord(); });
}

void RecordCopier::ValueRecord() {
  CopyKind();
  const int32_t code = CopyInteger();
  if (IsTextRegDataCode(code))
    CopyString();
  else if (code == kRdInteger)
    CopyInteger();
  else
    CopyBytes(CopyInteger());
}

int32_t RecordCopier::FolderRecord() {
  return Nested([this] { FileRecord(); });
}

void RecordCopier::FileRecord() {
  CopyKind();
  CopyInteger();  // time stamp
  CopyInteger();  // size
  CopyInteger();  // attributes
}

void RecordCopier::EntryRecord(bool iniValues) {
  CopyKind();
  if (iniValues)
    CopyString();
  else
    CopyInteger();  // line index
}

void RecordCopier::EntryList(bool iniValues) {
  const int32_t count = CopyCount();
  for (int32_t i = 0; i < count; ++i) {
    CopyString();
    EntryRecord(iniValues);
  }
}

void RecordCopier::SectionList() {
  const int32_t count = CopyCount();
  for (int32_t i = 0; i < count; ++i) {
    CopyString();
    EntryList(true);
  }
}

void ReadRegistryValue(CompareSide& in, RegistryValue& value) {
  TReader& reader = in.Reader();
  value.code = reader.ReadInteger();
  if (IsTextRegDataCode(value.code)) {
    reader.ReadString(value.text);
  } else if (value.code == kRdInteger) {
    value.integer = reader.ReadInteger();
  } else {
    const int32_t length = reader.ReadInteger();
    in.RequireBytes(length);
    value.bytes.resize(static_cast<size_t>(length));
    reader.Read(value.bytes.data(), value.bytes.size());
  }
}

void WriteRegistryValue(TWriter& out, const RegistryValue& value) {
  out.WriteInteger(value.code);
  if (IsTextRegDataCode(value.code)) {
    out.WriteString(value.text);
  } else if (value.code == kRdInteger) {
    out.WriteInteger(value.integer);
  } else {
    out.WriteInteger(static_cast<int32_t>(value.bytes.size()));
    out.Write(value.bytes.data(), value.bytes.size());
  }
}

bool SameRegistryValue(const RegistryValue& a, const RegistryValue& b) {
  if (a.code == kRdInteger && b.code == kRdInteger) return a.integer == b.integer;
  if (IsTextRegDataCode(a.code) && IsTextRegDataCode(b.code)) return a.text == b.text;
  // Equal codes here are codes of byte data: the integer and text codes were handled above.
  return a.code == b.code && a.bytes == b.bytes;
}
