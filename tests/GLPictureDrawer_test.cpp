#include "media/gl/GLPictureDrawer.h"

#include <gtest/gtest.h>

#include "GLContext.h"

namespace {
constexpr uint32_t Red = 0x0000FF, Green = 0x00FF00, Blue = 0xFF0000;

// A picture from 0x00BBGGRR colours (alpha in the top byte when Alpha is set), row by row.
TDIB Picture(int32_t W, int32_t H, const std::vector<uint32_t>& Colors, bool Alpha = false) {
  std::vector<uint8_t> rgba;
  for (uint32_t c : Colors) {
    rgba.insert(rgba.end(),
                {static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8),
                 static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(Alpha ? c >> 24 : 255)});
  }
  return TDIB::FromRGBA(W, H, rgba, Alpha ? 32 : 24);
}

int Channel(uint32_t C, int I) {
  return static_cast<int>((C >> (8 * I)) & 0xFF);
}

class GLPictureDrawerTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(GL.Ready()); }

  TPictureCollectionItem& Item(const TDIB& Pixels, uint32_t Key = Green, int32_t PatternWidth = 0) {
    auto& item = List.Add();
    TPicture picture;
    picture.SetGraphic("TDIB", Pixels);
    item.SetPicture(picture);
    item.SetTransparentColor(Key);
    item.PatternWidth = PatternWidth;
    item.Initialize();
    item.Restore();
    return item;
  }

  TTestGLContext& GL = TTestGLContext::Shared();
  TGL2DRenderer Renderer{TTestGLContext::W, TTestGLContext::H};
  TGLPictureDrawer Drawer{Renderer};
  TPictureCollection List;
};

TEST_F(GLPictureDrawerTest, DrawCopiesThePatternAndSkipsKeyedPixels) {
  GL.Clear(Blue);
  auto& item = Item(Picture(3, 2, {Red, Green, Red, Red, Red, Green}));
  Drawer.PutPattern(item, 0, 10, 20);
  EXPECT_EQ(GL.Pixel(10, 20), Red);
  EXPECT_EQ(GL.Pixel(11, 20), Blue);  // key colour: the target stays
  EXPECT_EQ(GL.Pixel(12, 21), Blue);
  EXPECT_EQ(GL.Pixel(12, 20), Red);
  EXPECT_EQ(GL.Pixel(9, 20), Blue);
  EXPECT_EQ(GL.Pixel(13, 20), Blue);
  EXPECT_EQ(GL.Pixel(10, 22), Blue);
}

TEST_F(GLPictureDrawerTest, ScaledDrawCoversTheScaledPlaceAndFiltersItsInside) {
  // A 320 x 240 surface on the 640 x 480 framebuffer: twice the size.
  TGL2DRenderer renderer{TTestGLContext::W / 2, TTestGLContext::H / 2, {}, false,
                         TTestGLContext::W,     TTestGLContext::H};
  TGLPictureDrawer drawer{renderer};
  GL.Clear(Blue);
  // Red left column, white right column, the key nowhere.
  auto& item = Item(Picture(2, 2, {Red, 0xFFFFFF, Red, 0xFFFFFF}));
  drawer.PutPattern(item, 0, 10, 20);
  EXPECT_EQ(GL.Pixel(20, 40), Red);  // the corners keep their texels
  EXPECT_EQ(GL.Pixel(23, 43), 0xFFFFFFu);
  EXPECT_EQ(GL.Pixel(19, 40), Blue);  // nothing outside the scaled place
  EXPECT_EQ(GL.Pixel(24, 40), Blue);
  EXPECT_EQ(GL.Pixel(20, 44), Blue);
  // Between the two columns the colours are blended, not one copied beside the other.
  const uint32_t mid = GL.Pixel(21, 41);
  EXPECT_GT(Channel(mid, 1), 0);
  EXPECT_LT(Channel(mid, 1), 255);
}

TEST_F(GLPictureDrawerTest, KeyFollowsTransparentAndTheKeyColourAtOnce) {
  auto& item = Item(Picture(2, 1, {Red, Green}));
  GL.Clear(Blue);
  item.SetTransparentColor(Red);
  Drawer.PutPattern(item, 0, 0, 0);
  EXPECT_EQ(GL.Pixel(0, 0), Blue);
  EXPECT_EQ(GL.Pixel(1, 0), Green);
  item.Transparent = false;
  Drawer.PutPattern(item, 0, 0, 0);
  EXPECT_EQ(GL.Pixel(0, 0), Red);
}

