// The sounds the game carries: read back with the game's own wave reader, in the form's
// order, with the rates, sample sizes and data lengths the form stores.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "media/DXWave.h"
#include "media/StoredWaves.h"

namespace {

struct TExpected {
  const char* Name;
  int32_t Rate;
  int32_t Bits;
  size_t DataBytes;
};

constexpr TExpected kTable[] = {
    {"Move", 8000, 8, 10432},      {"Rotate", 8000, 16, 10512},    {"GameEnd", 11025, 8, 46948},
    {"Change", 22255, 8, 30166},   {"InitScene", 22255, 8, 30166}, {"SetupChange", 8000, 16, 10512},
    {"SetupMove", 8000, 8, 10432},
};

TWave Load(const TStoredWave& Stored) {
  TWave w;
  w.LoadFromStream(Stored.Riff);
  return w;
}

// Samples scaled to -1 .. 1.
std::vector<double> Samples(const TWave& W) {
  std::vector<double> out;
  const auto& d = W.Data();
  if (W.BitsPerSample() == 8) {
    for (uint8_t b : d) out.push_back((b - 128) / 128.0);
  } else {
    for (size_t i = 0; i + 1 < d.size(); i += 2)
      out.push_back(static_cast<int16_t>(d[i] | (d[i + 1] << 8)) / 32768.0);
  }
  return out;
}

double Peak(const std::vector<double>& S, size_t From, size_t To) {
  double p = 0;
  for (size_t i = From; i < To; ++i) p = std::max(p, std::abs(S[i]));
  return p;
}

TEST(Sounds, FormOrderFormatsAndLengths) {
  const auto stored = StoredWaves();
  ASSERT_EQ(stored.size(), std::size(kTable));
  for (size_t i = 0; i < stored.size(); ++i) {
    SCOPED_TRACE(kTable[i].Name);
    EXPECT_EQ(std::string(stored[i].Name), kTable[i].Name);
    const TWave w = Load(stored[i]);
    EXPECT_EQ(w.FormatTag(), 1);  // PCM
    EXPECT_EQ(w.Channels(), 1);
    EXPECT_EQ(w.SamplesPerSec(), kTable[i].Rate);
    EXPECT_EQ(w.BitsPerSample(), kTable[i].Bits);
    EXPECT_EQ(w.BlockAlign(), kTable[i].Bits / 8);
    EXPECT_EQ(w.Data().size(), kTable[i].DataBytes);
    // The stored file is exactly the header and the data: nothing trails it.
    EXPECT_EQ(stored[i].Riff.size(), 44 + kTable[i].DataBytes);
    // Writing it back with the game's writer gives the same bytes.
    const auto again = w.SaveToStream();
    EXPECT_TRUE(
        std::equal(again.begin(), again.end(), stored[i].Riff.begin(), stored[i].Riff.end()));
  }
}

TEST(Sounds, PairsHoldTheSameBytes) {
  const auto stored = StoredWaves();
  ASSERT_EQ(stored.size(), 7u);
  auto same = [&](size_t a, size_t b) {
    return std::equal(stored[a].Riff.begin(), stored[a].Riff.end(), stored[b].Riff.begin(),
                      stored[b].Riff.end());
  };
  EXPECT_TRUE(same(0, 6));   // Move, SetupMove
  EXPECT_TRUE(same(1, 5));   // Rotate, SetupChange
  EXPECT_TRUE(same(3, 4));   // Change, InitScene
  EXPECT_FALSE(same(0, 1));  // the cursor step and the turn differ
}

// Audible but never at full scale; the one-shot sounds fade out before their end, so a
// voice that is cut off or restarted does not click.
TEST(Sounds, LevelsAndEndings) {
  for (const auto& stored : StoredWaves()) {
    SCOPED_TRACE(stored.Name);
    const auto s = Samples(Load(stored));
    ASSERT_FALSE(s.empty());
    const double peak = Peak(s, 0, s.size());
    EXPECT_GT(peak, 0.3);
    EXPECT_LT(peak, 0.9);
    if (std::string(stored.Name) == "Change" || std::string(stored.Name) == "InitScene") continue;
    // The last 20 ms: within a few 8-bit steps of silence.
    const size_t tail = s.size() / 50;
    EXPECT_LT(Peak(s, s.size() - tail, s.size()), 0.03);
  }
}

// "InitScene" loops while a scene assembles: the step from its last sample back to its first
// must be no larger than the steps inside it, or the seam would click once per pass.
TEST(Sounds, SceneLoopHasNoSeam) {
  const auto stored = StoredWaves();
  const auto s = Samples(Load(stored[4]));
  ASSERT_GT(s.size(), 2u);
  double largest = 0;
  for (size_t i = 1; i < s.size(); ++i) largest = std::max(largest, std::abs(s[i] - s[i - 1]));
  EXPECT_LE(std::abs(s.front() - s.back()), largest);
  // and the loop is not silence at its seam, where a fade would make it pulse
  EXPECT_GT(Peak(s, 0, s.size() / 20), 0.1);
  EXPECT_GT(Peak(s, s.size() - s.size() / 20, s.size()), 0.1);
}

}  // namespace
