// Text rasterising with SDL2_ttf in the DejaVu Sans face that is shipped beside the game.
// Sizes are points at 96 dots per inch; texts arrive in Windows-1250.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// Coverage of a rendered text, one byte a pixel, top row first; the box is the font's full
// line height, so (0, 0) is the text's top-left corner as a canvas places it.
struct TTextImage {
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<uint8_t> Coverage;
};

class TTextRasterizer {
 public:
  static constexpr const char* RegularFile = "DejaVuSans.ttf";
  static constexpr const char* BoldFile = "DejaVuSans-Bold.ttf";

  // FontFolder holds the two font files (with or without a trailing slash). Raises
  // EDXDrawError naming the file when a face cannot be opened.
  explicit TTextRasterizer(std::string FontFolder);
  ~TTextRasterizer();
  TTextRasterizer(const TTextRasterizer&) = delete;
  TTextRasterizer& operator=(const TTextRasterizer&) = delete;

  // The text at Size points, bold or regular. An empty text or a size below 1 gives an
  // empty image.
  TTextImage Render(const std::string& Cp1250Text, int32_t Size, bool Bold);

 private:
  struct TFontHandle;
  TFontHandle& Font(int32_t Size, bool Bold);

  std::string FFolder;
  std::map<std::pair<int32_t, bool>, std::unique_ptr<TFontHandle>> FFonts;
};

// The folder the game's data lies in when nobody names one: the program's own folder.
std::string DefaultFontFolder();
