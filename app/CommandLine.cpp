#include "app/CommandLine.h"

#include <windows.h>

#include <cstdlib>

namespace {

std::string Upper(std::string text) {
  CharUpperBuffA(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

std::string Keyword(const std::string& argument) {
  std::string upper = Upper(argument);
  return !upper.empty() && upper[0] == '/' ? upper.substr(1) : upper;
}

bool HasExtension(const std::string& path, const char* extension) {
  size_t dot = path.rfind('.');
  return dot != std::string::npos && path.find_first_of("\\/", dot) == std::string::npos &&
         Upper(path.substr(dot)) == extension;
}

}  // namespace

CommandLineRequest ParseCommandLine(const std::vector<std::string>& arguments,
                                    bool (*fileExists)(const std::string& path)) {
  if (arguments.empty()) return {};
  const std::string keyword = Keyword(arguments[0]);
  if (arguments[0] == "?" || arguments[0] == "/?") return {CommandLineAction::Help, ""};
  if (keyword == "STORECONFIG") {
    if (arguments.size() == 1) return {CommandLineAction::Store, ""};
    return {};
  }
  if (keyword == "COMPARE" || keyword == "UNINSTALL") {
    if (arguments.size() != 2) return {};
    return {keyword == "COMPARE" ? CommandLineAction::Compare : CommandLineAction::Uninstall, arguments[1]};
  }
  if (arguments.size() == 1 && fileExists(arguments[0])) {
    if (HasExtension(arguments[0], ".SXS")) return {CommandLineAction::SelectionFile, arguments[0]};
    if (HasExtension(arguments[0], ".SXL")) return {CommandLineAction::LogFile, arguments[0]};
  }
  return {};
}

std::string FullPathName(const std::string& path) {
  std::string full(MAX_PATH, '\0');
  DWORD length = GetFullPathNameA(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  if (length >= full.size()) {
    full.resize(length);
    length = GetFullPathNameA(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  }
  full.resize(length < full.size() ? length : 0);
  return full.empty() ? path : full;
}

std::string BatchLogFileName(const std::string& argument) {
  if (Upper(argument).find(".SXL") != std::string::npos) return argument;
  std::string full = FullPathName(argument);
  size_t dot = full.rfind('.');
  if (dot != std::string::npos && full.find('\\', dot) == std::string::npos) full.resize(dot);
  return full + ".SXL";
}

bool IsBatch(CommandLineAction action) {
  return action == CommandLineAction::Store || action == CommandLineAction::Compare ||
         action == CommandLineAction::Uninstall;
}

std::vector<std::string> ProcessArguments() {
  std::vector<std::string> arguments;
  for (int i = 1; i < __argc; ++i) arguments.emplace_back(__argv[i]);
  return arguments;
}