TEST_F(GLPictureDrawerTest, PatternsOfAGridDrawTheirOwnCell) {
  GL.Clear(0);
  auto& item = Item(Picture(4, 1, {Red, Red, Blue, Blue}), 0x123456, 2);
  ASSERT_EQ(item.PatternCount(), 2);
  Drawer.PutPattern(item, 1, 50, 50);
  EXPECT_EQ(GL.Pixel(50, 50), Blue);
  EXPECT_EQ(GL.Pixel(51, 50), Blue);
  EXPECT_EQ(GL.Pixel(52, 50), 0u);
  // Scaled up, the neighbouring cell still does not bleed in at the edge.
  Drawer.PutPatternAlpha(item, 0, {100, 100, 140, 110}, 255);
  EXPECT_EQ(GL.Pixel(139, 105), Red);
  EXPECT_EQ(GL.Pixel(100, 105), Red);
}

TEST_F(GLPictureDrawerTest, DrawAlphaAtZeroDrawsNothingAndAtFullEqualsAKeyedCopy) {
  const TDIB pixels = Picture(3, 2, {Red, Green, 0x336699, Red, 0xFFFFFF, Green});
  auto& item = Item(pixels);
  GL.Clear(Blue);
  const auto before = GL.Pixels();
  Drawer.PutPatternAlpha(item, 0, {10, 10, 13, 12}, 0);
  Drawer.PutPatternAlpha(item, 0, {10, 10, 13, 12}, -5);
  Drawer.PutPatternAlpha(item, 0, {10, 10, 10, 12}, 255);  // empty target
  Drawer.PutPatternAlpha(item, 0, {13, 10, 10, 12}, 255);  // turned inside out
  EXPECT_EQ(GL.Pixels(), before);

  Drawer.PutPattern(item, 0, 10, 10);
  const auto copy = GL.Pixels();
  GL.Clear(Blue);
  Drawer.PutPatternAlpha(item, 0, {10, 10, 13, 12}, 255);
  EXPECT_EQ(GL.Pixels(), copy);
}

TEST_F(GLPictureDrawerTest, DrawAlphaBlendsAndScalesSmoothly) {
  GL.Clear(0);
  auto& item = Item(Picture(2, 1, {0x000000, 0xFFFFFF}), 0x123456);
  Drawer.PutPatternAlpha(item, 0, {0, 0, 20, 4}, 255);
  EXPECT_EQ(GL.Pixel(0, 0), 0u);  // the first and last columns lie on the edges
  EXPECT_EQ(GL.Pixel(19, 3), 0xFFFFFFu);
  const int mid = Channel(GL.Pixel(10, 1), 0);
  EXPECT_GT(mid, 60);  // bilinear: a ramp, not a hard step
  EXPECT_LT(mid, 200);
  EXPECT_LT(Channel(GL.Pixel(8, 1), 0), mid);

  GL.Clear(0x000064);  // red 100
  auto& white = Item(Picture(1, 1, {0xFFFFFF}), 0x123456);
  Drawer.PutPatternAlpha(white, 0, {0, 0, 4, 4}, 128);
  EXPECT_NEAR(Channel(GL.Pixel(1, 1), 0), 100 + (255 - 100) * 128 / 255, 2);
  EXPECT_NEAR(Channel(GL.Pixel(1, 1), 1), 128, 2);
}

TEST_F(GLPictureDrawerTest, PictureAlphaTimesAlpha) {
  GL.Clear(0);
  auto& item = Item(Picture(1, 1, {0x80FFFFFF}, true), 0x123456);  // half-covered white
  Drawer.PutPattern(item, 0, 0, 0);
  EXPECT_NEAR(Channel(GL.Pixel(0, 0), 0), 128, 2);
  GL.Clear(0);
  Drawer.PutPatternAlpha(item, 0, {0, 0, 1, 1}, 128);
  EXPECT_NEAR(Channel(GL.Pixel(0, 0), 0), 64, 2);
}

TEST_F(GLPictureDrawerTest, AdditiveSaturatesAndScalesByAlpha) {
  GL.Clear(0x0064C8);  // red 200, green 100, blue 0
  auto& item = Item(Picture(2, 1, {0x646464, Green}));
  Drawer.PutPatternAdditive(item, 0, 30, 40, 2, 1, 0, 0, 0, 255);
  EXPECT_EQ(GL.Pixel(30, 40), 0x64C8FFu);  // red saturates at 255
  EXPECT_EQ(GL.Pixel(31, 40), 0x0064C8u);  // keyed: nothing added
  GL.Clear(0x0064C8);
  Drawer.PutPatternAdditive(item, 0, 30, 40, 2, 1, 0, 0, 0, 128);
  EXPECT_NEAR(Channel(GL.Pixel(30, 40), 0), 250, 2);
  EXPECT_NEAR(Channel(GL.Pixel(30, 40), 1), 150, 2);
  EXPECT_NEAR(Channel(GL.Pixel(30, 40), 2), 50, 2);

  GL.Clear(0);
  const auto before = GL.Pixels();
  Drawer.PutPatternAdditive(item, 0, 30, 40, 2, 1, 0, 0, 0, 0);
  Drawer.PutPatternAdditive(item, 0, 30, 40, 0, 1, 0, 0, 0, 255);
  Drawer.PutPatternAdditive(item, 0, 30, 40, 2, -1, 0, 0, 0, 255);
  EXPECT_EQ(GL.Pixels(), before);
}

