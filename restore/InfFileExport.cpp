#include "restore/InfFileExport.h"

#include "compare/UpperCase.h"

namespace {

class DeleteInfWriter {
 public:
  DeleteInfWriter(std::vector<std::string>& lines, RefusedItems& refused) : lines_(lines), refused_(refused) {}

  void Record(const ExportRecord& record) {
    // Setup cannot tell an unnamed value from a whole key: an empty name would delete the key.
    if (record.kind != kRecordDeleted || record.name.empty()) return;
    const std::string item = record.nodePath + "\\" + record.name;
    const RegistryTarget target = SplitRegistryPath(record.nodePath);
    if (!target.found || !FitsOnOneLine(item)) {
      refused_.Add(item);
      return;
    }
    lines_.push_back(target.root + "," + InfQuoted(target.subkey) + "," + InfQuoted(record.name) + ",,");
  }

  void NodeEnd(const ExportNode& node) {
    if (node.kind != kKindDeleted) return;
    const RegistryTarget target = SplitRegistryPath(node.path);
    if (!target.found || !FitsOnOneLine(node.path)) {
      refused_.Add(node.path);
      return;
    }
    // A root key itself is never deleted: its line would empty the whole root.
    if (target.subkey.empty()) return;
    lines_.push_back(target.root + "," + InfQuoted(target.subkey));
  }

 private:
  std::vector<std::string>& lines_;
  RefusedItems& refused_;
};

class IniInfWriter {
 public:
  IniInfWriter(std::vector<std::string>& lines, RefusedItems& refused) : lines_(lines), refused_(refused) {}

  void Record(const ExportRecord& record) {
    // Text files hand over line indexes; their lines cannot be INI operations.
    if (record.form != ExportValueForm::Text) return;
    std::string path = UpperCaseLocale(record.nodePath);
    const size_t marker = path.find("(INI)");
    if (marker != std::string::npos)
      path.erase(marker, 5);
    else if (path.find("WIN.INI") == std::string::npos && path.find("SYSTEM.INI") == std::string::npos)
      return;
    const size_t split = path.find("\\[");
    if (split == std::string::npos) return;
    const std::string file = path.substr(0, split);
    std::string section = path.substr(split + 2);
    if (!section.empty() && section.back() == ']') section.pop_back();

    if (!FitsOnOneLine(path) || !FitsOnOneLine(record.name) || !FitsOnOneLine(record.text)) {
      refused_.Add(record.nodePath + "\\" + record.name);
      return;
    }
    const std::string head = InfField(file) + "," + InfQuoted(section) + ",";
    const std::string entry = InfQuoted(record.name + "=" + record.text);
    switch (record.kind) {
      case kRecordNew:
        lines_.push_back(head + "," + entry);
        break;
      case kRecordDeleted:
        lines_.push_back(head + entry + ",");
        break;
      case kRecordOldSide:
        oldEntry_ = entry;
        oldPath_ = record.nodePath;
        break;
      case kRecordNewSide:
        // Only the old side just before belongs to this change; without it the line sets the
        // new entry, which is better than replacing an entry of another change.
        lines_.push_back(head + (oldPath_ == record.nodePath ? oldEntry_ : "") + "," + entry);
        oldEntry_.clear();
        oldPath_.clear();
        break;
    }
  }

 private:
  std::vector<std::string>& lines_;
  RefusedItems& refused_;
  std::string oldEntry_;  // the old side of the change being written, quoted
  std::string oldPath_;
};

}  // namespace

std::vector<std::string> BuildDeleteInf(const InstallExportSource& source, UserInteraction& ui, RefusedItems& refused) {
  std::vector<std::string> lines = InfTemplateLines();
  lines.insert(lines.end(), {"[DefaultInstall]", "DelReg=Delete_registry", "", "[Delete_registry]"});
  DeleteInfWriter writer(lines, refused);
  ExportCallbacks callbacks;
  callbacks.record = [&](const ExportRecord& record) { writer.Record(record); };
  callbacks.nodeEnd = [&](const ExportNode& node) { writer.NodeEnd(node); };
  ExportTreeWalk(source.tree, source.start, {source.kinds, LogSection::Registry}, source.logFileName, source.positions,
                 ui, callbacks);
  return lines;
}

std::vector<std::string> BuildIniInf(const InstallExportSource& source, UserInteraction& ui, RefusedItems& refused) {
  std::vector<std::string> lines = InfTemplateLines();
  lines.insert(lines.end(), {"[DefaultInstall]", "UpdateInis=Update_ini", "", "[Update_ini]",
                             ";ini-file,ini-section,old-entry,new-entry,update-flag"});
  IniInfWriter writer(lines, refused);
  ExportCallbacks callbacks;
  callbacks.record = [&](const ExportRecord& record) { writer.Record(record); };
  ExportTreeWalk(source.tree, source.start, {source.kinds, LogSection::SystemFiles}, source.logFileName,
                 source.positions, ui, callbacks);
  return lines;
}
