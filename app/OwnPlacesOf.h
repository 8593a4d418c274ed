#pragma once
// The program's own places for a save, read from the stored options when the save starts, so
// that a backup folder changed in the options is left out from the next save on.

#include "app/AppState.h"
#include "capture/OwnPlaces.h"

OwnPlaces CurrentOwnPlaces(const AppState& app);
