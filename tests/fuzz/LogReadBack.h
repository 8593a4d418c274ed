#pragma once
// Everything the window reads of a log, without the window: the load, every node of the three
// result trees expanded (new and deleted subtrees from the change blocks), the list rows of
// every node, and the text export of each whole tree. Errors of the engine propagate.

#include <string>

#include "core/UserInteraction.h"

void ReadBackLog(const std::string& logFileName, UserInteraction& ui);
