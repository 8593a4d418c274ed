#pragma once
// Fixed texts and numbers of the log file (.SXL). The file is: the log header, the selection
// block, then per section (registry, drives, system files) the pruned result tree, the length
// of the section's change block and the change block itself. Result nodes point into their
// section's change block with their data integer, counted from the block's first byte. Node and
// record kinds: datafiles/RecordKinds.h.

#include <cstdint>
#include <string_view>

#include "datafiles/ConfigurationFile.h"
#include "datafiles/RecordKinds.h"

inline constexpr std::string_view kLogHeader = "* THIS IS A SNAPTRACE RESULT DATAFILE *";
// The first strings of the three change blocks. Because every block begins with one, a record
// offset is never 0, and 0 can mean "no block".
inline constexpr std::string_view kRegistryChangeHeader = "* THIS IS A SNAPTRACE VALUES DATAFILE *";
inline constexpr std::string_view kDriveChangeHeader = "* THIS IS A SNAPTRACE FILES DATAFILE *";
inline constexpr std::string_view kSystemFileChangeHeader = kSystemFilesHeader;
