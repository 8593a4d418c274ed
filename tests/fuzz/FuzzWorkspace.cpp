#include "tests/fuzz/FuzzWorkspace.h"

#include <unistd.h>

#include <fstream>
#include <stdexcept>

FuzzWorkspace::FuzzWorkspace()
    : path_(std::filesystem::temp_directory_path() / ("quorvel-fuzz-" + std::to_string(getpid()))) {
  std::filesystem::create_directories(path_);
}

FuzzWorkspace::~FuzzWorkspace() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string FuzzWorkspace::Write(const std::string& name, const uint8_t* bytes, size_t size) const {
  const std::string path = PathOf(name);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(size));
  if (!out) throw std::runtime_error("cannot write " + path);
  return path;
}

const FuzzWorkspace& Workspace() {
  static const FuzzWorkspace workspace;
  return workspace;
}
