// The sounds the game carries in its own data, as RIFF WAVE bytes, in the form's order:
// "Move", "Rotate", "GameEnd", "Change", "InitScene", "SetupChange", "SetupMove".
#pragma once

#include <cstdint>
#include <span>

struct TStoredWave {
  const char* Name;
  std::span<const uint8_t> Riff;
};

std::span<const TStoredWave> StoredWaves();
