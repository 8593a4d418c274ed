#pragma once
// The sections of a configuration data file, each written by one capture.

#include <functional>
#include <string>

#include "core/TreeModel.h"
#include "datafiles/TWriter.h"

// Status text, progress maximum and position, shown on the main thread.
using CaptureProgress = std::function<void(const std::string& status, int max, int position)>;

// The registry section: one entry per root key of the tree that is not unchecked.
void CaptureRegistrySection(TWriter& writer, TreeModel& registryTree, const CaptureProgress& progress);

// The drives header and section: one entry per drive of the tree that is not unchecked.
void CaptureDrivesSection(TWriter& writer, const TreeModel& driveTree, const CaptureProgress& progress);

// The system-files header and section: one entry per system file that is not unchecked.
void CaptureSystemFilesSection(TWriter& writer, const TreeModel& systemTree, const CaptureProgress& progress);
