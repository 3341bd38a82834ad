#include "IconFile.h"

#include <limits>
#include <stdexcept>

namespace art {

namespace {

void Put16(std::vector<uint8_t>& Out, uint32_t V) {
  Out.push_back(static_cast<uint8_t>(V));
  Out.push_back(static_cast<uint8_t>(V >> 8));
}
void Put32(std::vector<uint8_t>& Out, uint32_t V) {
  Put16(Out, V & 0xFFFF);
  Put16(Out, V >> 16);
}

}  // namespace

std::vector<uint8_t> IconFile(std::span<const TIconImage> Images) {
  if (Images.empty() || Images.size() > std::numeric_limits<uint16_t>::max())
    throw std::invalid_argument("an icon file holds 1 to 65535 images");
  constexpr uint32_t HeaderSize = 6, EntrySize = 16;
  std::vector<uint8_t> out;
  Put16(out, 0);  // reserved
  Put16(out, 1);  // icon, not cursor
  Put16(out, static_cast<uint32_t>(Images.size()));
  uint64_t offset = HeaderSize + EntrySize * Images.size();
  for (const TIconImage& image : Images) {
    if (image.Size < 1 || image.Size > 256)
      throw std::invalid_argument("an icon image is 1 to 256 pixels square");
    if (offset + image.Png.size() > std::numeric_limits<uint32_t>::max())
      throw std::invalid_argument("icon file too large");
    const uint8_t side = static_cast<uint8_t>(image.Size == 256 ? 0 : image.Size);  // 0 is 256
    out.push_back(side);
    out.push_back(side);
    out.push_back(0);  // no palette
    out.push_back(0);
    Put16(out, 1);   // planes
    Put16(out, 32);  // bits per pixel
    Put32(out, static_cast<uint32_t>(image.Png.size()));
    Put32(out, static_cast<uint32_t>(offset));
    offset += image.Png.size();
  }
  for (const TIconImage& image : Images) out.insert(out.end(), image.Png.begin(), image.Png.end());
  return out;
}

}  // namespace art
