#pragma once
// A number written as hexadecimal text, as the registry keeps the user's locale ("00000409").

#include <cstdint>
#include <string_view>

// Blanks (spaces, tabs) around the text are ignored, a leading "$" is allowed, the digits are 0-9 and A-F in
// either case. An empty text, another character or a number beyond 32 bits raises EConvertError
// "Error while converting String to Hex".
uint32_t HexTextToNumber(std::string_view text);
