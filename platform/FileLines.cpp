#include "platform/FileLines.h"

#include "datafiles/Stream.h"

std::vector<std::string> ReadFileLines(const std::string& path) {
  TFileStream file(path, FileMode::OpenRead);
  std::string content(static_cast<size_t>(file.Size()), '\0');
  content.resize(file.Read(content.data(), content.size()));
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < content.size(); ++i) {
    if (content[i] != '\r' && content[i] != '\n') continue;
    lines.push_back(content.substr(start, i - start));
    if (content[i] == '\r' && i + 1 < content.size() && content[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < content.size()) lines.push_back(content.substr(start));
  return lines;
}

std::string TrimText(const std::string& text) {
  size_t first = 0, last = text.size();
  while (first < last && static_cast<unsigned char>(text[first]) <= ' ') ++first;
  while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ') --last;
  return text.substr(first, last - first);
}
