// The canvas of the back surface: text, lines and ellipses drawn into the framebuffer after
// the 3D objects of the frame. Its font, pen and brush stay as set from frame to frame.
// Rendered texts are kept as textures, so an unchanged text is not rasterised every frame.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "media/Canvas.h"
#include "media/gl/GL2D.h"

class TTextRasterizer;

class TGLCanvas : public TCanvas {
 public:
  TGLCanvas(TGL2DRenderer& Renderer, TTextRasterizer& Text);
  ~TGLCanvas() override;

  void TextOut(int32_t X, int32_t Y, const std::string& Text) override;
  void MoveTo(int32_t X, int32_t Y) override;
  void LineTo(int32_t X, int32_t Y) override;
  void Ellipse(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) override;
  // Drawing goes to the framebuffer at once; there is no hold on the surface to end.
  void Release() override {}

  size_t CachedTexts() const { return FCache.size(); }
  static constexpr size_t CacheLimit = 256;

  // On a framebuffer larger or smaller than the surface, what the pen covers as triangles
  // in surface coordinates: a line from (X0, Y0) towards (X1, Y1), its end left out; the
  // outline of the ellipse in the box (right and bottom edges excluded), or its inside.
  static std::vector<TPointF> LineShape(int32_t X0, int32_t Y0, int32_t X1, int32_t Y1);
  std::vector<TPointF> EllipseShape(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2,
                                    bool Inside) const;

 private:
  struct TCached {
    std::unique_ptr<TGL2DTexture> Texture;  // null for a text that shows nothing
    int32_t Width = 0, Height = 0;
    int32_t OriginX = 0, OriginY = 0;  // the text's corner in the image
    uint64_t LastUse = 0;
  };
  const TCached& Rendered(const std::string& Text);
  void Trim();

  TGL2DRenderer& FRenderer;
  TTextRasterizer& FText;
  std::map<std::tuple<std::string, int32_t, bool>, TCached> FCache;
  uint64_t FUse = 0;
  int32_t FPenX = 0, FPenY = 0;
};
