#include "media/gl/GLCanvas.h"

#include <gtest/gtest.h>

#include <cmath>

#include "GLContext.h"
#include "media/gl/GL2D.h"
#include "media/sdl/SdlText.h"

namespace {
struct Box {
  int32_t Left = INT32_MAX, Top = INT32_MAX, Right = INT32_MIN, Bottom = INT32_MIN;
  int Exact = 0;  // pixels exactly in the asked colour
};

Box Changed(const std::vector<uint8_t>& Pixels, uint32_t Background, uint32_t Color) {
  Box b;
  for (int32_t y = 0; y < TTestGLContext::H; ++y)
    for (int32_t x = 0; x < TTestGLContext::W; ++x) {
      const uint8_t* p = &Pixels[static_cast<size_t>((y * TTestGLContext::W + x) * 4)];
      const uint32_t c = p[0] | p[1] << 8 | p[2] << 16;
      if (c == Background) continue;
      b.Left = std::min(b.Left, x), b.Right = std::max(b.Right, x);
      b.Top = std::min(b.Top, y), b.Bottom = std::max(b.Bottom, y);
      b.Exact += c == Color;
    }
  return b;
}

class GLCanvasTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(GL.Ready()); }
  TTestGLContext& GL = TTestGLContext::Shared();
  TGL2DRenderer Renderer{TTestGLContext::W, TTestGLContext::H};
  TTextRasterizer Text{ZELGORA_BUILD_DIR};
  TGLCanvas Canvas{Renderer, Text};
};

TEST_F(GLCanvasTest, TextStandsAtItsTopLeftCornerInItsColour) {
  GL.Clear(0);
  Canvas.Brush.Style = TBrushStyle::Clear;
  Canvas.Font = {22, 0x00FFFF, false};  // yellow
  Canvas.TextOut(45, 13, "1234");
  Canvas.Release();
  const Box b = Changed(GL.Pixels(), 0, 0x00FFFF);
  EXPECT_GE(b.Left, 45);
  EXPECT_LE(b.Left, 49);
  EXPECT_GE(b.Top, 13);
  EXPECT_LE(b.Top, 13 + 10);
  // 22 points at 96 dpi: digits about 21 pixels high.
  EXPECT_NEAR(b.Bottom - b.Top + 1, 21, 3);
  EXPECT_GT(b.Exact, 100);
}

TEST_F(GLCanvasTest, TextIsTheRasterisedCoverageInTheFontColour) {
  GL.Clear(0);
  Canvas.Brush.Style = TBrushStyle::Clear;
  Canvas.Font = {12, 0xFB2943, true};
  Canvas.TextOut(0, 0, "\xDArove\xF2");  // "Úroveň"
  const auto pixels = GL.Pixels();
  {
    TTextImage image = Text.Render("\xDArove\xF2", 12, true);
    ASSERT_GT(image.Width, 0);
    for (int32_t y = 0; y < image.Height; ++y)
      for (int32_t x = 0; x < image.Width; ++x) {
        const uint8_t c = image.Coverage[static_cast<size_t>(y * image.Width + x)];
        const uint8_t* p = &pixels[static_cast<size_t>((y * TTestGLContext::W + x) * 4)];
        // 0x43 0x29 0xFB scaled by the coverage.
        EXPECT_NEAR(p[0], 0x43 * c / 255, 1) << x << "," << y;
        EXPECT_NEAR(p[2], 0xFB * c / 255, 1) << x << "," << y;
      }
  }
}

TEST_F(GLCanvasTest, UnchangedTextsAreKeptAndTheKeepIsBounded) {
  Canvas.Font.Size = 10;
  Canvas.TextOut(0, 0, "Credits");
  Canvas.TextOut(5, 5, "Credits");
  EXPECT_EQ(Canvas.CachedTexts(), 1u);
  Canvas.Font.Size = 22;
  Canvas.TextOut(0, 0, "Credits");
  EXPECT_EQ(Canvas.CachedTexts(), 2u);
  for (int i = 0; i < 600; ++i) Canvas.TextOut(0, 0, std::to_string(i));
  EXPECT_LE(Canvas.CachedTexts(), TGLCanvas::CacheLimit);
  Canvas.TextOut(0, 0, "");  // nothing to show, nothing drawn
}

TEST_F(GLCanvasTest, CrosshairLinesAndEllipses) {
  GL.Clear(0);
  const int32_t cx = 320, cy = 240;
  Canvas.Pen.Color = 0x808080;
  Canvas.Brush.Style = TBrushStyle::Clear;
  Canvas.MoveTo(cx - 45, cy);
  Canvas.LineTo(cx + 45, cy);
  Canvas.MoveTo(cx, cy - 45);
  Canvas.LineTo(cx, cy + 45);
  for (int32_t r : {40, 20, 5}) Canvas.Ellipse(cx - r, cy - r, cx + r, cy + r);
  Canvas.Release();
  EXPECT_EQ(GL.Pixel(cx - 45, cy), 0x808080u);
  EXPECT_EQ(GL.Pixel(cx + 44, cy), 0x808080u);
  EXPECT_EQ(GL.Pixel(cx + 45, cy), 0u);
  EXPECT_EQ(GL.Pixel(cx, cy - 45), 0x808080u);
  EXPECT_EQ(GL.Pixel(cx - 40, cy - 1), 0x808080u);  // leftmost column of the big ring
  EXPECT_EQ(GL.Pixel(cx, cy - 40), 0x808080u);      // its top row
  EXPECT_EQ(GL.Pixel(cx - 30, cy - 30), 0u);        // inside, unfilled
  EXPECT_EQ(GL.Pixel(cx + 10, cy + 10), 0u);
}

