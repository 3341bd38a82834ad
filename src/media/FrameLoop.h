// The real-time loop of a desktop platform. Each pass handles the waiting events, then lets the
// frame timer run the ticks due for a frame (the last one draws and presents). When none is
// due it presents the same picture again where presenting waits for the refresh, so the loop
// keeps time with the display; where it does not wait, the loop rests until the next tick.
#pragma once

class TDXTimer;

class TFrameHost {
 public:
  virtual ~TFrameHost() = default;
  // Handles the waiting events; false once the window was closed.
  virtual bool Pump() = 0;
  // Milliseconds of a steady clock, with their fractions.
  virtual double Now() = 0;
  // Presents the last picture again, waiting for the refresh where presenting does.
  virtual void PresentAgain() = 0;
  // Rests until Ms on the clock of Now, or less.
  virtual void RestUntil(double Ms) = 0;
};

// Until the host's window closes.
void RunFrameLoop(TDXTimer& Timer, TFrameHost& Host);
