// The places where the build and the installation put the game's data, seen from the
// running program.
#pragma once

#include "media/DataFolder.h"

// ProgramFolder, RelativeToProgram and InstallFolder filled; Option and Environment empty.
TDataPlaces ProgramDataPlaces();
