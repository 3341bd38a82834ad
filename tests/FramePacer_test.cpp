#include "media/FramePacer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "SimulatedDisplay.h"
#include "media/FrameLoop.h"

namespace {

constexpr double Warm = 1;      // seconds the measures take to settle, left out of the counts
constexpr double Seconds = 10;  // seconds counted

struct TRun {
  int64_t Ticks = 0, Shown = 0, Presents = 0;
  std::vector<int32_t> PerPresent;
  int32_t MostPerPresent() const {
    return PerPresent.empty() ? 0 : *std::ranges::max_element(PerPresent);
  }
};

TRun Simulate(const TDisplaySetup& Setup, TPace Pace = TPace::Steady) {
  TSimulatedDisplay d(Setup, Pace);
  d.Run(Warm);
  const int64_t ticks = d.Ticks, shown = d.ShownTicks, presents = d.Presents;
  const size_t from = d.TicksPerPresent.size();
  d.Run(Seconds);
  return {d.Ticks - ticks, d.ShownTicks - shown, d.Presents - presents,
          std::vector<int32_t>(d.TicksPerPresent.begin() + static_cast<std::ptrdiff_t>(from),
                               d.TicksPerPresent.end())};
}

struct TPaceCase {
  const char* Name;
  TDisplaySetup Setup;
  double PresentsPerSecond;  // 0: not checked
  int32_t MostTicksPerPresent;
};

// About 60 ticks a second on any display; the display presents at its own rate.
TEST(FramePacer, SteadyPaceOnEveryDisplay) {
  const TPaceCase cases[] = {
      {"60 Hz", {60, true}, 60, 1},
      {"75 Hz", {75, true}, 75, 1},
      {"144 Hz", {144, true}, 144, 1},
      {"240 Hz", {240, true}, 240, 1},
      {"no vertical-blank wait", {60, false}, 0, 1},
      {"no wait, drawing takes 0.1 ms", {60, false, 0.1}, 0, 1},
      {"60 Hz, drawing takes 40 ms", {60, true, 40}, 20, 3},
      {"no wait, drawing takes 30 ms", {60, false, 30}, 0, 2},
      // Drawing bound at 58 frames a second, which looks like a display: on a software
      // renderer that names no refresh rate, and on a display that names 60 Hz.
      {"no wait, drawing takes 17 ms, rate unknown", {60, false, 17, 1, false}, 0, 2},
      {"60 Hz named, no wait, drawing takes 17 ms", {60, false, 17}, 0, 2},
      {"60 Hz, rate unknown", {60, true, 2, 1, false}, 60, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const TRun r = Simulate(c.Setup);
    EXPECT_NEAR(r.Ticks / Seconds, 60, 1.0);
    if (c.PresentsPerSecond > 0) {
      EXPECT_NEAR(r.Presents / Seconds, c.PresentsPerSecond, 1.0);
    }
    EXPECT_EQ(r.MostPerPresent(), c.MostTicksPerPresent);
    // Only the last tick before a present draws: one shown tick per frame that had ticks.
    EXPECT_EQ(r.Shown, std::ranges::count_if(r.PerPresent, [](int32_t N) { return N > 0; }));
  }
}

// Near 60 Hz each refresh takes exactly one tick: no tick doubled or dropped by a beat
// between the display's clock and the computer's, even when the two are 1 % apart.
// Where the platform names no rate, the rates displays keep to near 60 Hz still lock.
TEST(FramePacer, OneTickWithEachRefreshNearSixtyHertz) {
  const std::pair<double, bool> displays[] = {{57.5, true}, {59.94, true}, {60.0, true},
                                              {60.6, true}, {62.5, true},  {59.94, false},
                                              {60.0, false}, {60.6, false}};
  for (const auto& [hz, reported] : displays) {
    SCOPED_TRACE(std::to_string(hz) + (reported ? " Hz named" : " Hz, rate unknown"));
    const TRun r = Simulate({hz, true, 3, 2, reported});
    EXPECT_EQ(r.Ticks, r.Presents);
    EXPECT_TRUE(std::ranges::all_of(r.PerPresent, [](int32_t N) { return N == 1; }));
  }
}

// Whole multiples of 60 Hz give a tick with every second or fourth refresh, evenly.
TEST(FramePacer, EvenlySpreadTicksAtMultiplesOfSixtyHertz) {
  for (int32_t k : {2, 4}) {
    SCOPED_TRACE(k);
    const TRun r = Simulate({60.0 * k, true, 1, 1});
    int32_t gap = 0;
    bool even = true;
    for (size_t i = 0; i < r.PerPresent.size(); ++i) {
      ++gap;
      if (r.PerPresent[i] == 0) continue;
      if (i > static_cast<size_t>(k) && gap != k) even = false;
      gap = 0;
    }
    EXPECT_TRUE(even);
    EXPECT_NEAR(r.Ticks / Seconds, 60, 0.5);
  }
}

// Below 60 / MaxTicksPerFrame frames a second the game slows down rather than run away.
TEST(FramePacer, CatchingUpIsCapped) {
  const TRun r = Simulate({60, true, 300});
  EXPECT_EQ(r.MostPerPresent(), TFramePacer::MaxTicksPerFrame);
  EXPECT_LT(r.Ticks / Seconds, 60);
  EXPECT_GT(r.Ticks / Seconds, 20);
}

// The original's pace: one tick per presented frame, at most one per 5 ms timer interval.
TEST(FramePacer, DisplayPaceTicksOncePerPresentedFrame) {
  const TRun onScreen = Simulate({144, true}, TPace::Display);
  EXPECT_NEAR(onScreen.Ticks / Seconds, 144, 1.0);
  EXPECT_EQ(onScreen.Ticks, onScreen.Presents);
  const TRun noWait = Simulate({60, false, 1}, TPace::Display);
  EXPECT_LE(noWait.Ticks / Seconds, 200);
  EXPECT_GT(noWait.Ticks / Seconds, 150);
  EXPECT_EQ(noWait.MostPerPresent(), 1);
}

TEST(FramePacer, FramesAfterAStallOrAResetDoNotBurst) {
  TFramePacer p;
  EXPECT_EQ(p.Frame(100), 1);  // the first frame ticks at once
  EXPECT_EQ(p.Frame(105), 0);
  EXPECT_EQ(p.Frame(100 + TFramePacer::TickPeriod), 1);
  EXPECT_EQ(p.Frame(5000), TFramePacer::MaxTicksPerFrame);
  EXPECT_EQ(p.Frame(5000 + TFramePacer::TickPeriod), 1);  // the rest of the stall is dropped
  EXPECT_EQ(p.Frame(4000), 0);                             // a clock going back counts as none
  p.Reset();
  EXPECT_EQ(p.Frame(90000), 1);
  EXPECT_EQ(p.Frame(90001), 0);
}

TEST(FramePacer, PresentsThatDoNotWaitAreRecognised) {
  TFramePacer p;
  double t = 0;
  for (int i = 0; i < 40; ++i) p.Frame(t += 16.7);
  EXPECT_TRUE(p.PresentsWait());
  EXPECT_EQ(p.LockedRefreshes(), 1);
  EXPECT_NEAR(p.RefreshPeriod(), 16.7, 0.01);
  for (int i = 0; i < 40; ++i) p.Frame(t += 0.5);
  EXPECT_FALSE(p.PresentsWait());
  EXPECT_EQ(p.LockedRefreshes(), 0);
  // Once known, resting between ticks does not make it look like a display again.
  for (int i = 0; i < 40; ++i) p.Frame(t = p.NextTickDue());
  EXPECT_FALSE(p.PresentsWait());
  // Frames far faster than the display the platform names cannot have waited for it.
  TFramePacer q;
  q.SetDisplayRefresh(60);
  t = 0;
  for (int i = 0; i < 40; ++i) q.Frame(t += 5);
  EXPECT_FALSE(q.PresentsWait());
}

// The timer runs the pacer's ticks, shows only the last, and starts afresh when re-hooked.
TEST(FramePacer, TimerFiresTheTicksOfAFrame) {
  TManualClock clock;
  TDXTimer timer(clock);
  timer.SetInterval(5);
  std::string log;
  timer.OnTimer = [&](int32_t Lag, bool Shown) {
    EXPECT_EQ(Lag, 1);
    log += Shown ? 'S' : 'h';
  };
  timer.Loaded();
  EXPECT_EQ(timer.Frame(0), 1);
  EXPECT_EQ(timer.Frame(3 * TFramePacer::TickPeriod), 3);
  EXPECT_EQ(log, "ShhS");
  timer.ApplicationDeactivate();
  EXPECT_EQ(timer.Frame(10000), 0);
  timer.ApplicationActivate();
  EXPECT_EQ(timer.Frame(20000), 1);  // no catching up on the pause
  // A tick that stops the timer ends the frame.
  timer.OnTimer = [&](int32_t, bool) { timer.SetEnabled(false); };
  EXPECT_EQ(timer.Frame(20000 + 4 * TFramePacer::TickPeriod), 1);
}

}  // namespace
