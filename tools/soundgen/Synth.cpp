#include "Synth.h"

#include <algorithm>
#include <cmath>

namespace synth {

uint32_t TNoise::Next() {
  FState ^= FState << 13;
  FState ^= FState >> 17;
  FState ^= FState << 5;
  return FState;
}

double TNoise::Uniform() {
  return static_cast<double>(Next()) / 2147483648.0 - 1.0;
}

void AddPartial(std::span<double> Out, double Rate, double Start, double Freq, double Amp,
                double Attack, double Decay, bool Wrap) {
  const auto n = static_cast<int64_t>(Out.size());
  // Until the tail is a thousandth of its peak, or one pass round a loop.
  const auto len = std::min<int64_t>(n, static_cast<int64_t>((Attack + 7 * Decay) * Rate) + 1);
  const auto first = static_cast<int64_t>(std::ceil(Start));
  for (int64_t i = 0; i < len; ++i) {
    int64_t at = first + i;
    if (Wrap)
      at %= n;
    else if (at >= n)
      break;
    const double t = (static_cast<double>(first + i) - Start) / Rate;
    const double env =
        t < Attack ? std::sin(0.5 * Pi * t / Attack) : std::exp(-(t - Attack) / Decay);
    Out[static_cast<size_t>(at)] += Amp * env * std::sin(2 * Pi * Freq * t);
  }
}

double TBandPass::Step(double In, double Centre, double Rate, double Q) {
  const double f = 2 * std::sin(Pi * std::min(Centre, Rate / 6) / Rate);
  FLow += f * FBand;
  const double high = In - FLow - FBand / Q;
  FBand += f * high;
  return FBand;
}

void Normalize(std::span<double> Samples, double Peak) {
  double top = 0;
  for (double s : Samples) top = std::max(top, std::abs(s));
  if (top <= 0) return;
  for (double& s : Samples) s *= Peak / top;
}

std::vector<uint8_t> ToPCM8(std::span<const double> Samples, TNoise& Dither) {
  std::vector<uint8_t> out;
  out.reserve(Samples.size());
  for (double s : Samples) {
    // Triangular dither of one step hides the coarse 8-bit steps in quiet tails.
    const double d = 0.5 * (Dither.Uniform() + Dither.Uniform());
    const double v = std::round(128.0 + 127.0 * std::clamp(s, -1.0, 1.0) + d);
    out.push_back(static_cast<uint8_t>(std::clamp(v, 1.0, 255.0)));
  }
  return out;
}

std::vector<uint8_t> ToPCM16(std::span<const double> Samples) {
  std::vector<uint8_t> out;
  out.reserve(Samples.size() * 2);
  for (double s : Samples) {
    const auto v = static_cast<int16_t>(std::lround(32767.0 * std::clamp(s, -1.0, 1.0)));
    const auto u = static_cast<uint16_t>(v);
    out.push_back(static_cast<uint8_t>(u & 0xFF));
    out.push_back(static_cast<uint8_t>(u >> 8));
  }
  return out;
}

namespace {
void Put32(std::vector<uint8_t>& Out, uint32_t V) {
  for (int i = 0; i < 4; ++i) Out.push_back(static_cast<uint8_t>(V >> (8 * i)));
}
void Put16(std::vector<uint8_t>& Out, uint16_t V) {
  Out.push_back(static_cast<uint8_t>(V & 0xFF));
  Out.push_back(static_cast<uint8_t>(V >> 8));
}
void PutId(std::vector<uint8_t>& Out, const char* Id) {
  for (int i = 0; i < 4; ++i) Out.push_back(static_cast<uint8_t>(Id[i]));
}
}  // namespace

std::vector<uint8_t> Riff(int32_t Rate, int32_t Bits, std::span<const uint8_t> Data) {
  const auto block = static_cast<uint16_t>(Bits / 8);
  const auto size = static_cast<uint32_t>(Data.size());
  std::vector<uint8_t> out;
  out.reserve(44 + Data.size() + 1);
  PutId(out, "RIFF");
  Put32(out, 36 + size + (size & 1));
  PutId(out, "WAVE");
  PutId(out, "fmt ");
  Put32(out, 16);
  Put16(out, 1);  // PCM
  Put16(out, 1);  // mono
  Put32(out, static_cast<uint32_t>(Rate));
  Put32(out, static_cast<uint32_t>(Rate) * block);
  Put16(out, block);
  Put16(out, static_cast<uint16_t>(Bits));
  PutId(out, "data");
  Put32(out, size);
  out.insert(out.end(), Data.begin(), Data.end());
  if (size & 1) out.push_back(0);
  return out;
}

}  // namespace synth
