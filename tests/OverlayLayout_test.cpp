#include "ui/OverlayLayout.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

TEST(OverlayLayout, RndHalvesToEven) {
  struct Case {
    double In;
    int32_t Out;
  } cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2},   {3.5, 4},     {-0.5, 0},    {-1.5, -2},   {-2.5, -2},
               {2.4, 2}, {2.6, 3}, {-2.6, -3}, {155.0, 155}, {182.5, 182}, {183.5, 184}, {0.0, 0}};
  for (auto c : cases) EXPECT_EQ(Rnd(c.In), c.Out) << c.In;
}

TEST(OverlayLayout, LimitsInWindowAndFullScreen) {
  auto w = PanelLimits(false, 648, 514);
  EXPECT_EQ(w.Width, 622);
  EXPECT_EQ(w.Height, 354);
  auto f = PanelLimits(true, 640, 480);
  EXPECT_EQ(f.Width, 619);
  EXPECT_EQ(f.Height, 350);
}

TEST(OverlayLayout, OpeningIn648x514Window) {
  auto limits = PanelLimits(false, 648, 514);
  int32_t w = 0, h = 0;
  std::vector<std::pair<int32_t, int32_t>> frames;
  while (!PanelOpen(limits, w, h)) {
    PanelOpeningStep(limits, w, h);
    frames.emplace_back(w, h);
    ASSERT_LT(frames.size(), 100u);
  }
  ASSERT_EQ(frames.size(), 32u + 18u);
  EXPECT_EQ(frames[0], std::make_pair(20, 6));
  EXPECT_EQ(Rnd(frames[0].second / 2.0), 3);  // the first strip's alpha
  for (int i = 0; i < 32; ++i) EXPECT_EQ(frames[i], std::make_pair(20 * (i + 1), 6));
  for (int i = 0; i < 18; ++i) EXPECT_EQ(frames[32 + i], std::make_pair(640, 6 + 20 * (i + 1)));
  EXPECT_EQ(frames.back(), std::make_pair(640, 366));
  // Once open, further steps change nothing.
  PanelOpeningStep(limits, w, h);
  EXPECT_EQ(std::make_pair(w, h), std::make_pair(640, 366));
}

TEST(OverlayLayout, ClosingFromOpen) {
  int32_t w = 640, h = 366;
  std::vector<std::pair<int32_t, int32_t>> frames;
  for (int i = 0; i < 60 && (w > 0 || h > 0); ++i) {
    PanelClosingStep(w, h);
    frames.emplace_back(w, h);
  }
  ASSERT_EQ(frames.size(), 31u + 19u + 1u);
  for (int i = 0; i < 31; ++i) {
    EXPECT_EQ(frames[i], std::make_pair(620 - 20 * i, 366));
    EXPECT_EQ(Rnd(frames[i].first / 4.0), 155 - 5 * i);
  }
  for (int i = 0; i < 19; ++i) EXPECT_EQ(frames[31 + i], std::make_pair(6, 346 - 20 * i));
  EXPECT_EQ(frames[49].second, -14);
  EXPECT_EQ(Rnd(6 / 4.0), 2);
  EXPECT_EQ(frames.back(), std::make_pair(0, -14));
  // Closed stays closed; opening again starts from a 20 x 6 strip.
  PanelClosingStep(w, h);
  EXPECT_EQ(std::make_pair(w, h), std::make_pair(0, -14));
  PanelOpeningStep(PanelLimits(false, 648, 514), w, h);
  EXPECT_EQ(std::make_pair(w, h), std::make_pair(20, 6));
}

TEST(OverlayLayout, RectIsCentred) {
  auto r = PanelRect(640, 480, 640, 366);
  EXPECT_EQ(r.Left, 0);
  EXPECT_EQ(r.Top, 57);
  EXPECT_EQ(r.Right, 640);
  EXPECT_EQ(r.Bottom, 423);
  r = PanelRect(640, 480, 6, -14);  // the last closing frame: upside down, drawn as given
  EXPECT_EQ(r.Left, 317);
  EXPECT_EQ(r.Top, 247);
  EXPECT_EQ(r.Bottom, 233);
  r = PanelRect(640, 480, 20, 6);
  EXPECT_EQ(r.Left, 310);
  EXPECT_EQ(r.Top, 237);
  r = PanelRect(641, 481, 1, 1);  // 320.5 - 0.5 and 240.5 + 0.5: exact
  EXPECT_EQ(r.Left, 320);
  EXPECT_EQ(r.Right, 321);
  r = PanelRect(640, 480, 5, 5);  // 317.5 -> 318, 322.5 -> 322
  EXPECT_EQ(r.Left, 318);
  EXPECT_EQ(r.Right, 322);
}

TEST(OverlayLayout, CreditsPositions) {
  struct Case {
    int32_t Credits, X;
  } cases[] = {{0, 45},      {9, 45},      {10, 35},       {99, 35},        {100, 25},
               {999, 25},    {1000, 15},   {9999, 15},     {10000, 5},      {99999, 5},
               {100000, -5}, {999999, -5}, {1000000, -15}, {INT32_MAX, -45}};
  for (auto c : cases) EXPECT_EQ(CreditsX(c.Credits), c.X) << c.Credits;
}

}  // namespace
