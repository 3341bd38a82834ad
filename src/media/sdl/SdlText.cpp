#include "media/sdl/SdlText.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>
#include <system_error>

#include "media/CodePage.h"
#include "media/DXClass.h"
#include "media/FontTables.h"
#include "media/sdl/InstalledData.h"
#include "media/sdl/SdlBasePath.h"
#include "media/Utf8Path.h"

namespace {
constexpr unsigned Dpi = 96;
// Sizes beyond these are no text a screen can show; they would only exhaust memory.
constexpr int32_t MaxSize = 1000;
constexpr double MinScale = 0.25, MaxScale = 16.0;

struct TSurfaceDeleter {
  void operator()(SDL_Surface* S) const { SDL_FreeSurface(S); }
};
using TSurfacePtr = std::unique_ptr<SDL_Surface, TSurfaceDeleter>;
}  // namespace

struct TTextRasterizer::TFontHandle {
  std::shared_ptr<const std::vector<uint8_t>> Bytes;  // the font reads them while it lives
  TTF_Font* Font = nullptr;
  int32_t Headroom = -1;  // rows above the ascent that every text gets; -1 until known
  ~TFontHandle() {
    if (Font) TTF_CloseFont(Font);
  }
};

namespace {
std::string WithSlash(std::string Folder) {
  if (!Folder.empty() && Folder.back() != '/') Folder += '/';
  return Folder;
}

// The file's bytes; none when it cannot be read. The bold face is drawn from its outlines only:
// its embedded strikes for the panel's sizes are the regular letters, not bold ones. The
// regular face keeps them, with the widths the layout was made for.
std::shared_ptr<const std::vector<uint8_t>> ReadFace(const std::string& Path, bool Bold) {
  std::ifstream in(Utf8Path(Path), std::ios::binary);
  if (!in) return nullptr;
  auto bytes = std::make_shared<std::vector<uint8_t>>(std::istreambuf_iterator<char>(in),
                                                      std::istreambuf_iterator<char>());
  if (in.bad() || bytes->empty()) return nullptr;
  if (Bold) HideBitmapStrikes(*bytes);
  return bytes;
}

// Rows the letters of Text reach above the face's ascent.
int32_t Overflow(TTF_Font* Font, std::string_view Cp1250Text) {
  int32_t over = 0;
  for (const char c : Cp1250Text) {
    int minX = 0, maxX = 0, minY = 0, maxY = 0, advance = 0;
    if (TTF_GlyphMetrics32(Font, Cp1250ToUnicode(static_cast<uint8_t>(c)), &minX, &maxX, &minY,
                           &maxY, &advance) == 0)
      over = std::max(over, maxY - TTF_FontAscent(Font));
  }
  return over;
}

// The most any text of the code page reaches above the ascent.
int32_t Headroom(TTF_Font* Font) {
  std::string all;
  for (int b = 0x20; b < 0x100; ++b) all += static_cast<char>(b);
  return Overflow(Font, all);
}

void OpenFace(TTextRasterizer::TFontHandle& Handle,
              std::shared_ptr<const std::vector<uint8_t>> Bytes, int32_t Size, unsigned Dots) {
  Handle.Bytes = std::move(Bytes);
  if (!Handle.Bytes) {
    TTF_SetError("cannot be read");
    return;
  }
  SDL_RWops* rw = SDL_RWFromConstMem(Handle.Bytes->data(), static_cast<int>(Handle.Bytes->size()));
  if (rw) Handle.Font = TTF_OpenFontDPIRW(rw, 1, Size, Dots, Dots);
}
}  // namespace

TTextRasterizer::TTextRasterizer(std::string FontFolder, std::string Fallback)
    : FFolder(WithSlash(std::move(FontFolder))), FFallback(WithSlash(std::move(Fallback))) {
  if (TTF_Init() != 0) throw EDXDrawError(Format("Text output cannot be made: %s", TTF_GetError()));
  try {
    // Open both faces now so that a missing file shows at start, not in the middle of play.
    Font(12, false);
    Font(12, true);
  } catch (...) {
    FFonts.clear();
    TTF_Quit();
    throw;
  }
}

