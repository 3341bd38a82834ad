// Drawing pieces shared by the help panel and the game-over panel.
#pragma once

#include <cstdint>

class TCanvas;
class TDXDraw;
class TPictureCollection;

inline constexpr uint32_t PanelTextColor = 0x00FB2943;  // red 67, green 41, blue 251

// The device's ALPHABLENDENABLE render state (nothing without a device).
void SetAlphaBlending(TDXDraw& Display, bool On);
// "BlueBackground" stretched over the centred panel rectangle, blended with Alpha. A missing
// picture raises before blending is switched on.
void DrawPanelBackground(TPictureCollection& Pictures, TDXDraw& Display, int32_t PanelWidth,
                         int32_t PanelHeight, int32_t Alpha);
// Bold, 12 points, panel text colour, no box behind the texts.
void SetPanelFont(TCanvas& Canvas);
