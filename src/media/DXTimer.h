// The frame timer: ticks only while the application is active (ActiveOnly). Either from the
// main loop's idle passes, at most once per interval, with the count of missed intervals; or
// once per presented frame through its pacer, as many ticks as the pace asks for.
#pragma once

#include <cstdint>
#include <functional>

#include "media/Clock.h"
#include "media/FramePacer.h"

class TDXTimer {
 public:
  // Shown: the tick's frame is presented; a tick that is not shown should not draw.
  using TTimerEvent = std::function<void(int32_t LagCount, bool Shown)>;
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

  // A frame is about to be presented at NowMs: fires OnTimer for each tick the pacer finds
  // due, only the last one shown. Nothing while not hooked. Returns the ticks fired.
  int32_t Frame(double NowMs);
  // Reset whenever the timer is hooked again, so a resume does not catch up.
  TFramePacer& Pacer() { return FPacer; }

 private:
  void Start();
  void Stop();
  void Hook();

  void CountTick(uint32_t Now);

  TClock& FClock;
  TFramePacer FPacer{TPace::Steady, 1000};
  uint32_t FHooks = 0;  // tells a frame that a tick re-hooked the timer
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
