#include "restore/PlainNames.h"

#include <cctype>
#include <cstring>

#include "core/Errors.h"

namespace {

bool IsDeviceName(const std::string& name) {
  std::string base = name.substr(0, name.find('.'));
  for (char& c : base) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL") return true;
  return base.size() == 4 && (base.rfind("COM", 0) == 0 || base.rfind("LPT", 0) == 0) && base[3] >= '1' &&
         base[3] <= '9';
}

// Control characters shown as "?", so the message stays on one line.
std::string Printable(const std::string& name) {
  std::string text = name;
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 32) c = '?';
  return text;
}

}  // namespace

bool IsPlainFileName(const std::string& name) {
  if (name.empty() || name == "." || name.find("..") != std::string::npos) return false;
  for (unsigned char c : name)
    if (c < 32 || std::strchr("<>:\"/\\|?*", c)) return false;
  return true;
}

bool IsUndoableName(const std::string& name) {
  return IsPlainFileName(name) && name.back() != '.' && name.back() != ' ' && !IsDeviceName(name);
}

bool FindUnplainName(const std::string& path, std::string& name) {
  if (path.size() < 3 || path[1] != ':' || path[2] != '\\' || !std::isalpha(static_cast<unsigned char>(path[0]))) {
    name = path.substr(0, 3);
    return true;
  }
  for (size_t start = 3; start < path.size();) {
    size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    name = path.substr(start, end - start);
    if (!IsUndoableName(name)) return true;
    start = end + 1;
  }
  name.clear();
  return false;
}

void RequireUndoablePath(const std::string& path, const std::string& fileName) {
  std::string name = fileName;
  if (FindUnplainName(path, name) || (!fileName.empty() && !IsUndoableName(name = fileName)))
    throw Exception("The log names \"" + Printable(name) +
                    "\", which is not a plain file or folder name; nothing "
                    "was done.");
}
