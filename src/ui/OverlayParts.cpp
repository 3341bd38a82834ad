#include "ui/OverlayParts.h"

#include "media/DXDisplay.h"
#include "media/DXDraws.h"
#include "ui/OverlayLayout.h"

void SetAlphaBlending(TDXDraw& Display, bool On) {
  if (TDirect3DDevice7* device = Display.D3DDevice7())
    device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, On ? 1 : 0);
}

void DrawPanelBackground(TPictureCollection& Pictures, TDXDraw& Display, int32_t PanelWidth,
                         int32_t PanelHeight, int32_t Alpha) {
  TPictureCollectionItem& background = Pictures.Find("BlueBackground");
  TDirectDrawSurface& surface = Display.Surface();
  const TD3DRect rect = PanelRect(surface.Width(), surface.Height(), PanelWidth, PanelHeight);
  SetAlphaBlending(Display, true);
  background.DrawAlpha(surface, rect, 0, Alpha);
  SetAlphaBlending(Display, false);
}

void SetPanelFont(TCanvas& Canvas) {
  Canvas.Font.Bold = true;
  Canvas.Font.Size = 12;
  Canvas.Font.Color = PanelTextColor;
  Canvas.Brush.Style = TBrushStyle::Clear;
}
