// One run of the game under the harness options: key script, frames back to back or on the
// clock, a trace line after every frame, the state dump at the end, and the recording.
#pragma once

#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "harness/FormTarget.h"
#include "harness/Harness.h"
#include "harness/Options.h"
#include "media/Clock.h"
#include "media/DXInput.h"

class TMainForm;
class TKeyRecorder;

// The clock the game sees: the computer's milliseconds, and the date and time of --clock
// (standing still) when one was given.
class THarnessClock : public TClock {
 public:
  explicit THarnessClock(std::optional<TLocalDateTime> Fixed) : FFixed(Fixed) {}
  uint32_t Milliseconds() override { return FSystem.Milliseconds(); }
  TLocalDateTime Now() override { return FFixed ? *FFixed : FSystem.Now(); }

 private:
  TSystemClock FSystem;
  std::optional<TLocalDateTime> FFixed;
};

class EHarnessError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Settles what must be known before the form is made. The seed and start clock are the
// command line's, else those of the key script's settings lines, else, when recording, the
// computer's clock now (as the game would take them), so that the recording can name them.
// Returns the script's events. Raises EKeyScriptError for a bad script.
std::vector<TKeyEvent> PrepareRun(THarnessOptions& Options, TClock& System);

class TGameRun {
 public:
  // Opens the outputs the options name (the recording needs Options' seed and clock, see
  // PrepareRun); raises EHarnessError when one cannot be written. Keys: the held-key table the
  // form's input reads, changed by the script and by live key events.
  TGameRun(TMainForm& Form, THeldKeys& Keys, const THarnessOptions& Options,
           std::vector<TKeyEvent> Events);
  ~TGameRun();
  TGameRun(const TGameRun&) = delete;
  TGameRun& operator=(const TGameRun&) = delete;

  // With --frames: that many ticks back to back (Pump is called before each), every one
  // shown; otherwise in real time at the pace of --pace while Pump keeps the platform going,
  // until the window closes. PresentAgain shows the last picture again (none: the display
  // cannot). Writes the state dump. Returns the ticks run.
  int64_t Run(const std::function<void()>& Pump, const std::function<void()>& PresentAgain = {});

  // The same run a step at a time, for a main loop that is handed each frame (the browser's).
  // With --frames: whether ticks remain and the window is open; then the next tick, drawn or
  // not (the state is the same), false when the harness stops the run.
  bool FramesLeft() const;
  bool RunFrame(bool Shown = true) { return FHarness.RunFrame(Shown); }
  // On the clock: the frame timer's ticks go through the harness, at the pace of --pace, from
  // StartClock until StopClock (or the end of the run).
  void StartClock();
  void StopClock();
  // Writes the state dump, closes the trace and the recording, once. Returns the ticks run.
  int64_t Finish();
  int64_t Frame() const { return FHarness.Frame(); }

  // A live key event: through the held-key table to the form, and into the recording.
  void KeyEvent(uint8_t VirtualKey, bool Down) { FHarness.KeyEvent(VirtualKey, Down); }
  // A live pointer or wheel event: to the form, and into the recording.
  void PointerEvent(const TPointerEvent& Event) { FHarness.PointerEvent(Event); }
  void WheelEvent(int32_t Steps) { FHarness.WheelEvent(Steps); }
  bool Recording() const { return FRecorder != nullptr; }
  // The joystick the form should read: the platform's, with its direction changes recorded.
  TJoystickSource& Joystick(TJoystickSource& Platform);

 private:
  TMainForm& FForm;
  const THarnessOptions& FOptions;
  TFormTarget FTarget;
  THarness FHarness;
  std::ofstream FTrace, FDump;
  std::unique_ptr<TKeyRecorder> FRecorder;
  std::unique_ptr<TJoystickSource> FJoystick;
  std::function<void(int32_t, bool)> FKeptTimer;
  bool FClockRunning = false;
  bool FFinished = false;
};

// A run whose key script is loaded from Options' file: for tests and the null renderer.
int64_t RunGame(TMainForm& Form, THeldKeys& Keys, const THarnessOptions& Options,
                const std::function<void()>& Pump,
                const std::function<void()>& PresentAgain = {});
