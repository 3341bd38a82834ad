#include "Icon.h"

#include <cairo-svg.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <utility>

#include "IconFile.h"
#include "Paint.h"

namespace art {
namespace {

// Drawn on a 256-unit square; the three faces of a cube seen from above the front edge.
struct TPoint {
  double X, Y;
};
constexpr TPoint Top{128, 14}, UpLeft{26, 72}, UpRight{230, 72}, Centre{128, 130},
    LowLeft{26, 184}, LowRight{230, 184}, Bottom{128, 242};

// Maps the unit square onto the face with corners O, O + U and O + V.
void FaceSpace(cairo_t* C, TPoint O, TPoint U, TPoint V) {
  cairo_matrix_t m;
  cairo_matrix_init(&m, U.X - O.X, U.Y - O.Y, V.X - O.X, V.Y - O.Y, O.X, O.Y);
  cairo_transform(C, &m);
  cairo_rectangle(C, 0, 0, 1, 1);
  cairo_clip(C);
}

// The faces carry scenes of the game's first theme: a sunset, a lake under a snowy peak and
// a meadow, in the colours the game shows them.
void Sunset(cairo_t* C) {
  FillRect(C, 0, 0, 1, 1, Linear(0, 0, 0, 1, {{0, 0x3B2A6B}, {0.45, 0xE2603A}, {0.8, 0xFFC24A}}));
  cairo_arc(C, 0.5, 0.66, 0.2, 0, 2 * Pi);
  FillWith(C, Radial(0.5, 0.66, 0.02, 0.2, {{0, 0xFFF6C8}, {1, 0xFFD45A}}));
  cairo_move_to(C, 0, 1);
  cairo_line_to(C, 0, 0.74);
  cairo_curve_to(C, 0.3, 0.66, 0.55, 0.86, 1, 0.72);
  cairo_line_to(C, 1, 1);
  SetRgb(C, 0x2A1838);
  cairo_fill(C);
}

void Lake(cairo_t* C) {
  FillRect(C, 0, 0, 1, 1, Linear(0, 0, 0, 0.6, {{0, 0x2D6FC0}, {1, 0x9CCBF0}}));
  cairo_move_to(C, 0.05, 0.6);
  cairo_line_to(C, 0.5, 0.12);
  cairo_line_to(C, 0.95, 0.6);
  SetRgb(C, 0x4A5878);
  cairo_fill(C);
  cairo_move_to(C, 0.36, 0.27);
  cairo_line_to(C, 0.5, 0.12);
  cairo_line_to(C, 0.64, 0.27);
  cairo_line_to(C, 0.5, 0.33);
  SetRgb(C, 0xF4F8FF);
  cairo_fill(C);
  FillRect(C, 0, 0.58, 1, 0.42, Linear(0, 0.58, 0, 1, {{0, 0x1E5AA8}, {1, 0x0E2E66}}));
}

void Meadow(cairo_t* C) {
  FillRect(C, 0, 0, 1, 1, Radial(0.5, 0.5, 0.05, 0.75, {{0, 0x9AD85A}, {1, 0x3C8A2E}}));
  for (const auto& f : {TPoint{0.28, 0.3}, TPoint{0.7, 0.26}, TPoint{0.34, 0.72}, TPoint{0.74, 0.7}}) {
    cairo_arc(C, f.X, f.Y, 0.07, 0, 2 * Pi);
    SetRgb(C, 0xFFE45C);
    cairo_fill(C);
  }
}

// Size is the pixel size the picture is meant for: small sizes leave out the tile lines and
// widen the outline so that the cube's shape survives.
void DrawIcon(cairo_t* C, double Size) {
  const double unit = 256.0 / Size;  // one pixel in drawing units
  struct TFace {
    TPoint O, U, V;
    void (*Scene)(cairo_t*);
    double Shade;  // the game lights its cubes from the front: the sides darker than the top
  };
  const TFace faces[] = {{UpLeft, Top, Centre, Meadow, 0.0},
                         {UpLeft, Centre, LowLeft, Sunset, 0.12},
                         {Centre, UpRight, Bottom, Lake, 0.28}};
  auto at = [](const TFace& F, double A, double B) {
    return TPoint{F.O.X + A * (F.U.X - F.O.X) + B * (F.V.X - F.O.X),
                  F.O.Y + A * (F.U.Y - F.O.Y) + B * (F.V.Y - F.O.Y)};
  };
  for (const auto& f : faces) {
    cairo_save(C);
    FaceSpace(C, f.O, f.U, f.V);
    f.Scene(C);
    SetRgb(C, 0x000000, f.Shade);
    cairo_paint(C);
    cairo_restore(C);
    if (Size < 32) continue;
    // The board's tiles: each face split in four, as the Profi mode splits the pictures.
    for (const auto& [a, b] : {std::pair{at(f, 0.5, 0), at(f, 0.5, 1)},
                               std::pair{at(f, 0, 0.5), at(f, 1, 0.5)}}) {
      cairo_move_to(C, a.X, a.Y);
      cairo_line_to(C, b.X, b.Y);
    }
    cairo_set_line_width(C, std::max(1.0 * unit, 3.0));
    SetRgb(C, 0x101828, 0.55);
    cairo_stroke(C);
  }
  // Edges: the outline dark, the three front edges lit, as a selected cube glows.
  const double outline = std::max(1.5 * unit, 8.0);
  cairo_set_line_join(C, CAIRO_LINE_JOIN_ROUND);
  cairo_move_to(C, Top.X, Top.Y);
  cairo_line_to(C, UpRight.X, UpRight.Y);
  cairo_line_to(C, LowRight.X, LowRight.Y);
  cairo_line_to(C, Bottom.X, Bottom.Y);
  cairo_line_to(C, LowLeft.X, LowLeft.Y);
  cairo_line_to(C, UpLeft.X, UpLeft.Y);
  cairo_close_path(C);
  cairo_set_line_width(C, outline);
  SetRgb(C, 0x141C30);
  cairo_stroke(C);
  cairo_move_to(C, UpLeft.X, UpLeft.Y);
  cairo_line_to(C, Centre.X, Centre.Y);
  cairo_line_to(C, UpRight.X, UpRight.Y);
  cairo_move_to(C, Centre.X, Centre.Y);
  cairo_line_to(C, Bottom.X, Bottom.Y);
  cairo_set_line_width(C, std::max(1.0 * unit, 4.0));
  SetRgb(C, 0xFFF4D0, 0.9);
  cairo_stroke(C);
}

void Check(cairo_status_t Status, const std::string& File) {
  if (Status != CAIRO_STATUS_SUCCESS)
    throw std::runtime_error(File + ": " + cairo_status_to_string(Status));
}

void WritePng(TArt& A, const std::string& File) {
  Check(cairo_surface_write_to_png(A.Surface(), File.c_str()), File);
}

// The cube's corner farthest from the middle of the 256-unit square.
double CubeRadius() {
  double r = 0;
  for (const auto& p : {Top, UpLeft, UpRight, LowLeft, LowRight, Bottom})
    r = std::max(r, std::hypot(p.X - 128, p.Y - 128));
  return r;
}

}  // namespace

namespace {

// zelgora.ico for Windows, from the PNGs just written.
void WriteIconFile(const std::string& File, const std::string& Folder) {
  std::vector<std::vector<uint8_t>> pngs;
  std::vector<TIconImage> images;
  for (int size : IconSizes) {
    const auto png = std::filesystem::path(Folder) / ("zelgora-" + std::to_string(size) + ".png");
    std::ifstream in(png, std::ios::binary);
    pngs.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) throw std::runtime_error("cannot read " + png.string());
  }
  for (size_t i = 0; i < pngs.size(); ++i) images.push_back({IconSizes[i], pngs[i]});
  const std::vector<uint8_t> bytes = IconFile(images);
  std::ofstream out(File, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) throw std::runtime_error("cannot write " + File);
}

}  // namespace

