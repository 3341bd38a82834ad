// Nature scenes: sky above, ground below, and the light or the main shape to one side, so
// that every quarter turn and the mirror image look wrong at once.
#include <cmath>

#include "Scenes.h"

namespace art {
namespace {

constexpr int S = 256;

void Sun(cairo_t* C, double X, double Y, double R, uint32_t Core, uint32_t Glow) {
  cairo_arc(C, X, Y, R * 4, 0, 2 * Pi);
  FillWith(C, Radial(X, Y, R * 0.8, R * 4, {{0, Glow, 0.7}, {1, Glow, 0}}));
  cairo_arc(C, X, Y, R, 0, 2 * Pi);
  SetRgb(C, Core);
  cairo_fill(C);
}

void Cloud(cairo_t* C, TRandom& R, double X, double Y, double W, double Alpha) {
  for (int i = 0; i < 7; ++i) {
    const double cx = X + R.Uniform(-W / 2, W / 2), cy = Y + R.Uniform(-W / 10, W / 12);
    const double r = R.Uniform(W / 7, W / 4);
    cairo_arc(C, cx, cy, r, 0, 2 * Pi);
    FillWith(C, Radial(cx, cy - r * 0.3, 0, r,
                       {{0, 0xFFFFFF, Alpha}, {0.7, 0xF4F6FA, Alpha * 0.8}, {1, 0xE8ECF4, 0}}));
  }
}

void Bird(cairo_t* C, double X, double Y, double W) {
  cairo_move_to(C, X - W, Y - W * 0.3);
  cairo_curve_to(C, X - W * 0.5, Y - W * 0.6, X - W * 0.2, Y - W * 0.4, X, Y);
  cairo_curve_to(C, X + W * 0.2, Y - W * 0.4, X + W * 0.5, Y - W * 0.6, X + W, Y - W * 0.3);
  cairo_set_line_width(C, 1.6);
  cairo_stroke(C);
}

void Pine(cairo_t* C, double X, double Base, double H, uint32_t Dark, uint32_t Light) {
  cairo_rectangle(C, X - H * 0.04, Base - H * 0.15, H * 0.08, H * 0.15);
  SetRgb(C, 0x4A3020);
  cairo_fill(C);
  for (int layer = 0; layer < 4; ++layer) {
    const double top = Base - H + layer * H * 0.2, bottom = top + H * 0.42;
    const double half = H * (0.14 + 0.06 * layer);
    cairo_move_to(C, X, top);
    cairo_line_to(C, X + half, bottom);
    cairo_line_to(C, X - half, bottom);
    cairo_close_path(C);
    FillWith(C,
             Linear(X - half, 0, X + half, 0, {{0, Light}, {0.55, Dark}, {1, Mix(Dark, 0, 0.3)}}));
  }
}

TImage Sunset() {
  TArt a(S, S);
  cairo_t* c = *a;
  FillRect(
      c, 0, 0, S, S,
      Linear(0, 0, 0, 170, {{0, 0x2B1B4F}, {0.45, 0xA8407A}, {0.75, 0xF07A3C}, {1, 0xFFD27A}}));
  Sun(c, 70, 96, 20, 0xFFF1C0, 0xFFB050);
  TRandom r(11);
  const uint32_t layers[] = {0x7A4A86, 0x533565, 0x35224A, 0x1E1430};
  for (int i = 0; i < 4; ++i) {
    FillRidge(c, Ridge(r, 64, 150.0 + i * 24, 44.0 - i * 8), S, S);
    SetRgb(c, layers[i]);
    cairo_fill(c);
  }
  // A snow-capped peak on the right catching the last light.
  cairo_move_to(c, 130, 200);
  cairo_line_to(c, 196, 70);
  cairo_line_to(c, 256, 180);
  cairo_line_to(c, 256, 210);
  cairo_close_path(c);
  FillWith(c, Linear(150, 0, 256, 0, {{0, 0xC05A5A}, {0.5, 0x6A2E4A}, {1, 0x3A1E38}}));
  cairo_move_to(c, 196, 70);
  cairo_line_to(c, 212, 100);
  cairo_line_to(c, 202, 95);
  cairo_line_to(c, 193, 104);
  cairo_line_to(c, 184, 94);
  cairo_close_path(c);
  SetRgb(c, 0xFFD8C8);
  cairo_fill(c);
  FillRidge(c, Ridge(r, 32, 228, 16), S, S);
  SetRgb(c, 0x120A1C);
  cairo_fill(c);
  Pine(c, 34, 236, 70, 0x0E0814, 0x1E1228);
  Pine(c, 58, 240, 48, 0x0E0814, 0x1E1228);
  SetRgb(c, 0x2A1530);
  Bird(c, 150, 40, 8);
  Bird(c, 170, 52, 6);
  Bird(c, 132, 58, 5);
  a.Grain(101, 6, 2);
  return a.Image();
}

TImage Lake() {
  TArt a(S, S);
  cairo_t* c = *a;
  FillRect(c, 0, 0, S, 150, Linear(0, 0, 0, 150, {{0, 0x3E7CC8}, {1, 0xBFE0F6}}));
  Sun(c, 46, 40, 14, 0xFFFDE8, 0xFFF3B0);
  TRandom r(21);
  Cloud(c, r, 170, 40, 70, 0.95);
  Cloud(c, r, 110, 82, 50, 0.8);
  const auto far = Ridge(r, 64, 118, 40);
  const auto near = Ridge(r, 32, 140, 18);
  FillRidge(c, far, S, 152);
  SetRgb(c, 0x5C7FA0);
  cairo_fill(c);
  FillRidge(c, near, S, 152);
  SetRgb(c, 0x3F7A3A);
  cairo_fill(c);
  // The water mirrors the hills, darker and broken by ripples.
  FillRect(c, 0, 150, S, 106, Linear(0, 150, 0, 256, {{0, 0x6C9CC4}, {1, 0x1E4A78}}));
  cairo_save(c);
  cairo_rectangle(c, 0, 150, S, 106);
  cairo_clip(c);
  cairo_translate(c, 0, 300);
  cairo_scale(c, 1, -1);
  FillRidge(c, far, S, 152);
  SetRgb(c, 0x4A6A8C, 0.6);
  cairo_fill(c);
  FillRidge(c, near, S, 152);
  SetRgb(c, 0x2E5A3A, 0.6);
  cairo_fill(c);
  cairo_restore(c);
  SetRgb(c, 0xFFFFFF, 0.35);
  cairo_set_line_width(c, 1);
  for (int i = 0; i < 26; ++i) {
    const double y = 156 + i * 4 + r.Uniform(0, 3), x = r.Uniform(0, S), w = r.Uniform(10, 40);
    cairo_move_to(c, x, y);
    cairo_line_to(c, x + w, y);
    cairo_stroke(c);
  }
  // A sailboat on the left, leaning with the wind.
  cairo_move_to(c, 40, 196);
  cairo_line_to(c, 86, 196);
  cairo_line_to(c, 78, 206);
  cairo_line_to(c, 46, 206);
  cairo_close_path(c);
  SetRgb(c, 0x8A3A22);
  cairo_fill(c);
  cairo_move_to(c, 62, 192);
  cairo_line_to(c, 64, 130);
  cairo_line_to(c, 90, 190);
  cairo_close_path(c);
  FillWith(c, Linear(62, 0, 90, 0, {{0, 0xFFFFFF}, {1, 0xD8DCE4}}));
  cairo_move_to(c, 60, 190);
  cairo_line_to(c, 61, 142);
  cairo_line_to(c, 44, 190);
  cairo_close_path(c);
  SetRgb(c, 0xE84A3A);
  cairo_fill(c);
  // Reeds on the near shore, bottom right.
  SetRgb(c, 0x2F4A1C);
  cairo_set_line_width(c, 2);
  for (int i = 0; i < 14; ++i) {
    const double x = 176 + i * 6 + r.Uniform(-2, 2), h = r.Uniform(30, 64);
    cairo_move_to(c, x, 256);
    cairo_curve_to(c, x, 256 - h / 2, x + 4, 256 - h * 0.8, x + 8, 256 - h);
    cairo_stroke(c);
  }
  a.Grain(102, 5, 2);
  return a.Image();
}

TImage Forest() {
  TArt a(S, S);
  cairo_t* c = *a;
  FillRect(c, 0, 0, S, S, Linear(0, 0, 0, 140, {{0, 0xE8F0C8}, {1, 0xA8C890}}));
  // Morning light falling from the upper left.
  cairo_rectangle(c, 0, 0, S, S);
  FillWith(c, Radial(20, 0, 10, 200, {{0, 0xFFFBD0, 0.9}, {1, 0xFFFBD0, 0}}));
  TRandom r(31);
  const uint32_t dark[] = {0x6E9A78, 0x3F7A4E, 0x245A34, 0x123A20};
  const uint32_t light[] = {0x8AB890, 0x5C9A62, 0x3A7A44, 0x2A5A2C};
  for (int row = 0; row < 4; ++row) {
    const double base = 120 + row * 38, h = 46 + row * 30;
    FillRidge(c, Ridge(r, 16, base - 4, 6), S, S);
    SetRgb(c, Mix(dark[row], 0x203018, 0.2));
    cairo_fill(c);
    const int count = 9 - row * 2;
    for (int i = 0; i < count; ++i) {
      const double x = (i + 0.5) * S / count + r.Uniform(-12, 12) + (row % 2) * 10;
      // Leave a clearing for the path.
      if (row >= 2 && x > 110 && x < 170) continue;
      Pine(c, x, base + r.Uniform(-4, 6), h * r.Uniform(0.85, 1.15), dark[row], light[row]);
    }
  }
  // A path winding into the wood, wide at the bottom.
  cairo_move_to(c, 100, 256);
  cairo_curve_to(c, 120, 220, 160, 210, 146, 172);
  cairo_line_to(c, 152, 172);
  cairo_curve_to(c, 176, 210, 170, 230, 196, 256);
  cairo_close_path(c);
  FillWith(c, Linear(0, 172, 0, 256, {{0, 0xB89A6A}, {1, 0x8A6A42}}));
  // Light shafts.
  for (int i = 0; i < 3; ++i) {
    cairo_move_to(c, 10 + i * 40, 0);
    cairo_line_to(c, 40 + i * 40, 0);
    cairo_line_to(c, 150 + i * 50, 256);
    cairo_line_to(c, 120 + i * 50, 256);
    cairo_close_path(c);
    SetRgb(c, 0xFFFFE0, 0.08);
    cairo_fill(c);
  }
  a.Grain(103, 8, 1.5);
  return a.Image();
}

void Flower(cairo_t* C, double X, double Y, double R, uint32_t Petal) {
  for (int p = 0; p < 5; ++p) {
    const double ang = p * 2 * Pi / 5 - Pi / 2;
    cairo_arc(C, X + std::cos(ang) * R, Y + std::sin(ang) * R, R * 0.75, 0, 2 * Pi);
    SetRgb(C, Petal);
    cairo_fill(C);
  }
  cairo_arc(C, X, Y, R * 0.6, 0, 2 * Pi);
  SetRgb(C, 0xFFD030);
  cairo_fill(C);
}

TImage Meadow() {
  TArt a(S, S);
  cairo_t* c = *a;
  FillRect(c, 0, 0, S, S, Linear(0, 0, 0, 110, {{0, 0x58A8F0}, {1, 0xD8F0FF}}));
  Sun(c, 214, 40, 18, 0xFFF8C0, 0xFFE070);
  TRandom r(41);
  Cloud(c, r, 80, 38, 56, 0.9);
  FillRidge(c, Ridge(r, 32, 104, 26), S, S);
  SetRgb(c, 0x7CC060);
  cairo_fill(c);
  // A lone tree on the hill, left of centre.
  cairo_rectangle(c, 66, 70, 6, 34);
  SetRgb(c, 0x5A3A22);
  cairo_fill(c);
  cairo_arc(c, 69, 62, 22, 0, 2 * Pi);
  FillWith(c, Radial(62, 54, 2, 24, {{0, 0x7CC050}, {1, 0x2E7A2A}}));
  FillRidge(c, Ridge(r, 32, 140, 14), S, S);
  FillWith(c, Linear(0, 130, 0, 256, {{0, 0x5CB040}, {1, 0x2E7A22}}));
  const uint32_t petals[] = {0xE8303A, 0xFFFFFF, 0xB050D8, 0xFF8A20, 0xF05AA0};
  for (int i = 0; i < 140; ++i) {
    const double y = r.Uniform(140, 256);
    const double depth = (y - 140) / 116;
    const double x = r.Uniform(0, S);
    SetRgb(c, 0x2A6A1A);
    cairo_set_line_width(c, 0.6 + depth);
    cairo_move_to(c, x, y);
    cairo_line_to(c, x + 1, y + 4 + 10 * depth);
    cairo_stroke(c);
    Flower(c, x, y, 1.2 + 4.2 * depth * depth, petals[r.Next() % 5]);
  }
  // A butterfly in the upper right of the meadow.
  cairo_save(c);
  cairo_translate(c, 176, 96);
  for (int side = -1; side <= 1; side += 2) {
    cairo_save(c);
    cairo_scale(c, side, 1);
    cairo_move_to(c, 0, 0);
    cairo_curve_to(c, 10, -14, 18, -8, 14, 0);
    cairo_curve_to(c, 16, 8, 6, 10, 0, 2);
    cairo_close_path(c);
    FillWith(c, Linear(0, -10, 0, 8, {{0, 0xFFB020}, {1, 0xE05010}}));
    cairo_restore(c);
  }
  cairo_restore(c);
  a.Grain(104, 5, 2);
  return a.Image();
}

TImage Coast() {
  TArt a(S, S);
  cairo_t* c = *a;
  FillRect(c, 0, 0, S, 118, Linear(0, 0, 0, 118, {{0, 0x1E8AD8}, {1, 0xA8E4FF}}));
  TRandom r(51);
  Cloud(c, r, 190, 30, 60, 0.85);
  FillRect(c, 0, 116, S, 140,
           Linear(0, 116, 0, 256, {{0, 0x2A9AC8}, {0.5, 0x1478A8}, {1, 0x0A4A7A}}));
  SetRgb(c, 0xFFFFFF, 0.55);
  cairo_set_line_width(c, 1.4);
  for (int i = 0; i < 40; ++i) {
    const double y = r.Uniform(122, 240), x = r.Uniform(0, S), w = 4 + (y - 116) * 0.12;
    cairo_move_to(c, x - w, y);
    cairo_curve_to(c, x - w / 2, y - w / 3, x + w / 2, y - w / 3, x + w, y);
    cairo_stroke(c);
  }
  // Beach sweeping in from the lower right, with surf along it.
  cairo_move_to(c, 256, 150);
  cairo_curve_to(c, 210, 180, 150, 220, 90, 256);
  cairo_line_to(c, 256, 256);
  cairo_close_path(c);
  FillWith(c, Linear(120, 256, 256, 160, {{0, 0xF0D8A0}, {1, 0xD8B878}}));
  cairo_move_to(c, 256, 146);
  cairo_curve_to(c, 206, 176, 146, 216, 84, 254);
  SetRgb(c, 0xFFFFFF, 0.9);
  cairo_set_line_width(c, 3);
  cairo_stroke(c);
  // A cliff with a lighthouse on the left.
  cairo_move_to(c, 0, 90);
  cairo_line_to(c, 34, 92);
  cairo_curve_to(c, 50, 110, 56, 160, 72, 256);
  cairo_line_to(c, 0, 256);
  cairo_close_path(c);
  FillWith(c, Linear(0, 0, 72, 0, {{0, 0x6A5A4A}, {1, 0x9A8468}}));
  cairo_rectangle(c, 0, 86, 36, 8);
  SetRgb(c, 0x5CA040);
  cairo_fill(c);
  for (int band = 0; band < 5; ++band) {
    const double y0 = 32 + band * 11, w0 = 10 + band * 1.2;
    cairo_rectangle(c, 20 - w0 / 2, y0, w0, 11);
    SetRgb(c, band % 2 ? 0xFFFFFF : 0xD8282A);
    cairo_fill(c);
  }
  cairo_rectangle(c, 14, 22, 12, 10);
  SetRgb(c, 0xFFF0A0);
  cairo_fill(c);
  cairo_move_to(c, 12, 22);
  cairo_line_to(c, 20, 12);
  cairo_line_to(c, 28, 22);
  cairo_close_path(c);
  SetRgb(c, 0x303840);
  cairo_fill(c);
  cairo_move_to(c, 26, 26);
  cairo_line_to(c, 110, 10);
  cairo_line_to(c, 110, 40);
  cairo_close_path(c);
  FillWith(c, Linear(26, 0, 110, 0, {{0, 0xFFF6C0, 0.6}, {1, 0xFFF6C0, 0}}));
  SetRgb(c, 0x404850);
  Bird(c, 130, 60, 7);
  Bird(c, 150, 48, 5);
  a.Grain(105, 5, 2);
  return a.Image();
}

TImage Snow() {
  TArt a(S, S);
  cairo_t* c = *a;
  FillRect(c, 0, 0, S, S, Linear(0, 0, 0, 160, {{0, 0x0E2A6A}, {1, 0x6AA0DA}}));
  TRandom r(61);
  SetRgb(c, 0xFFFFFF);
  for (int i = 0; i < 30; ++i) {
    cairo_arc(c, r.Uniform(0, S), r.Uniform(0, 60), r.Uniform(0.4, 1.1), 0, 2 * Pi);
    cairo_fill(c);
  }
  // A crescent moon top left.
  cairo_arc(c, 42, 36, 13, 0, 2 * Pi);
  SetRgb(c, 0xFFF8E0);
  cairo_fill(c);
  cairo_arc(c, 49, 31, 12, 0, 2 * Pi);
  SetRgb(c, 0x12306E);
  cairo_fill(c);
  // Three peaks, the tallest right of centre; lit faces white, shaded faces blue.
  const double peaks[][3] = {{70, 110, 70}, {170, 52, 110}, {240, 100, 60}};
  for (const auto& p : peaks) {
    cairo_move_to(c, p[0] - p[2] * 1.4, 230);
    cairo_line_to(c, p[0], p[1]);
    cairo_line_to(c, p[0] + p[2] * 1.2, 230);
    cairo_close_path(c);
    SetRgb(c, 0x9AB4DA);
    cairo_fill(c);
    cairo_move_to(c, p[0] - p[2] * 1.4, 230);
    cairo_line_to(c, p[0], p[1]);
    cairo_line_to(c, p[0] - p[2] * 0.1, 230);
    cairo_close_path(c);
    FillWith(c, Linear(0, p[1], 0, 230, {{0, 0xFFFFFF}, {1, 0xD8E6F6}}));
    // Rock showing under the snow.
    cairo_move_to(c, p[0] + p[2] * 0.2, p[1] + 40);
    cairo_line_to(c, p[0] + p[2] * 0.45, p[1] + 70);
    cairo_line_to(c, p[0] + p[2] * 0.3, p[1] + 72);
    cairo_close_path(c);
    SetRgb(c, 0x5A6A84);
    cairo_fill(c);
  }
  FillRidge(c, Ridge(r, 32, 210, 10), S, S);
  FillWith(c, Linear(0, 200, 0, 256, {{0, 0xF4F8FF}, {1, 0xC8D8EE}}));
  // A cabin with lit windows, bottom left.
  cairo_rectangle(c, 30, 206, 46, 28);
  SetRgb(c, 0x6A3E22);
  cairo_fill(c);
  cairo_move_to(c, 24, 208);
  cairo_line_to(c, 53, 186);
  cairo_line_to(c, 82, 208);
  cairo_close_path(c);
  SetRgb(c, 0xFFFFFF);
  cairo_fill(c);
  cairo_rectangle(c, 38, 214, 10, 9);
  cairo_rectangle(c, 58, 214, 10, 9);
  SetRgb(c, 0xFFD050);
  cairo_fill(c);
  cairo_rectangle(c, 66, 186, 6, 14);
  SetRgb(c, 0x4A3020);
  cairo_fill(c);
  for (int i = 0; i < 5; ++i) {
    cairo_arc(c, 72 + i * 5, 180 - i * 9, 3 + i * 1.5, 0, 2 * Pi);
    SetRgb(c, 0xE8F0FF, 0.5 - i * 0.08);
    cairo_fill(c);
  }
  Pine(c, 110, 236, 40, 0x1E4A3A, 0x3A6A5A);
  Pine(c, 128, 240, 30, 0x1E4A3A, 0x3A6A5A);
  SetRgb(c, 0xFFFFFF, 0.8);
  for (int i = 0; i < 60; ++i) {
    cairo_arc(c, r.Uniform(0, S), r.Uniform(60, S), r.Uniform(0.6, 1.6), 0, 2 * Pi);
    cairo_fill(c);
  }
  a.Grain(106, 4, 2);
  return a.Image();
}

}  // namespace

std::vector<TNamedPicture> NaturePictures() {
  return {{"Sunset", Sunset}, {"Lake", Lake},   {"Forest", Forest},
          {"Meadow", Meadow}, {"Coast", Coast}, {"Snow", Snow}};
}

}  // namespace art
