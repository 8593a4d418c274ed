#pragma once
// Node kinds of a log's result trees: the low four bits of a result node's state index, and its
// state image. The tree block prunes by them and the log readers and restore passes act on them.

inline constexpr int kKindPath = 0;  // exists on both sides, carries no change itself
inline constexpr int kKindNew = 6;
inline constexpr int kKindDeleted = 7;
inline constexpr int kKindChanged = 8;  // its values, files, entries or lines changed
inline constexpr int kNodeKindMask = 15;
// Set by the restore passes on nodes and records they undid; every kind plus this bit still
// fits the one-byte integer form, so it is written in place.
inline constexpr int kRestoredBit = 16;
