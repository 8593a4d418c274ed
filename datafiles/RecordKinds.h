#pragma once
// The kinds that the data files carry, defined once for the captures, the compare, the log, the
// tree block and the restore: the node kind in a result node's state index, and the record kind
// field of every value, file, entry and line record.

#include <cstdint>

// Node kinds: the low four bits of a result node's state index, and its state image.
inline constexpr int kKindPath = 0;  // exists on both sides, carries no change itself
inline constexpr int kKindNew = 6;
inline constexpr int kKindDeleted = 7;
inline constexpr int kKindChanged = 8;  // its values, files, entries or lines changed
inline constexpr int kNodeKindMask = 15;
// Set by the restore passes on nodes and records they undid; every kind plus this bit still
// fits the one-byte integer form, so it is written in place.
inline constexpr int kRestoredBit = 16;

// Record kinds: a configuration data file holds kRecordCaptured in every record; a log holds
// the kind of change in the same field.
inline constexpr int32_t kRecordNew = 9;
inline constexpr int32_t kRecordDeleted = 10;
inline constexpr int32_t kRecordOldSide = 11;
inline constexpr int32_t kRecordNewSide = 12;
inline constexpr int32_t kRecordCaptured = 21;
