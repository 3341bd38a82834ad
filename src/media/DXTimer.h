// The frame timer: ticks from the main loop's idle passes, at most once per interval, only
// while the application is active (ActiveOnly), with the count of missed intervals.
#pragma once

#include <cstdint>
#include <functional>

#include "media/Clock.h"

class TDXTimer {
 public:
  using TTimerEvent = std::function<void(int32_t LagCount)>;
  using TNotifyEvent = std::function<void()>;

  explicit TDXTimer(TClock& Clock) : FClock(Clock) {}
  TDXTimer(const TDXTimer&) = delete;
  TDXTimer& operator=(const TDXTimer&) = delete;

  TTimerEvent OnTimer;
  TNotifyEvent OnActivate, OnDeactivate;

  bool Enabled() const { return FEnabled; }
  // No effect when unchanged; true starts the timer, false stops it.
  void SetEnabled(bool Value);
  bool ActiveOnly() const { return FActiveOnly; }
  void SetActiveOnly(bool Value);
  uint32_t Interval() const { return FInterval; }
  // Negative values count as 0.
  void SetInterval(int32_t Value);
  // Ticks per second, recomputed about once a second.
  int32_t FrameRate() const { return FFrameRate; }

  // Starts the timer when Enabled, as a component does once its form has loaded.
  void Loaded();

  // The platform's application activation notices.
  void ApplicationActivate();
  void ApplicationDeactivate();
  bool ApplicationActive() const { return FAppActive; }

  // Whether the main loop should call Idle instead of waiting for messages.
  bool Hooked() const { return FHooked; }
  bool Running() const { return FRunning; }
  // One idle pass of the main loop; returns true when it ticked.
  bool Idle();

 private:
  void Start();
  void Stop();
  void Hook();

  TClock& FClock;
  bool FEnabled = true;
  bool FActiveOnly = true;
  uint32_t FInterval = 1000;
  bool FAppActive = true;
  bool FRunning = false;
  bool FHooked = false;
  uint32_t FLast = 0;
  uint32_t FSecondStart = 0;
  int32_t FFrameCount = 0;
  int32_t FFrameRate = 0;
};
