#include "media/PictureRect.h"

#include <gtest/gtest.h>

namespace {

TEST(PictureRect, FitsKeepsTheAspectAndCentres) {
  struct Case {
    int32_t OutW, OutH;
    TPictureRect Want;
  };
  const Case cases[] = {
      {640, 480, {0, 0, 640, 480}},        // its own size: untouched
      {1920, 1080, {240, 0, 1440, 1080}},  // a wide desktop: black at the sides
      {1280, 960, {0, 0, 1280, 960}},      // twice the size
      {1280, 1024, {0, 32, 1280, 960}},    // taller than 4:3: black above and below
      {1366, 768, {171, 0, 1024, 768}},    // an odd leftover pixel goes right
      {641, 480, {0, 0, 640, 480}},        // one pixel to spare: no scaling for it
      {480, 640, {0, 140, 480, 360}},      // a portrait screen
      {320, 240, {0, 0, 320, 240}},        // smaller than the picture
      {1000, 751, {0, 0, 1000, 750}},      // the short side rounded, never past the output
      {1001, 750, {0, 0, 1000, 750}},
      {3840, 2160, {480, 0, 2880, 2160}},
      {16384, 16384, {0, 2048, 16384, 12288}},
      {1, 1, {0, 0, 1, 1}},  // never empty while the output is not
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FitPicture(c.OutW, c.OutH, 640, 480), c.Want) << c.OutW << "x" << c.OutH;
    const TPictureRect r = FitPicture(c.OutW, c.OutH, 640, 480);
    EXPECT_LE(r.X + r.Width, c.OutW);
    EXPECT_LE(r.Y + r.Height, c.OutH);
  }
}

TEST(PictureRect, NothingToFitIntoOrNothingToFit) {
  for (auto [ow, oh, pw, ph] :
       {std::array{0, 480, 640, 480}, std::array{640, 0, 640, 480}, std::array{-5, 480, 640, 480},
        std::array{640, 480, 0, 480}, std::array{640, 480, 640, -1}}) {
    EXPECT_TRUE(FitPicture(ow, oh, pw, ph).Empty()) << ow << " " << oh << " " << pw << " " << ph;
  }
}

TEST(PictureRect, OutputPointsComeBackInThePicturesPixels) {
  struct Case {
    int32_t OutW, OutH;
    float FX, FY;
    TPicturePoint Want;
  } cases[] = {
      {640, 480, 0.5f, 0.5f, {320, 240}},
      {1920, 1080, 0.5f, 0.5f, {320, 240}},  // centred between the black bars
      {1920, 1080, 0.125f, 0, {0, 0}},       // the picture's left edge is at 240 of 1920
      {1920, 1080, 0, 1, {-106.666664f, 480}},  // in the black bar: beside the picture
      {1280, 1024, 1, 0, {640, -16}},           // above the picture of a taller screen
      {480, 640, 0.25f, 0.5f, {160, 240}},      // a portrait screen
  };
  for (const Case& c : cases) {
    const auto p = OutputToPicture(c.FX, c.FY, c.OutW, c.OutH, FitPicture(c.OutW, c.OutH, 640, 480),
                                   640, 480);
    ASSERT_TRUE(p) << c.OutW << "x" << c.OutH;
    EXPECT_FLOAT_EQ(p->X, c.Want.X) << c.OutW << "x" << c.OutH << " " << c.FX;
    EXPECT_FLOAT_EQ(p->Y, c.Want.Y) << c.OutW << "x" << c.OutH << " " << c.FY;
  }
  EXPECT_FALSE(OutputToPicture(0.5f, 0.5f, 0, 480, {0, 0, 640, 480}, 640, 480));
  EXPECT_FALSE(OutputToPicture(0.5f, 0.5f, 640, 480, {}, 640, 480));
  EXPECT_FALSE(OutputToPicture(0.5f, 0.5f, 640, 480, {0, 0, 640, 480}, 0, 480));
}

}  // namespace
