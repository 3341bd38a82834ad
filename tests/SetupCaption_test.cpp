#include "ui/SetupCaption.h"

#include <gtest/gtest.h>

#include "media/sdl/DIBCanvas.h"
#include "media/sdl/SdlText.h"

namespace {
TEST(SetupCaption, PlaceFollowsThePictureHeight) {
  struct Case {
    int32_t H, Size, Y;
  };
  // y = h - 3h / 4.2; sizes of half a point go to the even neighbour.
  for (const Case c : {Case{64, 16, 18}, Case{10, 2, 3}, Case{14, 4, 4}, Case{6, 2, 2},
                       Case{128, 32, 37}, Case{0, 0, 0}}) {
    const auto p = SetupCaptionPlace(c.H);
    EXPECT_EQ(p.Size, c.Size) << c.H;
    EXPECT_EQ(p.X, 25) << c.H;
    EXPECT_EQ(p.Y, c.Y) << c.H;
  }
}

TEST(SetupCaption, PaintsInLightGreyAndTheLanguagesDiffer) {
  const TPictureCanvasMaker maker = MakeDIBCanvasMaker(ZELGORA_BUILD_DIR);
  std::vector<uint8_t> rgba(256 * 64 * 4, 40);
  const TDIB bar = TDIB::FromRGBA(256, 64, rgba);
  const auto plain = bar.ToRGBA();
  auto paint = [&](const std::string& Caption) {
    TDIB copy = bar;
    auto canvas = maker(copy);
    canvas->Brush.Style = TBrushStyle::Solid;  // left over from elsewhere: the caption clears it
    canvas->Font.Bold = true;
    PaintSetupCaption(*canvas, copy.Height(), Caption);
    return copy;
  };
  const TDIB english = paint("Nature"), slovak = paint("Pr\xEDroda");
  EXPECT_NE(english.ToRGBA(), slovak.ToRGBA());
  EXPECT_EQ(bar.ToRGBA(), plain);  // the template itself stays plain
  const auto px = english.ToRGBA();
  int light = 0, left = 256, top = 64;
  for (int32_t y = 0; y < 64; ++y)
    for (int32_t x = 0; x < 256; ++x) {
      const uint8_t* p = &px[static_cast<size_t>((y * 256 + x) * 4)];
      if (p[0] == 40 && p[1] == 40 && p[2] == 40) continue;
      left = std::min(left, x), top = std::min(top, y);
      light += p[0] == 0xF0 && p[1] == 0xF0 && p[2] == 0xF0;
    }
  EXPECT_GT(light, 30);
  EXPECT_GE(left, 25);
  EXPECT_LE(left, 28);
  EXPECT_GE(top, 18);
}
}  // namespace
