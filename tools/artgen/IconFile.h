// The program's icon as Windows takes it into a program's resources: one file holding the
// icon at every size, each size stored as its PNG.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace art {

struct TIconImage {
  int Size;                      // square, 1..256 pixels
  std::span<const uint8_t> Png;  // 32-bit RGBA PNG of that size
};

// The bytes of the icon file; raises std::invalid_argument on a size outside 1..256, no
// images, or more than the format's count holds.
std::vector<uint8_t> IconFile(std::span<const TIconImage> Images);

}  // namespace art
