#include <windows.h>

#include "core/Formatting.h"

std::string FormatDosDateTime(uint32_t dosDateTime) {
  FILETIME local;
  SYSTEMTIME time;
  if (!DosDateTimeToFileTime(static_cast<WORD>(dosDateTime >> 16), static_cast<WORD>(dosDateTime & 0xFFFF), &local) ||
      !FileTimeToSystemTime(&local, &time))
    return "";
  char date[80] = {}, clock[80] = {};
  GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, date, sizeof date);
  GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &time, nullptr, clock, sizeof clock);
  return std::string(date) + " " + clock;
}

char ThousandsSeparator() {
  char separator[8] = {};
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, separator, sizeof separator) > 1) return separator[0];
  return ',';
}
