#pragma once
// The settings a restore pass obeys, read from the stored options when the pass starts, so a
// change in the options applies to the next pass.

#include "app/Settings.h"
#include "restore/RestoreRequest.h"

RestoreSettings RestoreSettingsOf(const Settings& settings);

// From the settings key installed as StaticReg.
RestoreSettings CurrentRestoreSettings(const std::string& programFolder);
