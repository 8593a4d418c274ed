#include "platform/SystemFileType.h"

#include "platform/FileSystem.h"
#include "platform/SettingsAccess.h"

SystemFileFolders CurrentSystemFileFolders() {
  SystemFileFolders folders;
  folders.windowsFolder = WindowsFolder();
  try {
    folders.textFolder = ReadRequiredText("PathToSystemFiles");
  } catch (...) {
    folders.textFolderError = std::current_exception();
  }
  return folders;
}

SystemFileType GetSystemFileType(const std::string& nodeText, const SystemFileFolders& folders, std::string& fullPath) {
  SystemFileType type = SystemFileTypeOfText(nodeText);
  std::string name = SystemFileNameOfText(nodeText);
  switch (type) {
    case kSystemIni:
      fullPath = folders.windowsFolder + name;
      break;
    case kSystemText:
      if (folders.textFolderError) std::rethrow_exception(folders.textFolderError);
      fullPath = folders.textFolder + name;
      break;
    default:
      fullPath = name;
      break;
  }
  return type;
}

SystemFileType GetSystemFileType(const std::string& nodeText, std::string& fullPath) {
  return GetSystemFileType(nodeText, CurrentSystemFileFolders(), fullPath);
}
