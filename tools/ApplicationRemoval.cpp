#include "tools/ApplicationRemoval.h"

#include <exception>

#include "core/Errors.h"
#include "platform/PathText.h"
#include "platform/TMyRegistry.h"
#include "tools/RegistryKeyBackup.h"

namespace {

void DeleteFolder(const RemovalAction& action, const RemovalEnvironment& environment) {
  if (!DeleteFileWithBackup(action.path, environment.deletion, environment.settings, environment.ui))
    throw Exception(kRemovalNotDone);
}

// The key is saved before it goes; a key that cannot be saved whole is not deleted.
void DeleteKey(RemovalAction& action, const RemovalEnvironment& environment) {
  const size_t slash = action.path.find('\\');
  const int rootIndex = RootKeyIndex(action.path.substr(0, slash));
  const std::string keyPath = slash == std::string::npos ? std::string() : action.path.substr(slash + 1);
  if (rootIndex < 0 || keyPath.empty()) throw Exception(kRemovalNotDone);
  const HKEY root = RootKeyHandle(rootIndex);
  if (!TMyRegistry(root, kRegAccessRead).GetKey("\\" + keyPath)) throw Exception(kRemovalNotDone);
  action.savedAs = SaveKeyToRegFile(root, kRootKeyNames[rootIndex], keyPath, environment.backupDir);
  TMyRegistry reg(root, kRegAccessFull);
  if (!reg.DeleteKey("\\" + keyPath)) throw Exception(kRemovalNotDone);
}

void RunAction(RemovalAction& action, const RemovalEnvironment& environment) {
  switch (action.kind) {
    case RemovalKind::Folder:
      DeleteFolder(action, environment);
      break;
    case RemovalKind::RegistryKey:
      DeleteKey(action, environment);
      break;
    default:
      RaiseUnknownCase("TDelExistingFRM", "DoAllCheckedActions");
  }
}

}  // namespace

void DoAllCheckedActions(std::vector<RemovalAction>& actions, const RemovalEnvironment& environment) {
  // Each run asks again about write-protected files.
  environment.deletion.askWriteProtected = true;
  environment.deletion.backupFolder = WithTrailingBackslash(environment.backupDir);
  for (RemovalAction& action : actions) {
    if (!action.ticked) continue;
    action.savedAs.clear();
    const std::string refusal = RefusalOf(action, environment.protectedPlaces);
    if (!refusal.empty()) {
      action.status = refusal;
      continue;
    }
    try {
      RunAction(action, environment);
      action.status = kRemovalDone;
    } catch (const std::exception& error) {
      action.status = error.what();
    } catch (...) {
      action.status = kRemovalNotDone;
    }
  }
}
