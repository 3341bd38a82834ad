// PNG files through SDL2_image, to and from pictures.
#pragma once

#include <string>

#include "media/DIB.h"

// Paletted PNGs give 8-bit pictures with their colour table; others 24-bit, or 32-bit when
// some pixel is not fully opaque.
TDIB LoadPng(const std::string& Path);
// Pictures of 8 bits or fewer are written paletted, others as RGB(A).
void SavePng(const TDIB& Picture, const std::string& Path);
