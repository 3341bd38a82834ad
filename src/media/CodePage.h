// The game's texts are 8-bit Windows-1250; these turn them into Unicode at the edge where
// they are shown.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The Unicode code point of one Windows-1250 byte; the five unassigned bytes give U+FFFD.
char32_t Cp1250ToUnicode(uint8_t Byte);
// The UTF-8 form of a Windows-1250 text.
std::string Cp1250ToUtf8(std::string_view Text);
