#include "capture/LocaleSort.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/TextCompare.h"

using namespace std::string_literals;

namespace {

int Sign(int v) { return (v > 0) - (v < 0); }

// Texts where a locale order departs from byte order: case, digits and numbers, punctuation
// that word sorting treats apart ('-' and '\''), blanks, high ANSI letters with their
// expansions and diacritics, control characters, prefixes and the empty text.
const std::vector<std::string> kNastyTexts = {
    "", " ", "  ", "a", "A", "b", "B", "z", "Z", "ab", "aB", "AB", "abc", "ab ", " ab", "a b", "a  b",
    "a1", "a10", "a2", "A02", "0", "00", "1", "10", "9", "-", "--", "a-", "-a", "a-b", "ab-", "co-op", "coop",
    "co op", "co'op", "'", "a'b", "_", "a_b", "_a", ".", "a.b", ".a", ".cache", "~", "a~b", "~a", "{", "a{b",
    "{a}", "{A}", "}", "[", "[]", "[boot]", "[drivers]", "!", "#", "$", "%", "&", "(", ")", "+", ",", ";", "=",
    "@", "^", "`", "|", "\\", "a\\b", "/", "\t", "a\tb", "\x01", "a\x01", "\x7f", "Windows", "apps", "A.TXT",
    "b.txt", "\xe9t\xe9", "ete", "\xc9TE", "\xe8te", "stra\xdf" "e", "strasse", "STRASSE", "\xdf", "ss", "\xe6",
    "ae", "AE", "\xc6", "\xc4pfel", "Apfel", "\xe4pfel", "\xf6", "o", "\xd6l", "Ol", "\xf1", "n", "\xfe", "\xff",
    "y", "\x80", "\x8a", "\x9a", "\x8e", "\x9e", "\xa0", "\xa9", "\xb2", "\xbd", "\xd7", "\xf7", "x\xa0y",
    "Software", "SOFTWARE", "software\\x", "Microsoft", "Micro-soft", "Micro soft", "Micro_soft"};

std::string PlatformSortKey(const std::string& text) {
  char key[64];
  int length = LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, text.c_str(), -1, key, sizeof key);
  return std::string(key, static_cast<size_t>(length > 0 ? length : 0));
}

}  // namespace

// Plain ASCII names get their keys from a table of character weights instead of a locale call each;
// the keys must be the platform's to the byte. Every text of up to three characters (control
// characters and the word-sort punctuation included), and the texts above.
TEST(LocaleSort, KeysOfShortTextsAreThePlatformsOwn) {
  int mismatches = 0;
  auto check = [&](const std::string& text) {
    if (LocaleSortKey(text) != PlatformSortKey(text) && ++mismatches <= 20)
      ADD_FAILURE() << "key of \"" << text << "\" (" << text.size() << " characters) differs";
  };
  std::string text;
  check(text);
  for (int a = 1; a < 0x80; ++a) {
    text.assign(1, static_cast<char>(a));
    check(text);
    for (int b = 1; b < 0x80; ++b) {
      text.assign({static_cast<char>(a), static_cast<char>(b)});
      check(text);
      if (a < 0x20 || b < 0x20 || a == 0x7f || b == 0x7f) continue;  // three: printable only
      for (int c = 0x20; c < 0x7f; ++c) {
        text.assign({static_cast<char>(a), static_cast<char>(b), static_cast<char>(c)});
        check(text);
      }
    }
  }
  for (const std::string& nasty : kNastyTexts) check(nasty);
  EXPECT_EQ(mismatches, 0);
}

// The capture sorts by sort keys and the compare merges with CompareTextLocale: both must
// answer alike for every pair, equality included.
TEST(LocaleSort, SortKeysOrderEveryPairAsTheLocaleCompareDoes) {
  std::vector<std::string> keys;
  for (const std::string& text : kNastyTexts) keys.push_back(LocaleSortKey(text));
  int mismatches = 0;
  for (size_t i = 0; i < kNastyTexts.size(); ++i)
    for (size_t j = 0; j < kNastyTexts.size(); ++j) {
      int expected = Sign(CompareTextLocale(kNastyTexts[i], kNastyTexts[j]));
      int actual = Sign(CompareSortKeys(keys[i], keys[j]));
      if (expected != actual && ++mismatches <= 20)
        ADD_FAILURE() << "\"" << kNastyTexts[i] << "\" vs \"" << kNastyTexts[j] << "\": locale " << expected
                      << ", sort keys " << actual;
    }
  EXPECT_EQ(mismatches, 0);
}

TEST(LocaleSort, SortsLikeTheLocaleCompareAndKeepsEqualTextsInOrder) {
  // Reversed, so that nothing is in order by chance; equal texts carry their first position.
  struct Item {
    std::string text;
    size_t position;
  };
  std::vector<Item> items;
  for (size_t i = kNastyTexts.size(); i-- > 0;) items.push_back({kNastyTexts[i], items.size()});
  std::vector<Item> expected = items;
  std::stable_sort(expected.begin(), expected.end(),
                   [](const Item& a, const Item& b) { return CompareTextLocale(a.text, b.text) < 0; });

  LocaleSorter sorter;
  SortByLocale(items, sorter, [](const Item& item) -> std::string_view { return item.text; });
  ASSERT_EQ(items.size(), expected.size());
  for (size_t i = 0; i < items.size(); ++i) {
    EXPECT_EQ(items[i].text, expected[i].text) << i;
    EXPECT_EQ(items[i].position, expected[i].position) << "equal texts moved at " << i;
  }

  // The sorter's buffers from this list do not leak into the next one.
  std::vector<std::string> names = {"b", "A", "c", "a"};
  SortByLocale(names, sorter);
  EXPECT_EQ(names, (std::vector<std::string>{"A", "a", "b", "c"}));
  std::vector<std::string> one = {"x"};
  SortByLocale(one, sorter);
  EXPECT_EQ(one, std::vector<std::string>{"x"});
}
