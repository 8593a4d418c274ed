#pragma once
// A tool's progress display for tests: keeps the status texts and the errors it was told, and
// runs a hook where the window would let messages run (a test clicks Cancel there).

#include <functional>
#include <string>
#include <vector>

#include "core/Errors.h"
#include "tools/ToolProgress.h"

class RecordingProgress : public ToolProgress {
 public:
  void SetStatus(const std::string& text) override { statuses.push_back(text); }
  void ShowCounters(const SearchCounters& shown) override { counters = shown; }
  void ProcessMessages() override {
    if (onMessages) onMessages();
  }
  void ReportError(std::exception_ptr error) override { errors.push_back(DescribeError(error).message); }

  std::vector<std::string> statuses;
  std::vector<std::string> errors;
  SearchCounters counters;
  std::function<void()> onMessages;
};