// A 320 x 240 surface shown on the 640 x 480 framebuffer: every surface pixel is 2 x 2.
class GLCanvasScaledTest : public GLCanvasTest {
 protected:
  TGL2DRenderer Scaled{TTestGLContext::W / 2, TTestGLContext::H / 2, {}, false,
                       TTestGLContext::W,     TTestGLContext::H};
  TGLCanvas ScaledCanvas{Scaled, Text};
};

TEST_F(GLCanvasScaledTest, CrosshairIsDrawnAtTheFramebuffersResolution) {
  GL.Clear(0);
  const int32_t cx = 160, cy = 120;
  ScaledCanvas.Pen.Color = 0x808080;
  ScaledCanvas.Brush.Style = TBrushStyle::Clear;
  ScaledCanvas.MoveTo(cx - 45, cy);
  ScaledCanvas.LineTo(cx + 45, cy);
  ScaledCanvas.MoveTo(cx, cy - 45);
  ScaledCanvas.LineTo(cx, cy + 45);
  ScaledCanvas.Ellipse(cx - 40, cy - 40, cx + 40, cy + 40);
  // The lines: two framebuffer rows or columns thick, the end point left out.
  EXPECT_EQ(GL.Pixel(230, 240), 0x808080u);
  EXPECT_EQ(GL.Pixel(409, 241), 0x808080u);
  EXPECT_EQ(GL.Pixel(410, 240), 0u);
  EXPECT_EQ(GL.Pixel(300, 239), 0u);
  EXPECT_EQ(GL.Pixel(320, 150), 0x808080u);
  EXPECT_EQ(GL.Pixel(321, 150), 0x808080u);
  EXPECT_EQ(GL.Pixel(322, 150), 0u);
  // The ring: inscribed in the box (240..400 framebuffer pixels), two pixels thick, a smooth
  // curve rather than 2 x 2 blocks of the surface's outline.
  EXPECT_EQ(GL.Pixel(240, 236), 0x808080u);
  EXPECT_EQ(GL.Pixel(241, 236), 0x808080u);
  EXPECT_EQ(GL.Pixel(242, 236), 0u);
  EXPECT_EQ(GL.Pixel(239, 236), 0u);
  EXPECT_EQ(GL.Pixel(316, 160), 0x808080u);
  EXPECT_EQ(GL.Pixel(316, 162), 0u);
  EXPECT_EQ(GL.Pixel(280, 200), 0u);  // inside, unfilled
  // Every framebuffer pixel whose centre lies well within the ring is drawn, and none well
  // outside it: 2 x 2 blocks of the 640 x 480 outline would miss both ways along the curve.
  int wrong = 0;
  for (int32_t y = 150; y < 330; ++y)
    for (int32_t x = 230; x < 410; ++x) {
      if ((x >= 320 && x <= 321) || (y >= 240 && y <= 241)) continue;  // the lines
      const double d = std::hypot(x + 0.5 - 320, y + 0.5 - 240);
      const bool grey = GL.Pixel(x, y) == 0x808080u;
      if ((d > 78.3 && d < 79.7 && !grey) || ((d < 77.7 || d > 80.3) && grey)) ++wrong;
    }
  EXPECT_EQ(wrong, 0);
}

TEST_F(GLCanvasScaledTest, TextIsRasterisedAtTheScaledSizeAndPlacedOnWholePixels) {
  GL.Clear(0);
  ScaledCanvas.Brush.Style = TBrushStyle::Clear;
  ScaledCanvas.Font = {12, 0xFFFFFF, true};
  ScaledCanvas.TextOut(10, 5, "\xDArove\xF2");
  const auto pixels = GL.Pixels();
  const TTextImage image = Text.Render("\xDArove\xF2", 12, true, 2.0);
  const TTextImage plain = Text.Render("\xDArove\xF2", 12, true);
  ASSERT_GT(image.Width, 0);
  EXPECT_NEAR(image.Height, 2 * plain.Height, 2);
  EXPECT_NEAR(image.Width, 2 * plain.Width, plain.Width / 8);
  for (int32_t y = 0; y < image.Height; ++y)
    for (int32_t x = 0; x < image.Width; ++x) {
      const uint8_t c = image.Coverage[static_cast<size_t>(y * image.Width + x)];
      const uint8_t* p = &pixels[static_cast<size_t>(
          ((10 - image.OriginY + y) * TTestGLContext::W + 20 - image.OriginX + x) * 4)];
      ASSERT_NEAR(p[0], c, 1) << x << "," << y;
    }
}

TEST_F(GLCanvasTest, SolidBrushPaintsTheTextBox) {
  GL.Clear(0);
  Canvas.Brush = {TBrushStyle::Solid, 0xFF0000};
  Canvas.Font = {10, 0xFFFFFF, false};
  Canvas.TextOut(200, 100, "ab");
  EXPECT_EQ(GL.Pixel(200, 100), 0xFF0000u);
  EXPECT_EQ(GL.Pixel(199, 100), 0u);
}
}  // namespace
