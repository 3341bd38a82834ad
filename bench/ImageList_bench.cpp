// Reading an image-list file of 256 x 256 24-bit pictures, about 1 MB, made by our writer;
// and a file of many items that share one name bucket, each naming itself twice.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>

#include "../tests/CraftedFiles.h"
#include "media/DXDraws.h"
#include "media/DXStream.h"

namespace {

std::vector<uint8_t> MakeFile() {
  TPictureCollection c;
  constexpr size_t kTarget = 1 << 20;
  for (int i = 0; c.Count() == 0 || c.SaveToStream().size() < kTarget; ++i) {
    TDIB d;
    d.SetSize(256, 256, 24);
    for (int y = 0; y < 256; ++y) {
      uint8_t* row = d.ScanLine(y);
      for (int x = 0; x < 256 * 3; ++x) row[x] = static_cast<uint8_t>(x * 7 + y * 13 + i);
    }
    auto& item = c.Add();
    item.SetName("A" + std::to_string(i));
    item.Picture().SetGraphic("TDIB", d);
  }
  return c.SaveToStream();
}

void BM_ImageListFromMemory(benchmark::State& State) {
  const auto file = MakeFile();
  for (auto _ : State) {
    TPictureCollection c;
    c.LoadFromStream(file);
    benchmark::DoNotOptimize(c.Items(0).Picture().DIB().ScanLine(0));
  }
  State.SetBytesProcessed(static_cast<int64_t>(State.iterations() * file.size()));
  State.counters["file_bytes"] = static_cast<double>(file.size());
}
BENCHMARK(BM_ImageListFromMemory)->Unit(benchmark::kMicrosecond);

void BM_ImageListFromFile(benchmark::State& State) {
  const auto path = std::filesystem::temp_directory_path() / "zelgora_imagelist_bench.dxg";
  {
    TPictureCollection c;
    c.LoadFromStream(MakeFile());
    c.SaveToFile(path.string());
  }
  for (auto _ : State) {
    TPictureCollection c;
    c.LoadFromFile(path.string());
    benchmark::DoNotOptimize(c.Items(0).Picture().DIB().ScanLine(0));
  }
  State.SetBytesProcessed(
      static_cast<int64_t>(State.iterations() * std::filesystem::file_size(path)));
  std::filesystem::remove(path);
}
BENCHMARK(BM_ImageListFromFile)->Unit(benchmark::kMicrosecond);

// Names "k" + five digits + "0z": one length, one first and one second-to-last letter.
std::vector<uint8_t> OneBucketFile(int64_t Count) {
  return Crafted::ImageListOf(static_cast<size_t>(Count), [](TComponentWriter& W, size_t I) {
    char name[16];
    for (char tag : {'t', 'f'}) {
      std::snprintf(name, sizeof name, "k%c%05d0z", tag, static_cast<int>(I));
      W.WriteStr("Name");
      W.WriteString(name);
    }
  });
}

void BM_ImageListOneBucketRenamed(benchmark::State& State) {
  const auto file = OneBucketFile(State.range(0));
  for (auto _ : State) {
    TPictureCollection c;
    c.LoadFromStream(file);
    benchmark::DoNotOptimize(c.Count());
  }
  State.SetComplexityN(State.range(0));
}
BENCHMARK(BM_ImageListOneBucketRenamed)
    ->RangeMultiplier(4)
    ->Range(1 << 10, 1 << 16)
    ->Complexity()
    ->Unit(benchmark::kMillisecond);

}  // namespace
