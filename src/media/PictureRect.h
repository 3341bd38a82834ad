// Where the game's picture goes on an output of another size (a full screen, a resized
// window, a browser canvas): scaled with its aspect kept and centred, the rest left black.
// Pure arithmetic, so every platform places the picture the same way.
#pragma once

#include <cstdint>
#include <optional>

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

struct TPicturePoint {
  float X = 0, Y = 0;
  bool operator==(const TPicturePoint&) const = default;
};

// A point of the output, given as fractions of its width and height (a mouse position over the
// window's size, a finger's normalised place), in the pixels of a picture of PictureWidth x
// PictureHeight placed at Placed in an output of OutputWidth x OutputHeight. Points beside the
// picture come out beyond its edges. None when the output or the placed picture is empty.
std::optional<TPicturePoint> OutputToPicture(float FractionX, float FractionY, int32_t OutputWidth,
                                             int32_t OutputHeight, const TPictureRect& Placed,
                                             int32_t PictureWidth, int32_t PictureHeight);
