#include "app/HelpViewer.h"

#include <windows.h>

#include <shellapi.h>

#include <utility>

#include "app/HelpDocument.h"
#include "core/Errors.h"
#include "ui/HelpRequests.h"

bool OpenInDefaultBrowser(const std::string& path, std::string& reason) {
  auto result =
      reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  if (result > 32) return true;
  switch (result) {
    case SE_ERR_NOASSOC:
    case SE_ERR_ASSOCINCOMPLETE:
      reason = "No web browser is set up to open HTML files.";
      break;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      reason = "The file or the browser was not found.";
      break;
    case SE_ERR_ACCESSDENIED:
      reason = "Access was denied.";
      break;
    default:
      reason = "The shell reported error " + std::to_string(result) + ".";
  }
  return false;
}

void ShowHelp(const std::string& section, const std::string& document, const std::string& folder,
              const BrowserLauncher& launch, UserInteraction& ui) {
  std::string path;
  try {
    path = WriteHelpFiles(folder, document, section);
  } catch (const Exception& error) {
    ui.Tell(MsgType::Error, error.what());
    return;
  }
  std::string reason;
  if (launch(path, reason)) return;
  ui.Tell(MsgType::Error, "The help could not be opened in a web browser.\r" + reason + "\rOpen the file " + path +
                              " in a web browser by hand.");
}

void InstallHelpHook(UserInteraction& ui, BrowserLauncher launch) {
  SetHelpRequestHook([&ui, launch = std::move(launch)](const std::string& section) {
    std::string document;
    try {
      document = EmbeddedHelpDocument();
    } catch (const Exception& error) {
      ui.Tell(MsgType::Error, error.what());
      return;
    }
    ShowHelp(section, document, HelpFolder(), launch, ui);
  });
}
