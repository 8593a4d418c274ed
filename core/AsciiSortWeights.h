#pragma once
// Locale sort weights of plain ASCII characters, read once from the platform, so that names made
// of them get their sort key, and their order, without a locale call each. Nearly every name on a
// disk and in a registry is such a name; the captures key every name they sort and the compare
// orders every pair of names it merges.
//
// The platform's key of such a name is the weights of its characters one after the other, then a
// tail that is the same for every name. Characters that weigh on another level (word sorting's '-'
// and '\'', control characters) and every byte above 0x7F stay out of the table: a name with one
// of them takes the platform's route. A locale that joins two letters into one weight would break
// the rule, so the table is used only after every pair of its characters has given the platform's
// key.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

class AsciiSortWeights {
 public:
  // Appends the platform's sort key of text (case ignored) to keys.
  using PlatformKey = void (*)(std::string& keys, std::string_view text);

  explicit AsciiSortWeights(PlatformKey platformKey);

  // Appends the key of text and answers true, or answers false and leaves keys as they were when
  // text has a character outside the table.
  bool AppendKey(std::string& keys, std::string_view text) const;

  // Sets result to <0, 0 or >0 as the two texts' keys compare byte by byte and answers true, or
  // answers false when either text has a character outside the table. Builds no key.
  bool Compare(std::string_view a, std::string_view b, int& result) const;

 private:
  static constexpr int kAscii = 0x80;
  static constexpr int kBytes = 0x100;  // indexed by any byte; those above 0x7F stay 0
  static constexpr size_t kMaxWeight = 4;

  bool InTable(std::string_view text) const;
  bool AppendWeights(std::string& keys, std::string_view text) const;
  bool EveryPairAsThePlatform(PlatformKey platformKey) const;
  // Compares the weights of a, then the tail, with those of b, then the tail, byte by byte.
  int CompareWeightBytes(std::string_view a, std::string_view b) const;

  std::array<uint8_t, kBytes> length_{};  // 0: not in the table
  std::array<std::array<char, kMaxWeight>, kBytes> weights_{};
  // Equal for characters of the same weights ('a' and 'A'), 0 outside the table: one look-up per
  // character tells both whether it is in the table and whether it weighs as the other text's.
  std::array<uint8_t, kBytes> weightClass_{};
  std::string tail_;
  bool usable_ = false;
};
