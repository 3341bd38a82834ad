// The README's screenshots: the game played through its key handlers on the headless display,
// with the back surface captured at the moments worth showing.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct TScreenshot {
  std::string Name;  // file name without extension
  int32_t Width = 0, Height = 0;
  std::vector<uint8_t> RGBA;  // top row first
};

// Plays edition Edition from start-up with the pictures of DataDir and hands over every
// screenshot as it is taken. Throws the game's errors (a missing picture file, no GL).
void TakeScreenshots(const std::string& DataDir, int32_t Edition,
                     const std::function<void(const TScreenshot&)>& Take);

// Writes a screenshot as a PNG; throws std::runtime_error on failure.
void SavePng(const TScreenshot& Shot, const std::string& File);
