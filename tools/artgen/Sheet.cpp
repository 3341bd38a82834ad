// The contact sheet: every picture of the game's files on one labelled PNG.
#include <stdexcept>

#include "Artwork.h"

namespace art {

namespace {

using TSurface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;

TSurface ToSurface(const TImage& I) {
  TSurface s(cairo_image_surface_create(CAIRO_FORMAT_RGB24, I.Width, I.Height),
             &cairo_surface_destroy);
  cairo_surface_flush(s.get());
  uint8_t* data = cairo_image_surface_get_data(s.get());
  const int stride = cairo_image_surface_get_stride(s.get());
  for (int y = 0; y < I.Height; ++y)
    for (int x = 0; x < I.Width; ++x) {
      const uint8_t* p = &I.RGBA[static_cast<size_t>((y * I.Width + x) * 4)];
      uint8_t* o = data + y * stride + x * 4;
      o[0] = p[2];
      o[1] = p[1];
      o[2] = p[0];
      o[3] = 255;
    }
  cairo_surface_mark_dirty(s.get());
  return s;
}

void Label(cairo_t* C, double X, double Y, double Size, const std::string& Text) {
  cairo_select_font_face(C, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(C, Size);
  cairo_move_to(C, X, Y);
  SetRgb(C, 0xD8DCE4);
  cairo_show_text(C, Text.c_str());
}

// Draws the picture scaled to fit a Box x Box cell (never enlarged beyond Box).
void Place(cairo_t* C, const TListEntry& E, double X, double Y, double Box) {
  const double scale = std::min({1.0, Box / E.Image.Width, Box / E.Image.Height});
  const TSurface s = ToSurface(E.Image);
  cairo_save(C);
  cairo_translate(C, X, Y);
  cairo_scale(C, scale, scale);
  cairo_set_source_surface(C, s.get(), 0, 0);
  cairo_paint(C);
  cairo_restore(C);
  Label(C, X, Y + E.Image.Height * scale + 13, 11, E.Name);
}

// At full size, with the key colour shown as a grey checkerboard.
void PlaceKeyed(cairo_t* C, const TImage& Image, double X, double Y) {
  TImage shown = Image;
  for (int y = 0; y < shown.Height; ++y)
    for (int x = 0; x < shown.Width; ++x) {
      uint8_t* p = &shown.RGBA[static_cast<size_t>((y * shown.Width + x) * 4)];
      if ((static_cast<uint32_t>(p[0]) << 16 | p[1] << 8 | p[2]) != MaskKey) continue;
      const uint8_t grey = ((x / 4 + y / 4) % 2) ? 0x70 : 0x50;
      p[0] = p[1] = p[2] = grey;
    }
  const TSurface s = ToSurface(shown);
  cairo_set_source_surface(C, s.get(), X, Y);
  cairo_paint(C);
}

}  // namespace

void WriteContactSheet(const std::string& File) {
  const auto lists = ImageLists();
  const auto& cubes = lists[0].Entries;
  const auto& bar = lists[3].Entries;
  const auto& masks = lists[4].Entries;
  constexpr double Cell = 168, Gap = 14, Face = 160;
  const int width = static_cast<int>(Gap + 6 * (Cell + Gap));
  const int height = 4 * static_cast<int>(Face + 50) + 200;
  TArt sheet(width, height);
  cairo_t* c = *sheet;
  SetRgb(c, 0x24262C);
  cairo_paint(c);
  double y = 28;
  auto heading = [&](const std::string& Text) {
    Label(c, Gap, y, 15, Text);
    y += 10;
  };
  auto row = [&](const std::string& Prefix) {
    double x = Gap;
    for (const auto& e : cubes)
      if (e.Name.rfind(Prefix, 0) == 0) {
        Place(c, e, x, y, Face);
        x += Cell + Gap;
      }
    y += Face + 40;
  };
  heading("Theme 0 \"Nature\" (C0)");
  row("C0");
  heading("Theme 1 \"Technical\" (C1)");
  row("C1");
  heading("Only in the sponsor edition's themes \"Waterland\" (C0) and \"HotHouse\" (C1)");
  {
    double x = Gap;
    for (const auto& e : lists[1].Entries) {
      bool shared = e.Name[0] != 'C';
      for (const auto& f : cubes) shared = shared || f.Name.substr(2) == e.Name.substr(2);
      if (shared) continue;
      Place(c, e, x, y, Face);
      x += Cell + Gap;
    }
    y += Face + 40;
  }
  heading("Backgrounds (B), 512 x 512 shown at 160");
  row("B");
  heading(
      "Setup bar; top and bottom borders tiled as in the game (M R L M M); help panel; hour-glass");
  double x = Gap;
  Place(c, bar[0], x, y, 256);
  x += 256 + 2 * Gap;
  for (size_t first : {size_t{0}, size_t{3}}) {
    double sx = x;
    const double sy = y + (first == 0 ? 0 : 66);
    for (size_t k : {first + 1, first + 2, first + 0, first + 1, first + 1}) {
      PlaceKeyed(c, masks[k].Image, sx, sy);
      sx += masks[k].Image.Width;
    }
  }
  Label(c, x, y + 142, 11, "TopMask*, BottomMask* (key colour as a checkerboard)");
  x += 288 + 2 * Gap;
  Place(c, masks[6], x, y, 128);
  x += 128 + 2 * Gap;
  Place(c, masks[7], x, y, 128);
  const auto status = cairo_surface_write_to_png(sheet.Surface(), File.c_str());
  if (status != CAIRO_STATUS_SUCCESS)
    throw std::runtime_error("cannot write " + File + ": " + cairo_status_to_string(status));
}

}  // namespace art
