#include "media/gl/GLCanvas.h"

#include <algorithm>
#include <vector>

#include "media/Raster2D.h"
#include "media/gl/GL2D.h"
#include "media/sdl/SdlText.h"

TGLCanvas::TGLCanvas(TGL2DRenderer& Renderer, TTextRasterizer& Text)
    : FRenderer(Renderer), FText(Text) {}

TGLCanvas::~TGLCanvas() = default;

const TGLCanvas::TCached& TGLCanvas::Rendered(const std::string& Text) {
  const auto key = std::make_tuple(Text, Font.Size, Font.Bold);
  auto it = FCache.find(key);
  if (it == FCache.end()) {
    if (FCache.size() >= CacheLimit) Trim();
    const TTextImage image = FText.Render(Text, Font.Size, Font.Bold);
    TCached entry;
    entry.Width = image.Width;
    entry.Height = image.Height;
    entry.Texture = FRenderer.MakeCoverage(image.Width, image.Height, image.Coverage);
    it = FCache.emplace(key, std::move(entry)).first;
  }
  it->second.LastUse = ++FUse;
  return it->second;
}

void TGLCanvas::Trim() {
  // Drop the half used longest ago: texts of past frames that no longer show.
  std::vector<uint64_t> uses;
  uses.reserve(FCache.size());
  for (const auto& [key, entry] : FCache) uses.push_back(entry.LastUse);
  std::nth_element(uses.begin(), uses.begin() + static_cast<ptrdiff_t>(uses.size() / 2),
                   uses.end());
  const uint64_t median = uses[uses.size() / 2];
  std::erase_if(FCache, [&](const auto& e) { return e.second.LastUse <= median; });
}

void TGLCanvas::TextOut(int32_t X, int32_t Y, const std::string& Text) {
  const TCached& text = Rendered(Text);
  const auto x = static_cast<float>(X), y = static_cast<float>(Y);
  const auto w = static_cast<float>(text.Width), h = static_cast<float>(text.Height);
  TGL2DRenderer::TQuad quad;
  quad.Corners = TGL2DRenderer::Rect(x, y, x + w, y + h);
  if (Brush.Style == TBrushStyle::Solid && text.Width > 0) {
    quad.Color = Brush.Color;
    FRenderer.DrawQuad(nullptr, quad);
  }
  if (!text.Texture) return;
  quad.Source = {0, 0, text.Width, text.Height};
  quad.Color = Font.Color;
  FRenderer.DrawQuad(text.Texture.get(), quad);
}

void TGLCanvas::MoveTo(int32_t X, int32_t Y) {
  FPenX = X;
  FPenY = Y;
}

void TGLCanvas::LineTo(int32_t X, int32_t Y) {
  FRenderer.DrawPixels(LinePixels(FPenX, FPenY, X, Y), Pen.Color);
  MoveTo(X, Y);
}

void TGLCanvas::Ellipse(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) {
  const auto outline = EllipsePixels(X1, Y1, X2, Y2);
  if (Brush.Style == TBrushStyle::Solid) {
    // Inside rows between the outline's ends, left to the pen.
    std::vector<TPixelPoint> inside;
    for (size_t i = 0; i < outline.size();) {
      size_t j = i;
      while (j + 1 < outline.size() && outline[j + 1].Y == outline[i].Y) ++j;
      for (int32_t x = outline[i].X + 1; x < outline[j].X; ++x) inside.push_back({x, outline[i].Y});
      i = j + 1;
    }
    FRenderer.DrawPixels(inside, Brush.Color);
  }
  FRenderer.DrawPixels(outline, Pen.Color);
}
