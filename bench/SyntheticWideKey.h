#pragma once
// Two configuration data files that hold one wide key, old and new, for the compare's growth on
// wide keys: the key has `subkeys` subkeys (each with one value) and a third as many values of
// its own; between old and new 5 % of the subkeys go, 5 % come, 2 % change their value, and of
// the key's values 3 % change, 2 % go and 2 % come. Names look like the workload's and stand in
// the order of CompareTextLocale, as a capture writes them.

#include <cstdint>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "bench/WorkloadChanges.h"
#include "capture/LocaleSort.h"
#include "datafiles/ConfigurationFile.h"
#include "datafiles/RecordKinds.h"
#include "datafiles/RegDataCode.h"
#include "datafiles/Stream.h"
#include "datafiles/TWriter.h"

struct WideKeyChanges {
  int newSubkeys = 0, deletedSubkeys = 0, changedSubkeys = 0;
  int newValues = 0, deletedValues = 0, changedValues = 0;
  int Total() const { return newSubkeys + deletedSubkeys + changedSubkeys + newValues + deletedValues + changedValues; }
};

class SyntheticWideKey {
 public:
  explicit SyntheticWideKey(int subkeys) : random_(static_cast<uint64_t>(subkeys) * 7919) {
    const int values = subkeys / 3;
    std::set<std::string> taken;
    for (int i = 0; i < subkeys + subkeys / 20; ++i) {
      Item item{UniqueName(taken, i), i < subkeys ? Side::Both : Side::NewOnly, false};
      if (item.side == Side::Both && random_.Percent(5)) item.side = Side::OldOnly;
      if (item.side == Side::Both) item.changed = random_.Percent(2);
      subkeys_.push_back(item);
    }
    for (int i = 0; i < values + values / 50; ++i) {
      Item item{UniqueName(taken, i), i < values ? Side::Both : Side::NewOnly, false};
      const size_t r = random_.Below(100);
      if (item.side == Side::Both && r < 2) item.side = Side::OldOnly;
      if (item.side == Side::Both) item.changed = r >= 2 && r < 5;
      values_.push_back(item);
    }
    LocaleSorter sorter;
    SortByLocale(subkeys_, sorter, [](const Item& item) -> std::string_view { return item.name; });
    SortByLocale(values_, sorter, [](const Item& item) -> std::string_view { return item.name; });
    for (const Item& item : subkeys_)
      Count(item, changes_.newSubkeys, changes_.deletedSubkeys, changes_.changedSubkeys);
    for (const Item& item : values_) Count(item, changes_.newValues, changes_.deletedValues, changes_.changedValues);
  }

  const WideKeyChanges& Changes() const { return changes_; }

  void Write(const std::string& path, bool newSide) const {
    TFileStream stream(path, FileMode::Create);
    TWriter writer(stream, kStreamBufferSize);
    writer.WriteString(kRegistrationHeader);
    writer.WriteListBegin();
    writer.WriteString("HKEY_CURRENT_USER");
    writer.WriteInteger(1);
    writer.WriteString("Wide Key");
    writer.WriteInteger(Present(subkeys_, newSide));
    for (const Item& item : subkeys_) {
      if (!On(item, newSide)) continue;
      writer.WriteString(item.name);
      writer.WriteInteger(0);
      writer.WriteInteger(1);
      writer.WriteString("InstallPath");
      writer.WriteInteger(kRecordCaptured);
      writer.WriteInteger(kRdString);
      writer.WriteString("C:\\Program Files\\" + item.name + (newSide && item.changed ? "\\app2.exe" : "\\app.exe"));
    }
    writer.WriteInteger(Present(values_, newSide));
    for (const Item& item : values_) {
      if (!On(item, newSide)) continue;
      writer.WriteString(item.name);
      writer.WriteInteger(kRecordCaptured);
      writer.WriteInteger(kRdInteger);
      writer.WriteInteger(static_cast<int32_t>(item.name.size()) + (newSide && item.changed ? 1 : 0));
    }
    writer.WriteInteger(0);  // the root key's values
    writer.WriteListEnd();
    writer.WriteString(kDrivesHeader);
    writer.WriteListBegin();
    writer.WriteListEnd();
    writer.WriteString(kSystemFilesHeader);
    writer.WriteListBegin();
    writer.WriteListEnd();
    writer.FlushBuffer();
  }

 private:
  enum class Side { Both, OldOnly, NewOnly };
  struct Item {
    std::string name;
    Side side;
    bool changed;
  };

  static bool On(const Item& item, bool newSide) {
    return item.side == Side::Both || (item.side == Side::NewOnly) == newSide;
  }
  static int32_t Present(const std::vector<Item>& items, bool newSide) {
    int32_t count = 0;
    for (const Item& item : items) count += On(item, newSide);
    return count;
  }
  static void Count(const Item& item, int& added, int& deleted, int& changed) {
    added += item.side == Side::NewOnly;
    deleted += item.side == Side::OldOnly;
    changed += item.changed;
  }

  // Class ids, program ids and numbered names, as a wide key of the workload holds them.
  std::string UniqueName(std::set<std::string>& taken, int serial) {
    static const char* const kWords[] = {"Settings", "Cache",   "Recent", "Window",  "Options", "Profile", "Layout",
                                         "Filter",   "History", "Plugin", "Toolbar", "Color",   "Font",    "Path",
                                         "Update",   "Policy",  "State",  "Default", "Install", "Module",  "Device"};
    for (;;) {
      char text[80];
      const char* word = kWords[random_.Below(sizeof kWords / sizeof kWords[0])];
      const size_t form = random_.Below(10);
      if (form < 3)
        snprintf(text, sizeof text, "{%08X-%04X-%04X-%04X-%012llX}", static_cast<unsigned>(random_.Next()),
                 static_cast<unsigned>(random_.Below(0x10000)), static_cast<unsigned>(random_.Below(0x10000)),
                 static_cast<unsigned>(random_.Below(0x10000)),
                 static_cast<unsigned long long>(random_.Next() & 0xFFFFFFFFFFFFull));
      else if (form < 6)
        snprintf(text, sizeof text, "%s.%s.%d", word, kWords[random_.Below(sizeof kWords / sizeof kWords[0])],
                 static_cast<int>(random_.Below(10)));
      else
        snprintf(text, sizeof text, "%s %05d", word, serial);
      std::string lower = text;
      for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
      if (taken.insert(lower).second) return text;
    }
  }

  BenchRandom random_;
  std::vector<Item> subkeys_;
  std::vector<Item> values_;
  WideKeyChanges changes_;
};
