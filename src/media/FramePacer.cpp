#include "media/FramePacer.h"

#include <algorithm>
#include <cmath>

namespace {
// Keeps a tick from being lost to rounding when frames come exactly one period apart.
constexpr double Slack = 1e-6;
// A tick this close to due runs now, paid for by the next: frames that come a whole number of
// ticks apart, give or take the wobble of a real clock, then get the same count each time.
constexpr double Snap = 2.0;
}  // namespace

void TFramePacer::SetPace(TPace Value) {
  if (FPace == Value) return;
  FPace = Value;
  Reset();
}

void TFramePacer::Reset() {
  FStarted = false;
  FOwed = 0;
  FPhase = 0;
  FCount = 0;
  FNext = 0;
  FNoWait = false;
  FPeriod = 0;
  FLock = 0;
}

int32_t TFramePacer::Frame(double NowMs) {
  if (!FStarted) {
    FStarted = true;
    FLast = FLastTick = NowMs;
    return 1;
  }
  const double elapsed = std::max(NowMs - FLast, 0.0);
  FLast = NowMs;
  Measure(elapsed);
  return FPace == TPace::Display ? DisplayTicks(NowMs) : SteadyTicks(elapsed);
}

int32_t TFramePacer::DisplayTicks(double NowMs) {
  if (NowMs - FLastTick + Slack < FMinInterval) return 0;
  FLastTick = NowMs;
  return 1;
}

int32_t TFramePacer::SteadyTicks(double Elapsed) {
  if (FLock > 0) {
    // Counting refreshes rather than adding up time: two clocks cannot drift apart.
    const double refreshes =
        std::min(std::round(Elapsed / FPeriod), static_cast<double>(MaxTicksPerFrame * FLock));
    FPhase += static_cast<int32_t>(refreshes);
    const int32_t ticks = FPhase / FLock;
    FPhase %= FLock;
    return ticks;
  }
  FOwed = std::min(FOwed + Elapsed, MaxTicksPerFrame * TickPeriod);
  const auto ticks = static_cast<int32_t>((FOwed + Snap) / TickPeriod);
  FOwed -= ticks * TickPeriod;
  return ticks;
}

void TFramePacer::Measure(double Interval) {
  FIntervals[FNext] = Interval;
  FNext = (FNext + 1) % History;
  FCount = std::min(FCount + 1, History);
  if (FCount < History || FNoWait) return;

  std::array<double, History> sorted = FIntervals;
  std::sort(sorted.begin(), sorted.end());
  const double median = (sorted[History / 2 - 1] + sorted[History / 2]) / 2;
  const double fastest =
      FDisplayHz > 0 ? std::max(MinRefreshPeriod, 0.8 * 1000.0 / FDisplayHz) : MinRefreshPeriod;
  if (median < fastest) {
    FNoWait = true;
    FPeriod = 0;
    FLock = 0;
    FOwed = 0;
    return;
  }
  // All the time over all the refreshes it spans, a missed refresh counted as two: finer than
  // any one interval, since the wobble of each look at the clock cancels out.
  double time = 0, refreshes = 0;
  for (double i : sorted) {
    time += i;
    refreshes += std::round(i / median);
  }
  FPeriod = time / refreshes;
  // Held a little beyond the tolerance once locked, so a wobbly measure does not flicker.
  const double base = FDisplayHz > 0 ? LockTolerance : UnknownLockTolerance;
  const double tolerance = FLock > 0 ? 2 * base : base;
  const bool atDisplayRate =
      FDisplayHz <= 0 || std::abs(FPeriod * FDisplayHz / 1000.0 - 1) <= RefreshAgreement;
  int32_t lock = 0;
  for (int32_t k = 1; atDisplayRate && k <= MaxRefreshesPerTick && lock == 0; ++k)
    if (std::abs(FPeriod * k - TickPeriod) <= tolerance * TickPeriod) lock = k;
  if (lock != FLock) {
    FLock = lock;
    FPhase = 0;
    FOwed = 0;
  }
}

double TFramePacer::NextTickDue() const {
  if (!FStarted) return FLast;
  if (FPace == TPace::Display) return FLastTick + FMinInterval;
  if (FLock > 0) return FLast + FPeriod * (FLock - FPhase);
  return FLast + (TickPeriod - Snap - FOwed);
}
