#pragma once
// Fixed texts of the configuration data file (.SXD) and the check of its first string. The
// file is: registration header, registry section, drives header, drives section, system-files
// header, system-files section; each section a list. Its record kind: datafiles/RecordKinds.h.

#include <cstdint>
#include <string>
#include <string_view>

inline constexpr std::string_view kRegistrationHeader = "* THIS IS A SNAPTRACE REGISTRATION DATAFILE Ver 4/97 *";
// Files of version 1.4 and earlier begin with this one; their layout differs.
inline constexpr std::string_view kOldRegistrationHeader = "* THIS IS A SNAPTRACE REGISTRATION DATAFILE Ver2 *";
inline constexpr std::string_view kDrivesHeader = "* THIS IS A SNAPTRACE DRIVES DATAFILE *";
inline constexpr std::string_view kSystemFilesHeader = "* THIS IS A SNAPTRACE SYSTEMFILES DATAFILE *";

enum class HeaderKind { Current, OlderVersion, Foreign };

// Classifies the first string of a file. Only an exact match counts.
HeaderKind ClassifyHeader(std::string_view firstString);

// The message that refuses a file whose header is not current (empty for a current one).
std::string HeaderRefusalMessage(HeaderKind kind, const std::string& fileName);
