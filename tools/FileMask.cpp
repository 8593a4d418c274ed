#include "tools/FileMask.h"

#include <windows.h>

#include <array>
#include <vector>

namespace {

// The wildcards as the system's search sees a mask: "*" before a dot and a dot before a "*"
// become these (characters no file name can hold).
constexpr char kDosStar = '<';
constexpr char kDosDot = '"';

const std::array<unsigned char, 256>& UpperCase() {
  static const std::array<unsigned char, 256> table = [] {
    std::array<unsigned char, 256> upper{};
    for (int c = 0; c < 256; ++c) upper[c] = static_cast<unsigned char>(c);
    CharUpperBuffA(reinterpret_cast<char*>(upper.data() + 1), 255);
    return upper;
  }();
  return table;
}

bool IsNameCharacter(char c) {
  return static_cast<unsigned char>(c) >= 32 && std::string_view("\\/:<>\"|?").find(c) == std::string_view::npos;
}

}  // namespace

FileMask::FileMask(std::string_view mask) : text_(mask) {
  everything_ = mask == "*.*" || mask == "*";
  usable_ = !mask.empty();
  for (size_t i = 0; i < mask.size() && usable_; ++i) {
    const char c = mask[i];
    const char next = i + 1 < mask.size() ? mask[i + 1] : '\0';
    // A mask that ends in a dot means names without an extension to the system.
    if (!IsNameCharacter(c) || (c == '.' && next == '\0'))
      usable_ = false;
    else if (c == '*' && next == '.')
      expression_.push_back(kDosStar);
    else if (c == '.' && next == '*')
      expression_.push_back(kDosDot);
    else
      expression_.push_back(static_cast<char>(UpperCase()[static_cast<unsigned char>(c)]));
  }
}

bool FileMask::Matches(std::string_view longName, std::string_view shortName) const {
  if (everything_) return true;
  return MatchesName(longName) || (!shortName.empty() && MatchesName(shortName));
}

// Walks the name once, keeping the set of mask positions reached so far.
bool FileMask::MatchesName(std::string_view name) const {
  const std::string& mask = expression_;
  const size_t lastDot = name.rfind('.');
  std::vector<char> reached(mask.size() + 1, 0), next(mask.size() + 1, 0);
  // Positions reachable without taking a character at name position at.
  const auto close = [&](std::vector<char>& states, size_t at) {
    const bool atEnd = at == name.size();
    for (size_t p = 0; p < mask.size(); ++p) {
      if (!states[p]) continue;
      const char m = mask[p];
      if (m == '*' || m == kDosStar || (m == kDosDot && atEnd)) states[p + 1] = 1;
    }
  };
  reached[0] = 1;
  close(reached, 0);
  const auto& upper = UpperCase();
  for (size_t at = 0; at < name.size(); ++at) {
    std::fill(next.begin(), next.end(), 0);
    const char c = name[at];
    bool any = false;
    for (size_t p = 0; p < mask.size(); ++p) {
      if (!reached[p]) continue;
      const char m = mask[p];
      size_t to = p + 1;
      bool takes;
      if (m == '*') {
        takes = true;
        to = p;
      } else if (m == kDosStar) {
        // Up to the name's last dot, which the rest of the mask must match.
        takes = at != lastDot;
        to = p;
      } else if (m == kDosDot) {
        takes = c == '.';
      } else {
        takes = static_cast<char>(upper[static_cast<unsigned char>(c)]) == m;
      }
      if (takes) next[to] = any = 1;
    }
    if (!any) return false;
    close(next, at + 1);
    reached.swap(next);
  }
  return reached[mask.size()] != 0;
}
