// Pixel rules of the canvas's pen: which pixels a line or an unfilled ellipse covers, shared
// by every canvas so that a picture and the back surface draw the same pixels.
#pragma once

#include <cstdint>
#include <vector>

struct TPixelPoint {
  int32_t X = 0, Y = 0;
  bool operator==(const TPixelPoint&) const = default;
};

// The pixels of a pen line from (X0, Y0) towards (X1, Y1); the end point itself is left out,
// so lines drawn one after another do not paint their joints twice.
std::vector<TPixelPoint> LinePixels(int32_t X0, int32_t Y0, int32_t X1, int32_t Y1);

// The outline of the ellipse that fits the box (X1, Y1)-(X2, Y2), right and bottom edges
// excluded; an empty box gives no pixels.
std::vector<TPixelPoint> EllipsePixels(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2);
