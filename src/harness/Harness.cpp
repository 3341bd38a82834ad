#include "harness/Harness.h"

#include <algorithm>

TModifiers HeldModifiers(const THeldKeys& Keys) {
  auto any = [&](uint8_t A, uint8_t B, uint8_t C) {
    return Keys.KeyDown(A) || Keys.KeyDown(B) || Keys.KeyDown(C);
  };
  return {any(0x10, 0xA0, 0xA1), any(0x12, 0xA4, 0xA5), any(0x11, 0xA2, 0xA3)};
}

THarness::THarness(THarnessTarget& Target, THeldKeys& Keys, std::vector<TKeyEvent> Events)
    : FTarget(Target), FKeys(Keys), FEvents(std::move(Events)) {
  std::stable_sort(FEvents.begin(), FEvents.end(),
                   [](const TKeyEvent& A, const TKeyEvent& B) { return A.Frame < B.Frame; });
}

bool THarness::RunFrame(bool Shown) {
  if (FTarget.Closed()) return false;
  const int64_t frame = FFrame + 1;
  for (; FNext < FEvents.size() && FEvents[FNext].Frame <= frame; ++FNext) {
    const TKeyEvent& e = FEvents[FNext];
    FKeys.SetKey(e.VirtualKey, e.Down);
    if (e.Down)
      FTarget.KeyDown(e.VirtualKey, HeldModifiers(FKeys));
    else
      FTarget.KeyUp(e.VirtualKey, HeldModifiers(FKeys));
    if (FTarget.Closed()) return false;
  }
  FTarget.Tick(Shown);
  FFrame = frame;
  if (OnFrame) OnFrame(FFrame);
  return true;
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
