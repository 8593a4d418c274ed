#pragma once
// A file mask ("*.TMP", "~*.*") matched against the names of one folder listing the way the
// system's own search does, so a walk can list a folder once for its files and its sub-folders:
// "*" before a dot stops at the name's last dot, a dot before a "*" also matches the end of a
// name, letters match without regard to case, and a file matches by its long or its short name.
// "?" is left to the system: its meaning at a dot or the end of a name differs between systems.

#include <string>
#include <string_view>

class FileMask {
 public:
  explicit FileMask(std::string_view mask);

  // False for masks this class does not take on ("A?C.LOG", "sub\*.TMP", "a|b", an empty
  // mask): those are left to the system's search.
  bool Usable() const { return usable_; }
  // "*.*" and "*": every name.
  bool MatchesEverything() const { return everything_; }
  bool Matches(std::string_view longName, std::string_view shortName) const;
  const std::string& Text() const { return text_; }

 private:
  bool MatchesName(std::string_view name) const;

  std::string text_;
  std::string expression_;  // the mask with its wildcards turned into the system's forms
  bool usable_ = false;
  bool everything_ = false;
};
