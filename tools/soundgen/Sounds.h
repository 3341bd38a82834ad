// The game's sounds, each a complete mono PCM RIFF WAVE file with the rate, sample size and
// data length the form stores.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TSound {
  std::string Name;
  std::vector<uint8_t> Riff;
};

// In the form's order: Move, Rotate, GameEnd, Change, InitScene, SetupChange, SetupMove.
std::vector<TSound> MakeSounds();
