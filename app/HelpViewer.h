#pragma once
// Opening the help in the user's browser: the document written to the help folder, then the
// file handed to the shell. The browser launch is a seam, so tests never start a browser.

#include <functional>
#include <string>

#include "core/UserInteraction.h"

// Opens the file at path in a browser; false with reason set when it could not.
using BrowserLauncher = std::function<bool(const std::string& path, std::string& reason)>;

// The shell's open verb, which reaches the browser associated with .html files.
bool OpenInDefaultBrowser(const std::string& path, std::string& reason);

// Writes document into folder and opens section (kHelpContents for the contents) with launch.
// A failure is told on ui as an error that names the file, so the user can open it by hand.
void ShowHelp(const std::string& section, const std::string& document, const std::string& folder,
              const BrowserLauncher& launch, UserInteraction& ui);

// Every help request of the program (F1, Help > Help) opens the built-in document from the
// help folder with launch, its failures told on ui. Batch mode installs nothing.
void InstallHelpHook(UserInteraction& ui, BrowserLauncher launch = OpenInDefaultBrowser);
