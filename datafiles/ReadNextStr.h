#pragma once
// Walks a counted list of names (subkeys, values, folders, files, entries) in a data file.

#include <string>

#include "core/UserInteraction.h"
#include "datafiles/TReader.h"

// The three compare sections report a failed read slightly differently.
enum class ReadNextStrVariant {
  Registry,
  FileStructure,  // resynchronises the reader with its stream before reporting
  SystemFiles,    // resynchronises too, and writes "Error" in its message
};

// Reads the next of count names into text and returns false; returns true with an empty text
// when all count names are read (index == count), reading nothing. A failed read is reported
// to the user with the position and does not propagate: text and index stay unchanged and
// the result is false.
bool ReadNextStr(TReader& reader, std::string& text, int count, int& index, UserInteraction& ui,
                 ReadNextStrVariant variant);
