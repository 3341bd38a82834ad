// A live session written down as a key script: its seed and start clock as settings lines,
// then every key event with the tick it came before, so that --keys plays the session again.
#pragma once

#include <array>
#include <cstdint>
#include <fstream>
#include <functional>
#include <string>

#include "harness/KeyScript.h"
#include "media/Clock.h"
#include "media/DXInput.h"

class TKeyRecorder {
 public:
  // Raises EHarnessError when the file cannot be written.
  TKeyRecorder(const std::string& File, uint32_t Seed, const TLocalDateTime& Clock);
  void Add(const TKeyEvent& Event);
  // Flushes; raises EHarnessError when writing failed.
  void Finish();

 private:
  std::string FFile;
  std::ofstream FOut;
};

// A joystick as the recorder sees it: each reading's direction changes go into the recording
// as presses and releases of keys that give the same states through the keyboard's table, so
// that the replay needs no joystick. The game reads no button states, so none are written.
class TRecordedJoystick : public TJoystickSource {
 public:
  // Keys: for Up, Down, Left and Right, the key that stands for it. NextFrame: the tick the
  // reading belongs to.
  TRecordedJoystick(TJoystickSource& Source, TKeyRecorder& Recorder, std::array<uint8_t, 4> Keys,
                    std::function<int64_t()> NextFrame);
  TDXInputStates ReadStates() override;

 private:
  TJoystickSource& FSource;
  TKeyRecorder& FRecorder;
  std::array<uint8_t, 4> FKeys;
  std::function<int64_t()> FNextFrame;
  TDXInputStates FLast;
};

// The key that stands for each direction state in a key table: its last one (in the game's
// table the numeric pad, which no key handler reacts to), 0 where it has none.
std::array<uint8_t, 4> DirectionKeys(const TKeyAssignList& Table);
