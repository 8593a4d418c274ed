#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstring>

#include "core/AsciiSortWeights.h"
#include "core/Errors.h"
#include "core/TextCompare.h"

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

// Built on first use; the capture threads share it (a function-local static is built once).
const AsciiSortWeights& AsciiWeights() {
  static const AsciiSortWeights weights(AppendPlatformSortKey);
  return weights;
}

}  // namespace

int CompareTextLocale(std::string_view a, std::string_view b) {
  // Most names a merge compares are the same item on both sides, byte for byte.
  if (a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size()) == 0) return 0;
  // Two plain ASCII names compare as their sort keys, which is how the platform orders them.
  int result;
  if (AsciiWeights().Compare(a, b, result)) return result;
  return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                        static_cast<int>(b.size())) -
         CSTR_EQUAL;
}

void AppendLocaleSortKey(std::string& keys, std::string_view text) {
  if (!AsciiWeights().AppendKey(keys, text)) AppendPlatformSortKey(keys, text);
}
