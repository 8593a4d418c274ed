#include "datafiles/SelectionFile.h"

#include "core/Errors.h"
#include "datafiles/Stream.h"
#include "datafiles/TreeBlock.h"

namespace {

// The whole list or an error; entries are never reserved from the count, so a damaged count
// ends at the end of the stream.
std::vector<std::string> ReadExcludeList(TReader& reader) {
  if (reader.ReadString() != kExcludeListMarker) throw Exception("File not compatible");
  const int32_t count = reader.ReadInteger();
  if (count < 0) throw EReadError("Invalid property value");
  std::vector<std::string> entries;
  for (int32_t i = 0; i < count; ++i) entries.push_back(reader.ReadString());
  return entries;
}

void Load(TReader& reader, TreeModel& registryTree, TreeModel& driveTree, TreeModel& systemFileTree,
          std::vector<std::string>& excludeList, UserInteraction& ui, const std::function<void()>& treesLoaded,
          const std::string& fileName) {
  ReadTreeBlock(reader, registryTree, false, fileName);
  ReadTreeBlock(reader, driveTree, false, fileName);
  ReadTreeBlock(reader, systemFileTree, false, fileName);
  if (treesLoaded) treesLoaded();

  const int64_t listStart = reader.Position();
  try {
    excludeList = ReadExcludeList(reader);
  } catch (const std::exception&) {
    // Older versions wrote no list; whatever stands there, the trees are what counts. A log
    // file's reader goes on from where the list would have begun.
    reader.SetPosition(listStart);
    ui.Tell(MsgType::Information,
            "This file is not 100% compatible with this version of the program.\rCould not load "
            "\"Exclude Files\" list. Everything else OK");
  }
}

}  // namespace

void SaveSelections(TWriter& writer, TreeModel& registryTree, TreeModel& driveTree, TreeModel& systemFileTree,
                    const std::vector<std::string>& excludeList) {
  WriteTreeBlock(writer, registryTree, true, false);
  WriteTreeBlock(writer, driveTree, true, false);
  WriteTreeBlock(writer, systemFileTree, true, false);
  writer.WriteString(kExcludeListMarker);
  writer.WriteInteger(static_cast<int32_t>(excludeList.size()));
  for (const std::string& entry : excludeList) writer.WriteString(entry);
}

void SaveSelections(const std::string& fileName, TreeModel& registryTree, TreeModel& driveTree,
                    TreeModel& systemFileTree, const std::vector<std::string>& excludeList) {
  TFileStream stream(fileName, FileMode::Create);
  TWriter writer(stream, kStreamBufferSize);
  SaveSelections(writer, registryTree, driveTree, systemFileTree, excludeList);
  writer.FlushBuffer();
}

void LoadSelections(TReader& reader, TreeModel& registryTree, TreeModel& driveTree, TreeModel& systemFileTree,
                    std::vector<std::string>& excludeList, UserInteraction& ui,
                    const std::function<void()>& treesLoaded) {
  Load(reader, registryTree, driveTree, systemFileTree, excludeList, ui, treesLoaded, std::string());
}

void LoadSelections(const std::string& fileName, TreeModel& registryTree, TreeModel& driveTree,
                    TreeModel& systemFileTree, std::vector<std::string>& excludeList, UserInteraction& ui,
                    const std::function<void()>& treesLoaded) {
  TFileStream stream(fileName, FileMode::OpenRead);
  TReader reader(stream, kStreamBufferSize);
  Load(reader, registryTree, driveTree, systemFileTree, excludeList, ui, treesLoaded, fileName);
}
