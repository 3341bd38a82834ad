#include "Paint.h"

#include <algorithm>
#include <cmath>

namespace art {

TArt::TArt(int Width, int Height)
    : FWidth(Width),
      FHeight(Height),
      FSurface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, Width, Height),
               &cairo_surface_destroy),
      FContext(cairo_create(FSurface.get()), &cairo_destroy) {}

namespace {
// Cairo keeps premultiplied native-endian 0xAARRGGBB words.
uint32_t PixelAt(cairo_surface_t* S, int X, int Y) {
  const uint8_t* row = cairo_image_surface_get_data(S) + Y * cairo_image_surface_get_stride(S);
  const uint8_t* p = row + X * 4;
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}
}  // namespace

TImage TArt::Image() const {
  cairo_surface_flush(FSurface.get());
  TImage out{FWidth, FHeight, std::vector<uint8_t>(static_cast<size_t>(FWidth * FHeight * 4))};
  for (int y = 0; y < FHeight; ++y)
    for (int x = 0; x < FWidth; ++x) {
      const uint32_t v = PixelAt(FSurface.get(), x, y);
      uint8_t* o = &out.RGBA[static_cast<size_t>((y * FWidth + x) * 4)];
      o[0] = static_cast<uint8_t>(v >> 16);
      o[1] = static_cast<uint8_t>(v >> 8);
      o[2] = static_cast<uint8_t>(v);
      o[3] = 255;
    }
  return out;
}

TImage TArt::KeyedImage(uint32_t KeyRGB) const {
  cairo_surface_flush(FSurface.get());
  TImage out{FWidth, FHeight, std::vector<uint8_t>(static_cast<size_t>(FWidth * FHeight * 4))};
  for (int y = 0; y < FHeight; ++y)
    for (int x = 0; x < FWidth; ++x) {
      const uint32_t v = PixelAt(FSurface.get(), x, y);
      const uint32_t a = v >> 24;
      uint8_t* o = &out.RGBA[static_cast<size_t>((y * FWidth + x) * 4)];
      if (a < 128) {
        o[0] = static_cast<uint8_t>(KeyRGB >> 16);
        o[1] = static_cast<uint8_t>(KeyRGB >> 8);
        o[2] = static_cast<uint8_t>(KeyRGB);
      } else {
        for (int c = 0; c < 3; ++c)
          o[c] =
              static_cast<uint8_t>(std::min<uint32_t>(255, ((v >> (16 - 8 * c)) & 0xFF) * 255 / a));
      }
      o[3] = 255;
    }
  return out;
}

void TArt::Grain(uint32_t Seed, double Amount, double Scale) {
  cairo_surface_flush(FSurface.get());
  TNoise noise(Seed);
  uint8_t* data = cairo_image_surface_get_data(FSurface.get());
  const int stride = cairo_image_surface_get_stride(FSurface.get());
  for (int y = 0; y < FHeight; ++y)
    for (int x = 0; x < FWidth; ++x) {
      uint8_t* p = data + y * stride + x * 4;
      const double d = (noise.Fractal(x / Scale, y / Scale, 3) - 0.5) * 2 * Amount;
      for (int c = 0; c < 3; ++c)
        p[c] = static_cast<uint8_t>(
            std::clamp(std::lround(p[c] + d * p[3] / 255.0), 0L, static_cast<long>(p[3])));
    }
  cairo_surface_mark_dirty(FSurface.get());
}

void SetRgb(cairo_t* C, uint32_t Rgb, double Alpha) {
  cairo_set_source_rgba(C, ((Rgb >> 16) & 0xFF) / 255.0, ((Rgb >> 8) & 0xFF) / 255.0,
                        (Rgb & 0xFF) / 255.0, Alpha);
}

namespace {
TPattern AddStops(cairo_pattern_t* P, std::initializer_list<TStop> Stops) {
  for (const auto& s : Stops)
    cairo_pattern_add_color_stop_rgba(P, s.Offset, ((s.Rgb >> 16) & 0xFF) / 255.0,
                                      ((s.Rgb >> 8) & 0xFF) / 255.0, (s.Rgb & 0xFF) / 255.0,
                                      s.Alpha);
  return TPattern(P, &cairo_pattern_destroy);
}
}  // namespace

