// The 2D layer over the scene: border strips, head-up texts, the help panel, the cross-hair
// and the hour-glasses.
#include <span>
#include <string>

#include "DXMain.h"
#include "ui/GestureNote.h"
#include "ui/LanguageTable.h"
#include "ui/OverlayLayout.h"
#include "ui/OverlayParts.h"

namespace {

constexpr uint32_t HudYellow = 0x0000FFFF;  // colours are 0x00BBGGRR
constexpr uint32_t HudWhite = 0x00FFFFFF;
constexpr uint32_t CrosshairGrey = 0x00808080;

constexpr const char* HelpPlayKeys[] = {"Help1", "Help2", "Help3", "Help4",  "Help5", "Help6",
                                        "Help7", "Help8", "Help9", "Help10", "Help11"};
constexpr const char* HelpSetupKeys[] = {"HelpSetup1", "HelpSetup2", "HelpSetup3", "HelpSetup4"};

void DrawStrip(TPictureCollection& Pictures, TDirectDrawSurface& Surface, const char* Middle,
               const char* Right, const char* Left, bool AtBottom) {
  TPictureCollectionItem& m = Pictures.Find(Middle);
  TPictureCollectionItem& r = Pictures.Find(Right);
  TPictureCollectionItem& l = Pictures.Find(Left);
  const int32_t sw = Surface.Width();
  const int32_t y = AtBottom ? Surface.Height() - m.Height() : 0;
  const int32_t t = m.Width() + r.Width() + l.Width();
  int32_t x = 0;
  m.Draw(Surface, x, y, 0);
  x += m.Width();
  r.Draw(Surface, x, y, 0);
  x += r.Width();
  l.Draw(Surface, x, y, 0);
  x += l.Width();
  // A middle piece without width would never get anywhere.
  if (m.Width() > 0) {
    while (x < sw - t) {
      m.Draw(Surface, x, y, 0);
      x += m.Width();
    }
  }
  x = sw - t;
  r.Draw(Surface, x, y, 0);
  x += r.Width();
  l.Draw(Surface, x, y, 0);
  x += l.Width();
  m.Draw(Surface, x, y, 0);
}

void Text(TCanvas& Canvas, int32_t Size, uint32_t Color, int32_t X, int32_t Y,
          const std::string& S) {
  Canvas.Font.Size = Size;
  Canvas.Font.Color = Color;
  Canvas.TextOut(X, Y, S);
}

}  // namespace

void TMainForm::DrawOverlays() {
  DrawTopMask();
  DrawBottomMask();
  DrawHud();
  if (GameState == 5)
    DrawGameOverPanel();
  else
    DrawHelpPanel();
  if (CameraMoving) DrawCrosshair();
  if (SetupBusy) DrawGlassHours();
}

void TMainForm::DrawTopMask() {
  DrawStrip(DXImageListFaceMask.Items(), DXDraw.Surface(), "TopMaskMiddle", "TopMaskRight",
            "TopMaskLeft", false);
}

void TMainForm::DrawBottomMask() {
  DrawStrip(DXImageListFaceMask.Items(), DXDraw.Surface(), "BottomMaskMiddle", "BottomMaskRight",
            "BottomMaskLeft", true);
}

void TMainForm::DrawHud() {
  TDirectDrawSurface& surface = DXDraw.Surface();
  TCanvas& c = surface.Canvas();
  const int32_t sw = surface.Width(), sh = surface.Height();
  const int32_t mid = Rnd(sw / 2.0);
  c.Font.Bold = false;
  c.Brush.Style = TBrushStyle::Clear;
  Text(c, 10, HudYellow, 20, 4, Languages->GetString("Credits"));
  Text(c, 10, HudYellow, sw - 50, 4, Languages->GetString("Level"));
  Text(c, 22, HudYellow, CreditsX(Credits), 13, std::to_string(Credits));
  Text(c, 22, HudYellow, sw - 35, 13, std::to_string(Level));
  Text(c, 22, HudWhite, mid - 140, 8, "Z E L G O R A");
  const std::string editionLine = Edition == 1   ? "S O R V A N E"
                                  : Edition == 2 ? "Tobrin"
                                                 : std::string(DeveloperWebAddress);
  Text(c, 25, HudWhite, mid - 100, sh - 55, editionLine);
  if (Edition == 1) Text(c, 15, HudWhite, mid + 90, sh - 42, "edition");
  Text(c, 10, HudYellow, 15, sh - 40, "2007");
  Text(c, 10, HudYellow, sw - 65, sh - 47, Languages->GetString("HELP"));
  Text(c, 8, HudYellow, sw - 65, sh - 31, Languages->GetString("(show/hide)"));
}

