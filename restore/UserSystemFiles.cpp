#include "restore/UserSystemFiles.h"

#include "core/CheckStates.h"
#include "core/Errors.h"
#include "datafiles/SystemFileText.h"
#include "restore/ShellFileOperations.h"

namespace {

constexpr int kFileLevel = 1;

// The type of a node text, or -1 when it fits none.
int TypeOfText(const std::string& text) {
  try {
    return SystemFileTypeOfText(text);
  } catch (const Exception&) {
    return -1;
  }
}

}  // namespace

std::string CheckUserFileName(const std::string& name, const std::string& currentFolder) {
  std::string path = name;
  if (path.find_first_of("\\:") == std::string::npos) {
    std::string folder = currentFolder;
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    path = folder + "\\" + path;
  }
  if (!IsExistingFile(path)) throw Exception(FormatText("Error:  File %s not found!", path));
  return path;
}

std::string UserFileNodeText(const std::string& path, bool iniFile) { return path + (iniFile ? "(INI)" : "(TXT)"); }

TreeNode* AddUserDefinedFile(TreeModel& tree, const std::string& path, bool iniFile, int fileImage) {
  TreeNode* top = tree.FirstTop();
  return tree.Add(top, {.text = UserFileNodeText(path, iniFile),
                        .stateIndex = top && top->StateIndex() == kStateUnchecked ? kStateUnchecked : kStateChecked,
                        .imageIndex = fileImage,
                        .selectedIndex = fileImage,
                        .hasChildren = iniFile});
}

void DeleteUserDefinedFile(TreeModel& tree, TreeNode* selected) {
  if (!selected) return;
  const int type = TypeOfText(selected->Text());
  if (selected->Level() != kFileLevel || (type != kUserIni && type != kUserText))
    throw Exception("This entry cannot be deleted.");
  tree.Delete(selected);
}

void RefuseTextFileRestore(const TreeNode* selected) {
  if (!selected || selected->Level() != kFileLevel) return;
  const int type = TypeOfText(selected->Text());
  if (type == kSystemText || type == kUserText)
    throw Exception("Automatic restore is not possible for text files.\rPlease restore the changes manually!");
}
