// Without the platform's locale: an unambiguous fixed format.
#include <cstdio>

#include "core/Formatting.h"

std::string FormatDosDateTime(uint32_t dosDateTime) {
  unsigned date = dosDateTime >> 16, time = dosDateTime & 0xFFFF;
  char text[32];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", 1980 + (date >> 9), (date >> 5) & 15, date & 31,
                time >> 11, (time >> 5) & 63, (time & 31) * 2);
  return text;
}

char ThousandsSeparator() { return ','; }
