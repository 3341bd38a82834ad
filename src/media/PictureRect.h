// Where the game's picture goes on an output of another size (a full screen, a resized
// window, a browser canvas): scaled with its aspect kept and centred, the rest left black.
// Pure arithmetic, so every platform places the picture the same way.
#pragma once

#include <cstdint>

struct TPictureRect {
  int32_t X = 0, Y = 0, Width = 0, Height = 0;
  bool Empty() const { return Width <= 0 || Height <= 0; }
  bool operator==(const TPictureRect&) const = default;
};

// The largest rectangle of the picture's aspect inside the output, in whole output pixels,
// centred (an odd leftover pixel goes right and down). An output of the picture's own size
// gives the picture's size at (0, 0). An empty output or picture gives an empty rectangle.
TPictureRect FitPicture(int32_t OutputWidth, int32_t OutputHeight, int32_t PictureWidth,
                        int32_t PictureHeight);
