// Technical scenes: each has a floor, a sky or a text that reads only one way up, and its
// main shape off the vertical axis, so quarter turns and mirror images stand out.
#include <cmath>
#include <string>

#include "Scenes.h"

namespace art {
namespace {

constexpr int S = 256;

void Gear(cairo_t* C, double X, double Y, double R, int Teeth, double Angle, uint32_t Light,
          uint32_t Dark) {
  const double depth = R * 0.16;
  for (int i = 0; i < Teeth * 4; ++i) {
    const double a = Angle + i * 2 * Pi / (Teeth * 4);
    const double r = (i % 4 == 1 || i % 4 == 2) ? R : R - depth;
    if (i == 0)
      cairo_move_to(C, X + std::cos(a) * r, Y + std::sin(a) * r);
    else
      cairo_line_to(C, X + std::cos(a) * r, Y + std::sin(a) * r);
  }
  cairo_close_path(C);
  FillWith(C, Linear(X - R, Y - R, X + R, Y + R, {{0, Light}, {1, Dark}}));
  cairo_arc(C, X, Y, R * 0.62, 0, 2 * Pi);
  SetRgb(C, Dark, 0.5);
  cairo_set_line_width(C, R * 0.06);
  cairo_stroke(C);
  for (int k = 0; k < 5; ++k) {
    const double a = Angle + k * 2 * Pi / 5;
    cairo_arc(C, X + std::cos(a) * R * 0.4, Y + std::sin(a) * R * 0.4, R * 0.12, 0, 2 * Pi);
  }
  SetRgb(C, 0x1A1410, 0.7);
  cairo_fill(C);
  cairo_arc(C, X, Y, R * 0.14, 0, 2 * Pi);
  SetRgb(C, 0x2A2A2E);
  cairo_fill(C);
}

void Text(cairo_t* C, double X, double Y, double Size, const char* Str, uint32_t Rgb,
          bool Bold = true) {
  cairo_select_font_face(C, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                         Bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(C, Size);
  cairo_move_to(C, X, Y);
  SetRgb(C, Rgb);
  cairo_show_text(C, Str);
}

TImage Gears() {
  TArt a(S, S);
  cairo_t* c = *a;
  FillRect(c, 0, 0, S, S, Linear(0, 0, 0, S, {{0, 0x5A6470}, {1, 0x1E2228}}));
  cairo_rectangle(c, 0, 0, S, S);
  FillWith(c, Radial(60, 0, 10, 220, {{0, 0xFFE8B0, 0.35}, {1, 0xFFE8B0, 0}}));
  // Riveted steel base the gears stand on.
  FillRect(c, 0, 222, S, 34,
           Linear(0, 222, 0, 256, {{0, 0x8A929C}, {0.15, 0x5A626C}, {1, 0x30363E}}));
  SetRgb(c, 0xC8D0D8);
  for (int i = 0; i < 9; ++i) {
    cairo_arc(c, 14 + i * 29, 238, 3, 0, 2 * Pi);
    cairo_fill(c);
  }
  // Struts from the base up to the axles.
  const double axles[][2] = {{84, 150}, {178, 82}, {196, 178}};
  for (const auto& ax : axles) {
    cairo_move_to(c, ax[0] - 10, 222);
    cairo_line_to(c, ax[0], ax[1]);
    cairo_line_to(c, ax[0] + 10, 222);
    cairo_close_path(c);
    SetRgb(c, 0x2A3038);
    cairo_fill(c);
  }
  Gear(c, 84, 150, 70, 14, 0.1, 0xF0C060, 0x8A5A18);
  Gear(c, 178, 82, 46, 10, 0.3, 0xE09060, 0x7A3A1A);
  Gear(c, 196, 178, 34, 8, 0.05, 0xC8CCD4, 0x5A606A);
  Text(c, 14, 24, 15, "MOTOR 3", 0xF0D8A0);
  a.Grain(201, 6, 1.5);
  return a.Image();
}

TImage Circuit() {
  TArt a(S, S);
  cairo_t* c = *a;
  FillRect(c, 0, 0, S, S, Linear(0, 0, S, S, {{0, 0x1E7A3A}, {1, 0x0E4A22}}));
  TRandom r(211);
  cairo_set_line_cap(c, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(c, CAIRO_LINE_JOIN_ROUND);
  for (int i = 0; i < 34; ++i) {
    double x = 8 + 8 * std::floor(r.Uniform(0, 30)), y = 40 + 8 * std::floor(r.Uniform(0, 26));
    cairo_move_to(c, x, y);
    for (int seg = 0; seg < 4; ++seg) {
      const int dir = static_cast<int>(r.Next() % 4);
      const double len = 8 * (1 + r.Next() % 4);
      const double dx[] = {1, 0, 1, -1}, dy[] = {0, 1, -1, 1};
      x += dx[dir] * len;
      y += dy[dir] * len;
      cairo_line_to(c, x, y);
    }
    SetRgb(c, 0xC8A048);
    cairo_set_line_width(c, 2.2);
    cairo_stroke_preserve(c);
    cairo_new_path(c);
    cairo_arc(c, x, y, 3.5, 0, 2 * Pi);
    SetRgb(c, 0xE8C870);
    cairo_fill(c);
  }
  // The processor, lower left, with pin 1 marked.
  cairo_rectangle(c, 36, 120, 92, 92);
  SetRgb(c, 0xB8B8B0);
  cairo_fill(c);
  cairo_rectangle(c, 42, 126, 80, 80);
  FillWith(c, Linear(42, 126, 122, 206, {{0, 0x3A3A40}, {1, 0x16161A}}));
  for (int i = 0; i < 10; ++i) {
    const double p = 126 + 4 + i * 7.6;
    cairo_rectangle(c, 30, p, 6, 3);
    cairo_rectangle(c, 128, p, 6, 3);
    cairo_rectangle(c, 42 + 4 + i * 7.6, 114, 3, 6);
    cairo_rectangle(c, 42 + 4 + i * 7.6, 212, 3, 6);
  }
  SetRgb(c, 0xE0E0E0);
  cairo_fill(c);
  cairo_arc(c, 52, 136, 4, 0, 2 * Pi);
  SetRgb(c, 0x888890);
  cairo_fill(c);
  Text(c, 54, 172, 14, "ZG-7", 0xD8D8D8);
  // Capacitors and a red LED on the right.
  for (int i = 0; i < 3; ++i) {
    const double x = 168 + i * 28, y = 150;
    cairo_arc(c, x, y, 11, 0, 2 * Pi);
    FillWith(c, Radial(x - 3, y - 3, 1, 12, {{0, 0x6A8AE0}, {1, 0x1A2A7A}}));
    cairo_arc(c, x, y, 11, -Pi / 2 - 0.5, -Pi / 2 + 0.5);
    SetRgb(c, 0xE0E0F0);
    cairo_set_line_width(c, 3);
    cairo_stroke(c);
  }
  cairo_arc(c, 222, 214, 9, 0, 2 * Pi);
  FillWith(c, Radial(222, 214, 1, 22, {{0, 0xFFD0C0}, {0.4, 0xFF2A1A}, {1, 0xFF2A1A, 0}}));
  // Silkscreen title along the top edge.
  FillRect(c, 0, 0, S, 30, Linear(0, 0, 0, 30, {{0, 0x0A3A18}, {1, 0x0E4A22}}));
  Text(c, 10, 22, 18, "ZELGORA MK-7", 0xF4F4E8);
  a.Grain(202, 5, 1.5);
  return a.Image();
}

TImage Rocket() {
  TArt a(S, S);
  cairo_t* c = *a;
  FillRect(c, 0, 0, S, S, Linear(0, 0, 0, S, {{0, 0x02030E}, {1, 0x1A1448}}));
  TRandom r(221);
  for (int i = 0; i < 120; ++i) {
    cairo_arc(c, r.Uniform(0, S), r.Uniform(0, S), r.Uniform(0.3, 1.3), 0, 2 * Pi);
    SetRgb(c, 0xFFFFFF, r.Uniform(0.4, 1));
    cairo_fill(c);
  }
  // A ringed planet low on the left.
  cairo_arc(c, 40, 250, 90, 0, 2 * Pi);
  FillWith(c, Radial(70, 200, 10, 100, {{0, 0x5AB0F0}, {0.7, 0x1A5AA8}, {1, 0x0A2050}}));
  // A small moon high on the right.
  cairo_arc(c, 214, 44, 18, 0, 2 * Pi);
  FillWith(c, Radial(208, 38, 2, 20, {{0, 0xF0F0E8}, {1, 0x8A8A90}}));
  cairo_save(c);
  cairo_translate(c, 150, 120);
  cairo_rotate(c, 0.35);
  // Flame and exhaust pointing down.
  cairo_move_to(c, -12, 50);
  cairo_curve_to(c, -14, 90, -4, 110, 0, 130);
  cairo_curve_to(c, 4, 110, 14, 90, 12, 50);
  cairo_close_path(c);
  FillWith(c, Linear(0, 50, 0, 130,
                     {{0, 0xFFFFE0}, {0.3, 0xFFC040}, {0.7, 0xFF5A10}, {1, 0xFF2A00, 0}}));
  // Body, nose cone and fins.
  cairo_move_to(c, -16, 50);
  cairo_line_to(c, -16, -30);
  cairo_curve_to(c, -16, -60, -4, -78, 0, -84);
  cairo_curve_to(c, 4, -78, 16, -60, 16, -30);
  cairo_line_to(c, 16, 50);
  cairo_close_path(c);
  FillWith(c, Linear(-16, 0, 16, 0, {{0, 0xA0A8B4}, {0.4, 0xFFFFFF}, {1, 0x7A828E}}));
  cairo_move_to(c, -16, -30);
  cairo_curve_to(c, -16, -60, -4, -78, 0, -84);
  cairo_curve_to(c, 4, -78, 16, -60, 16, -30);
  cairo_close_path(c);
  SetRgb(c, 0xE0302A);
  cairo_fill(c);
  for (int side = -1; side <= 1; side += 2) {
    cairo_move_to(c, side * 16, 14);
    cairo_line_to(c, side * 34, 48);
    cairo_line_to(c, side * 34, 60);
    cairo_line_to(c, side * 16, 46);
    cairo_close_path(c);
    SetRgb(c, 0xC8262A);
    cairo_fill(c);
  }
  cairo_arc(c, 0, -10, 8, 0, 2 * Pi);
  FillWith(c, Radial(-2, -12, 1, 9, {{0, 0xC8F0FF}, {1, 0x2A6A9A}}));
  cairo_arc(c, 0, -10, 8, 0, 2 * Pi);
  SetRgb(c, 0x50565E);
  cairo_set_line_width(c, 2);
  cairo_stroke(c);
  cairo_restore(c);
  return a.Image();
}

TImage City() {
  TArt a(S, S);
  cairo_t* c = *a;
  FillRect(c, 0, 0, S, S, Linear(0, 0, 0, S, {{0, 0x0A0A2A}, {0.6, 0x3A1A5A}, {1, 0x8A3A6A}}));
  TRandom r(231);
  for (int i = 0; i < 50; ++i) {
    cairo_arc(c, r.Uniform(0, S), r.Uniform(0, 110), r.Uniform(0.3, 1), 0, 2 * Pi);
    SetRgb(c, 0xFFFFFF, 0.8);
    cairo_fill(c);
  }
  cairo_arc(c, 50, 48, 60, 0, 2 * Pi);
  FillWith(c, Radial(50, 48, 16, 60, {{0, 0xFFF4D0, 0.4}, {1, 0xFFF4D0, 0}}));
  cairo_arc(c, 50, 48, 18, 0, 2 * Pi);
  FillWith(c, Radial(46, 44, 2, 18, {{0, 0xFFFFF4}, {1, 0xF0E4C0}}));
  // A tall tower with a red light, right of centre.
  cairo_move_to(c, 176, 230);
  cairo_line_to(c, 182, 60);
  cairo_line_to(c, 188, 230);
  cairo_close_path(c);
  SetRgb(c, 0x14142A);
  cairo_fill(c);
  cairo_rectangle(c, 174, 100, 16, 12);
  cairo_fill(c);
  cairo_arc(c, 182, 58, 6, 0, 2 * Pi);
  FillWith(c, Radial(182, 58, 0, 6, {{0, 0xFF4030}, {1, 0xFF4030, 0}}));
  for (int row = 0; row < 2; ++row) {
    double x = -4;
    while (x < S) {
      const double w = r.Uniform(18, 34) - row * 4;
      const double h = row == 0 ? r.Uniform(60, 150) : r.Uniform(30, 80);
      const double top = 236 - h;
      cairo_rectangle(c, x, top, w, h);
      SetRgb(c, row == 0 ? 0x1C1838 : 0x0C0A1C);
      cairo_fill(c);
      for (double wy = top + 6; wy < 230; wy += 9)
        for (double wx = x + 4; wx < x + w - 5; wx += 7)
          if (r.Next() % 3 != 0) {
            cairo_rectangle(c, wx, wy, 3.5, 4.5);
            SetRgb(c, r.Next() % 4 ? 0xFFD860 : 0xA8E0FF, row == 0 ? 0.55 : 0.95);
            cairo_fill(c);
          }
      x += w + (row == 0 ? 4 : 8);
    }
  }
  FillRect(c, 0, 236, S, 20, Linear(0, 236, 0, 256, {{0, 0x2A2434}, {1, 0x101018}}));
  for (int i = 0; i < 5; ++i) {
    const double x = 20 + i * 56;
    cairo_arc(c, x, 238, 10, 0, 2 * Pi);
    FillWith(c, Radial(x, 238, 0, 10, {{0, 0xFFE8A0, 0.9}, {1, 0xFFE8A0, 0}}));
  }
  return a.Image();
}

TImage Locomotive() {
  TArt a(S, S);
  cairo_t* c = *a;
  FillRect(c, 0, 0, S, S, Linear(0, 0, 0, 200, {{0, 0x8AC8F0}, {1, 0xF0E8C8}}));
  TRandom r(241);
  FillRidge(c, Ridge(r, 32, 150, 24), S, S);
  SetRgb(c, 0x9AB878);
  cairo_fill(c);
  FillRect(c, 0, 200, S, 56, Linear(0, 200, 0, 256, {{0, 0x7A6A50}, {1, 0x4A3E30}}));
  // Sleepers and rail.
  for (int i = 0; i < 14; ++i) {
    cairo_rectangle(c, i * 20 - 4, 218, 12, 6);
  }
  SetRgb(c, 0x3A2A1A);
  cairo_fill(c);
  cairo_rectangle(c, 0, 214, S, 4);
  SetRgb(c, 0x9AA0A8);
  cairo_fill(c);
  // Smoke rising and drifting back to the left.
  for (int i = 0; i < 9; ++i) {
    const double x = 174 - i * 16 - i * i * 1.2, y = 96 - i * 10, rad = 9 + i * 3;
    cairo_arc(c, x, y, rad, 0, 2 * Pi);
    SetRgb(c, Mix(0x505058, 0xE8E8E8, i / 9.0), 0.85 - i * 0.06);
    cairo_fill(c);
  }
  // Boiler, cab on the left, chimney near the front, buffer beam and cowcatcher at right.
  cairo_rectangle(c, 30, 120, 62, 66);
  FillWith(c, Linear(30, 0, 92, 0, {{0, 0x8A1A1A}, {1, 0xC82A22}}));
  cairo_rectangle(c, 24, 112, 74, 10);
  SetRgb(c, 0x1A1A1E);
  cairo_fill(c);
  cairo_rectangle(c, 44, 132, 30, 24);
  SetRgb(c, 0xF8E8A0);
  cairo_fill(c);
  cairo_rectangle(c, 92, 136, 118, 44);
  FillWith(c, Linear(0, 136, 0, 180, {{0, 0x3A3A42}, {0.35, 0x6A6A74}, {1, 0x18181C}}));
  for (int i = 0; i < 4; ++i) {
    cairo_rectangle(c, 110 + i * 26, 136, 4, 44);
  }
  SetRgb(c, 0xD8B040);
  cairo_fill(c);
  cairo_rectangle(c, 168, 104, 16, 32);
  SetRgb(c, 0x1A1A1E);
  cairo_fill(c);
  cairo_rectangle(c, 164, 100, 24, 6);
  cairo_fill(c);
  cairo_arc(c, 140, 132, 9, Pi, 2 * Pi);
  SetRgb(c, 0xD8B040);
  cairo_fill(c);
  cairo_move_to(c, 210, 180);
  cairo_line_to(c, 236, 210);
  cairo_line_to(c, 206, 210);
  cairo_close_path(c);
  SetRgb(c, 0xB02020);
  cairo_fill(c);
  cairo_arc(c, 216, 148, 8, 0, 2 * Pi);
  FillWith(c, Radial(216, 148, 0, 14, {{0, 0xFFFFE0}, {0.5, 0xFFE070}, {1, 0xFFE070, 0}}));
  cairo_rectangle(c, 28, 180, 190, 10);
  SetRgb(c, 0x1A1A1E);
  cairo_fill(c);
  const double wheels[][2] = {{60, 26}, {124, 26}, {184, 16}};
  for (const auto& w : wheels) {
    const double cy = 214 - w[1];
    cairo_arc(c, w[0], cy, w[1], 0, 2 * Pi);
    SetRgb(c, 0x202024);
    cairo_fill(c);
    cairo_arc(c, w[0], cy, w[1] - 4, 0, 2 * Pi);
    SetRgb(c, 0xB02020);
    cairo_fill(c);
    for (int k = 0; k < 8; ++k) {
      const double ang = k * Pi / 4;
      cairo_move_to(c, w[0], cy);
      cairo_line_to(c, w[0] + std::cos(ang) * (w[1] - 4), cy + std::sin(ang) * (w[1] - 4));
    }
    SetRgb(c, 0x202024);
    cairo_set_line_width(c, 2.5);
    cairo_stroke(c);
  }
  cairo_move_to(c, 60, 194);
  cairo_line_to(c, 124, 194);
  SetRgb(c, 0xC8C8D0);
  cairo_set_line_width(c, 5);
  cairo_stroke(c);
  a.Grain(204, 5, 2);
  return a.Image();
}

TImage Blueprint() {
  TArt a(S, S);
  cairo_t* c = *a;
  FillRect(c, 0, 0, S, S, Radial(128, 128, 20, 200, {{0, 0x2A62B8}, {1, 0x123A80}}));
  cairo_set_line_width(c, 0.5);
  SetRgb(c, 0xFFFFFF, 0.18);
  for (int i = 0; i <= S; i += 16) {
    cairo_move_to(c, i + 0.5, 0);
    cairo_line_to(c, i + 0.5, S);
    cairo_move_to(c, 0, i + 0.5);
    cairo_line_to(c, S, i + 0.5);
  }
  cairo_stroke(c);
  // The sheet's header strip across the top.
  cairo_rectangle(c, 0, 0, S, 26);
  SetRgb(c, 0xE8F0FF);
  cairo_fill(c);
  Text(c, 10, 19, 15, "BLUEPRINT  No. 6", 0x123A80);
  // A lighthouse-like tower on a base, in outline over a light wash, left of centre.
  cairo_move_to(c, 50, 216);
  cairo_line_to(c, 66, 84);
  cairo_line_to(c, 106, 84);
  cairo_line_to(c, 122, 216);
  cairo_close_path(c);
  SetRgb(c, 0xFFFFFF, 0.22);
  cairo_fill_preserve(c);
  SetRgb(c, 0xF0F6FF);
  cairo_set_line_width(c, 2);
  cairo_rectangle(c, 30, 216, 112, 14);
  cairo_rectangle(c, 62, 60, 48, 24);
  cairo_move_to(c, 56, 60);
  cairo_line_to(c, 86, 36);
  cairo_line_to(c, 116, 60);
  cairo_close_path(c);
  cairo_stroke(c);
  cairo_set_line_width(c, 1.2);
  for (int i = 0; i < 3; ++i) {
    cairo_rectangle(c, 78, 110 + i * 34, 16, 20);
  }
  cairo_arc(c, 86, 72, 6, 0, 2 * Pi);
  cairo_stroke(c);
  // Dimension line on the right with arrow heads.
  cairo_move_to(c, 136, 36);
  cairo_line_to(c, 136, 216);
  cairo_move_to(c, 130, 44);
  cairo_line_to(c, 136, 36);
  cairo_line_to(c, 142, 44);
  cairo_move_to(c, 130, 208);
  cairo_line_to(c, 136, 216);
  cairo_line_to(c, 142, 208);
  cairo_stroke(c);
  Text(c, 142, 130, 12, "12.5 m", 0xF0F6FF, false);
  // North arrow in the upper right.
  cairo_move_to(c, 214, 36);
  cairo_line_to(c, 226, 76);
  cairo_line_to(c, 214, 66);
  cairo_line_to(c, 202, 76);
  cairo_close_path(c);
  SetRgb(c, 0xF0F6FF);
  cairo_fill(c);
  Text(c, 207, 96, 16, "N", 0xF0F6FF);
  // Title block, bottom right, filled like the header.
  cairo_rectangle(c, 156, 196, 94, 54);
  SetRgb(c, 0xE8F0FF);
  cairo_fill(c);
  cairo_move_to(c, 156, 222);
  cairo_line_to(c, 250, 222);
  SetRgb(c, 0x123A80);
  cairo_set_line_width(c, 1.5);
  cairo_stroke(c);
  Text(c, 162, 215, 13, "TOWER", 0x123A80);
  Text(c, 162, 241, 11, "SHEET 6/6", 0x123A80, false);
  a.Grain(206, 4, 1);
  return a.Image();
}

}  // namespace

std::vector<TNamedPicture> TechnicalPictures() {
  return {{"Gears", Gears}, {"Circuit", Circuit},       {"Rocket", Rocket},
          {"City", City},   {"Locomotive", Locomotive}, {"Blueprint", Blueprint}};
}

}  // namespace art
