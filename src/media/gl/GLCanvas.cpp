#include "media/gl/GLCanvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>
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
    const TTextImage image =
        FText.Render(Text, Font.Size, Font.Bold, FRenderer.Scaled() ? FRenderer.ScaleY() : 1.0);
    TCached entry;
    entry.Width = image.Width;
    entry.Height = image.Height;
    entry.OriginX = image.OriginX;
    entry.OriginY = image.OriginY;
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
  auto x0 = static_cast<float>(X), y0 = static_cast<float>(Y);
  auto x1 = x0 + static_cast<float>(text.Width), y1 = y0 + static_cast<float>(text.Height);
  if (FRenderer.Scaled()) {
    // The text was rasterised at the framebuffer's density: its corner goes on a whole
    // framebuffer pixel and its pixels are copied one for one.
    const double sx = FRenderer.ScaleX(), sy = FRenderer.ScaleY();
    const double px = std::round(X * sx) - text.OriginX, py = std::round(Y * sy) - text.OriginY;
    x0 = static_cast<float>(px / sx);
    y0 = static_cast<float>(py / sy);
    x1 = static_cast<float>((px + text.Width) / sx);
    y1 = static_cast<float>((py + text.Height) / sy);
  }
  TGL2DRenderer::TQuad quad;
  quad.Corners = TGL2DRenderer::Rect(x0, y0, x1, y1);
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
  if (FRenderer.Scaled()) {
    FRenderer.DrawTriangles(LineShape(FPenX, FPenY, X, Y), Pen.Color);
  } else {
    FRenderer.DrawPixels(LinePixels(FPenX, FPenY, X, Y), Pen.Color);
  }
  MoveTo(X, Y);
}

void TGLCanvas::Ellipse(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) {
  if (FRenderer.Scaled()) {
    if (Brush.Style == TBrushStyle::Solid) {
      FRenderer.DrawTriangles(EllipseShape(X1, Y1, X2, Y2, true), Brush.Color);
    }
    FRenderer.DrawTriangles(EllipseShape(X1, Y1, X2, Y2, false), Pen.Color);
    return;
  }
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

std::vector<TPointF> TGLCanvas::LineShape(int32_t X0, int32_t Y0, int32_t X1, int32_t Y1) {
  std::vector<TPointF> out;
  const double dx = static_cast<double>(X1) - X0, dy = static_cast<double>(Y1) - Y0;
  const double major = std::max(std::fabs(dx), std::fabs(dy));
  if (major == 0) return out;
  // The band the pen's pixels cover: one pixel across the minor axis, from the first pixel's
  // near edge to the last one's far edge along the major axis (the end point left out).
  const double ux = dx / major, uy = dy / major;
  const bool wide = std::fabs(dx) >= std::fabs(dy);
  const double mx = wide ? 0.0 : 0.5, my = wide ? 0.5 : 0.0;
  const double sx = X0 + 0.5 - 0.5 * ux, sy = Y0 + 0.5 - 0.5 * uy;
  const double ex = X1 + 0.5 - 0.5 * ux, ey = Y1 + 0.5 - 0.5 * uy;
  auto at = [](double X, double Y) {
    return TPointF{static_cast<float>(X), static_cast<float>(Y)};
  };
  const TPointF a = at(sx - mx, sy - my), b = at(ex - mx, ey - my), c = at(ex + mx, ey + my),
                d = at(sx + mx, sy + my);
  out = {a, b, c, a, c, d};
  return out;
}

std::vector<TPointF> TGLCanvas::EllipseShape(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2,
                                             bool Inside) const {
  std::vector<TPointF> out;
  if (X1 > X2) std::swap(X1, X2);
  if (Y1 > Y2) std::swap(Y1, Y2);
  if (X2 - X1 < 1 || Y2 - Y1 < 1) return out;
  // The pen's pixels lie between the ellipse inscribed in the box and the one a pixel inside
  // it; the inside is what that inner ellipse holds.
  const double cx = (static_cast<double>(X1) + X2) / 2, cy = (static_cast<double>(Y1) + Y2) / 2;
  const double ax = (static_cast<double>(X2) - X1) / 2, ay = (static_cast<double>(Y2) - Y1) / 2;
  const double ix = std::max(ax - 1, 0.0), iy = std::max(ay - 1, 0.0);
  // Segments short enough that the polygon stays within a fraction of a framebuffer pixel.
  const double reach = std::max(ax * FRenderer.ScaleX(), ay * FRenderer.ScaleY());
  const int n = std::clamp(static_cast<int>(std::ceil(reach * 1.5)), 16, 1024);
  auto at = [&](double Rx, double Ry, int I) {
    const double t = 2 * std::numbers::pi * I / n;
    return TPointF{static_cast<float>(cx + Rx * std::cos(t)),
                   static_cast<float>(cy + Ry * std::sin(t))};
  };
  out.reserve(static_cast<size_t>(n) * 6);
  for (int i = 0; i < n; ++i) {
    if (Inside) {
      out.insert(out.end(), {TPointF{static_cast<float>(cx), static_cast<float>(cy)}, at(ix, iy, i),
                             at(ix, iy, i + 1)});
    } else {
      const TPointF o0 = at(ax, ay, i), o1 = at(ax, ay, i + 1), i0 = at(ix, iy, i),
                    i1 = at(ix, iy, i + 1);
      out.insert(out.end(), {o0, o1, i1, o0, i1, i0});
    }
  }
  return out;
}
