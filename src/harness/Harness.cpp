#include "harness/Harness.h"

#include <algorithm>

THarness::THarness(THarnessTarget& Target, THeldKeys& Keys, std::vector<TKeyEvent> Events)
    : FTarget(Target), FKeys(Keys), FEvents(std::move(Events)) {
  std::stable_sort(FEvents.begin(), FEvents.end(),
                   [](const TKeyEvent& A, const TKeyEvent& B) { return A.Frame < B.Frame; });
}

bool THarness::RunFrame(bool Shown) {
  if (FTarget.Closed()) return false;
  const int64_t frame = FFrame + 1;
  for (; FNext < FEvents.size() && FEvents[FNext].Frame <= frame; ++FNext) {
    TKeyEvent e = FEvents[FNext];
    e.Frame = frame;
    Deliver(e);
    if (FTarget.Closed()) return false;
  }
  FTarget.Tick(Shown);
  FFrame = frame;
  if (OnFrame) OnFrame(FFrame);
  return true;
}

void THarness::Deliver(const TKeyEvent& E) {
  if (E.Kind != TEventKind::Key) {
    if (OnEvent) OnEvent(E);
    if (E.Kind == TEventKind::Pointer)
      FTarget.Pointer(E.Pointer);
    else
      FTarget.Wheel(E.Steps);
    return;
  }
  FKeys.SetKey(E.VirtualKey, E.Down);
  if (OnEvent) OnEvent(E);
  if (E.Down)
    FTarget.KeyDown(E.VirtualKey, HeldModifiers(FKeys));
  else
    FTarget.KeyUp(E.VirtualKey, HeldModifiers(FKeys));
}

void THarness::KeyEvent(uint8_t VirtualKey, bool Down) {
  if (FTarget.Closed()) return;
  Deliver({FFrame + 1, Down, VirtualKey});
}

void THarness::PointerEvent(const TPointerEvent& Event) {
  if (FTarget.Closed()) return;
  Deliver(PointerEventAt(FFrame + 1, Event));
}

void THarness::WheelEvent(int32_t Steps) {
  if (FTarget.Closed()) return;
  Deliver(WheelEventAt(FFrame + 1, Steps));
}

void THarness::AddEvents(const std::vector<TKeyEvent>& Events) {
  std::vector<TKeyEvent> pending(FEvents.begin() + static_cast<std::ptrdiff_t>(FNext),
                                 FEvents.end());
  for (const auto& e : Events)
    if (e.Frame > FFrame) pending.push_back(e);
  std::stable_sort(pending.begin(), pending.end(),
                   [](const TKeyEvent& A, const TKeyEvent& B) { return A.Frame < B.Frame; });
  FEvents = std::move(pending);
  FNext = 0;
}

int64_t THarness::RunFrames(int64_t Count) {
  int64_t run = 0;
  while (run < Count && RunFrame()) ++run;
  return run;
}
