#pragma once
// Deleting the files a cleaning tool lists: the question asked first, and the run that deletes
// the chosen rows one by one until the first error.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// The confirmation for deleting selected of rows rows; firstPath is the selected row's path
// when one is selected. allWarning is added to the question for all rows (two or more).
std::string DeletionQuestion(size_t selected, size_t rows, const std::string& firstPath,
                             const std::string& allWarning = "");

// Deletes the path of each owner in order through deleteFile and appends each owner whose file
// is gone to deleted. The first error ends the run and reaches the caller; deleted then holds
// what was deleted before it.
void DeleteListedFiles(const std::vector<size_t>& owners, const std::function<std::string(size_t)>& pathOf,
                       const std::function<bool(const std::string&)>& deleteFile, std::vector<size_t>& deleted);
