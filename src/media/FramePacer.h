// Turns presented frames into game ticks. Every animation of the game advances a fixed step per
// tick, tuned for 60 ticks a second; this keeps that rate in real time whatever the display
// refreshes at, and whether or not presenting waits for the vertical blank. It is told of each
// frame about to be presented, with its time, and answers how many ticks to run first, so a
// desktop loop and a browser's animation-frame callback can both drive it. No platform calls.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

enum class TPace {
  Steady,   // about 60 ticks a second in real time
  Display,  // one tick per presented frame, at most one per timer interval (the original)
};

class TFramePacer {
 public:
  static constexpr double TickRate = 60.0;
  static constexpr double TickPeriod = 1000.0 / TickRate;
  // Catching up stops here: below TickRate / MaxTicksPerFrame frames a second the game slows
  // down rather than leap, and a stall is not made up for all at once.
  static constexpr int32_t MaxTicksPerFrame = 8;
  // Frames closer together than this come from presents that do not wait for any display.
  static constexpr double MinRefreshPeriod = 1000.0 / 300.0;
  // How far a display may be from a whole multiple of TickRate and still have ticks locked to
  // its refreshes: 57 to 63 Hz for one tick each refresh (once locked, twice as far).
  static constexpr double LockTolerance = 0.05;
  // The same where the platform does not know the refresh rate: frames slowed a little by
  // drawing (a software renderer's 57 Hz) look like such a display, and locked to them the game
  // would run slow. Displays keep to a few rates near 60 Hz: 59.1 to 60.9 Hz lock.
  static constexpr double UnknownLockTolerance = 0.015;
  // Where the platform knows the refresh rate, frames lock only when they come at that rate
  // (a whole rate, as platforms round it): slower ones are drawing bound.
  static constexpr double RefreshAgreement = 0.02;
  static constexpr int32_t MaxRefreshesPerTick = 4;

  explicit TFramePacer(TPace Pace = TPace::Steady, double MinInterval = 0)
      : FPace(Pace), FMinInterval(MinInterval) {}

  TPace Pace() const { return FPace; }
  void SetPace(TPace Value);
  // Display pace: the least time between two ticks (the timer's interval).
  void SetMinInterval(double Ms) { FMinInterval = Ms; }
  // The display's refresh rate where the platform knows it (0: unknown). Frames that come much
  // faster than it show that presenting does not wait for it.
  void SetDisplayRefresh(double Hz) { FDisplayHz = Hz; }

  // Forgets the past (at a start, after a pause, after the display changed): the next frame
  // runs one tick and the measures start again.
  void Reset();

  // A frame is about to be presented at NowMs (milliseconds, any origin, never going back).
  // Returns the ticks to run before presenting it, the last of them drawn: 0 when none is due,
  // more than one when the frames come too slowly for the rate.
  int32_t Frame(double NowMs);

  // False once frames were seen to come faster than any display refreshes: presenting does not
  // wait, and a loop should rest until NextTickDue rather than present the same picture again.
  bool PresentsWait() const { return !FNoWait; }
  // The refresh period measured from the frames (ms); 0 until enough frames were seen.
  double RefreshPeriod() const { return FPeriod; }
  // Refreshes per tick while ticks go with the refreshes (1 on a display of about 60 Hz);
  // 0 while they follow the clock.
  int32_t LockedRefreshes() const { return FLock; }
  // When the next tick falls due, for a loop that rests between frames.
  double NextTickDue() const;

 private:
  static constexpr size_t History = 32;

  void Measure(double Interval);
  int32_t SteadyTicks(double Elapsed);
  int32_t DisplayTicks(double NowMs);

  TPace FPace;
  double FMinInterval;
  double FDisplayHz = 0;
  bool FStarted = false;
  double FLast = 0;       // time of the previous frame
  double FLastTick = 0;   // display pace: time of the last tick
  double FOwed = 0;       // clock-following: time not yet turned into ticks
  int32_t FPhase = 0;     // locked: refreshes since the last tick
  std::array<double, History> FIntervals{};
  size_t FCount = 0;      // intervals recorded, up to History
  size_t FNext = 0;
  bool FNoWait = false;
  double FPeriod = 0;
  int32_t FLock = 0;
};
