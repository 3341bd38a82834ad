// Every picture of the game, drawn in code. Faces are 256 x 256, backgrounds 512 x 512.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Paint.h"

namespace art {

struct TNamedPicture {
  std::string Name;
  std::function<TImage()> Draw;
};

// Scenes by their own names; the image-list files put them into themes with the prefixes
// "C0" and "C1".
// Nature: sunset, lake, forest, meadow, coast, snowy peaks.
std::vector<TNamedPicture> NaturePictures();
// Technical: gears, circuit board, rocket, city at night, locomotive, blueprint.
std::vector<TNamedPicture> TechnicalPictures();
// Water and warm scenes for the sponsor edition: underwater, waterfall, desert, volcano,
// tropical beach.
std::vector<TNamedPicture> SponsorPictures();
// Calm, dark backgrounds behind the board.
std::vector<TNamedPicture> BackgroundPictures();

// The setup-row bar (256 x 64) the captions are painted on.
TImage SetupBar();
// The overlay border pieces (Key where nothing is drawn), the help panel and the hour-glass.
inline constexpr uint32_t MaskKey = 0xFF00FF;
TImage TopMask(int Piece);     // 0 left, 1 middle, 2 right
TImage BottomMask(int Piece);  // 0 left, 1 middle, 2 right
TImage PanelBackground();
TImage GlassHours();

}  // namespace art
