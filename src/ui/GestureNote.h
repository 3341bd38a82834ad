// The mouse's and a touch screen's gestures, as the help panel shows them once a pointer has
// been used: a player with no keys learns them there.
#pragma once

#include <array>
#include <cstdint>

// Two lines of Windows-1250 text in the language (0 English, 1 Slovak), for the setup screen
// or for play.
std::array<const char*, 2> GestureNote(int32_t Language, bool Setup);
