#include "core/AsciiSortWeights.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

int Sign(int v) { return (v > 0) - (v < 0); }

int CompareKeys(const std::string& a, const std::string& b) {
  const int c = std::memcmp(a.data(), b.data(), std::min(a.size(), b.size()));
  if (c != 0) return Sign(c);
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// A small locale with the awkward cases of real ones: weights of one, two and three bytes, weights
// whose first byte equals the tail's (so a name is not always before the longer names it begins)
// or lies below it, case ignored, and '-' and control characters on a later level only, as word
// sort puts them.
void FakeKey(std::string& keys, std::string_view text) {
  std::string later;
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 'a' && c <= 'z')
      keys += {'\x0e', static_cast<char>(0x10 + 2 * (c - 'a'))};
    else if (c >= 'A' && c <= 'Z')
      keys += {'\x0e', static_cast<char>(0x10 + 2 * (c - 'A'))};
    else if (c >= '0' && c <= '9')
      keys += {'\x0d', static_cast<char>(0x10 + c - '0')};
    else if (c == ' ')
      keys += "\x07\x02";
    else if (c == '_')
      keys += "\x0a\x05\x07";
    else if (c == '.')
      keys += '\x09';
    else if (c == '#')
      keys += "\x01\x03";
    else if (c == '!')
      keys += std::string("\x01\x00", 2);
    else
      later += {static_cast<char>(i + 2), static_cast<char>(c)};
  }
  keys += "\x01\x01\x01\x01";
  keys += later;
  keys += '\0';
}

// The same locale, except that "ch" weighs as one letter after 'h'.
void FakeKeyWithContraction(std::string& keys, std::string_view text) {
  std::string joined(text);
  for (size_t at = 0; (at = joined.find("ch", at)) != std::string::npos;) joined.replace(at, 2, "h.");
  FakeKey(keys, joined);
}

std::string KeyOf(std::string_view text) {
  std::string key;
  FakeKey(key, text);
  return key;
}

}  // namespace

// Every pair of texts of up to three characters: in-table texts get the platform's key and compare
// as their keys do without one being built; a text with a character outside the table is left to
// the platform, wherever that character stands.
TEST(AsciiSortWeights, KeysAndComparisonsAsThePlatformsKeys) {
  const AsciiSortWeights weights(FakeKey);
  const std::string alphabet = "aB09 _.#!-\x01\xe9";
  auto inTable = [](const std::string& text) {
    return std::none_of(text.begin(), text.end(), [](char c) { return c == '-' || c == '\x01' || c == '\xe9'; });
  };
  std::vector<std::string> texts = {""};
  for (size_t length = 1; length <= 3; ++length) {
    const size_t shorter = texts.size();
    for (size_t i = 0; i < shorter; ++i)
      if (texts[i].size() == length - 1)
        for (char c : alphabet) texts.push_back(texts[i] + c);
  }
  std::vector<std::string> keys;
  for (const std::string& text : texts) keys.push_back(KeyOf(text));

  int mismatches = 0;
  auto fail = [&](const std::string& what) {
    if (++mismatches <= 20) ADD_FAILURE() << what;
  };
  for (size_t i = 0; i < texts.size(); ++i) {
    std::string key;
    const bool appended = weights.AppendKey(key, texts[i]);
    if (appended != inTable(texts[i]) || (appended && key != keys[i])) fail("key of \"" + texts[i] + "\"");
    for (size_t j = 0; j < texts.size(); ++j) {
      int result = 99;
      const bool compared = weights.Compare(texts[i], texts[j], result);
      if (compared != (inTable(texts[i]) && inTable(texts[j])) ||
          (compared && Sign(result) != CompareKeys(keys[i], keys[j])))
        fail("\"" + texts[i] + "\" vs \"" + texts[j] + "\"");
    }
  }
  EXPECT_EQ(mismatches, 0);
}

// A locale that joins two letters into one weight has no table: every text takes the platform's
// route.
TEST(AsciiSortWeights, UnusedWhenTwoCharactersWeighAsOne) {
  const AsciiSortWeights weights(FakeKeyWithContraction);
  std::string key;
  int result = 0;
  EXPECT_FALSE(weights.AppendKey(key, "abc"));
  EXPECT_TRUE(key.empty());
  EXPECT_FALSE(weights.Compare("abc", "abd", result));
}
