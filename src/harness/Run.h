// One run of the game under the harness options: key script, frames back to back or on the
// clock, a trace line after every frame and the state dump at the end.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>

#include "harness/Options.h"
#include "media/Clock.h"
#include "media/DXInput.h"

class TMainForm;

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

// Runs the shown form. With --frames: that many ticks back to back (Pump is called before
// each), every one shown; otherwise in real time at the pace of --pace while Pump keeps the
// platform going, until the window closes. PresentAgain shows the last picture again (none:
// the display cannot). Keys: the held-key table the form's input reads, changed by the script.
// Raises EKeyScriptError for a bad script and EHarnessError when an output file cannot be
// written. Returns the ticks run.
int64_t RunGame(TMainForm& Form, THeldKeys& Keys, const THarnessOptions& Options,
                const std::function<void()>& Pump,
                const std::function<void()>& PresentAgain = {});

class EHarnessError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
