#include "media/sdl/DIBCanvas.h"

#include <memory>

#include "media/Raster2D.h"
#include "media/sdl/SdlText.h"

TDIBCanvas::TDIBCanvas(TDIB& Picture, TTextRasterizer& Text) : FPicture(Picture), FText(Text) {}

TDIBCanvas::~TDIBCanvas() {
  Release();
}

void TDIBCanvas::Load() {
  if (!FRGBA.empty() || FPicture.Empty()) return;
  FRGBA = FPicture.ToRGBA();
  FHasAlpha = FPicture.HasAlphaChannel();
}

void TDIBCanvas::Release() {
  if (FRGBA.empty()) return;
  FPicture = TDIB::FromRGBA(FPicture.Width(), FPicture.Height(), FRGBA, FHasAlpha ? 32 : 24);
  FRGBA.clear();
}

void TDIBCanvas::Blend(int32_t X, int32_t Y, uint32_t Color, uint8_t Coverage) {
  if (X < 0 || Y < 0 || X >= FPicture.Width() || Y >= FPicture.Height() || Coverage == 0) return;
  uint8_t* p = &FRGBA[(static_cast<size_t>(Y) * static_cast<size_t>(FPicture.Width()) +
                       static_cast<size_t>(X)) *
                      4];
  const uint32_t c = Coverage, rest = 255 - c;
  const uint8_t src[3] = {static_cast<uint8_t>(Color & 0xFF),
                          static_cast<uint8_t>((Color >> 8) & 0xFF),
                          static_cast<uint8_t>((Color >> 16) & 0xFF)};
  for (int i = 0; i < 3; ++i) p[i] = static_cast<uint8_t>((src[i] * c + p[i] * rest + 127) / 255);
  if (FHasAlpha) p[3] = static_cast<uint8_t>(c + (p[3] * rest + 127) / 255);
}

void TDIBCanvas::TextOut(int32_t X, int32_t Y, const std::string& Text) {
  Load();
  if (FRGBA.empty()) return;
  const TTextImage image = FText.Render(Text, Font.Size, Font.Bold);
  for (int32_t y = 0; y < image.Height; ++y) {
    for (int32_t x = 0; x < image.Width; ++x) {
      if (Brush.Style == TBrushStyle::Solid) Blend(X + x, Y + y, Brush.Color, 255);
      Blend(X + x, Y + y, Font.Color,
            image.Coverage[static_cast<size_t>(y) * static_cast<size_t>(image.Width) +
                           static_cast<size_t>(x)]);
    }
  }
}

void TDIBCanvas::MoveTo(int32_t X, int32_t Y) {
  FPenX = X;
  FPenY = Y;
}

void TDIBCanvas::LineTo(int32_t X, int32_t Y) {
  Load();
  if (!FRGBA.empty()) {
    for (const auto& p : LinePixels(FPenX, FPenY, X, Y)) Blend(p.X, p.Y, Pen.Color, 255);
  }
  MoveTo(X, Y);
}

void TDIBCanvas::Ellipse(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) {
  Load();
  if (FRGBA.empty()) return;
  // A solid brush fills the inside first, row by row between the outline's ends.
  const auto outline = EllipsePixels(X1, Y1, X2, Y2);
  if (Brush.Style == TBrushStyle::Solid) {
    for (size_t i = 0; i < outline.size();) {
      size_t j = i;
      while (j + 1 < outline.size() && outline[j + 1].Y == outline[i].Y) ++j;
      for (int32_t x = outline[i].X + 1; x < outline[j].X; ++x)
        Blend(x, outline[i].Y, Brush.Color, 255);
      i = j + 1;
    }
  }
  for (const auto& p : outline) Blend(p.X, p.Y, Pen.Color, 255);
}

namespace {
// Keeps the rasteriser alive as long as any canvas made with it.
class TOwningDIBCanvas : public TDIBCanvas {
 public:
  TOwningDIBCanvas(TDIB& Picture, std::shared_ptr<TTextRasterizer> Text)
      : TDIBCanvas(Picture, *Text), FText(std::move(Text)) {}

 private:
  std::shared_ptr<TTextRasterizer> FText;
};
}  // namespace

TPictureCanvasMaker MakeDIBCanvasMaker(const std::string& FontFolder) {
  auto text = std::make_shared<TTextRasterizer>(FontFolder);
  return [text](TDIB& Picture) -> std::unique_ptr<TCanvas> {
    return std::make_unique<TOwningDIBCanvas>(Picture, text);
  };
}
