// The game-over panel: it keeps opening whatever the help key says, and in the sponsor
// edition shows the lottery ticket text.
#include <span>

#include "DXMain.h"
#include "ui/OverlayLayout.h"
#include "ui/OverlayParts.h"

namespace {

struct TPanelLine {
  int32_t Dy;
  const char* Key;  // null: the ticket text itself
};

constexpr TPanelLine SponsorLines[] = {
    {50, "GOver0Sorvane"},  {80, "GOver1Sorvane"}, {100, "GOver2Sorvane"}, {120, "GOver3Sorvane"},
    {140, "GOver4Sorvane"}, {180, nullptr},        {220, "GOver5Sorvane"}, {240, "GOver6Sorvane"},
    {260, "GOver7Sorvane"}, {280, "GOver8Sorvane"}};
constexpr TPanelLine DeveloperLines[] = {
    {50, "GOver0Tobrin"}, {80, "GOver1Tobrin"}, {100, "GOver2Tobrin"}};

}  // namespace

void TMainForm::DrawGameOverPanel() {
  TDirectDrawSurface& surface = DXDraw.Surface();
  TCanvas& c = surface.Canvas();
  const int32_t sw = surface.Width(), sh = surface.Height();
  const TPanelLimits limits = CurrentPanelLimits();
  PanelOpeningStep(limits, PanelWidth, PanelHeight);
  DrawPanelBackground(DXImageListFaceMask.Items(), DXDraw, PanelWidth, PanelHeight,
                      Rnd(PanelHeight / 2.0) + 20);
  if (PanelOpen(limits, PanelWidth, PanelHeight)) {
    SetPanelFont(c);
    const int32_t x = Rnd(sw / 2.0 - PanelWidth / 2.0) + 80;
    const int32_t t = Rnd(sh / 2.0 - PanelHeight / 2.0);
    std::span<const TPanelLine> lines =
        Edition == 1 ? std::span<const TPanelLine>(SponsorLines) : DeveloperLines;
    for (const TPanelLine& line : lines)
      c.TextOut(x, t + line.Dy, line.Key ? Languages->GetString(line.Key) : TicketText);
  }
  c.Release();
}
