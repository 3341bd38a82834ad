#include "Sounds.h"

#include <array>
#include <cmath>

#include "Synth.h"

using namespace synth;

namespace {

// Cursor step: a soft marimba-like knock (a bar's partials lie near 1 : 4), then silence.
std::vector<uint8_t> MoveSound() {
  const double rate = 8000;
  std::vector<double> s(10432, 0.0);
  AddPartial(s, rate, 0, 587.33, 1.0, 0.002, 0.085);
  AddPartial(s, rate, 0, 4 * 587.33 * 0.995, 0.18, 0.001, 0.018);
  AddPartial(s, rate, 0, 293.66, 0.25, 0.004, 0.06);
  Normalize(s, 0.55);
  TNoise dither(0x4D6F7665);
  return ToPCM8(s, dither);
}

// Quarter turn: a short breath of band-passed noise sweeping up and back, closed by a
// low wooden knock as the cube settles.
std::vector<uint8_t> RotateSound() {
  const double rate = 8000;
  const size_t n = 10512 / 2;
  std::vector<double> s(n, 0.0);
  TNoise noise(0x526F7461);
  TBandPass filter;
  const double sweep = 0.34;  // seconds
  for (size_t i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / rate;
    if (t >= sweep) break;
    const double x = t / sweep;
    const double centre = 350 + 1100 * std::sin(Pi * x) * (1 - 0.4 * x);
    const double env = std::pow(std::sin(Pi * x), 2);
    s[i] = 2.2 * env * filter.Step(noise.Uniform(), centre, rate, 3.0);
  }
  const double knock = sweep * rate - 80;
  AddPartial(s, rate, knock, 196.0, 0.55, 0.002, 0.07);
  AddPartial(s, rate, knock, 392.0 * 1.01, 0.25, 0.002, 0.035);
  AddPartial(s, rate, knock, 1180.0, 0.08, 0.001, 0.012);
  Normalize(s, 0.5);
  return ToPCM16(s);
}

// A brass-like voice: harmonics below the band edge, brighter while it swells, a slow vibrato.
void AddHorn(std::vector<double>& Out, double Rate, double Start, double Length, double Freq,
             double Amp) {
  const auto first = static_cast<size_t>(Start * Rate);
  const auto len = static_cast<size_t>(Length * Rate);
  double phase = 0;
  for (size_t i = 0; i < len && first + i < Out.size(); ++i) {
    const double t = static_cast<double>(i) / Rate;
    const double attack = std::min(1.0, t / 0.03);
    const double release = std::min(1.0, (Length - t) / 0.08);
    const double env = attack * std::max(0.0, release) * std::exp(-t / (Length * 1.5));
    const double vib = 1 + 0.004 * std::sin(2 * Pi * 5.2 * t) * std::min(1.0, t / 0.4);
    phase += 2 * Pi * Freq * vib / Rate;
    double v = 0;
    for (int k = 1; k <= 6 && k * Freq < 0.45 * Rate; ++k)
      v += std::sin(k * phase) * std::pow(static_cast<double>(k), -1.3) * (k == 1 ? 1 : env);
    Out[first + i] += Amp * env * v;
  }
}

// Solved board: a rising call G C E G, a held C major chord, and bells climbing above it.
std::vector<uint8_t> GameEndSound() {
  const double rate = 11025;
  std::vector<double> s(46948, 0.0);
  const std::array<double, 4> call = {392.00, 523.25, 659.25, 783.99};
  for (size_t i = 0; i < call.size(); ++i)
    AddHorn(s, rate, 0.05 + 0.15 * static_cast<double>(i), 0.2, call[i], 0.5);
  const std::array<double, 4> chord = {261.63, 329.63, 392.00, 523.25};
  for (double f : chord) AddHorn(s, rate, 0.68, 2.9, f, 0.28);
  AddHorn(s, rate, 0.68, 2.9, 1046.5, 0.12);
  const std::array<double, 6> bells = {1046.5, 1318.5, 1568.0, 2093.0, 1568.0, 2093.0};
  for (size_t i = 0; i < bells.size(); ++i) {
    const double at = (0.8 + 0.18 * static_cast<double>(i)) * rate;
    AddPartial(s, rate, at, bells[i], 0.22, 0.003, 0.45);
    AddPartial(s, rate, at, bells[i] * 2.76, 0.04, 0.002, 0.12);
  }
  Normalize(s, 0.8);
  TNoise dither(0x456E6421);
  return ToPCM8(s, dither);
}

// The scene music loop: a soft D major pad and a bell arpeggio. Every partial completes a
// whole number of cycles in the loop, and bell tails wrap round it, so the seam is silent.
std::vector<uint8_t> SceneSound() {
  const double rate = 22255;
  const size_t n = 30166;
  const double unit = rate / static_cast<double>(n);  // the frequency of one cycle per loop
  std::vector<double> s(n, 0.0);
  const std::array<int, 5> pad = {199, 298, 398, 502, 596};  // D3 A3 D4 F#4 A4
  for (size_t v = 0; v < pad.size(); ++v) {
    const double f = pad[v] * unit;
    const double tremoloCycles = 1.0 + static_cast<double>(v % 3);
    for (size_t i = 0; i < n; ++i) {
      const double x = static_cast<double>(i) / static_cast<double>(n);
      const double t = static_cast<double>(i) / rate;
      const double swell = 0.75 + 0.25 * std::sin(2 * Pi * (tremoloCycles * x + 0.3 * v));
      s[i] += 0.12 * swell * (std::sin(2 * Pi * f * t) + 0.25 * std::sin(4 * Pi * f * t));
    }
  }
  const std::array<int, 8> bells = {796, 1004, 1192, 1592, 1192, 1004, 1192, 1592};
  for (size_t b = 0; b < bells.size(); ++b) {
    const double at = static_cast<double>(n) * static_cast<double>(b) / bells.size();
    AddPartial(s, rate, at, bells[b] * unit, 0.18, 0.004, 0.35, true);
    AddPartial(s, rate, at, bells[b] * unit * 3, 0.025, 0.002, 0.08, true);
  }
  Normalize(s, 0.6);
  TNoise dither(0x53636E65);
  return ToPCM8(s, dither);
}

}  // namespace

std::vector<TSound> MakeSounds() {
  const auto move = Riff(8000, 8, MoveSound());
  const auto rotate = Riff(8000, 16, RotateSound());
  const auto end = Riff(11025, 8, GameEndSound());
  const auto scene = Riff(22255, 8, SceneSound());
  return {{"Move", move},       {"Rotate", rotate},      {"GameEnd", end},   {"Change", scene},
          {"InitScene", scene}, {"SetupChange", rotate}, {"SetupMove", move}};
}
