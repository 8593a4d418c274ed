#pragma once
// Files of equal size split into classes of byte-identical content. Each file is read at most
// twice: once whole for a hash, then, within each set of equal hashes, once more in lockstep
// with the others of its set, so a hash collision never joins two different files. A file that
// cannot be opened or read belongs to no class.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// What the content test read: a search's cost, and the check that no file is read more than twice.
struct ContentReadCounters {
  uint64_t bytes = 0;
  uint64_t opens = 0;
};

// members: indexes of the caller's files; pathOf gives a member's path. Returns the classes of
// two or more members, each in the order of members, the classes ordered by their first member's
// place in members.
std::vector<std::vector<uint32_t>> EqualContentClasses(const std::vector<uint32_t>& members,
                                                       const std::function<std::string(uint32_t)>& pathOf,
                                                       ContentReadCounters& reads);
