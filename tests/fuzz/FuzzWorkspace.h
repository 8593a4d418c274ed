#pragma once
// A temporary folder of the fuzzing process for the files the engine reads and writes by name,
// removed when the process ends normally.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

class FuzzWorkspace {
 public:
  FuzzWorkspace();
  ~FuzzWorkspace();
  FuzzWorkspace(const FuzzWorkspace&) = delete;
  FuzzWorkspace& operator=(const FuzzWorkspace&) = delete;

  std::string PathOf(const std::string& name) const { return (path_ / name).string(); }
  // Replaces the file's contents with bytes and answers its path.
  std::string Write(const std::string& name, const uint8_t* bytes, size_t size) const;

 private:
  std::filesystem::path path_;
};

// The one workspace of the process: libFuzzer calls a target many times in one process.
const FuzzWorkspace& Workspace();
