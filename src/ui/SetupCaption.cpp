#include "ui/SetupCaption.h"

#include "media/Canvas.h"
#include "ui/OverlayLayout.h"

TSetupCaptionPlace SetupCaptionPlace(int32_t PictureHeight) {
  const double h = PictureHeight;
  return {Rnd(h / 4), 25, Rnd(h - 3 * h / 4.2)};
}

void PaintSetupCaption(TCanvas& Canvas, int32_t PictureHeight, const std::string& Text) {
  const TSetupCaptionPlace place = SetupCaptionPlace(PictureHeight);
  Canvas.Brush.Style = TBrushStyle::Clear;
  Canvas.Font.Size = place.Size;
  Canvas.Font.Color = 0xF0F0F0;
  Canvas.Font.Bold = false;
  Canvas.TextOut(place.X, place.Y, Text);
  Canvas.Release();
}
