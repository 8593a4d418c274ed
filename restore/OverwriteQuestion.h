#pragma once
// The question asked before a copy replaces an existing file (the file restore's copies from the
// file backup, and the file backup's own copies), with the "to all" answer it keeps for the
// rest of one pass or run.

#include <string>

#include "core/UserInteraction.h"

class OverwriteQuestion {
 public:
  explicit OverwriteQuestion(UserInteraction& ui) : ui_(ui) {}

  // Whether source may replace the existing target. shownPath is the path the text names. Asks
  // unless a "to all" answer is kept; Cancel raises the abort.
  bool Allows(const std::string& shownPath, const std::string& source, const std::string& target);
  // A new run asks again.
  void Forget() { remembered_ = MsgAnswer::Ok; }

 private:
  UserInteraction& ui_;
  MsgAnswer remembered_ = MsgAnswer::Ok;  // NoToAll or YesToAll once given
};
