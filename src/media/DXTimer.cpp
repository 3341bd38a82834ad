#include "media/DXTimer.h"

#include <algorithm>
#include <cmath>

void TDXTimer::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  if (FEnabled)
    Start();
  else
    Stop();
}

void TDXTimer::SetActiveOnly(bool Value) {
  FActiveOnly = Value;
  if (FRunning) Start();
}

void TDXTimer::SetInterval(int32_t Value) {
  FInterval = static_cast<uint32_t>(std::max(Value, 0));
  FPacer.SetMinInterval(FInterval);
}

void TDXTimer::Loaded() {
  if (FEnabled) Start();
}

void TDXTimer::Start() {
  Stop();
  if (!FActiveOnly || FAppActive) Hook();
  FRunning = true;
}

void TDXTimer::Stop() {
  FHooked = false;
  FRunning = false;
}

// Times restart on every hook, so a resume after a pause does not catch up in a burst.
void TDXTimer::Hook() {
  FLast = FClock.Milliseconds();
  FSecondStart = FLast;
  FFrameCount = 0;
  FHooked = true;
  FPacer.Reset();
  ++FHooks;
}

void TDXTimer::ApplicationActivate() {
  FAppActive = true;
  if (OnActivate) OnActivate();
  if (FRunning && FActiveOnly) Hook();
}

void TDXTimer::ApplicationDeactivate() {
  FAppActive = false;
  if (OnDeactivate) OnDeactivate();
  if (FRunning && FActiveOnly) FHooked = false;
}

bool TDXTimer::Idle() {
  if (!FHooked) return false;
  uint32_t now = FClock.Milliseconds();
  uint32_t elapsed = now - FLast;  // unsigned: survives the counter wrapping
  if (elapsed < FInterval) return false;
  uint32_t lag = elapsed / std::max(FInterval, 1u);
  int32_t lagCount = static_cast<int32_t>(std::clamp<uint32_t>(lag, 1, INT32_MAX));
  FLast = now;
  CountTick(now);
  if (OnTimer) OnTimer(lagCount, true);
  return true;
}

void TDXTimer::CountTick(uint32_t Now) {
  ++FFrameCount;
  const uint32_t second = Now - FSecondStart;
  if (second >= 1000) {
    FFrameRate = static_cast<int32_t>(std::nearbyint(FFrameCount * 1000.0 / second));
    FFrameCount = 0;
    FSecondStart = Now;
  }
}

int32_t TDXTimer::Frame(double NowMs) {
  if (!FHooked) return 0;
  const int32_t ticks = FPacer.Frame(NowMs);
  const uint32_t hooks = FHooks;
  for (int32_t i = 0; i < ticks; ++i) {
    // A tick that stopped the timer, or restarted it, ends the frame.
    if (!FHooked || FHooks != hooks) return i;
    FLast = FClock.Milliseconds();
    CountTick(FLast);
    if (OnTimer) OnTimer(1, i + 1 == ticks);
  }
  return ticks;
}
