#pragma once
// Fixed texts and numbers of the log file (.SXL). The file is: the log header, the selection
// block, then per section (registry, drives, system files) the pruned result tree, the length
// of the section's change block and the change block itself. Result nodes point into their
// section's change block with their data integer, counted from the block's first byte.

#include <cstdint>
#include <string_view>

#include "datafiles/ConfigurationFile.h"

inline constexpr std::string_view kLogHeader = "* THIS IS A SNAPTRACE RESULT DATAFILE *";
// The first strings of the three change blocks. Because every block begins with one, a record
// offset is never 0, and 0 can mean "no block".
inline constexpr std::string_view kRegistryChangeHeader = "* THIS IS A SNAPTRACE VALUES DATAFILE *";
inline constexpr std::string_view kDriveChangeHeader = "* THIS IS A SNAPTRACE FILES DATAFILE *";
inline constexpr std::string_view kSystemFileChangeHeader = kSystemFilesHeader;

// Node kinds: the low four bits of a result node's state index, and its state image.
inline constexpr int kKindPath = 0;  // exists on both sides, carries no change itself
inline constexpr int kKindNew = 6;
inline constexpr int kKindDeleted = 7;
inline constexpr int kKindChanged = 8;  // its values, files, entries or lines changed
inline constexpr int kNodeKindMask = 15;
// Set by the restore passes on nodes and records they undid; every kind plus this bit still
// fits the one-byte integer form, so it is written in place.
inline constexpr int kRestoredBit = 16;

// Record kinds: the field that holds kRecordCaptured in a configuration data file holds these in
// a log.
inline constexpr int32_t kRecordNew = 9;
inline constexpr int32_t kRecordDeleted = 10;
inline constexpr int32_t kRecordOldSide = 11;
inline constexpr int32_t kRecordNewSide = 12;
