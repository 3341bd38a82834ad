#include "ui/OverlayLayout.h"

#include <cmath>

int32_t Rnd(double Value) {
  double r = std::round(Value);  // halves away from zero
  if (std::fabs(Value - std::trunc(Value)) == 0.5 && std::fmod(r, 2.0) != 0.0)
    r -= std::copysign(1.0, Value);
  return static_cast<int32_t>(r);
}

TPanelLimits PanelLimits(bool FullScreen, int32_t FormWidth, int32_t FormHeight) {
  int32_t a = FullScreen ? 130 : 160;
  return {FormWidth - a / 6, FormHeight - a};
}

void PanelOpeningStep(const TPanelLimits& Limits, int32_t& Width, int32_t& Height) {
  if (Width < Limits.Width) {
    Width += 20;
    Height = 6;
  } else if (Height < Limits.Height) {
    Height += 20;
  }
}

bool PanelOpen(const TPanelLimits& Limits, int32_t Width, int32_t Height) {
  return Width >= Limits.Width && Height >= Limits.Height;
}

void PanelClosingStep(int32_t& Width, int32_t& Height) {
  if (Width > 20) {
    Width -= 20;
  } else if (Height > 0) {
    Height -= 20;
    Width = 6;
  } else {
    Width = 0;
  }
}

TD3DRect PanelRect(int32_t SurfaceWidth, int32_t SurfaceHeight, int32_t Width, int32_t Height) {
  double cx = SurfaceWidth / 2.0, cy = SurfaceHeight / 2.0;
  return {Rnd(cx - Width / 2.0), Rnd(cy - Height / 2.0), Rnd(cx + Width / 2.0),
          Rnd(cy + Height / 2.0)};
}

int32_t CreditsX(int32_t Credits) {
  int32_t x = 45;
  for (int64_t limit = 10; Credits >= limit; limit *= 10) x -= 10;
  return x;
}
