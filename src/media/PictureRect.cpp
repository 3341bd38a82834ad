#include "media/PictureRect.h"

TPictureRect FitPicture(int32_t OutputWidth, int32_t OutputHeight, int32_t PictureWidth,
                        int32_t PictureHeight) {
  if (OutputWidth <= 0 || OutputHeight <= 0 || PictureWidth <= 0 || PictureHeight <= 0) return {};
  const int64_t ow = OutputWidth, oh = OutputHeight, pw = PictureWidth, ph = PictureHeight;
  int64_t w = ow, h = oh;
  // The other side, rounded to the nearest pixel, never exceeds the output: its exact value
  // does not, and the output's side is whole.
  if (ow * ph <= oh * pw) {
    h = (2 * ow * ph + pw) / (2 * pw);
  } else {
    w = (2 * oh * pw + ph) / (2 * ph);
  }
  w = w < 1 ? 1 : w;
  h = h < 1 ? 1 : h;
  return {static_cast<int32_t>((ow - w) / 2), static_cast<int32_t>((oh - h) / 2),
          static_cast<int32_t>(w), static_cast<int32_t>(h)};
}

std::optional<TPicturePoint> OutputToPicture(float FractionX, float FractionY, int32_t OutputWidth,
                                             int32_t OutputHeight, const TPictureRect& Placed,
                                             int32_t PictureWidth, int32_t PictureHeight) {
  if (OutputWidth <= 0 || OutputHeight <= 0 || Placed.Empty() || PictureWidth <= 0 ||
      PictureHeight <= 0)
    return std::nullopt;
  const double ox = static_cast<double>(FractionX) * OutputWidth;
  const double oy = static_cast<double>(FractionY) * OutputHeight;
  return TPicturePoint{static_cast<float>((ox - Placed.X) * PictureWidth / Placed.Width),
                       static_cast<float>((oy - Placed.Y) * PictureHeight / Placed.Height)};
}
