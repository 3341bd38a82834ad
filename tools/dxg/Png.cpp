#include "Png.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstring>
#include <memory>

#include "media/DXClass.h"

namespace {

using TSurface = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

// Keeps a surface locked while its pixels are touched.
class TLock {
 public:
  explicit TLock(SDL_Surface* S) : FS(S) { SDL_LockSurface(FS); }
  ~TLock() { SDL_UnlockSurface(FS); }
  TLock(const TLock&) = delete;
  TLock& operator=(const TLock&) = delete;

 private:
  SDL_Surface* FS;
};

[[noreturn]] void Fail(const char* What, const std::string& Path) {
  throw EDXError(Format("%s \"%s\": %s", What, Path.c_str(), SDL_GetError()));
}

}  // namespace

TDIB LoadPng(const std::string& Path) {
  TSurface s(IMG_Load(Path.c_str()), SDL_FreeSurface);
  if (!s) Fail("Cannot read picture", Path);
  const int w = s->w, h = s->h;
  const SDL_Palette* pal = s->format->palette;
  if (pal && s->format->BitsPerPixel == 8 && pal->ncolors <= 256) {
    TDIB d;
    d.SetSize(w, h, 8);
    auto& table = d.ColorTable();
    for (int i = 0; i < pal->ncolors; ++i) {
      table[static_cast<size_t>(i)] = {pal->colors[i].b, pal->colors[i].g, pal->colors[i].r, 0};
    }
    TLock lock(s.get());
    for (int y = 0; y < h; ++y) {
      std::memcpy(d.ScanLine(y), static_cast<const uint8_t*>(s->pixels) + y * s->pitch,
                  static_cast<size_t>(w));
    }
    return d;
  }
  TSurface rgba(SDL_ConvertSurfaceFormat(s.get(), SDL_PIXELFORMAT_RGBA32, 0), SDL_FreeSurface);
  if (!rgba) Fail("Cannot convert picture", Path);
  std::vector<uint8_t> bytes(static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
  bool alpha = false;
  {
    TLock lock(rgba.get());
    for (int y = 0; y < h; ++y) {
      const auto* row = static_cast<const uint8_t*>(rgba->pixels) + y * rgba->pitch;
      std::memcpy(bytes.data() + static_cast<size_t>(y) * static_cast<size_t>(w) * 4, row,
                  static_cast<size_t>(w) * 4);
      for (int x = 0; x < w; ++x) alpha = alpha || row[4 * x + 3] != 255;
    }
  }
  return TDIB::FromRGBA(w, h, bytes, alpha ? 32 : 24);
}

void SavePng(const TDIB& Picture, const std::string& Path) {
  const int w = Picture.Width(), h = Picture.Height();
  if (Picture.BitCount() <= 8) {
    TSurface s(SDL_CreateRGBSurfaceWithFormat(0, w, h, 8, SDL_PIXELFORMAT_INDEX8), SDL_FreeSurface);
    if (!s) Fail("Cannot make picture", Path);
    const int colors = 1 << Picture.BitCount();
    std::vector<SDL_Color> c(static_cast<size_t>(colors));
    for (int i = 0; i < colors; ++i) {
      const TRGBQuad& q = Picture.ColorTable()[static_cast<size_t>(i)];
      c[static_cast<size_t>(i)] = {q.Red, q.Green, q.Blue, 255};
    }
    SDL_SetPaletteColors(s->format->palette, c.data(), 0, colors);
    {
      TLock lock(s.get());
      for (int y = 0; y < h; ++y) {
        auto* row = static_cast<uint8_t*>(s->pixels) + y * s->pitch;
        for (int x = 0; x < w; ++x) row[x] = static_cast<uint8_t>(Picture.Pixels(x, y));
      }
    }
    if (IMG_SavePNG(s.get(), Path.c_str()) != 0) Fail("Cannot write picture", Path);
    return;
  }
  std::vector<uint8_t> rgba = Picture.ToRGBA();
  TSurface s(
      SDL_CreateRGBSurfaceWithFormatFrom(rgba.data(), w, h, 32, w * 4, SDL_PIXELFORMAT_RGBA32),
      SDL_FreeSurface);
  if (!s) Fail("Cannot make picture", Path);
  if (IMG_SavePNG(s.get(), Path.c_str()) != 0) Fail("Cannot write picture", Path);
}
