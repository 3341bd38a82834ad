#include "media/sdl/SdlText.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "media/CodePage.h"
#include "media/DXClass.h"
#include "media/sdl/InstalledData.h"
#include "media/sdl/SdlBasePath.h"

namespace {
constexpr unsigned Dpi = 96;
// Sizes beyond this are no text a screen can show; they would only exhaust memory.
constexpr int32_t MaxSize = 1000;

struct TSurfaceDeleter {
  void operator()(SDL_Surface* S) const { SDL_FreeSurface(S); }
};
using TSurfacePtr = std::unique_ptr<SDL_Surface, TSurfaceDeleter>;
}  // namespace

struct TTextRasterizer::TFontHandle {
  TTF_Font* Font = nullptr;
  ~TFontHandle() {
    if (Font) TTF_CloseFont(Font);
  }
};

namespace {
std::string WithSlash(std::string Folder) {
  if (!Folder.empty() && Folder.back() != '/') Folder += '/';
  return Folder;
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

TTextRasterizer::TFontHandle& TTextRasterizer::Font(int32_t Size, bool Bold) {
  auto& slot = FFonts[{Size, Bold}];
  if (!slot) {
    const std::string path = FFolder + (Bold ? BoldFile : RegularFile);
    auto handle = std::make_unique<TFontHandle>();
    handle->Font = TTF_OpenFontDPI(path.c_str(), Size, Dpi, Dpi);
    if (!handle->Font && !FFallback.empty() && FFallback != FFolder) {
      const std::string other = FFallback + (Bold ? BoldFile : RegularFile);
      handle->Font = TTF_OpenFontDPI(other.c_str(), Size, Dpi, Dpi);
    }
    if (!handle->Font) {
      FFonts.erase({Size, Bold});
      throw EDXDrawError(Format("Font \"%s\" cannot be opened: %s", path.c_str(), TTF_GetError()));
    }
    slot = std::move(handle);
  }
  return *slot;
}

TTextImage TTextRasterizer::Render(const std::string& Cp1250Text, int32_t Size, bool Bold) {
  TTextImage image;
  if (Cp1250Text.empty() || Size < 1) return image;
  TTF_Font* font = Font(std::min(Size, MaxSize), Bold).Font;
  const std::string utf8 = Cp1250ToUtf8(Cp1250Text);
  TSurfacePtr rendered{TTF_RenderUTF8_Blended(font, utf8.c_str(), SDL_Color{255, 255, 255, 255})};
  if (!rendered) return image;  // nothing to show (a text of zero width)
  TSurfacePtr rgba{SDL_ConvertSurfaceFormat(rendered.get(), SDL_PIXELFORMAT_RGBA32, 0)};
  if (!rgba) return image;
  image.Width = rgba->w;
  image.Height = rgba->h;
  image.Coverage.resize(static_cast<size_t>(image.Width) * static_cast<size_t>(image.Height));
  const auto* pixels = static_cast<const uint8_t*>(rgba->pixels);
  for (int32_t y = 0; y < image.Height; ++y) {
    const uint8_t* row = pixels + static_cast<ptrdiff_t>(y) * rgba->pitch;
    for (int32_t x = 0; x < image.Width; ++x) {
      image.Coverage[static_cast<size_t>(y) * static_cast<size_t>(image.Width) +
                     static_cast<size_t>(x)] = row[x * 4 + 3];
    }
  }
  return image;
}

std::string DefaultFontFolder() {
  const TDataSearch search = FindDataFolder(ProgramDataPlaces(), [](const std::string& Folder) {
    std::error_code ec;
    return std::filesystem::is_regular_file(WithSlash(Folder) + TTextRasterizer::RegularFile, ec);
  });
  return search.Found.value_or(SdlBasePath());
}
