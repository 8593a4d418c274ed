#pragma once
// Every record of a change block is expanded into nodes at most once. Each node of a result tree
// that points into a change block has a record of its own there; a hand-made log whose nodes
// share records would build the same nodes once per node that points at them, and a small file
// could fill the memory. So repeated offsets are refused when a log is loaded, and a record
// that holds another node's record when it is expanded.

#include <cstdint>
#include <vector>

#include "core/TreeModel.h"

// The record offsets of the tree's nodes that have one, sorted.
std::vector<int32_t> SortedNodeOffsets(const TreeModel& tree);
// Raises "Invalid property value" when an offset occurs twice.
void RefuseRepeatedOffsets(const std::vector<int32_t>& sortedOffsets);
// Raises "Invalid property value" when an offset lies in the record [begin, end) after its
// first byte: another node's record inside this one.
void RefuseOffsetsInside(const std::vector<int32_t>& sortedOffsets, int64_t begin, int64_t end);
