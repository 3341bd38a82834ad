// Text rasterising with SDL2_ttf in the interface face shipped beside the game: a free face
// with the metrics of the one the layout was made for, so every text ends where it should.
// Sizes are points at 96 dots per inch; texts arrive in Windows-1250.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

// The first place beside or above the program that holds the faces: the build tree or the
// installed tree.
std::string DefaultFontFolder();

// Coverage of a rendered text, one byte a pixel, top row first; the box is the font's full
// line height and holds all of the text's ink. (OriginX, OriginY) is the text's top-left
// corner as a canvas places it: more than 0 where letters reach left of or above it.
struct TTextImage {
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t OriginX = 0, OriginY = 0;
  std::vector<uint8_t> Coverage;
};

class TTextRasterizer {
 public:
  static constexpr const char* RegularFile = "tahoma.ttf";
  static constexpr const char* BoldFile = "tahomabd.ttf";

  // FontFolder holds the two font files (with or without a trailing slash); a face missing
  // there is looked for in Fallback (by default the program's own folder, where the build
  // puts them), so a data folder of pictures alone still gets text. Raises EDXDrawError
  // naming the file in FontFolder when a face cannot be opened from either.
  explicit TTextRasterizer(std::string FontFolder, std::string Fallback = DefaultFontFolder());
  ~TTextRasterizer();
  TTextRasterizer(const TTextRasterizer&) = delete;
  TTextRasterizer& operator=(const TTextRasterizer&) = delete;

  // The text at Size points, bold or regular, on a screen Scale times as dense as 96 dots
  // per inch (a picture shown larger than its own size). An empty text or a size below 1
  // gives an empty image.
  TTextImage Render(const std::string& Cp1250Text, int32_t Size, bool Bold, double Scale = 1.0);
  struct TFontHandle;
  // Whether the face has a glyph for every letter of the text.
  bool Covers(const std::string& Cp1250Text, bool Bold);

 private:
  TFontHandle& Font(int32_t Size, bool Bold, unsigned Dots = 96);  // Dots: per inch

  std::shared_ptr<const std::vector<uint8_t>> FaceBytes(const std::string& Path, bool Bold);

  std::string FFolder, FFallback;
  std::map<std::string, std::shared_ptr<const std::vector<uint8_t>>> FFaceBytes;
  std::map<std::tuple<int32_t, bool, unsigned>, std::unique_ptr<TFontHandle>> FFonts;
};
