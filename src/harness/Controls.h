// The keys of the game as the player reads them at the end of --help.
#pragma once

#include <string>

std::string ControlsText();
