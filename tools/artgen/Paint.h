// Drawing helpers around Cairo for the artwork generator: an owned ARGB canvas, colours,
// gradients, seeded value noise, and the conversion to top-down RGBA.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

namespace art {

inline constexpr double Pi = 3.14159265358979323846;

// Top-down RGBA, 8 bits a channel.
struct TImage {
  int Width = 0, Height = 0;
  std::vector<uint8_t> RGBA;
};

// A Cairo image surface with its context; both released with it.
class TArt {
 public:
  TArt(int Width, int Height);
  cairo_t* operator*() const { return FContext.get(); }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  cairo_surface_t* Surface() const { return FSurface.get(); }
  // Opaque pixels (alpha ignored).
  TImage Image() const;
  // Pixels whose coverage is under one half become Key; the others keep their colour.
  TImage KeyedImage(uint32_t KeyRGB) const;
  // Adds grain: every channel moves by up to Amount (0..255) of seeded value noise.
  void Grain(uint32_t Seed, double Amount, double Scale);

 private:
  int FWidth, FHeight;
  std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> FSurface;
  std::unique_ptr<cairo_t, decltype(&cairo_destroy)> FContext;
};

// A pattern owned for the length of one fill.
using TPattern = std::unique_ptr<cairo_pattern_t, decltype(&cairo_pattern_destroy)>;

struct TStop {
  double Offset;
  uint32_t Rgb;
  double Alpha = 1;
};

void SetRgb(cairo_t* C, uint32_t Rgb, double Alpha = 1);
TPattern Linear(double X0, double Y0, double X1, double Y1, std::initializer_list<TStop> Stops);
TPattern Radial(double X, double Y, double R0, double R1, std::initializer_list<TStop> Stops);
void FillWith(cairo_t* C, const TPattern& P);  // fills and clears the current path
void FillRect(cairo_t* C, double X, double Y, double W, double H, const TPattern& P);
uint32_t Mix(uint32_t A, uint32_t B, double T);

// Seeded value noise: smooth, repeatable, 0..1.
class TNoise {
 public:
  explicit TNoise(uint32_t Seed);
  double At(double X, double Y) const;
  double Fractal(double X, double Y, int Octaves) const;

 private:
  double Lattice(int X, int Y) const;
  uint32_t FSeed;
};

// Seeded uniform numbers for placing things.
class TRandom {
 public:
  explicit TRandom(uint32_t Seed) : FState(Seed * 2654435761u + 1) {}
  uint32_t Next();
  double Uniform(double Lo, double Hi);

 private:
  uint32_t FState;
};

// A ridge line of Count + 1 points from X0 to X1 around BaseY, by midpoint displacement.
std::vector<double> Ridge(TRandom& R, int Count, double BaseY, double Roughness);
// Fills the area under a ridge down to the bottom of the picture.
void FillRidge(cairo_t* C, const std::vector<double>& Ys, double Width, double Height);

}  // namespace art
