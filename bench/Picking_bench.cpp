// One pick of the 5 x 5 board: what a tap or the start of a swipe costs.
#include <benchmark/benchmark.h>

#include "../tests/FormRig.h"

namespace {

void BM_BoardCellAtOn5x5(benchmark::State& State) {
  TFormRig rig;
  auto& f = rig.Show();
  rig.Device->Recording = false;
  GoToLastLevel(f);
  if (f.BoardRows != 5) State.SkipWithError("not on the 5 x 5 board");
  // The selected cube's centre, then the gap right of it.
  const float x = State.range(0) == 0 ? 320.0f : 384.0f;
  for (auto _ : State) benchmark::DoNotOptimize(f.BoardCellAt(x, 240.0f));
}
BENCHMARK(BM_BoardCellAtOn5x5)->Arg(0)->Arg(1);

}  // namespace
