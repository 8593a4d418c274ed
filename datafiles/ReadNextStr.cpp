#include "datafiles/ReadNextStr.h"

#include <exception>

bool ReadNextStr(TReader& reader, std::string& text, int count, int& index, UserInteraction& ui,
                 ReadNextStrVariant variant) {
  if (count <= index) {
    text.clear();
    return true;
  }
  try {
    reader.ReadString(text);
    ++index;
  } catch (const std::exception&) {
    if (variant != ReadNextStrVariant::Registry) reader.SyncStream();
    const char* prefix = variant == ReadNextStrVariant::SystemFiles ? "Error in ReadNextStr:" : "ERROR in ReadNextStr:";
    ui.Ask(MsgType::Error, prefix + text + "\rPos:" + std::to_string(reader.Position()) + " Size", MsgButtons::Ok);
  }
  return false;
}
