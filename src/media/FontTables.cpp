#include "media/FontTables.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace {
// The table tags of embedded bitmaps (OpenType's and the older Apple names) and the tags
// they become, which no rasterizer looks for.
constexpr std::array<std::array<char, 4>, 5> Strikes{
    {{'E', 'B', 'D', 'T'}, {'E', 'B', 'L', 'C'}, {'E', 'B', 'S', 'C'}, {'b', 'd', 'a', 't'},
     {'b', 'l', 'o', 'c'}}};
constexpr size_t Header = 12, Record = 16;
}  // namespace

void HideBitmapStrikes(std::span<uint8_t> Font) {
  if (Font.size() < Header) return;
  const size_t tables = static_cast<size_t>(Font[4]) << 8 | Font[5];
  for (size_t i = 0; i < tables; ++i) {
    const size_t at = Header + i * Record;
    if (at + Record > Font.size()) return;
    for (const auto& tag : Strikes) {
      if (!std::equal(tag.begin(), tag.end(), Font.begin() + static_cast<std::ptrdiff_t>(at),
                      [](char A, uint8_t B) { return static_cast<uint8_t>(A) == B; }))
        continue;
      Font[at] = 'x';
      break;
    }
  }
}
