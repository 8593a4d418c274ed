#pragma once
// The rows of the lists beside the result trees: the change records of the selected node, read
// from the log's change block, with their display texts and their raw fields (restore and
// export code works on the raw fields, the list shows the texts).

#include <cstdint>
#include <string>
#include <vector>

#include "compare/LogLayout.h"
#include "core/StripImages.h"
#include "core/TreeModel.h"

struct ResultRow {
  // What the list shows.
  std::string caption;
  std::vector<std::string> columns;  // the columns after the caption, in list order
  int imageIndex = -1;               // -1: no image (file rows: the window picks shell icons)
  int stateImage = 0;                // record kind AND 15
  bool greyed = false;               // the record carries the restored bit

  // The record as the log holds it.
  int64_t kindPosition = 0;  // file position of the record's kind integer (restores mark it)
  std::string name;          // value, file or entry name; the line text of a text file
  int kind = 0;              // restored bit included
  int typeCode = 0;          // registry data type code
  std::string text;          // registry codes 1 and 2; an INI entry's value
  int32_t integer = 0;       // registry code 3; a text file line's index
  std::string bytes;         // registry data of every other code
  uint32_t time = 0;         // file: packed MS-DOS date and time
  uint32_t size = 0;         // file: low 32 bits of the size
  uint32_t attributes = 0;   // file attribute bits
};

// Each function appends the rows of node's records to rows. Nothing is read without a log
// file, for a node without record offset, or of another kind than 6, 7 or 8. A read error ends
// the fill with the reader's exception; the rows read until then stay in rows.

// Value list: an empty name shows defaultText, an empty string emptyText in double quotes.
void ReadRegistryRows(const TreeNode& node, const std::string& logFileName, const LogPositions& positions,
                      const std::string& defaultText, const std::string& emptyText, std::vector<ResultRow>& rows);
// File list: columns size, date, attributes.
void ReadDriveRows(const TreeNode& node, const std::string& logFileName, const LogPositions& positions,
                   std::vector<ResultRow>& rows);
// Entry list: every row gets entryImage; the file type comes from the node's file node (level
// 1) and raises "Cannot determine file type of <text>." when it fits none.
void ReadSystemFileRows(const TreeNode& node, const std::string& logFileName, const LogPositions& positions,
                        int entryImage, std::vector<ResultRow>& rows);

// The folder a drive result node stands for, "C:\WINDOWS\SYSTEM\": the drive letter of its
// level-1 node, ":\", then each folder below followed by "\". Empty for the top node.
std::string DriveFolderPath(const TreeNode& node);
// The node's ancestor at level (the node itself when it is at that level); nullptr above it.
const TreeNode* AncestorAtLevel(const TreeNode& node, int level);
