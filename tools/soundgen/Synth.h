// Small synthesis helpers: oscillators, envelopes, a filter, deterministic noise, and the
// conversion of floating-point samples to 8- and 16-bit PCM.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace synth {

inline constexpr double Pi = 3.14159265358979323846;

// xorshift32: the same numbers on every platform, unlike the standard distributions.
class TNoise {
 public:
  explicit TNoise(uint32_t Seed) : FState(Seed ? Seed : 1) {}
  uint32_t Next();
  double Uniform();  // -1 .. 1
 private:
  uint32_t FState;
};

// Adds a decaying sine partial starting at sample Start (circularly when Wrap is set, so a
// looped sound's tails run over the seam).
void AddPartial(std::span<double> Out, double Rate, double Start, double Freq, double Amp,
                double Attack, double Decay, bool Wrap = false);

// Two-pole band-pass (state-variable filter) with a time-varying centre.
class TBandPass {
 public:
  double Step(double In, double Centre, double Rate, double Q);

 private:
  double FLow = 0, FBand = 0;
};

// Scales so that the largest magnitude becomes Peak.
void Normalize(std::span<double> Samples, double Peak);

std::vector<uint8_t> ToPCM8(std::span<const double> Samples, TNoise& Dither);
std::vector<uint8_t> ToPCM16(std::span<const double> Samples);

// A mono PCM RIFF WAVE file.
std::vector<uint8_t> Riff(int32_t Rate, int32_t Bits, std::span<const uint8_t> Data);

}  // namespace synth
