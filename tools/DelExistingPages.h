#pragma once
// The pages of the existing-application remover in their order, with the texts each shows.

#include <cstddef>

enum class RemoverPageId { Start, ProgramFiles, StartMenu, Registry, FileExtensions, Confirmation };

struct RemoverPage {
  RemoverPageId id;
  const char* name;     // the page's name, as in the window's error reports
  const char* caption;  // of its tab
  const char* label;    // above its tree or list; empty on the first page
  const char* help;     // the help text beside it
};

inline constexpr size_t kRemoverPageCount = 6;
extern const RemoverPage kRemoverPages[kRemoverPageCount];

inline constexpr const char* kRemoverHeading = "Deinstall\r\nan existing\r\napplication:";

// The switch buttons' captions.
inline constexpr const char* kSwitchToAllUsersMenu = "Switch to \"All Users\" Start Menu";
inline constexpr const char* kSwitchToCurrentUserMenu = "Switch to \"Current User\" Start Menu";
inline constexpr const char* kSwitchToAllUsersEntries = "Switch to \"All Users\" entries";
inline constexpr const char* kSwitchToCurrentUserEntries = "Switch to \"Current User\" entries";
inline constexpr const char* kSwitchToExtensionLinks = "Switch to extension links entries";
inline constexpr const char* kSwitchToFileExtensions = "Switch to file extensions entries";
