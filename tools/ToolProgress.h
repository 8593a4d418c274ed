#pragma once
// What a cleaning tool's search shows while it runs and where its errors go. The tool's window
// implements it with its status panels and the error report; tests record what it is told.

#include <cstdint>
#include <exception>
#include <string>

struct SearchCounters {
  uint64_t files = 0;
  uint64_t folders = 0;
  uint64_t duplicates = 0;
};

class ToolProgress {
 public:
  virtual ~ToolProgress() = default;
  virtual void SetStatus(const std::string& text) = 0;
  virtual void ShowCounters(const SearchCounters& counters) = 0;
  // Lets pending window messages run: the window repaints and Cancel can be clicked.
  virtual void ProcessMessages() = 0;
  // An error that ends one part of a search (one definition's walk) while the rest goes on.
  virtual void ReportError(std::exception_ptr error) = 0;
};
