#pragma once
// The one encoding of a whole tree (selection trees, result trees, and the registry tree's
// states saved around a capture): the header, the number of top-level nodes, then one record
// per node in tree order - text, state index, image index, selected-image index, has-children
// flag, data integer, child count, child records. Only loaded nodes are written; the
// has-children flag tells that a node has children that were never loaded.

#include <string>
#include <string_view>

#include "core/TreeModel.h"
#include "datafiles/TReader.h"
#include "datafiles/TWriter.h"

inline constexpr std::string_view kSelectionHeader = "* THIS IS A SNAPTRACE SELECTION DATAFILE *";

// pruneUniform: every child of a top node that is not partly checked is collapsed and loaded
// children are discarded first (through the model, so a view shows it); its subtree has one
// state everywhere, so nothing is lost. pruneNewDeleted: a node of kind 6 or 7 (state AND 15)
// is written with child count 0, as a log file's result trees load those children from the
// change block instead.
void WriteTreeBlock(TWriter& writer, TreeModel& tree, bool pruneUniform, bool pruneNewDeleted);
// Creates or truncates the file.
void WriteTreeBlock(const std::string& fileName, TreeModel& tree, bool pruneUniform, bool pruneNewDeleted);

// Replaces the tree's nodes with the block's. A wrong header is refused before the tree is
// touched; malformed or truncated data raise the reader's EReadError, and the nodes read until
// then stay. markRestored shows the nodes whose state has the restored bit 16 greyed (cut).
void ReadTreeBlock(TReader& reader, TreeModel& tree, bool markRestored);
// For a reader over a named file that the caller opened: the refusal names the file.
void ReadTreeBlock(TReader& reader, TreeModel& tree, bool markRestored, const std::string& fileName);
void ReadTreeBlock(const std::string& fileName, TreeModel& tree, bool markRestored);
