// Water and warm scenes for the sponsor edition's themes "Waterland" and "HotHouse".
#include <cmath>

#include "Scenes.h"

namespace art {
namespace {

constexpr int S = 256;

void Fish(cairo_t* C, double X, double Y, double L, uint32_t Body, uint32_t Fin, bool Right) {
  cairo_save(C);
  cairo_translate(C, X, Y);
  if (!Right) cairo_scale(C, -1, 1);
  cairo_move_to(C, -L * 0.5, 0);
  cairo_curve_to(C, -L * 0.2, -L * 0.35, L * 0.3, -L * 0.3, L * 0.5, 0);
  cairo_curve_to(C, L * 0.3, L * 0.3, -L * 0.2, L * 0.35, -L * 0.5, 0);
  cairo_close_path(C);
  FillWith(C, Linear(0, -L * 0.3, 0, L * 0.3, {{0, Body}, {1, Mix(Body, 0, 0.4)}}));
  cairo_move_to(C, -L * 0.45, 0);
  cairo_line_to(C, -L * 0.8, -L * 0.25);
  cairo_line_to(C, -L * 0.8, L * 0.25);
  cairo_close_path(C);
  SetRgb(C, Fin);
  cairo_fill(C);
  cairo_arc(C, L * 0.28, -L * 0.05, L * 0.06, 0, 2 * Pi);
  SetRgb(C, 0x101010);
  cairo_fill(C);
  cairo_restore(C);
}

TImage Underwater() {
  TArt a(S, S);
  cairo_t* c = *a;
  FillRect(c, 0, 0, S, S, Linear(0, 0, 0, S, {{0, 0x40C8E8}, {0.5, 0x1078A8}, {1, 0x06304A}}));
  // The rippled surface and light rays slanting down from the upper left.
  cairo_rectangle(c, 0, 0, S, 14);
  SetRgb(c, 0xC8F4FF, 0.7);
  cairo_fill(c);
  for (int i = 0; i < 5; ++i) {
    cairo_move_to(c, 10 + i * 46, 0);
    cairo_line_to(c, 34 + i * 46, 0);
    cairo_line_to(c, 110 + i * 56, 256);
    cairo_line_to(c, 80 + i * 56, 256);
    cairo_close_path(c);
    SetRgb(c, 0xE0FFFF, 0.1);
    cairo_fill(c);
  }
  TRandom r(501);
  // Sand floor with coral and weed.
  FillRidge(c, Ridge(r, 32, 222, 12), S, S);
  FillWith(c, Linear(0, 210, 0, 256, {{0, 0xD8C080}, {1, 0x8A7040}}));
  for (int i = 0; i < 6; ++i) {
    const double x = 12 + i * 44 + r.Uniform(-6, 6);
    SetRgb(c, i % 2 ? 0x2A8A3A : 0x3AA04A);
    cairo_set_line_width(c, 4);
    cairo_move_to(c, x, 240);
    cairo_curve_to(c, x - 10, 200, x + 12, 180, x, 130 + r.Uniform(0, 40));
    cairo_stroke(c);
  }
  for (int k = 0; k < 3; ++k) {
    const double x = 60 + k * 70, base = 236;
    SetRgb(c, k == 1 ? 0xFF7A5A : 0xF0508A);
    cairo_set_line_width(c, 5);
    cairo_set_line_cap(c, CAIRO_LINE_CAP_ROUND);
    for (int b = -2; b <= 2; ++b) {
      cairo_move_to(c, x, base);
      cairo_curve_to(c, x + b * 4, base - 14, x + b * 10, base - 24, x + b * 12,
                     base - 36 + std::abs(b) * 6);
      cairo_stroke(c);
    }
  }
  Fish(c, 70, 90, 46, 0xFFA020, 0xFF6010, true);
  Fish(c, 180, 140, 30, 0xF0E040, 0x3060D0, false);
  Fish(c, 200, 70, 22, 0x60D0F0, 0x2080C0, false);
  // Bubbles rising to the surface.
  cairo_set_line_width(c, 1.2);
  for (int i = 0; i < 9; ++i) {
    const double y = 150 - i * 15, x = 100 + std::sin(i * 1.3) * 6;
    cairo_arc(c, x, y, 2 + i * 0.6, 0, 2 * Pi);
    SetRgb(c, 0xE8FFFF, 0.8);
    cairo_stroke(c);
  }
  a.Grain(502, 4, 2);
  return a.Image();
}

TImage Waterfall() {
  TArt a(S, S);
  cairo_t* c = *a;
  FillRect(c, 0, 0, S, S, Linear(0, 0, 0, 120, {{0, 0x78B8F0}, {1, 0xD8F0FF}}));
  TRandom r(511);
  // Cliffs on both sides of a falling stream, left of centre.
  cairo_move_to(c, 0, 40);
  cairo_line_to(c, 70, 48);
  cairo_line_to(c, 78, 256);
  cairo_line_to(c, 0, 256);
  cairo_close_path(c);
  FillWith(c, Linear(0, 0, 80, 0, {{0, 0x5A5048}, {1, 0x8A7A68}}));
  cairo_move_to(c, 122, 52);
  cairo_line_to(c, 256, 70);
  cairo_line_to(c, 256, 256);
  cairo_line_to(c, 116, 256);
  cairo_close_path(c);
  FillWith(c, Linear(116, 0, 256, 0, {{0, 0x6A5E52}, {1, 0x9A8A74}}));
  // Green tops of the cliffs.
  cairo_rectangle(c, 0, 34, 72, 12);
  cairo_rectangle(c, 122, 48, 134, 12);
  SetRgb(c, 0x4A9A3A);
  cairo_fill(c);
  // The water: bright streaks falling down into a pool of spray.
  cairo_rectangle(c, 70, 48, 52, 170);
  FillWith(c, Linear(70, 0, 122, 0, {{0, 0xA8D8F0}, {0.5, 0xFFFFFF}, {1, 0x98C8E8}}));
  SetRgb(c, 0x6AA8D8, 0.6);
  cairo_set_line_width(c, 1.2);
  for (int i = 0; i < 18; ++i) {
    const double x = 72 + r.Uniform(0, 48);
    cairo_move_to(c, x, 50 + r.Uniform(0, 40));
    cairo_line_to(c, x + r.Uniform(-2, 2), 120 + r.Uniform(0, 90));
    cairo_stroke(c);
  }
  FillRect(c, 0, 214, S, 42, Linear(0, 214, 0, 256, {{0, 0x3A8AC0}, {1, 0x1A4A7A}}));
  for (int i = 0; i < 14; ++i) {
    const double x = 96 + r.Uniform(-40, 40), y = 214 + r.Uniform(-10, 6);
    cairo_arc(c, x, y, r.Uniform(6, 14), 0, 2 * Pi);
    SetRgb(c, 0xFFFFFF, 0.55);
    cairo_fill(c);
  }
  // A rainbow in the spray, arching to the right.
  const uint32_t bands[] = {0xFF4040, 0xFFA030, 0xFFF040, 0x50D050, 0x4080FF, 0x9050D0};
  cairo_set_line_width(c, 4);
  for (int i = 0; i < 6; ++i) {
    cairo_arc(c, 180, 220, 90 - i * 4, Pi * 1.05, Pi * 1.75);
    SetRgb(c, bands[i], 0.45);
    cairo_stroke(c);
  }
  a.Grain(512, 6, 1.5);
  return a.Image();
}

void Cactus(cairo_t* C, double X, double Base, double H) {
  const double w = H * 0.16;
  cairo_set_line_cap(C, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_width(C, w);
  cairo_move_to(C, X, Base);
  cairo_line_to(C, X, Base - H);
  cairo_move_to(C, X, Base - H * 0.45);
  cairo_line_to(C, X - H * 0.28, Base - H * 0.45);
  cairo_line_to(C, X - H * 0.28, Base - H * 0.75);
  cairo_move_to(C, X, Base - H * 0.6);
  cairo_line_to(C, X + H * 0.24, Base - H * 0.6);
  cairo_line_to(C, X + H * 0.24, Base - H * 0.82);
  SetRgb(C, 0x2A7A3A);
  cairo_stroke(C);
}

TImage Desert() {
  TArt a(S, S);
  cairo_t* c = *a;
  FillRect(c, 0, 0, S, S, Linear(0, 0, 0, 150, {{0, 0x3A8AE0}, {1, 0xF8E8C0}}));
  cairo_arc(c, 60, 52, 26, 0, 2 * Pi);
  FillWith(c, Radial(60, 52, 4, 70, {{0, 0xFFFFF0}, {0.35, 0xFFF0A0}, {1, 0xFFF0A0, 0}}));
  TRandom r(521);
  // A mesa on the horizon, right.
  cairo_move_to(c, 150, 140);
  cairo_line_to(c, 166, 100);
  cairo_line_to(c, 226, 100);
  cairo_line_to(c, 240, 140);
  cairo_close_path(c);
  FillWith(c, Linear(0, 100, 0, 140, {{0, 0xC8683A}, {1, 0xA04A2A}}));
  const uint32_t dunes[] = {0xF0C078, 0xE0A860, 0xD09048};
  for (int i = 0; i < 3; ++i) {
    FillRidge(c, Ridge(r, 16, 150 + i * 34, 26), S, S);
    FillWith(c, Linear(0, 140 + i * 34, S, 200 + i * 34,
                       {{0, dunes[i]}, {1, Mix(dunes[i], 0x804020, 0.3)}}));
  }
  Cactus(c, 196, 238, 80);
  Cactus(c, 40, 200, 40);
  // Heat shimmer lines above the sand.
  SetRgb(c, 0xFFFFFF, 0.25);
  cairo_set_line_width(c, 1);
  for (int i = 0; i < 4; ++i) {
    cairo_move_to(c, 90 + i * 8, 130 - i * 4);
    cairo_curve_to(c, 100 + i * 8, 124 - i * 4, 110 + i * 8, 136 - i * 4, 120 + i * 8, 130 - i * 4);
    cairo_stroke(c);
  }
  a.Grain(522, 6, 1.5);
  return a.Image();
}

TImage Volcano() {
  TArt a(S, S);
  cairo_t* c = *a;
  FillRect(c, 0, 0, S, S, Linear(0, 0, 0, S, {{0, 0x1A0A14}, {0.6, 0x6A1A1A}, {1, 0xC84A1A}}));
  // Ash cloud billowing up and to the left.
  TRandom r(531);
  for (int i = 0; i < 14; ++i) {
    const double x = 150 - i * 7 + r.Uniform(-10, 10), y = 80 - i * 5 + r.Uniform(-8, 8);
    cairo_arc(c, x, y, 16 + i * 2.2, 0, 2 * Pi);
    SetRgb(c, Mix(0x4A3A3A, 0x1A1416, i / 14.0), 0.85);
    cairo_fill(c);
  }
  cairo_arc(c, 150, 100, 40, 0, 2 * Pi);
  FillWith(c, Radial(150, 110, 4, 60, {{0, 0xFFC040, 0.8}, {1, 0xFF4010, 0}}));
  // The cone, right of centre, with lava running down its left flank.
  cairo_move_to(c, 20, 256);
  cairo_line_to(c, 132, 108);
  cairo_line_to(c, 168, 108);
  cairo_line_to(c, 256, 230);
  cairo_line_to(c, 256, 256);
  cairo_close_path(c);
  FillWith(c, Linear(20, 0, 256, 0, {{0, 0x2A1A18}, {0.55, 0x4A2E26}, {1, 0x1A1210}}));
  cairo_set_line_cap(c, CAIRO_LINE_CAP_ROUND);
  for (int k = 0; k < 3; ++k) {
    cairo_move_to(c, 140 + k * 6, 110);
    cairo_curve_to(c, 130 + k * 10, 150, 100 + k * 20, 180, 80 + k * 34, 256);
    SetRgb(c, k == 1 ? 0xFFB030 : 0xFF5A10);
    cairo_set_line_width(c, 6 - k);
    cairo_stroke(c);
  }
  // Flying embers above the crater.
  for (int i = 0; i < 20; ++i) {
    cairo_arc(c, 150 + r.Uniform(-40, 40), 100 - r.Uniform(0, 70), r.Uniform(1, 2.5), 0, 2 * Pi);
    SetRgb(c, 0xFFC040);
    cairo_fill(c);
  }
  a.Grain(532, 5, 2);
  return a.Image();
}

void Palm(cairo_t* C, double X, double Base, double H, double Lean) {
  const double topX = X + Lean, topY = Base - H;
  cairo_move_to(C, X - 6, Base);
  cairo_curve_to(C, X - 4, Base - H * 0.5, topX - 6, topY + 20, topX - 3, topY);
  cairo_line_to(C, topX + 3, topY);
  cairo_curve_to(C, topX + 2, topY + 20, X + 4, Base - H * 0.5, X + 6, Base);
  cairo_close_path(C);
  SetRgb(C, 0x7A5A3A);
  cairo_fill(C);
  for (int f = 0; f < 7; ++f) {
    const double ang = Pi + f * Pi / 6 + 0.1;
    const double ex = topX + std::cos(ang) * 60, ey = topY + std::sin(ang) * 30 + 26;
    cairo_move_to(C, topX, topY);
    cairo_curve_to(C, topX + std::cos(ang) * 30, topY + std::sin(ang) * 30 - 10, ex, ey - 14, ex,
                   ey);
    cairo_curve_to(C, ex - std::cos(ang) * 10, ey - 10, topX + std::cos(ang) * 24,
                   topY + std::sin(ang) * 10, topX, topY + 4);
    cairo_close_path(C);
    SetRgb(C, f % 2 ? 0x2A8A2A : 0x3AA03A);
    cairo_fill(C);
  }
  for (int k = 0; k < 3; ++k) {
    cairo_arc(C, topX - 6 + k * 6, topY + 6, 4, 0, 2 * Pi);
    SetRgb(C, 0x5A3A1A);
    cairo_fill(C);
  }
}

TImage Tropical() {
  TArt a(S, S);
  cairo_t* c = *a;
  FillRect(c, 0, 0, S, S, Linear(0, 0, 0, 150, {{0, 0xFF7A4A}, {0.5, 0xFFB060}, {1, 0xFFE8A0}}));
  cairo_arc(c, 190, 130, 30, 0, 2 * Pi);
  FillWith(c, Radial(190, 130, 4, 34, {{0, 0xFFFFE0}, {1, 0xFFD050}}));
  FillRect(c, 0, 140, S, 60, Linear(0, 140, 0, 200, {{0, 0x2A8AB0}, {1, 0x40C0C8}}));
  SetRgb(c, 0xFFE8A0, 0.6);
  cairo_set_line_width(c, 2);
  for (int i = 0; i < 6; ++i) {
    cairo_move_to(c, 170 - i * 4, 146 + i * 8);
    cairo_line_to(c, 210 + i * 4, 146 + i * 8);
    cairo_stroke(c);
  }
  cairo_move_to(c, 0, 190);
  cairo_curve_to(c, 80, 176, 180, 200, 256, 186);
  cairo_line_to(c, 256, 256);
  cairo_line_to(c, 0, 256);
  cairo_close_path(c);
  FillWith(c, Linear(0, 180, 0, 256, {{0, 0xF8E0A8}, {1, 0xE0B870}}));
  Palm(c, 50, 236, 170, 34);
  Palm(c, 96, 226, 110, 18);
  // A hammock line and a sailboat far out to the right.
  cairo_move_to(c, 214, 150);
  cairo_line_to(c, 232, 150);
  cairo_line_to(c, 228, 156);
  cairo_line_to(c, 218, 156);
  cairo_close_path(c);
  SetRgb(c, 0x4A2A1A);
  cairo_fill(c);
  cairo_move_to(c, 223, 148);
  cairo_line_to(c, 223, 122);
  cairo_line_to(c, 236, 146);
  cairo_close_path(c);
  SetRgb(c, 0xFFFFFF);
  cairo_fill(c);
  a.Grain(542, 5, 2);
  return a.Image();
}

}  // namespace

std::vector<TNamedPicture> SponsorPictures() {
  return {{"Underwater", Underwater},
          {"Waterfall", Waterfall},
          {"Desert", Desert},
          {"Volcano", Volcano},
          {"Tropical", Tropical}};
}

}  // namespace art
