#include "media/Raster2D.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {
using Points = std::vector<TPixelPoint>;

TEST(LinePixels, LeavesOutTheEndPoint) {
  EXPECT_EQ(LinePixels(2, 3, 5, 3), (Points{{2, 3}, {3, 3}, {4, 3}}));
  EXPECT_EQ(LinePixels(5, 3, 2, 3), (Points{{5, 3}, {4, 3}, {3, 3}}));
  EXPECT_EQ(LinePixels(0, 0, 0, -2), (Points{{0, 0}, {0, -1}}));
  EXPECT_EQ(LinePixels(0, 0, 3, 3), (Points{{0, 0}, {1, 1}, {2, 2}}));
  EXPECT_TRUE(LinePixels(7, 7, 7, 7).empty());
}

TEST(LinePixels, SteepLineHasOnePixelPerRow) {
  const auto p = LinePixels(0, 0, 3, 10);
  ASSERT_EQ(p.size(), 10u);
  for (int32_t i = 0; i < 10; ++i) EXPECT_EQ(p[static_cast<size_t>(i)].Y, i);
  EXPECT_LE(p.back().X, 3);
}

TEST(EllipsePixels, FitsTheBoxWithoutItsRightAndBottomEdge) {
  struct Case {
    int32_t X1, Y1, X2, Y2;
  };
  for (const Case c : {Case{100, 100, 180, 180}, Case{0, 0, 10, 10}, Case{5, 5, 6, 6},
                       Case{0, 0, 40, 3}, Case{-3, 2, 4, 30}, Case{0, 0, 2, 2}}) {
    SCOPED_TRACE(testing::Message() << c.X1 << "," << c.Y1 << "," << c.X2 << "," << c.Y2);
    const auto p = EllipsePixels(c.X1, c.Y1, c.X2, c.Y2);
    ASSERT_FALSE(p.empty());
    int32_t minX = INT32_MAX, maxX = INT32_MIN, minY = INT32_MAX, maxY = INT32_MIN;
    for (const auto& q : p) {
      minX = std::min(minX, q.X), maxX = std::max(maxX, q.X);
      minY = std::min(minY, q.Y), maxY = std::max(maxY, q.Y);
    }
    EXPECT_EQ(minX, c.X1);
    EXPECT_EQ(maxX, c.X2 - 1);
    EXPECT_EQ(minY, c.Y1);
    EXPECT_EQ(maxY, c.Y2 - 1);
    // Mirror-symmetric about both axes of the box.
    const std::set<std::pair<int32_t, int32_t>> set = [&] {
      std::set<std::pair<int32_t, int32_t>> s;
      for (const auto& q : p) s.insert({q.X, q.Y});
      return s;
    }();
    for (const auto& q : p) {
      EXPECT_TRUE(set.count({c.X1 + c.X2 - 1 - q.X, q.Y})) << q.X << "," << q.Y;
      EXPECT_TRUE(set.count({q.X, c.Y1 + c.Y2 - 1 - q.Y})) << q.X << "," << q.Y;
    }
  }
}

TEST(EllipsePixels, OutlineOnlyAndSwappedCornersAccepted) {
  const auto p = EllipsePixels(140, 140, 100, 100);  // corners given the other way round
  EXPECT_EQ(p, EllipsePixels(100, 100, 140, 140));
  // An outline: the centre and the points well inside are not painted.
  EXPECT_EQ(std::count(p.begin(), p.end(), TPixelPoint{120, 120}), 0);
  EXPECT_EQ(std::count(p.begin(), p.end(), TPixelPoint{100, 120}), 1);
  EXPECT_EQ(std::count(p.begin(), p.end(), TPixelPoint{139, 119}) +
                std::count(p.begin(), p.end(), TPixelPoint{139, 120}),
            2);
}

TEST(EllipsePixels, EmptyBoxGivesNothing) {
  EXPECT_TRUE(EllipsePixels(5, 5, 5, 20).empty());
  EXPECT_TRUE(EllipsePixels(5, 5, 20, 5).empty());
}
}  // namespace