void TMainForm::DrawHelpPanel() {
  TDirectDrawSurface& surface = DXDraw.Surface();
  TCanvas& c = surface.Canvas();
  const int32_t sw = surface.Width(), sh = surface.Height();
  const TPanelLimits limits = CurrentPanelLimits();
  if (HelpVisible) {
    PanelOpeningStep(limits, PanelWidth, PanelHeight);
    DrawPanelBackground(DXImageListFaceMask.Items(), DXDraw, PanelWidth, PanelHeight,
                        Rnd(PanelHeight / 2.0));
    if (PanelOpen(limits, PanelWidth, PanelHeight)) {
      SetPanelFont(c);
      const int32_t x = Rnd(sw / 2.0 - PanelWidth / 2.0) + 75;
      int32_t y = Rnd(sh / 2.0 - PanelHeight / 2.0) + 50;
      c.TextOut(x, y, Languages->GetString(Edition == 1 ? "Help0Sorvane" : "Help0Tobrin"));
      y += 20;
      std::span<const char* const> lines =
          GameState == 4 ? std::span<const char* const>(HelpSetupKeys) : HelpPlayKeys;
      for (size_t i = 0; i < lines.size(); ++i)
        c.TextOut(x, y + 20 * static_cast<int32_t>(i), Languages->GetString(lines[i]));
      y += 20 * static_cast<int32_t>(lines.size());
      c.TextOut(x, y,
                Languages->GetString(Edition == 2   ? "HelpDeveloperTB"
                                     : Edition == 1 ? "HelpDeveloperSorvane"
                                                    : "HelpDeveloperTobrin"));
      // Below the help's own lines, near the panel's foot.
      if (TouchSeen) {
        c.Font.Bold = false;
        c.Font.Size = 10;
        const int32_t foot = Rnd(sh / 2.0 + PanelHeight / 2.0);
        const auto note = GestureNote(Languages->LanguageIndex, GameState == 4);
        c.TextOut(x, foot - 42, note[0]);
        c.TextOut(x, foot - 24, note[1]);
      }
    }
  } else {
    PanelClosingStep(PanelWidth, PanelHeight);
    if (PanelWidth > 0 || PanelHeight > 0)
      DrawPanelBackground(DXImageListFaceMask.Items(), DXDraw, PanelWidth, PanelHeight,
                          Rnd(PanelWidth / 4.0));
  }
  c.Release();
}

TPanelLimits TMainForm::CurrentPanelLimits() {
  return PanelLimits(DXDraw.Options.Contains(doFullScreen), Width(), Height());
}

// As the drawing routines step it: the game-over panel only opens.
void TMainForm::StepPanel() {
  if (GameState == 5 || HelpVisible)
    PanelOpeningStep(CurrentPanelLimits(), PanelWidth, PanelHeight);
  else
    PanelClosingStep(PanelWidth, PanelHeight);
}

void TMainForm::DrawCrosshair() {
  TDirectDrawSurface& surface = DXDraw.Surface();
  TCanvas& c = surface.Canvas();
  const int32_t cx = surface.Width() / 2, cy = surface.Height() / 2;
  c.Pen.Color = CrosshairGrey;
  c.Pen.Width = 1;
  c.MoveTo(cx - 45, cy);
  c.LineTo(cx + 45, cy);
  c.MoveTo(cx, cy - 45);
  c.LineTo(cx, cy + 45);
  for (int32_t r : {40, 20, 5}) c.Ellipse(cx - r, cy - r, cx + r, cy + r);
  c.Release();
}

void TMainForm::DrawGlassHours() {
  TPictureCollectionItem& glass = DXImageListFaceMask.Items().Find("GlassHours");
  const int32_t w = glass.Width(), h = glass.Height();
  const int32_t y = DXDraw.SurfaceHeight() / 2 - h / 2;
  TDirectDrawSurface& surface = DXDraw.Surface();
  SetAlphaBlending(DXDraw, true);
  glass.DrawRotatedAdditive(surface, 10, y, w, h, 0, 0.0, 0.0, 0, GlassAlpha);
  glass.DrawRotatedAdditive(surface, DXDraw.SurfaceWidth() - w - 10, y, w, h, 0, 0.0, 0.0, 0,
                            GlassAlpha);
  SetAlphaBlending(DXDraw, false);
}
