// Ticks a second at the steady pace over simulated seconds of displays at 60, 144 and 240 Hz
// and of one whose presents do not wait, as counters; the time is the pacer's own cost.
#include <benchmark/benchmark.h>

#include "../tests/SimulatedDisplay.h"

namespace {

void Run(benchmark::State& State, TDisplaySetup Setup) {
  int64_t ticks = 0, presents = 0, seconds = 0;
  int32_t most = 0;
  for (auto _ : State) {
    TSimulatedDisplay display(Setup, TPace::Steady);
    display.Run(1);  // the measures settle
    const int64_t t0 = display.Ticks, p0 = display.Presents;
    const size_t from = display.TicksPerPresent.size();
    display.Run(1);
    ticks += display.Ticks - t0;
    presents += display.Presents - p0;
    for (size_t i = from; i < display.TicksPerPresent.size(); ++i)
      most = std::max(most, display.TicksPerPresent[i]);
    ++seconds;
  }
  State.counters["TicksPerSecond"] = static_cast<double>(ticks) / static_cast<double>(seconds);
  State.counters["PresentsPerSecond"] =
      static_cast<double>(presents) / static_cast<double>(seconds);
  State.counters["MostTicksPerPresent"] = most;
}

void BM_Steady60Hz(benchmark::State& State) { Run(State, {60, true}); }
void BM_Steady144Hz(benchmark::State& State) { Run(State, {144, true}); }
void BM_Steady240Hz(benchmark::State& State) { Run(State, {240, true}); }
void BM_SteadyNoWait(benchmark::State& State) { Run(State, {60, false}); }
// A software renderer that takes 40 ms a frame on a 60 Hz display.
void BM_Steady60HzSlowDrawing(benchmark::State& State) { Run(State, {60, true, 40}); }

BENCHMARK(BM_Steady60Hz);
BENCHMARK(BM_Steady144Hz);
BENCHMARK(BM_Steady240Hz);
BENCHMARK(BM_SteadyNoWait);
BENCHMARK(BM_Steady60HzSlowDrawing);

}  // namespace
