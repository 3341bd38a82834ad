// One frame of the game on the 5 x 5 board during a turn, and the form's start-up.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <new>

#include "../tests/FormRig.h"
#include "media/NullDisplay.h"

// Every allocation is counted, to show that frames allocate nothing.
namespace {
std::atomic<int64_t> Allocations{0};
}  // namespace

#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t Size) {
  ++Allocations;
  if (void* p = std::malloc(Size ? Size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* P) noexcept {
  std::free(P);
}
void operator delete(void* P, std::size_t) noexcept {
  std::free(P);
}

namespace {

std::unique_ptr<TMainForm> MakeForm(THeldKeys& Keys, TManualClock& Clock,
                                    const std::filesystem::path& Data) {
  TFormServices s;
  s.Window = std::make_unique<TNullFormWindow>();
  s.Display = std::make_unique<TNullDisplayBackend>();
  s.Keys = &Keys;
  s.Clock = &Clock;
  s.DataDir = Data.string();
  s.Seed = 1;
  return std::make_unique<TMainForm>(std::move(s));
}

void BM_FrameDuringTurnOn5x5(benchmark::State& State) {
  THeldKeys keys;
  TManualClock clock;
  auto form = MakeForm(keys, clock, FixtureFolder());
  auto& f = *form;
  f.DXDraw.WindowShown();
  GoToLastLevel(f);
  if (f.BoardRows != 5) State.SkipWithError("not on the 5 x 5 board");
  f.RotateDir = 'R';
  f.DXTimerTimer(0);
  const int64_t before = Allocations.load();
  int64_t frames = 0;
  for (auto _ : State) {
    if (f.RotateDir == ' ') f.RotateDir = 'R';
    f.DXTimerTimer(0);
    ++frames;
  }
  State.counters["allocs_per_frame"] =
      static_cast<double>(Allocations.load() - before) / static_cast<double>(frames);
}
BENCHMARK(BM_FrameDuringTurnOn5x5);

void RunFormCreate(benchmark::State& State, const std::filesystem::path& Data) {
  THeldKeys keys;
  TManualClock clock;
  for (auto _ : State) {
    auto form = MakeForm(keys, clock, Data);
    benchmark::DoNotOptimize(form.get());
  }
}

void BM_FormCreateFixture(benchmark::State& State) {
  RunFormCreate(State, FixtureFolder());
}
BENCHMARK(BM_FormCreateFixture)->Unit(benchmark::kMillisecond);

// With the generated artwork beside the game, once it has been built.
void BM_FormCreateArtwork(benchmark::State& State) {
  const std::filesystem::path dir(ZELGORA_BUILD_DIR);
  if (!std::filesystem::exists(dir / "Bitmaps" / "ZelgoraTobrin.dxg")) {
    State.SkipWithError("no generated artwork in Bitmaps/");
    return;
  }
  RunFormCreate(State, dir);
}
BENCHMARK(BM_FormCreateArtwork)->Unit(benchmark::kMillisecond);

}  // namespace
