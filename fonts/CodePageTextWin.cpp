#include <windows.h>

#include "fonts/CodePageText.h"

std::string CodePageTextOf(const std::u16string& text) {
  if (text.empty()) return {};
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int length = static_cast<int>(text.size());
  const int size = WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return std::string(text.size(), '?');
  std::string result(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide, length, result.data(), size, nullptr, nullptr);
  return result;
}
