#include "media/gl/GLCanvas.h"

#include <gtest/gtest.h>

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

TEST_F(GLCanvasTest, SolidBrushPaintsTheTextBox) {
  GL.Clear(0);
  Canvas.Brush = {TBrushStyle::Solid, 0xFF0000};
  Canvas.Font = {10, 0xFFFFFF, false};
  Canvas.TextOut(200, 100, "ab");
  EXPECT_EQ(GL.Pixel(200, 100), 0xFF0000u);
  EXPECT_EQ(GL.Pixel(199, 100), 0u);
}
}  // namespace
