#include "capture/LocaleSort.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <numeric>

#include "core/Errors.h"

namespace {

constexpr DWORD kSortKeyFlags = LCMAP_SORTKEY | NORM_IGNORECASE;

// The platform's sort key of text; it refuses a source length of 0, so the empty text goes in as a
// terminated string of its own.
void AppendPlatformSortKey(std::string& keys, std::string_view text) {
  const char* source = text.empty() ? "" : text.data();
  int sourceLength = text.empty() ? -1 : static_cast<int>(std::min<size_t>(text.size(), INT_MAX));
  size_t start = keys.size();
  // Enough for nearly every text, so one call does; the rest ask for their size first.
  int room = static_cast<int>(std::min<size_t>(4 * text.size() + 16, INT_MAX));
  keys.resize(start + static_cast<size_t>(room));
  int written = LCMapStringA(LOCALE_USER_DEFAULT, kSortKeyFlags, source, sourceLength, keys.data() + start, room);
  if (written == 0) {
    room = LCMapStringA(LOCALE_USER_DEFAULT, kSortKeyFlags, source, sourceLength, nullptr, 0);
    if (room > 0) {
      keys.resize(start + static_cast<size_t>(room));
      written = LCMapStringA(LOCALE_USER_DEFAULT, kSortKeyFlags, source, sourceLength, keys.data() + start, room);
    }
  }
  if (written <= 0) {
    keys.resize(start);
    throw Exception(ErrorKind::EOutOfResources, "The locale sort key of a text could not be made.");
  }
  keys.resize(start + static_cast<size_t>(written));
}

// Sort keys of plain ASCII names without a locale call per name. The platform's key of such a name
// is the first-level weights of its characters one after the other, then a tail that is the same
// for every name; the table holds each character's weights, read once from the platform. Characters
// that weigh on another level (word sorting's '-' and '\'', control characters) and every byte
// above 0x7F are not in it: a name with one of them takes the platform's route. A locale that joins
// two letters into one weight would break the rule, so the table is used only after every pair of
// its characters has given the platform's key.
class AsciiSortWeights {
 public:
  AsciiSortWeights() {
    AppendPlatformSortKey(tail_, "");
    std::string key;
    for (int c = 1; c < kCount; ++c) {
      const char character = static_cast<char>(c);
      key.clear();
      AppendPlatformSortKey(key, std::string_view(&character, 1));
      if (key.size() <= tail_.size() || key.size() - tail_.size() > kMaxWeight ||
          key.compare(key.size() - tail_.size(), tail_.size(), tail_) != 0)
        continue;
      length_[c] = static_cast<uint8_t>(key.size() - tail_.size());
      key.copy(weights_[c].data(), length_[c]);
    }
    usable_ = EveryPairAsThePlatform();
  }

  // Appends the key of text and answers true, or answers false and leaves keys as they were when
  // text has a character outside the table.
  bool Append(std::string& keys, std::string_view text) const { return usable_ && AppendWeights(keys, text); }

 private:
  static constexpr int kCount = 0x80;
  static constexpr size_t kMaxWeight = 4;

  bool AppendWeights(std::string& keys, std::string_view text) const {
    size_t size = tail_.size();
    for (unsigned char c : text) {
      if (c >= kCount || length_[c] == 0) return false;
      size += length_[c];
    }
    size_t at = keys.size();
    keys.resize(at + size);
    char* out = keys.data() + at;
    for (unsigned char c : text) out = std::copy_n(weights_[c].data(), length_[c], out);
    std::copy(tail_.begin(), tail_.end(), out);
    return true;
  }

  bool EveryPairAsThePlatform() const {
    std::string expected, actual;
    for (int a = 1; a < kCount; ++a)
      for (int b = 1; b < kCount; ++b) {
        if (length_[a] == 0 || length_[b] == 0) continue;
        const char pair[2] = {static_cast<char>(a), static_cast<char>(b)};
        expected.clear();
        AppendPlatformSortKey(expected, std::string_view(pair, 2));
        actual.clear();
        AppendWeights(actual, std::string_view(pair, 2));
        if (actual != expected) return false;
      }
    return true;
  }

  std::array<uint8_t, kCount> length_{};  // 0: not in the table
  std::array<std::array<char, kMaxWeight>, kCount> weights_{};
  std::string tail_;
  bool usable_ = false;
};

// Built on first use; both capture threads share it (a function-local static is built once).
const AsciiSortWeights& AsciiWeights() {
  static const AsciiSortWeights weights;
  return weights;
}

void AppendSortKey(std::string& keys, std::string_view text) {
  if (!AsciiWeights().Append(keys, text)) AppendPlatformSortKey(keys, text);
}

}  // namespace

std::string LocaleSortKey(std::string_view text) {
  std::string key;
  AppendSortKey(key, text);
  return key;
}

int CompareSortKeys(std::string_view a, std::string_view b) {
  int result = std::memcmp(a.data(), b.data(), std::min(a.size(), b.size()));
  if (result != 0) return result < 0 ? -1 : 1;
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

void LocaleSorter::AppendKey(std::string_view text) {
  keyOffsets_.push_back(static_cast<uint32_t>(keys_.size()));
  AppendSortKey(keys_, text);
}

const std::vector<uint32_t>& LocaleSorter::SortPositions(size_t count) {
  order_.resize(count);
  std::iota(order_.begin(), order_.end(), 0u);
  if (count < 2) return order_;
  keyOffsets_.push_back(static_cast<uint32_t>(keys_.size()));
  auto key = [this](uint32_t i) {
    return std::string_view(keys_.data() + keyOffsets_[i], keyOffsets_[i + 1] - keyOffsets_[i]);
  };
  std::stable_sort(order_.begin(), order_.end(),
                   [&](uint32_t a, uint32_t b) { return CompareSortKeys(key(a), key(b)) < 0; });
  return order_;
}
