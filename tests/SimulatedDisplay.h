// A display on a settable clock, for the frame loop: it refreshes at a given rate, presenting
// waits for the next refresh (or does not wait at all), drawing a frame takes a given time,
// sleeping wakes on whole milliseconds, and the moment the loop looks at the clock after a
// refresh wobbles by a fixed pattern.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "media/Clock.h"
#include "media/DXTimer.h"
#include "media/FrameLoop.h"

struct TDisplaySetup {
  double RefreshHz = 60;
  bool Waits = true;    // presenting waits for the vertical blank
  double DrawMs = 2;    // the cost of drawing a shown tick
  double WobbleMs = 1;  // the loop looks at the clock up to this long after a refresh
  bool Reported = true;  // the platform names the refresh rate, rounded, as SDL does
};

class TSimulatedDisplay : public TFrameHost {
 public:
  // Runs Timer's frame loop on this display for Seconds of simulated time.
  TSimulatedDisplay(TDisplaySetup Setup, TPace Pace) : FSetup(Setup) {
    Timer.SetInterval(5);
    Timer.Pacer().SetPace(Pace);
    if (Setup.Reported) Timer.Pacer().SetDisplayRefresh(std::round(Setup.RefreshHz));
    Timer.OnTimer = [this](int32_t, bool Shown) { Tick(Shown); };
    Timer.Loaded();
  }

  TManualClock Clock;  // the timer's own millisecond clock; the loop uses Now
  TDXTimer Timer{Clock};
  double Time = 1000;  // ms
  int64_t Ticks = 0, ShownTicks = 0, Presents = 0;
  // Per present, the ticks run since the previous one.
  std::vector<int32_t> TicksPerPresent;

  void Run(double Seconds) {
    FEnd = Time + Seconds * 1000;
    RunFrameLoop(Timer, *this);
  }

  bool Pump() override { return Time < FEnd; }
  double Now() override { return Time + FWobble; }
  void PresentAgain() override { Present(); }
  void RestUntil(double Ms) override { Advance(std::max(Time + 1, std::ceil(Ms))); }

 private:
  void Tick(bool Shown) {
    ++Ticks;
    ++FSince;
    if (!Shown) return;
    ++ShownTicks;
    Advance(Time + FSetup.DrawMs);
    Present();
  }
  void Present() {
    ++Presents;
    TicksPerPresent.push_back(FSince);
    FSince = 0;
    if (!FSetup.Waits) {
      Advance(Time + 0.25);
      return;
    }
    const double period = 1000 / FSetup.RefreshHz;
    Advance((std::floor(Time / period + 1e-6) + 1) * period);
  }
  void Advance(double To) {
    Time = To;
    Clock.Ms = static_cast<uint32_t>(Time);
    // A fixed, uneven pattern in [0, WobbleMs).
    FSeed = FSeed * 1103515245u + 12345u;
    FWobble = FSetup.WobbleMs * ((FSeed >> 16) % 1000) / 1000.0;
  }

  TDisplaySetup FSetup;
  double FEnd = 0;
  double FWobble = 0;
  int32_t FSince = 0;
  uint32_t FSeed = 7;
};
