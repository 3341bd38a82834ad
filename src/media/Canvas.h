// The 2D drawing context of a surface: text, lines and ellipses. Its settings persist from
// one use to the next, as a device context's do.
#pragma once

#include <cstdint>
#include <string>

// Colours are 0x00BBGGRR.
struct TFont {
  int32_t Size = 8;  // points at 96 dots per inch
  uint32_t Color = 0x000000;
  bool Bold = false;
};

struct TPen {
  uint32_t Color = 0x000000;
  int32_t Width = 1;
};

enum class TBrushStyle { Solid, Clear };

struct TBrush {
  TBrushStyle Style = TBrushStyle::Solid;
  uint32_t Color = 0xFFFFFF;
};

class TCanvas {
 public:
  virtual ~TCanvas() = default;

  TFont Font;
  TPen Pen;
  TBrush Brush;

  // Text is 8-bit Windows-1250; (X, Y) is its top-left corner.
  virtual void TextOut(int32_t X, int32_t Y, const std::string& Text) = 0;
  virtual void MoveTo(int32_t X, int32_t Y) = 0;
  virtual void LineTo(int32_t X, int32_t Y) = 0;
  // Unfilled while the brush is clear.
  virtual void Ellipse(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) = 0;
  // Ends the canvas's hold on its surface.
  virtual void Release() = 0;
};
