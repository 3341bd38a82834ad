// Font files as the text rasterizer takes them.
#pragma once

#include <cstdint>
#include <span>

// Hides the embedded bitmap strikes of a TrueType or OpenType file in place, so that every
// glyph is drawn from its outline (strikes that cover only some letters, or that are not the
// weight of the face, mix with the outlines badly). Leaves anything that is not a font's table
// directory as it is; never reads past the bytes.
void HideBitmapStrikes(std::span<uint8_t> Font);