void WriteIcons(const std::string& Folder) {
  namespace fs = std::filesystem;
  fs::create_directories(Folder);
  std::vector<int> sizes = IconSizes;
  sizes.insert(sizes.end(), WebIconSizes.begin(), WebIconSizes.end());
  for (int size : sizes) {
    TArt a(size, size);
    cairo_scale(*a, size / 256.0, size / 256.0);
    DrawIcon(*a, size);
    WritePng(a, (fs::path(Folder) / ("zelgora-" + std::to_string(size) + ".png")).string());
  }
  {
    // Filled to the edges, the cube (with its outline's half width) inside the safe circle.
    constexpr int size = 512;
    TArt a(size, size);
    SetRgb(*a, MaskableFill);
    cairo_paint(*a);
    const double scale = MaskableSafeShare * 128 / (CubeRadius() + 4);
    cairo_scale(*a, size / 256.0, size / 256.0);
    cairo_translate(*a, 128, 128);
    cairo_scale(*a, scale, scale);
    cairo_translate(*a, -128, -128);
    DrawIcon(*a, size * scale);
    WritePng(a, (fs::path(Folder) / "zelgora-maskable-512.png").string());
  }
  WriteIconFile((fs::path(Folder) / "zelgora.ico").string(), Folder);
  const std::string file = (fs::path(Folder) / "zelgora.svg").string();
  std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> svg(
      cairo_svg_surface_create(file.c_str(), 256, 256), &cairo_surface_destroy);
  cairo_svg_surface_restrict_to_version(svg.get(), CAIRO_SVG_VERSION_1_1);
  {
    std::unique_ptr<cairo_t, decltype(&cairo_destroy)> c(cairo_create(svg.get()), &cairo_destroy);
    DrawIcon(c.get(), 256);
    Check(cairo_status(c.get()), file);
  }
  cairo_surface_finish(svg.get());
  Check(cairo_surface_status(svg.get()), file);
}

}  // namespace art
