#include "tools/ScreenFonts.h"

#include <windows.h>

#include <algorithm>
#include <set>

#include "compare/UpperCase.h"
#include "core/TextCompare.h"

namespace {

std::string UpperTrimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return UpperCaseLocale(std::string_view(text).substr(first, text.find_last_not_of(' ') - first + 1));
}

int CALLBACK AddFamily(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM names) {
  // "@" names are the vertical forms of East Asian fonts, not families of their own.
  if (font->lfFaceName[0] != '@') reinterpret_cast<std::set<std::string>*>(names)->insert(font->lfFaceName);
  return 1;
}

}  // namespace

std::vector<std::string> InstalledScreenFamilies() {
  std::set<std::string> names;
  HDC screen = GetDC(nullptr);
  LOGFONTA all{};
  all.lfCharSet = DEFAULT_CHARSET;
  EnumFontFamiliesExA(screen, &all, AddFamily, reinterpret_cast<LPARAM>(&names), 0);
  ReleaseDC(nullptr, screen);
  return {names.begin(), names.end()};
}

std::optional<std::string> FamilyOfDisplayName(const std::string& displayName, std::vector<std::string> families) {
  const std::string key = UpperTrimmed(displayName);
  // Sorted, a longer name that another begins comes after it: walked from the end it wins.
  std::sort(families.begin(), families.end(), TextLess);
  for (auto family = families.rbegin(); family != families.rend(); ++family) {
    const std::string upper = UpperTrimmed(*family);
    if (!upper.empty() && key.rfind(upper, 0) == 0) return *family;
  }
  return std::nullopt;
}
