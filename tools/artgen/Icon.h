// The program's icon: a picture cube as the game shows it, drawn for each size so that it
// stays legible down to 16 pixels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace art {

// The square sizes of the PNG icons: the desktop's, then the ones a phone's home screen takes.
inline const std::vector<int> IconSizes = {16, 32, 48, 64, 128, 256};
inline const std::vector<int> WebIconSizes = {192, 512};
// A home screen may cut its icons to any shape inside the middle circle of this diameter (a
// share of the side): the maskable icon keeps the cube in it and fills the rest.
constexpr double MaskableSafeShare = 0.8;
// The maskable icon's fill, the page's theme colour.
constexpr uint32_t MaskableFill = 0x141C30;

// Writes zelgora-<size>.png for every size, zelgora-maskable-512.png and the scalable
// zelgora.svg into Folder (made if absent); raises on a write error.
void WriteIcons(const std::string& Folder);

}  // namespace art
