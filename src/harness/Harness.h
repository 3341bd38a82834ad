// Runs a game tick by tick, delivering a key script's events as the platform would: before
// tick N, that tick's events in file order, each first changing the held-key table that the
// input states read and then reaching the key handlers with the modifiers held at that moment.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "harness/KeyScript.h"
#include "media/DXInput.h"

// What the harness drives: the form's key handlers and frame, and whether its window closed.
class THarnessTarget {
 public:
  virtual ~THarnessTarget() = default;
  virtual void KeyDown(uint16_t Key, const TModifiers& Modifiers) = 0;
  virtual void KeyUp(uint16_t Key, const TModifiers& Modifiers) = 0;
  virtual void Pointer(const TPointerEvent& /*Event*/) {}
  virtual void Wheel(int32_t /*Steps*/) {}
  // Shown false: a tick run to keep the pace, not presented.
  virtual void Tick(bool Shown) = 0;
  virtual bool Closed() const = 0;
};

class THarness {
 public:
  THarness(THarnessTarget& Target, THeldKeys& Keys, std::vector<TKeyEvent> Events);

  // Delivers the next tick's events and runs the tick. False, with no tick run, once the
  // window is closed (also when one of the events closed it).
  bool RunFrame(bool Shown = true);
  // Adds events for ticks still to come (events for ticks already run are ignored).
  void AddEvents(const std::vector<TKeyEvent>& Events);
  // Runs up to Count ticks; returns the ticks run.
  int64_t RunFrames(int64_t Count);
  // A key event from outside the script (a live keyboard), delivered now as a script's would
  // be before the next tick.
  void KeyEvent(uint8_t VirtualKey, bool Down);
  // Pointer and wheel events from outside the script, the same way.
  void PointerEvent(const TPointerEvent& Event);
  void WheelEvent(int32_t Steps);
  // Ticks run so far.
  int64_t Frame() const { return FFrame; }
  // Called after every tick with its number (from 1).
  std::function<void(int64_t Frame)> OnFrame;
  // Called with every event delivered, scripted or live, numbered by the tick it precedes.
  std::function<void(const TKeyEvent& Event)> OnEvent;

 private:
  void Deliver(const TKeyEvent& Event);

  THarnessTarget& FTarget;
  THeldKeys& FKeys;
  std::vector<TKeyEvent> FEvents;
  size_t FNext = 0;
  int64_t FFrame = 0;
};
