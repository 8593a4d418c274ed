#include "tools/ContentClasses.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <unordered_map>

#include "platform/Handle.h"

namespace {

constexpr DWORD kBlockSize = 102400;
// The lockstep pass reads every member of a set at once: past this many members the blocks get
// smaller, so a large set of equal files does not take a block of each.
constexpr size_t kLockstepBytes = 8u << 20;
constexpr DWORD kSmallestBlock = 1024;

UniqueFile OpenShared(const std::string& path, ContentReadCounters& reads) {
  ++reads.opens;
  return UniqueFile(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
}

// false when the read failed.
bool ReadBlock(HANDLE file, char* buffer, DWORD size, DWORD& read, ContentReadCounters& reads) {
  read = 0;
  if (!ReadFile(file, buffer, size, &read, nullptr)) return false;
  reads.bytes += read;
  return true;
}

// 64-bit hash of a whole file, its length mixed in; false when it cannot be read.
bool HashFile(const std::string& path, std::vector<char>& buffer, uint64_t& hash, ContentReadCounters& reads) {
  UniqueFile file = OpenShared(path, reads);
  if (!file) return false;
  hash = 0xcbf29ce484222325ull;
  uint64_t length = 0;
  for (;;) {
    DWORD read = 0;
    if (!ReadBlock(file.Get(), buffer.data(), kBlockSize, read, reads)) return false;
    if (read == 0) break;
    length += read;
    // Eight bytes at a time: the hash only sorts files into sets, the byte check decides.
    size_t at = 0;
    for (; at + 8 <= read; at += 8) {
      uint64_t word;
      std::memcpy(&word, buffer.data() + at, 8);
      hash = (hash ^ word) * 0x100000001b3ull;
      hash ^= hash >> 29;
    }
    for (; at < read; ++at) hash = (hash ^ static_cast<unsigned char>(buffer[at])) * 0x100000001b3ull;
  }
  hash ^= length * 0x9e3779b97f4a7c15ull;
  return true;
}

struct LockstepFile {
  uint32_t member;
  UniqueFile file;
  std::vector<char> block;
  DWORD read = 0;
};

// Splits one set (in member order) into classes of equal content by reading all its files
// block by block side by side; appends the classes of two or more to classes.
void SplitInLockstep(const std::vector<uint32_t>& set, const std::function<std::string(uint32_t)>& pathOf,
                     std::vector<std::vector<uint32_t>>& classes, ContentReadCounters& reads) {
  const DWORD blockSize =
      static_cast<DWORD>(std::clamp<size_t>(kLockstepBytes / set.size(), kSmallestBlock, kBlockSize));
  std::vector<LockstepFile> files;
  files.reserve(set.size());
  for (uint32_t member : set) {
    UniqueFile file = OpenShared(pathOf(member), reads);
    if (file) files.push_back({member, std::move(file), std::vector<char>(blockSize), 0});
  }
  // Each pending group holds positions in files whose contents agree so far.
  std::vector<std::vector<size_t>> pending(1);
  for (size_t i = 0; i < files.size(); ++i) pending[0].push_back(i);
  std::vector<std::vector<size_t>> finished;
  while (!pending.empty()) {
    std::vector<size_t> group = std::move(pending.back());
    pending.pop_back();
    if (group.size() < 2) continue;
    std::vector<size_t> readable;
    for (size_t position : group) {
      LockstepFile& entry = files[position];
      if (ReadBlock(entry.file.Get(), entry.block.data(), blockSize, entry.read, reads))
        readable.push_back(position);
      else
        entry.file.Reset();
    }
    // Split by the block just read; the first of each part keeps the part's place.
    std::vector<std::vector<size_t>> parts;
    for (size_t position : readable) {
      const LockstepFile& entry = files[position];
      auto same = std::find_if(parts.begin(), parts.end(), [&](const std::vector<size_t>& part) {
        const LockstepFile& first = files[part.front()];
        return first.read == entry.read && std::memcmp(first.block.data(), entry.block.data(), entry.read) == 0;
      });
      if (same == parts.end())
        parts.push_back({position});
      else
        same->push_back(position);
    }
    for (std::vector<size_t>& part : parts) {
      if (part.size() < 2) {
        files[part.front()].file.Reset();
      } else if (files[part.front()].read == 0) {
        for (size_t position : part) files[position].file.Reset();
        finished.push_back(std::move(part));
      } else {
        pending.push_back(std::move(part));
      }
    }
  }
  for (const std::vector<size_t>& group : finished) {
    std::vector<uint32_t> members;
    for (size_t position : group) members.push_back(files[position].member);
    classes.push_back(std::move(members));
  }
}

}  // namespace

std::vector<std::vector<uint32_t>> EqualContentClasses(const std::vector<uint32_t>& members,
                                                       const std::function<std::string(uint32_t)>& pathOf,
                                                       ContentReadCounters& reads) {
  std::vector<std::vector<uint32_t>> classes;
  if (members.size() < 2) return classes;
  std::vector<char> buffer(kBlockSize);
  // Sets of equal hashes, each in member order.
  std::map<uint64_t, std::vector<uint32_t>> byHash;
  for (uint32_t member : members) {
    uint64_t hash = 0;
    if (HashFile(pathOf(member), buffer, hash, reads)) byHash[hash].push_back(member);
  }
  for (const auto& [hash, set] : byHash)
    if (set.size() >= 2) SplitInLockstep(set, pathOf, classes, reads);

  // Back into the order of members: by the place of each class's first member.
  std::unordered_map<uint32_t, size_t> place;
  for (size_t i = 0; i < members.size(); ++i) place.emplace(members[i], i);
  std::sort(classes.begin(), classes.end(), [&](const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
    return place[a.front()] < place[b.front()];
  });
  return classes;
}
