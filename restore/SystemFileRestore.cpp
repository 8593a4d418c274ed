#include "restore/SystemFileRestore.h"

#include "compare/ResultRecords.h"
#include "core/Errors.h"
#include "platform/IniFile.h"
#include "platform/SystemFileType.h"
#include "restore/RestorePass.h"

namespace {

constexpr int kFileLevel = 1;
constexpr int kSectionLevel = 2;

// True for the nodes of a text file and their descendants; the top node and INI files are not.
bool BelongsToTextFile(const TreeNode& node) {
  const TreeNode* file = AncestorAtLevel(node, kFileLevel);
  if (!file) return false;
  try {
    return !IsIniType(SystemFileTypeOfText(file->Text()));
  } catch (const Exception&) {
    return true;  // a file of no known type is not touched either
  }
}

// A name or text from the log with a line break would write lines of its own into the file.
void RequireOneLine(const std::string& text) {
  for (unsigned char c : text)
    if (c < 32 && c != '\t')
      throw Exception(
          "The log holds a section, entry or text with a line break or control character; nothing was "
          "done.");
}

class SystemFileRestore {
 public:
  explicit SystemFileRestore(RestorePass& pass) : pass_(pass) {}

  void Section(TreeNode& node) {
    const size_t unfinishedBefore = pass_.Unfinished();
    if (!pass_.Filtered())
      for (size_t i = 0; i < node.Count(); ++i) Section(*node.Child(i));
    if (BelongsToTextFile(node)) return;

    if (node.Data() != 0 && node.Level() == kSectionLevel) {
      std::string path;
      GetSystemFileType(AncestorAtLevel(node, kFileLevel)->Text(), path);
      const IniFile ini(path);
      const std::string section = node.Text().size() >= 2 ? node.Text().substr(1, node.Text().size() - 2) : "";
      const size_t entryFailuresBefore = pass_.Failures();
      const int32_t count = pass_.SeekRecords(node);
      for (int32_t i = 0; i < count; ++i) Entry(ini, section);
      // A deleted section has no operation of its own: writing its entries back re-creates it.
      if (pass_.Executing() && !pass_.Filtered() && pass_.NodeKind(node) == kKindDeleted &&
          pass_.Flag(kRestoreDeletions) && pass_.Failures() == entryFailuresBefore)
        pass_.MarkRestored(node);

      if (pass_.NodeKind(node) == kKindNew && pass_.Flag(kRestoreAdditions) && !pass_.Filtered()) {
        const bool done = pass_.RunItem({"Delete Key", ini.Name(), node.Text(), "", ""}, [&] {
          RequireOneLine(section);
          ini.EraseSection(section);
          if (ini.HasSection(section))
            throw Exception(FormatText("The section could not be erased from %s.", ini.Path()));
          return std::string(kStatusDone);
        });
        if (done && pass_.Executing()) pass_.MarkRestored(node);
      }
    }
    pass_.MarkVisited(node, unfinishedBefore);
  }

 private:
  void Entry(const IniFile& ini, const std::string& section) {
    TReader& reader = pass_.Reader();
    const RestorePass::Record record = pass_.ReadKind(reader.ReadString());
    const std::string text = reader.ReadString();

    const char* operation = nullptr;
    if (record.kind == kRecordNew && pass_.Flag(kRestoreAdditions)) operation = "Delete Value";
    if (record.kind == kRecordDeleted && pass_.Flag(kRestoreDeletions)) operation = "Restore Deleted Value";
    if (record.kind == kRecordOldSide && pass_.Flag(kRestoreModifications)) operation = "Changed, restore old value.";

    RestorePass::Outcome outcome = RestorePass::Outcome::None;
    if (record.passes && operation) {
      outcome = pass_.RunRecordItem({operation, ini.Name() + " [" + section + "]", record.name, text, ""}, [&] {
        RequireOneLine(section);
        RequireOneLine(record.name);
        if (record.kind == kRecordNew) {
          if (ini.Read(section, record.name, kMissingEntryMarker) == kMissingEntryMarker)
            throw Exception("Value not found.");
          ini.DeleteEntry(section, record.name);
          if (ini.Read(section, record.name, kMissingEntryMarker) != kMissingEntryMarker)
            throw Exception(FormatText("The entry could not be deleted from %s.", ini.Path()));
        } else {
          RequireOneLine(text);
          ini.Write(section, record.name, text);
        }
        return std::string(kStatusDone);
      });
    }
    pass_.RecordDone(record, outcome);
  }

  RestorePass& pass_;
};

}  // namespace

void RestoreSystemFiles(const RestoreRequest& request, RestoreEnvironment& environment) {
  if (!request.root) return;
  RestorePass pass(request, environment, LogSection::SystemFiles);
  SystemFileRestore(pass).Section(*request.root);
  pass.Finish();
}