// Additive adds the colour scaled by the call's alpha alone: the picture's own alpha belongs
// to the other two draws, which still use it after an additive one.
TEST_F(GLPictureDrawerTest, AdditiveIgnoresThePicturesOwnAlpha) {
  auto& item = Item(Picture(2, 1, {0x40646464, 0xFF00FF00}, true));  // quarter-covered, keyed
  for (int alpha : {255, 128}) {
    SCOPED_TRACE(alpha);
    GL.Clear(0x1E140A);  // red 10, green 20, blue 30
    Drawer.PutPatternAdditive(item, 0, 30, 40, 2, 1, 0, 0, 0, alpha);
    const int added = (100 * alpha + 127) / 255;
    EXPECT_NEAR(Channel(GL.Pixel(30, 40), 0), 10 + added, 2);
    EXPECT_NEAR(Channel(GL.Pixel(30, 40), 1), 20 + added, 2);
    EXPECT_NEAR(Channel(GL.Pixel(30, 40), 2), 30 + added, 2);
    EXPECT_EQ(GL.Pixel(31, 40), 0x1E140Au);  // keyed: nothing added
  }
  GL.Clear(0);
  Drawer.PutPattern(item, 0, 0, 0);
  EXPECT_NEAR(Channel(GL.Pixel(0, 0), 0), 25, 2);  // 100 x 64 / 255
  GL.Clear(0);
  Drawer.PutPatternAlpha(item, 0, {0, 0, 2, 1}, 255);
  EXPECT_NEAR(Channel(GL.Pixel(0, 0), 0), 25, 2);
}

TEST_F(GLPictureDrawerTest, AdditiveScalesAroundItsCentre) {
  GL.Clear(0);
  auto& item = Item(Picture(1, 1, {0x404040}), 0x123456);
  // Centre (0.5, 0.5) of a 10 x 6 picture placed on (100, 100).
  Drawer.PutPatternAdditive(item, 0, 100, 100, 10, 6, 0.5, 0.5, 0, 255);
  EXPECT_EQ(GL.Pixel(95, 97), 0x404040u);
  EXPECT_EQ(GL.Pixel(104, 102), 0x404040u);
  EXPECT_EQ(GL.Pixel(94, 100), 0u);
  EXPECT_EQ(GL.Pixel(105, 100), 0u);
  EXPECT_EQ(GL.Pixel(100, 96), 0u);
}

TEST_F(GLPictureDrawerTest, LeavesTheDeviceStateAsItWas) {
  glEnable(GL_DEPTH_TEST);
  glDisable(GL_BLEND);
  glEnable(GL_CULL_FACE);
  glViewport(5, 6, 70, 80);
  auto& item = Item(Picture(1, 1, {Red}));
  Drawer.PutPatternAlpha(item, 0, {0, 0, 5, 5}, 100);
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
  GLint viewport[4] = {};
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[2], 70);
  GLint program = -1;
  glGetIntegerv(GL_CURRENT_PROGRAM, &program);
  EXPECT_EQ(program, 0);
}

TEST(KeyedRGBA, SixteenBitPicturesCompareAtTheirOwnDepth) {
  TDIB dib;
  dib.SetSize(2, 1, 16);       // 5-5-5
  dib.SetPixel(0, 0, 0x7C00);  // full red
  dib.SetPixel(1, 0, 0x001F);  // full blue
  // 0x0000F8 (red 248) is full red at five bits.
  const auto rgba = TGLPictureDrawer::KeyedRGBA(dib, true, 0x0000F8);
  EXPECT_EQ(rgba[3], 0);
  EXPECT_EQ(rgba[7], 255);
  const auto plain = TGLPictureDrawer::KeyedRGBA(dib, false, 0x0000F8);
  EXPECT_EQ(plain[3], 255);
  // A key outside the colour range (clNone) never matches.
  EXPECT_EQ(TGLPictureDrawer::KeyedRGBA(dib, true, 0x1FFFFFFF)[3], 255);
}
}  // namespace
