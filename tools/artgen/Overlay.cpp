// The backgrounds behind the board, the setup bar, and the 2D overlay pictures.
#include <cmath>

#include "Scenes.h"

namespace art {
namespace {

void RoundedRect(cairo_t* C, double X, double Y, double W, double H, double R) {
  cairo_new_sub_path(C);
  cairo_arc(C, X + W - R, Y + R, R, -Pi / 2, 0);
  cairo_arc(C, X + W - R, Y + H - R, R, 0, Pi / 2);
  cairo_arc(C, X + R, Y + H - R, R, Pi / 2, Pi);
  cairo_arc(C, X + R, Y + R, R, Pi, 3 * Pi / 2);
  cairo_close_path(C);
}

// Soft nebula colour over a dark gradient, with sparse faint stars.
TImage Nebula(uint32_t Seed, uint32_t Top, uint32_t Bottom, uint32_t Cloud) {
  constexpr int S = 512;
  TArt a(S, S);
  cairo_t* c = *a;
  FillRect(c, 0, 0, S, S, Linear(0, 0, 0, S, {{0, Top}, {1, Bottom}}));
  TNoise n(Seed);
  cairo_surface_flush(a.Surface());
  uint8_t* data = cairo_image_surface_get_data(a.Surface());
  const int stride = cairo_image_surface_get_stride(a.Surface());
  for (int y = 0; y < S; ++y)
    for (int x = 0; x < S; ++x) {
      const double v = n.Fractal(x / 110.0, y / 110.0, 5);
      const double t = std::max(0.0, v - 0.45) * 0.9;
      uint8_t* p = data + y * stride + x * 4;
      for (int ch = 0; ch < 3; ++ch) {
        const double cl = (Cloud >> (8 * ch)) & 0xFF;
        p[ch] = static_cast<uint8_t>(std::min(255.0, p[ch] + cl * t));
      }
    }
  cairo_surface_mark_dirty(a.Surface());
  TRandom r(Seed);
  for (int i = 0; i < 90; ++i) {
    cairo_arc(c, r.Uniform(0, S), r.Uniform(0, S), r.Uniform(0.4, 1.2), 0, 2 * Pi);
    SetRgb(c, 0xFFFFFF, r.Uniform(0.15, 0.55));
    cairo_fill(c);
  }
  return a.Image();
}

// Large blurred discs of light, like an out-of-focus window at night.
TImage Bokeh(uint32_t Seed, uint32_t Top, uint32_t Bottom, uint32_t Light) {
  constexpr int S = 512;
  TArt a(S, S);
  cairo_t* c = *a;
  FillRect(c, 0, 0, S, S, Linear(0, 0, S, S, {{0, Top}, {1, Bottom}}));
  TRandom r(Seed);
  for (int i = 0; i < 40; ++i) {
    const double x = r.Uniform(0, S), y = r.Uniform(0, S), rad = r.Uniform(14, 60);
    cairo_arc(c, x, y, rad, 0, 2 * Pi);
    FillWith(c, Radial(x, y, rad * 0.3, rad,
                       {{0, Light, r.Uniform(0.05, 0.16)}, {0.85, Light, 0.06}, {1, Light, 0}}));
  }
  a.Grain(Seed, 3, 2);
  return a.Image();
}

// Slow waves of light across a dark field.
TImage Waves(uint32_t Seed, uint32_t Top, uint32_t Bottom, uint32_t Line) {
  constexpr int S = 512;
  TArt a(S, S);
  cairo_t* c = *a;
  FillRect(c, 0, 0, S, S, Radial(180, 160, 20, 520, {{0, Top}, {1, Bottom}}));
  for (int i = 0; i < 24; ++i) {
    const double base = 40 + i * 20, amp = 18 + i * 1.5, ph = i * 0.37;
    cairo_move_to(c, 0, base + amp * std::sin(ph));
    for (int x = 8; x <= S; x += 8) cairo_line_to(c, x, base + amp * std::sin(x / 80.0 + ph));
    SetRgb(c, Line, 0.05 + 0.03 * (i % 3));
    cairo_set_line_width(c, 2 + (i % 4));
    cairo_stroke(c);
  }
  a.Grain(Seed, 3, 2);
  return a.Image();
}

// A steel-blue band with a bevel along its inner edge; Depth(x) gives the band's reach from
// its outer edge at x, so the pieces can share one shape.
template <typename FDepth>
TImage Band(int W, int H, bool AtTop, FDepth Depth) {
  TArt a(W, H);
  cairo_t* c = *a;
  cairo_save(c);
  if (!AtTop) {
    cairo_translate(c, 0, H);
    cairo_scale(c, 1, -1);
  }
  cairo_move_to(c, 0, 0);
  for (int x = 0; x <= W; ++x) cairo_line_to(c, x, Depth(x));
  cairo_line_to(c, W, 0);
  cairo_close_path(c);
  FillWith(c, Linear(0, 0, 0, H, {{0, 0x0A1430}, {0.6, 0x1C2E5A}, {1, 0x34507E}}));
  cairo_move_to(c, 0, Depth(0) - 1.5);
  for (int x = 0; x <= W; ++x) cairo_line_to(c, x, Depth(x) - 1.5);
  SetRgb(c, 0x9AB8E8);
  cairo_set_line_width(c, 2);
  cairo_stroke(c);
  cairo_restore(c);
  return a.KeyedImage(MaskKey);
}

}  // namespace

std::vector<TNamedPicture> BackgroundPictures() {
  return {{"B1Nebula", [] { return Nebula(301, 0x060A1C, 0x141030, 0x4A3A9A); }},
          {"B2Lights", [] { return Bokeh(302, 0x061A20, 0x0A0E18, 0x7AD0E0); }},
          {"B3Waves", [] { return Waves(303, 0x24102A, 0x06040A, 0xE0A0F0); }},
          {"B4Ember", [] { return Nebula(304, 0x1A0A06, 0x0A0404, 0xA04A1A); }}};
}

TImage SetupBar() {
  constexpr int W = 256, H = 64;
  TArt a(W, H);
  cairo_t* c = *a;
  FillRect(c, 0, 0, W, H, Linear(0, 0, 0, H, {{0, 0x0A1A3A}, {1, 0x04081A}}));
  RoundedRect(c, 2, 2, W - 4, H - 4, 12);
  FillWith(c, Linear(0, 2, 0, H - 2,
                     {{0, 0x3A6AC8}, {0.48, 0x1A3A8A}, {0.52, 0x10286A}, {1, 0x1E4AA0}}));
  // Gloss on the upper half.
  RoundedRect(c, 6, 4, W - 12, H / 2 - 4, 10);
  FillWith(c, Linear(0, 4, 0, H / 2, {{0, 0xFFFFFF, 0.45}, {1, 0xFFFFFF, 0.05}}));
  RoundedRect(c, 2, 2, W - 4, H - 4, 12);
  SetRgb(c, 0xA8C8FF);
  cairo_set_line_width(c, 2);
  cairo_stroke(c);
  // A small knob at the right end, clear of the caption.
  cairo_arc(c, W - 24, H / 2, 9, 0, 2 * Pi);
  FillWith(c, Radial(W - 27, H / 2 - 3, 1, 10, {{0, 0xFFFFFF}, {0.4, 0x8AB0F0}, {1, 0x2A4A90}}));
  return a.Image();
}

// Top border: 50 pixels; the middle piece reaches 42 down, the right piece begins a tab that
// the left piece ends, so each R L pair makes one rounded tab 50 deep.
TImage TopMask(int Piece) {
  constexpr int H = 50, Flat = 42, Tab = 48;
  if (Piece == 1) return Band(64, H, true, [](int) { return Flat; });
  return Band(Tab, H, true, [Piece](int x) {
    const double u = Piece == 2 ? x : Tab - x;  // distance from the outer end of the tab
    const double t = std::min(1.0, u / 16.0);
    return Flat + (H - 1 - Flat) * std::sin(t * Pi / 2);
  });
}

// Bottom border: 60 pixels, the same shape mirrored; the band is 52 deep, the tabs 60.
TImage BottomMask(int Piece) {
  constexpr int H = 60, Flat = 52, Tab = 48;
  if (Piece == 1) return Band(64, H, false, [](int) { return Flat; });
  return Band(Tab, H, false, [Piece](int x) {
    const double u = Piece == 2 ? x : Tab - x;
    const double t = std::min(1.0, u / 16.0);
    return Flat + (H - Flat) * std::sin(t * Pi / 2);
  });
}

// Pale so that the panel's blue text reads on it; it is stretched and blended over the scene.
TImage PanelBackground() {
  constexpr int S = 256;
  TArt a(S, S);
  cairo_t* c = *a;
  FillRect(c, 0, 0, S, S, Linear(0, 0, 0, S, {{0, 0xE8F2FF}, {1, 0xB8D4F4}}));
  cairo_rectangle(c, 0, 0, S, S);
  FillWith(c, Radial(128, 128, 60, 190, {{0, 0xFFFFFF, 0.35}, {1, 0xFFFFFF, 0}}));
  cairo_rectangle(c, 3, 3, S - 6, S - 6);
  SetRgb(c, 0x3A5AC8);
  cairo_set_line_width(c, 4);
  cairo_stroke(c);
  a.Grain(401, 2, 3);
  return a.Image();
}

// An hour-glass in light on black: drawn additively, black adds nothing.
TImage GlassHours() {
  constexpr int W = 64, H = 128;
  TArt a(W, H);
  cairo_t* c = *a;
  SetRgb(c, 0x000000);
  cairo_paint(c);
  auto glass = [c] {
    cairo_move_to(c, 12, 14);
    cairo_curve_to(c, 12, 50, 29, 56, 29, 64);
    cairo_curve_to(c, 29, 72, 12, 78, 12, 114);
    cairo_line_to(c, 52, 114);
    cairo_curve_to(c, 52, 78, 35, 72, 35, 64);
    cairo_curve_to(c, 35, 56, 52, 50, 52, 14);
    cairo_close_path(c);
  };
  glass();
  FillWith(c, Linear(12, 0, 52, 0, {{0, 0x203050}, {0.3, 0x5070A0}, {1, 0x182438}}));
  // Sand: a little left above, a heap below, a thin stream between.
  cairo_save(c);
  glass();
  cairo_clip(c);
  cairo_rectangle(c, 0, 44, W, 22);
  FillWith(c, Linear(0, 44, 0, 64, {{0, 0xF0C060}, {1, 0xC08A30}}));
  cairo_move_to(c, 10, 114);
  cairo_curve_to(c, 20, 92, 44, 92, 54, 114);
  cairo_close_path(c);
  FillWith(c, Linear(0, 92, 0, 114, {{0, 0xFFD880}, {1, 0xC08A30}}));
  cairo_restore(c);
  cairo_rectangle(c, 31, 62, 2, 34);
  SetRgb(c, 0xFFD880);
  cairo_fill(c);
  glass();
  SetRgb(c, 0xC8E0FF);
  cairo_set_line_width(c, 1.6);
  cairo_stroke(c);
  for (int y : {6, 114}) {
    RoundedRect(c, 6, y, 52, 8, 3);
    FillWith(c, Linear(0, y, 0, y + 8, {{0, 0xE0A860}, {1, 0x7A4A1A}}));
  }
  return a.Image();
}

}  // namespace art