TTextRasterizer::~TTextRasterizer() {
  FFonts.clear();  // fonts close before the library goes
  TTF_Quit();
}

TTextRasterizer::TFontHandle& TTextRasterizer::Font(int32_t Size, bool Bold, unsigned Dots) {
  auto& slot = FFonts[{Size, Bold, Dots}];
  if (!slot) {
    const std::string path = FFolder + (Bold ? BoldFile : RegularFile);
    auto handle = std::make_unique<TFontHandle>();
    OpenFace(*handle, FaceBytes(path, Bold), Size, Dots);
    if (!handle->Font && !FFallback.empty() && FFallback != FFolder)
      OpenFace(*handle, FaceBytes(FFallback + (Bold ? BoldFile : RegularFile), Bold), Size, Dots);
    if (!handle->Font) {
      FFonts.erase({Size, Bold, Dots});
      throw EDXDrawError(Format("Font \"%s\" cannot be opened: %s", path.c_str(), TTF_GetError()));
    }
    slot = std::move(handle);
  }
  return *slot;
}

std::shared_ptr<const std::vector<uint8_t>> TTextRasterizer::FaceBytes(const std::string& Path,
                                                                      bool Bold) {
  // Every size of a face reads the same file: it is read once.
  auto& bytes = FFaceBytes[Path];
  if (!bytes) bytes = ReadFace(Path, Bold);
  return bytes;
}

namespace {
// Adds the coverage of a text rendered white on clear into Image at (X, Y), clipped to it.
void AddCoverage(SDL_Surface* Rendered, int32_t X, int32_t Y, TTextImage& Image) {
  TSurfacePtr rgba{SDL_ConvertSurfaceFormat(Rendered, SDL_PIXELFORMAT_RGBA32, 0)};
  if (!rgba) return;
  const auto* pixels = static_cast<const uint8_t*>(rgba->pixels);
  for (int32_t y = std::max(0, -Y); y < rgba->h && Y + y < Image.Height; ++y) {
    const uint8_t* row = pixels + static_cast<ptrdiff_t>(y) * rgba->pitch;
    for (int32_t x = std::max(0, -X); x < rgba->w && X + x < Image.Width; ++x) {
      uint8_t& c = Image.Coverage[static_cast<size_t>(Y + y) * static_cast<size_t>(Image.Width) +
                                  static_cast<size_t>(X + x)];
      c = static_cast<uint8_t>(std::min(255, c + row[x * 4 + 3]));
    }
  }
}
}  // namespace

