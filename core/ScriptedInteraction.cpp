#include "core/ScriptedInteraction.h"

MsgAnswer ScriptedInteraction::Ask(MsgType type, const std::string& text, MsgButtons buttons) {
  messages.push_back({type, text, buttons});
  if (!answers.empty()) {
    MsgAnswer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  switch (buttons) {
    case MsgButtons::Ok:
    case MsgButtons::OkCancel:
      return MsgAnswer::Ok;
    default:
      return MsgAnswer::Yes;
  }
}

void ScriptedInteraction::SetStatus(StatusChannel channel, const std::string& text) {
  statusTexts[static_cast<int>(channel)].push_back(text);
}

void ScriptedInteraction::SetProgress(StatusChannel channel, int max, int position) {
  progressMax[static_cast<int>(channel)] = max;
  progressPosition[static_cast<int>(channel)] = position;
}

bool ScriptedInteraction::ChooseFile(const FileDialogSpec& spec, std::string& path) {
  fileDialogs.push_back(spec);
  if (fileChoices.empty()) return false;
  path = fileChoices.front();
  fileChoices.pop_front();
  return !path.empty();
}

bool ScriptedInteraction::ChooseSaveFile(const FileDialogSpec& spec, std::string& path) {
  return ChooseFile(spec, path);
}

bool ScriptedInteraction::ChooseOpenFile(const FileDialogSpec& spec, std::string& path) {
  return ChooseFile(spec, path);
}

std::vector<std::string> ScriptedInteraction::Texts() const {
  std::vector<std::string> texts;
  for (const Message& m : messages) texts.push_back(m.text);
  return texts;
}
