// Key scripts: "FRAME down|up KEY" a line, '#' starts a comment. KEY is a name (ESCAPE, RETURN,
// SPACE, SHIFT, CONTROL, MENU, LEFT, RIGHT, UP, DOWN, F1..F12, A..Z, 0..9, NUMPAD0..NUMPAD9)
// or a virtual-key code in hex (0x4B). Pointer lines, in the picture's pixels:
// "FRAME pointer down|move|up ID X Y" (ID 0 the mouse's left button, 1 and up fingers) and
// "FRAME wheel STEPS" (positive towards the player). Two comment lines are settings of the run the script
// was recorded in: "# seed N" and "# clock YYYY-MM-DDTHH:MM:SS".
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "media/Clock.h"
#include "media/PointerGestures.h"

class EKeyScriptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class TEventKind : uint8_t { Key, Pointer, Wheel };

struct TKeyEvent {
  TKeyEvent() = default;
  TKeyEvent(int64_t AFrame, bool ADown, uint8_t AVirtualKey)
      : Frame(AFrame), Down(ADown), VirtualKey(AVirtualKey) {}
  int64_t Frame = 1;  // the tick before which the event arrives, from 1
  bool Down = true;
  uint8_t VirtualKey = 0;
  TEventKind Kind = TEventKind::Key;
  TPointerEvent Pointer;  // a pointer event's
  int32_t Steps = 0;      // a wheel event's
  bool operator==(const TKeyEvent&) const = default;
};

// The bounds a script's pointer lines keep to: points further off the picture than this, or
// not numbers, are errors rather than input.
constexpr float PointerCoordinateLimit = 100000;
constexpr int32_t PointerIdLimit = 1023;
constexpr int32_t WheelStepLimit = 1000;

TKeyEvent PointerEventAt(int64_t Frame, const TPointerEvent& Pointer);
TKeyEvent WheelEventAt(int64_t Frame, int32_t Steps);

struct TKeyScript {
  std::vector<TKeyEvent> Events;
  std::optional<uint32_t> Seed;
  std::optional<TLocalDateTime> Clock;
};

// The virtual-key code of a name or hex code, none when it is neither.
std::optional<uint8_t> KeyCode(std::string_view Name);
// The name KeyCode reads back as Code: a key name where there is one, else hex.
std::string KeyName(uint8_t Code);
// One script line for the event, without the line end.
std::string KeyScriptLine(const TKeyEvent& Event);

// Events ordered by frame, in file order within a frame, and the settings lines. Raises
// EKeyScriptError "line N: ..." for a line that is not an event or a bad setting.
TKeyScript ReadKeyScript(std::string_view Text);
std::vector<TKeyEvent> ParseKeyScript(std::string_view Text);
// Raises EKeyScriptError when the file cannot be read.
TKeyScript LoadKeyScript(const std::string& FileName);
