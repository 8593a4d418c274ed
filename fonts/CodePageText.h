#pragma once
// UTF-16 text turned into the 8-bit ANSI code page the program's texts are in. Windows converts
// with the system's code page (CodePageTextWin.cpp); the native engine build keeps the first 256
// code points as they are and writes "?" for the rest (CodePageTextFallback.cpp).

#include <string>

std::string CodePageTextOf(const std::u16string& text);
