#pragma once
// Upper case as the platform converts it in the user's locale. Root names, system-file entries
// and the paths checked against the exclude list are matched in this form.

#include <string>
#include <string_view>

std::string UpperCaseLocale(std::string_view text);
