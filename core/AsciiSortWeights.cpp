#include "core/AsciiSortWeights.h"

#include <algorithm>

AsciiSortWeights::AsciiSortWeights(PlatformKey platformKey) {
  platformKey(tail_, "");
  std::string key;
  uint8_t classes = 0;
  for (int c = 1; c < kAscii; ++c) {
    const char character = static_cast<char>(c);
    key.clear();
    platformKey(key, std::string_view(&character, 1));
    if (key.size() <= tail_.size() || key.size() - tail_.size() > kMaxWeight ||
        key.compare(key.size() - tail_.size(), tail_.size(), tail_) != 0)
      continue;
    length_[c] = static_cast<uint8_t>(key.size() - tail_.size());
    key.copy(weights_[c].data(), length_[c]);
    for (int earlier = 1; earlier < c && weightClass_[c] == 0; ++earlier)
      if (length_[earlier] == length_[c] && weights_[earlier] == weights_[c]) weightClass_[c] = weightClass_[earlier];
    if (weightClass_[c] == 0) weightClass_[c] = ++classes;
  }
  usable_ = EveryPairAsThePlatform(platformKey);
}

bool AsciiSortWeights::InTable(std::string_view text) const {
  for (unsigned char c : text)
    if (length_[c] == 0) return false;
  return true;
}

bool AsciiSortWeights::AppendKey(std::string& keys, std::string_view text) const {
  return usable_ && AppendWeights(keys, text);
}

bool AsciiSortWeights::AppendWeights(std::string& keys, std::string_view text) const {
  size_t size = tail_.size();
  for (unsigned char c : text) {
    if (length_[c] == 0) return false;
    size += length_[c];
  }
  const size_t at = keys.size();
  keys.resize(at + size);
  char* out = keys.data() + at;
  for (unsigned char c : text) out = std::copy_n(weights_[c].data(), length_[c], out);
  std::copy(tail_.begin(), tail_.end(), out);
  return true;
}

bool AsciiSortWeights::EveryPairAsThePlatform(PlatformKey platformKey) const {
  std::string expected, actual;
  for (int a = 1; a < kAscii; ++a)
    for (int b = 1; b < kAscii; ++b) {
      if (length_[a] == 0 || length_[b] == 0) continue;
      const char pair[2] = {static_cast<char>(a), static_cast<char>(b)};
      expected.clear();
      platformKey(expected, std::string_view(pair, 2));
      actual.clear();
      AppendWeights(actual, std::string_view(pair, 2));
      if (actual != expected) return false;
    }
  return true;
}

bool AsciiSortWeights::Compare(std::string_view a, std::string_view b, int& result) const {
  if (!usable_) return false;
  // Characters of the same weights give the same key bytes: skip them, then compare the rest.
  const size_t common = std::min(a.size(), b.size());
  size_t i = 0;
  for (; i < common; ++i) {
    const uint8_t classA = weightClass_[static_cast<unsigned char>(a[i])];
    const uint8_t classB = weightClass_[static_cast<unsigned char>(b[i])];
    if (classA == 0 || classB == 0) return false;
    if (classA != classB) break;
  }
  a.remove_prefix(i);
  b.remove_prefix(i);
  if (!InTable(a) || !InTable(b)) return false;
  result = CompareWeightBytes(a, b);
  return true;
}

int AsciiSortWeights::CompareWeightBytes(std::string_view a, std::string_view b) const {
  // A cursor walks weights(text) + tail without building it; weights may differ in length, so
  // the two sides' bytes need not line up with their characters.
  struct Cursor {
    std::string_view text;
    size_t index = 0;
    size_t byte = 0;  // within the character's weights, then within the tail
  };
  auto next = [this](Cursor& cursor, unsigned char& out) {
    while (cursor.index < cursor.text.size()) {
      const unsigned char c = static_cast<unsigned char>(cursor.text[cursor.index]);
      if (cursor.byte < length_[c]) {
        out = static_cast<unsigned char>(weights_[c][cursor.byte++]);
        return true;
      }
      ++cursor.index;
      cursor.byte = 0;
    }
    if (cursor.byte >= tail_.size()) return false;
    out = static_cast<unsigned char>(tail_[cursor.byte++]);
    return true;
  };
  Cursor left{a}, right{b};
  for (;;) {
    unsigned char x = 0, y = 0;
    const bool moreLeft = next(left, x);
    const bool moreRight = next(right, y);
    if (!moreLeft || !moreRight) return moreLeft == moreRight ? 0 : (moreLeft ? 1 : -1);
    if (x != y) return x < y ? -1 : 1;
  }
}
