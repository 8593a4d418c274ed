#pragma once
// The help document built into the exe and its copy on disk, which a browser opens. A section is
// opened through a small page beside the document that redirects to its anchor: a file path
// with a fragment is not something the shell passes on to a browser.

#include <string>

inline constexpr const char* kHelpFileName = "Quorvel-help.html";

// The document of the running module's resources (IDR_HELP); throws Exception (EResNotFound)
// when the module has none.
std::string EmbeddedHelpDocument();

// <the user's temp folder>Quorvel\ , where the document is written.
std::string HelpFolder();

// The page that sends the browser on to kHelpFileName#section.
std::string HelpRedirectPage(const std::string& section);

// Writes document into folder (created when missing) as kHelpFileName, and for a section the
// redirect page "Quorvel-help-<section>.html"; a file that holds its content already is left
// alone. Returns the file to open: the document for the contents (an empty section), else the
// redirect page. Throws Exception naming the file that could not be written.
std::string WriteHelpFiles(const std::string& folder, const std::string& document, const std::string& section);