TPattern Linear(double X0, double Y0, double X1, double Y1, std::initializer_list<TStop> Stops) {
  return AddStops(cairo_pattern_create_linear(X0, Y0, X1, Y1), Stops);
}

TPattern Radial(double X, double Y, double R0, double R1, std::initializer_list<TStop> Stops) {
  return AddStops(cairo_pattern_create_radial(X, Y, R0, X, Y, R1), Stops);
}

void FillWith(cairo_t* C, const TPattern& P) {
  cairo_set_source(C, P.get());
  cairo_fill(C);
}

void FillRect(cairo_t* C, double X, double Y, double W, double H, const TPattern& P) {
  cairo_rectangle(C, X, Y, W, H);
  FillWith(C, P);
}

uint32_t Mix(uint32_t A, uint32_t B, double T) {
  uint32_t out = 0;
  for (int s = 0; s < 24; s += 8) {
    const double a = (A >> s) & 0xFF, b = (B >> s) & 0xFF;
    out |= static_cast<uint32_t>(std::lround(a + (b - a) * T)) << s;
  }
  return out;
}

TNoise::TNoise(uint32_t Seed) : FSeed(Seed) {}

double TNoise::Lattice(int X, int Y) const {
  uint32_t h =
      FSeed ^ (static_cast<uint32_t>(X) * 374761393u) ^ (static_cast<uint32_t>(Y) * 668265263u);
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return (h & 0xFFFFFF) / 16777215.0;
}

double TNoise::At(double X, double Y) const {
  const double fx = std::floor(X), fy = std::floor(Y);
  const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
  auto smooth = [](double t) { return t * t * (3 - 2 * t); };
  const double tx = smooth(X - fx), ty = smooth(Y - fy);
  const double a = Lattice(ix, iy), b = Lattice(ix + 1, iy);
  const double c = Lattice(ix, iy + 1), d = Lattice(ix + 1, iy + 1);
  return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

double TNoise::Fractal(double X, double Y, int Octaves) const {
  double sum = 0, amp = 0.5, total = 0;
  for (int o = 0; o < Octaves; ++o) {
    sum += amp * At(X, Y);
    total += amp;
    X *= 2.03;
    Y *= 2.03;
    amp *= 0.5;
  }
  return sum / total;
}

uint32_t TRandom::Next() {
  FState ^= FState << 13;
  FState ^= FState >> 17;
  FState ^= FState << 5;
  return FState;
}

double TRandom::Uniform(double Lo, double Hi) {
  return Lo + (Hi - Lo) * ((Next() & 0xFFFFFF) / 16777215.0);
}

std::vector<double> Ridge(TRandom& R, int Count, double BaseY, double Roughness) {
  std::vector<double> ys(static_cast<size_t>(Count) + 1, BaseY);
  ys.front() = BaseY + R.Uniform(-Roughness, Roughness);
  ys.back() = BaseY + R.Uniform(-Roughness, Roughness);
  for (int step = Count; step > 1; step /= 2) {
    for (int i = 0; i + step <= Count; i += step) {
      const auto mid = static_cast<size_t>(i + step / 2);
      ys[mid] = 0.5 * (ys[static_cast<size_t>(i)] + ys[static_cast<size_t>(i + step)]) +
                R.Uniform(-Roughness, Roughness) * step / Count;
    }
  }
  return ys;
}

void FillRidge(cairo_t* C, const std::vector<double>& Ys, double Width, double Height) {
  const double dx = Width / static_cast<double>(Ys.size() - 1);
  cairo_move_to(C, 0, Height);
  for (size_t i = 0; i < Ys.size(); ++i) cairo_line_to(C, static_cast<double>(i) * dx, Ys[i]);
  cairo_line_to(C, Width, Height);
  cairo_close_path(C);
}

}  // namespace art