TTextImage TTextRasterizer::Render(const std::string& Cp1250Text, int32_t Size, bool Bold,
                                   double Scale) {
  TTextImage image;
  if (Cp1250Text.empty() || Size < 1) return image;
  const int32_t size = std::min(Size, MaxSize);
  TFontHandle& layoutHandle = Font(size, Bold);
  TTF_Font* layout = layoutHandle.Font;
  if (layoutHandle.Headroom < 0) layoutHandle.Headroom = Headroom(layout);
  // Letters reaching above the face's ascent (accented capitals) make the rendered picture grow
  // at the top. Every text gets the room of the tallest letter of the code page instead, so
  // that all texts of a size share one baseline and keep their accents.
  const int32_t room = layoutHandle.Headroom;
  const int32_t pad = room - std::min(Overflow(layout, Cp1250Text), room);
  const double scale = std::isfinite(Scale) ? std::clamp(Scale, MinScale, MaxScale) : 1.0;
  // Whole dots per inch: within half a dot of the scale asked for.
  const auto dots = static_cast<unsigned>(std::lround(scale * Dpi));
  if (dots == Dpi) {
    const std::string utf8 = Cp1250ToUtf8(Cp1250Text);
    TSurfacePtr rendered{
        TTF_RenderUTF8_Blended(layout, utf8.c_str(), SDL_Color{255, 255, 255, 255})};
    if (!rendered) return image;  // nothing to show (a text of zero width)
    image.Width = rendered->w;
    image.Height = rendered->h + pad;
    image.Coverage.assign(static_cast<size_t>(image.Width) * static_cast<size_t>(image.Height), 0);
    AddCoverage(rendered.get(), 0, pad, image);
    return image;
  }
  // On a denser screen each letter is drawn at the denser size but stands where the text laid
  // out at 96 dots per inch puts it, scaled: the text keeps its length and its place in the
  // layout, whatever the scale.
  TTF_Font* font = Font(size, Bold, dots).Font;
  int w96 = 0, h96 = 0;  // h96 takes in the letters above the ascent, as a rendered text does
  if (TTF_SizeUTF8(layout, Cp1250ToUtf8(Cp1250Text).c_str(), &w96, &h96) != 0 || w96 <= 0) {
    return image;
  }
  const int32_t baseline =
      static_cast<int32_t>(std::lround((room + TTF_FontAscent(layout)) * scale));
  // The box the layout gives the text, scaled; the letters drawn at the denser size may reach
  // past it (their ink is wider than the rounded scaled advances), so the image grows to hold
  // them, its corner staying where the layout puts it.
  int32_t left = 0, top = 0;
  int32_t right = static_cast<int32_t>(std::lround(w96 * scale));
  int32_t bottom = std::max(static_cast<int32_t>(std::lround((h96 + pad) * scale)),
                            baseline - TTF_FontAscent(font) + TTF_FontHeight(font));
  struct TPlaced {
    TSurfacePtr Glyph;
    int32_t X, Y;
  };
  std::vector<TPlaced> placed;
  int32_t pen = 0;  // at 96 dots per inch
  char32_t previous = 0;
  for (const char byte : Cp1250Text) {
    const char32_t c = Cp1250ToUnicode(static_cast<uint8_t>(byte));
    if (previous != 0) pen += TTF_GetFontKerningSizeGlyphs32(layout, previous, c);
    previous = c;
    int advance = 0, minX = 0, unused = 0;
    if (TTF_GlyphMetrics32(layout, c, &unused, &unused, &unused, &unused, &advance) != 0) continue;
    TTF_GlyphMetrics32(font, c, &minX, &unused, &unused, &unused, &unused);
    TSurfacePtr glyph{TTF_RenderGlyph32_Blended(font, c, SDL_Color{255, 255, 255, 255})};
    pen += advance;
    if (!glyph) continue;
    // A glyph reaching left of its pen position starts that much further left; one reaching
    // above the ascent makes its picture that much taller at the top.
    const int32_t x = static_cast<int32_t>(std::lround((pen - advance) * scale)) + std::min(minX, 0);
    const int32_t y = baseline - TTF_FontAscent(font) - Overflow(font, std::string(1, byte));
    left = std::min(left, x);
    top = std::min(top, y);
    right = std::max(right, x + glyph->w);
    bottom = std::max(bottom, y + glyph->h);
    placed.push_back({std::move(glyph), x, y});
  }
  image.Width = right - left;
  image.Height = bottom - top;
  image.OriginX = -left;
  image.OriginY = -top;
  image.Coverage.assign(static_cast<size_t>(image.Width) * static_cast<size_t>(image.Height), 0);
  for (const TPlaced& p : placed) AddCoverage(p.Glyph.get(), p.X - left, p.Y - top, image);
  return image;
}

bool TTextRasterizer::Covers(const std::string& Cp1250Text, bool Bold) {
  TTF_Font* font = Font(12, Bold).Font;
  for (const char c : Cp1250Text)
    if (TTF_GlyphIsProvided32(font, Cp1250ToUnicode(static_cast<uint8_t>(c))) == 0) return false;
  return true;
}

std::string DefaultFontFolder() {
  const TDataSearch search = FindDataFolder(ProgramDataPlaces(), [](const std::string& Folder) {
    std::error_code ec;
    return std::filesystem::is_regular_file(
        Utf8Path(WithSlash(Folder) + TTextRasterizer::RegularFile), ec);
  });
  return search.Found.value_or(SdlBasePath());
}
