// Layout arithmetic of the overlays: rounding, the animated panel (help and game over) and
// the credits counter's place.
#pragma once

#include <cstdint>

#include "media/Direct3D.h"

// Nearest integer, halves to the even neighbour.
int32_t Rnd(double Value);

struct TPanelLimits {
  int32_t Width = 0;
  int32_t Height = 0;
};

// From the window's outer size: a = 130 in full screen, else 160; (FW - a div 6, FH - a).
TPanelLimits PanelLimits(bool FullScreen, int32_t FormWidth, int32_t FormHeight);
// Grows sideways as a strip 6 pixels high, then in height.
void PanelOpeningStep(const TPanelLimits& Limits, int32_t& Width, int32_t& Height);
bool PanelOpen(const TPanelLimits& Limits, int32_t Width, int32_t Height);
// Narrows to a thin column, then loses height, then vanishes.
void PanelClosingStep(int32_t& Width, int32_t& Height);
// Centred on the surface.
TD3DRect PanelRect(int32_t SurfaceWidth, int32_t SurfaceHeight, int32_t Width, int32_t Height);

// x of the credits counter: 45 for one digit, 10 pixels further left per extra digit.
int32_t CreditsX(int32_t Credits);
