#include "media/FrameLoop.h"

#include "media/DXTimer.h"

namespace {
// While the timer is stopped (window inactive, display down) the loop only listens.
constexpr double IdleRest = 10;
}  // namespace

void RunFrameLoop(TDXTimer& Timer, TFrameHost& Host) {
  while (Host.Pump()) {
    if (!Timer.Hooked()) {
      Host.RestUntil(Host.Now() + IdleRest);
      continue;
    }
    if (Timer.Frame(Host.Now()) > 0) continue;
    TFramePacer& pacer = Timer.Pacer();
    if (pacer.PresentsWait())
      Host.PresentAgain();
    else
      Host.RestUntil(pacer.NextTickDue());
  }
}
