#include "capture/LocaleSort.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <random>
#include <string>
#include <vector>

#include "core/TextCompare.h"

using namespace std::string_literals;

namespace {

int Sign(int v) { return (v > 0) - (v < 0); }

// Texts where a locale order departs from byte order: case, digits and numbers, punctuation
// that word sorting treats apart ('-' and '\''), blanks, high ANSI letters with their
// expansions and diacritics, control characters, prefixes and the empty text.
const std::vector<std::string> kNastyTexts = {"",
                                              " ",
                                              "  ",
                                              "a",
                                              "A",
                                              "b",
                                              "B",
                                              "z",
                                              "Z",
                                              "ab",
                                              "aB",
                                              "AB",
                                              "abc",
                                              "ab ",
                                              " ab",
                                              "a b",
                                              "a  b",
                                              "a1",
                                              "a10",
                                              "a2",
                                              "A02",
                                              "0",
                                              "00",
                                              "1",
                                              "10",
                                              "9",
                                              "-",
                                              "--",
                                              "a-",
                                              "-a",
                                              "a-b",
                                              "ab-",
                                              "co-op",
                                              "coop",
                                              "co op",
                                              "co'op",
                                              "'",
                                              "a'b",
                                              "_",
                                              "a_b",
                                              "_a",
                                              ".",
                                              "a.b",
                                              ".a",
                                              ".cache",
                                              "~",
                                              "a~b",
                                              "~a",
                                              "{",
                                              "a{b",
                                              "{a}",
                                              "{A}",
                                              "}",
                                              "[",
                                              "[]",
                                              "[boot]",
                                              "[drivers]",
                                              "!",
                                              "#",
                                              "$",
                                              "%",
                                              "&",
                                              "(",
                                              ")",
                                              "+",
                                              ",",
                                              ";",
                                              "=",
                                              "@",
                                              "^",
                                              "`",
                                              "|",
                                              "\\",
                                              "a\\b",
                                              "/",
                                              "\t",
                                              "a\tb",
                                              "\x01",
                                              "a\x01",
                                              "\x7f",
                                              "Windows",
                                              "apps",
                                              "A.TXT",
                                              "b.txt",
                                              "\xe9t\xe9",
                                              "ete",
                                              "\xc9TE",
                                              "\xe8te",
                                              "stra\xdf"
                                              "e",
                                              "strasse",
                                              "STRASSE",
                                              "\xdf",
                                              "ss",
                                              "\xe6",
                                              "ae",
                                              "AE",
                                              "\xc6",
                                              "\xc4pfel",
                                              "Apfel",
                                              "\xe4pfel",
                                              "\xf6",
                                              "o",
                                              "\xd6l",
                                              "Ol",
                                              "\xf1",
                                              "n",
                                              "\xfe",
                                              "\xff",
                                              "y",
                                              "\x80",
                                              "\x8a",
                                              "\x9a",
                                              "\x8e",
                                              "\x9e",
                                              "\xa0",
                                              "\xa9",
                                              "\xb2",
                                              "\xbd",
                                              "\xd7",
                                              "\xf7",
                                              "x\xa0y",
                                              "Software",
                                              "SOFTWARE",
                                              "software\\x",
                                              "Microsoft",
                                              "Micro-soft",
                                              "Micro soft",
                                              "Micro_soft"};

int PlatformCompare(const std::string& a, const std::string& b) {
  return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                        static_cast<int>(b.size())) -
         CSTR_EQUAL;
}

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
// answer as CompareStringA for every pair, equality included.
TEST(LocaleSort, SortKeysAndTheLocaleCompareOrderEveryPairAsThePlatform) {
  std::vector<std::string> keys;
  for (const std::string& text : kNastyTexts) keys.push_back(LocaleSortKey(text));
  int mismatches = 0;
  for (size_t i = 0; i < kNastyTexts.size(); ++i)
    for (size_t j = 0; j < kNastyTexts.size(); ++j) {
      int expected = Sign(PlatformCompare(kNastyTexts[i], kNastyTexts[j]));
      int byKeys = Sign(CompareSortKeys(keys[i], keys[j]));
      int byCompare = Sign(CompareTextLocale(kNastyTexts[i], kNastyTexts[j]));
      if ((expected != byKeys || expected != byCompare) && ++mismatches <= 20)
        ADD_FAILURE() << "\"" << kNastyTexts[i] << "\" vs \"" << kNastyTexts[j] << "\": platform " << expected
                      << ", sort keys " << byKeys << ", CompareTextLocale " << byCompare;
    }
  EXPECT_EQ(mismatches, 0);
}

// CompareTextLocale answers two plain ASCII names from the weight table, without the platform.
// Every text of up to three characters (control characters included) against a partner that
// shares a prefix of random length, case changed at random, and goes on with up to two random
// characters: equal texts, texts equal but for case, prefixes and first differences at every
// place.
TEST(LocaleSort, LocaleCompareOfShortTextsAsThePlatform) {
  std::mt19937 random(20261210);
  auto anyCharacter = [&] { return static_cast<char>(1 + random() % 0x7f); };
  int mismatches = 0;
  std::string text, partner;
  auto check = [&] {
    const size_t shared = random() % (text.size() + 1);
    partner.clear();
    for (size_t i = 0; i < shared; ++i) {
      const char c = text[i];
      partner += random() % 2 && std::isalpha(static_cast<unsigned char>(c)) ? static_cast<char>(c ^ 0x20) : c;
    }
    for (size_t more = random() % 3; more > 0; --more) partner += anyCharacter();
    const int expected = Sign(PlatformCompare(text, partner));
    const int actual = Sign(CompareTextLocale(text, partner));
    if (expected != actual && ++mismatches <= 20)
      ADD_FAILURE() << "\"" << text << "\" vs \"" << partner << "\": platform " << expected << ", CompareTextLocale "
                    << actual;
  };
  check();
  for (int a = 1; a < 0x80; ++a) {
    text.assign(1, static_cast<char>(a));
    check();
    for (int b = 1; b < 0x80; ++b) {
      text.assign({static_cast<char>(a), static_cast<char>(b)});
      check();
      for (int c = 1; c < 0x80; ++c) {
        text.assign({static_cast<char>(a), static_cast<char>(b), static_cast<char>(c)});
        check();
      }
    }
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
