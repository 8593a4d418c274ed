#pragma once
// Texts the lists show for sizes, attributes, dates and registry values.

#include <cstdint>
#include <string>
#include <string_view>

// "#,###,##0": thousands separated, no decimals.
std::string FormatThousands(uint64_t value, char separator = ',');
// "A", "R", "S", "H" for the bits 0x20, 0x01, 0x04, 0x02, in this order, each when set.
std::string FormatAttributes(uint32_t attributes);
// A packed MS-DOS date and time (date high, time low) as the locale's short date and time.
std::string FormatDosDateTime(uint32_t dosDateTime);
// The locale's thousands separator.
char ThousandsSeparator();

// A registry value as the value lists show it, by its registry data type code: strings in
// double quotes (emptyText when empty), integers as "$" + 8 hex digits + "   (" + decimal +
// ")", everything else as "Binary(code), size bytes: " + at most 201 bytes in hex.
std::string FormatRegistryValue(int code, std::string_view data, const std::string& emptyText);
