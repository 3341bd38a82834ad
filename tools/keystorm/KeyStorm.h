// Key storms: seeded random key scripts that hold and release the game's keys at random, and
// the checks a run's state must pass after every frame, for soak runs under the sanitizers.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

// A key script of Frames frames: arrows, Shift, Ctrl, Alt, Alt+Return, Return, Space and F1
// to F5, each held for a random while. The same seed gives the same script on every machine.
std::string KeyStorm(uint32_t Seed, int64_t Frames);

// A storm of pointer gestures mixed with fewer keys: taps and swipes of the mouse and of
// fingers, mostly over the middle of the picture and some off it, pinches, wheel steps, ups
// and moves of fingers never put down, far-off points and twelve fingers at once.
std::string PointerStorm(uint32_t Seed, int64_t Frames);

// What is wrong with one frame's state record, given the record of the frame before (null
// for the first); empty when nothing is.
std::vector<std::string> StateProblems(const nlohmann::json& State, const nlohmann::json& Before);
