#include "media/sdl/DIBCanvas.h"

#include <gtest/gtest.h>

#include "media/DXClass.h"
#include "media/sdl/SdlText.h"

namespace {
TDIB Plain(int32_t W, int32_t H, uint8_t Grey, int32_t BitCount = 24) {
  std::vector<uint8_t> rgba(static_cast<size_t>(W * H * 4), Grey);
  for (size_t i = 3; i < rgba.size(); i += 4) rgba[i] = 255;
  return TDIB::FromRGBA(W, H, rgba, BitCount);
}

uint32_t RGB(const TDIB& D, int32_t X, int32_t Y) {
  const auto rgba = D.ToRGBA();
  const size_t i =
      (static_cast<size_t>(Y) * static_cast<size_t>(D.Width()) + static_cast<size_t>(X)) * 4;
  return rgba[i] | rgba[i + 1] << 8 | rgba[i + 2] << 16;  // 0x00BBGGRR
}

struct Box {
  int32_t Left = INT32_MAX, Top = INT32_MAX, Right = INT32_MIN, Bottom = INT32_MIN;
  int FullCount = 0;  // pixels painted fully in the given colour
};

Box Changed(const TDIB& Before, const TDIB& After, uint32_t Full) {
  Box b;
  const auto p = Before.ToRGBA(), q = After.ToRGBA();
  for (int32_t y = 0; y < After.Height(); ++y)
    for (int32_t x = 0; x < After.Width(); ++x) {
      const size_t i =
          (static_cast<size_t>(y) * static_cast<size_t>(After.Width()) + static_cast<size_t>(x)) *
          4;
      if (p[i] == q[i] && p[i + 1] == q[i + 1] && p[i + 2] == q[i + 2]) continue;
      b.Left = std::min(b.Left, x), b.Right = std::max(b.Right, x);
      b.Top = std::min(b.Top, y), b.Bottom = std::max(b.Bottom, y);
      if (RGB(After, x, y) == Full) ++b.FullCount;
    }
  return b;
}

class DIBCanvasTest : public testing::Test {
 protected:
  TTextRasterizer Text{ZELGORA_BUILD_DIR};
};

TEST_F(DIBCanvasTest, TextLandsBelowAndRightOfItsCornerInTheFontColour) {
  TDIB picture = Plain(200, 60, 0);
  const TDIB before = picture;
  {
    TDIBCanvas canvas(picture, Text);
    canvas.Brush.Style = TBrushStyle::Clear;
    canvas.Font.Size = 12;
    canvas.Font.Color = 0x0000FF;  // red
    canvas.TextOut(30, 10, "HELP");
    canvas.Release();
  }
  const Box b = Changed(before, picture, 0x0000FF);
  EXPECT_GE(b.Left, 30);
  EXPECT_LE(b.Left, 33);
  EXPECT_GE(b.Top, 10);
  // Size 12 at 96 dpi is a 16-pixel em: capitals stand about 12 pixels high.
  EXPECT_GE(b.Bottom - b.Top + 1, 10);
  EXPECT_LE(b.Bottom - b.Top + 1, 16);
  EXPECT_LE(b.Bottom, 10 + 19);
  EXPECT_GT(b.FullCount, 20);
}

TEST_F(DIBCanvasTest, BoldAndSizeChangeTheText) {
  auto paint = [&](int32_t Size, bool Bold) {
    TDIB picture = Plain(300, 80, 0);
    const TDIB before = picture;
    TDIBCanvas canvas(picture, Text);
    canvas.Brush.Style = TBrushStyle::Clear;
    canvas.Font = {Size, 0xFFFFFF, Bold};
    canvas.TextOut(0, 0, "Level");
    canvas.Release();
    return Changed(before, picture, 0xFFFFFF);
  };
  const Box small = paint(10, false), big = paint(22, false), bold = paint(10, true);
  EXPECT_GT(big.Right - big.Left, 2 * (small.Right - small.Left) - 5);
  EXPECT_GT(bold.Right - bold.Left, small.Right - small.Left);
  // More ink: whole pixels do not tell, as one weight may be drawn smooth and one sharp.
  const auto ink = [&](bool Bold) {
    const TTextImage image = Text.Render("Level", 10, Bold);
    int64_t sum = 0;
    for (const uint8_t c : image.Coverage) sum += c;
    return sum;
  };
  EXPECT_GT(ink(true), ink(false) * 6 / 5);
}

TEST_F(DIBCanvasTest, Windows1250LettersAreShown) {
  // "Ú" carries an accent above the capital: it reaches higher than "U".
  const TTextImage u = Text.Render("U", 20, false), acute = Text.Render("\xDA", 20, false);
  ASSERT_EQ(u.Height, acute.Height);
  auto top = [](const TTextImage& I) {
    for (int32_t y = 0; y < I.Height; ++y)
      for (int32_t x = 0; x < I.Width; ++x)
        if (I.Coverage[static_cast<size_t>(y * I.Width + x)] > 128) return y;
    return I.Height;
  };
  EXPECT_LT(top(acute), top(u) - 2);
  EXPECT_EQ(Text.Render("", 12, false).Width, 0);
  EXPECT_EQ(Text.Render("x", 0, false).Width, 0);
}

TEST_F(DIBCanvasTest, SolidBrushFillsTheTextBox) {
  TDIB picture = Plain(100, 40, 0);
  TDIBCanvas canvas(picture, Text);
  canvas.Brush = {TBrushStyle::Solid, 0x00FF00};
  canvas.Font = {10, 0xFFFFFF, false};
  canvas.TextOut(5, 5, "ab");
  canvas.Release();
  EXPECT_EQ(RGB(picture, 5, 5), 0x00FF00u);
  EXPECT_EQ(RGB(picture, 4, 5), 0u);
}

TEST_F(DIBCanvasTest, LinesAndEllipsesUseThePen) {
  TDIB picture = Plain(100, 100, 0x20);
  TDIBCanvas canvas(picture, Text);
  canvas.Pen.Color = 0x808080;
  canvas.Brush.Style = TBrushStyle::Clear;
  canvas.MoveTo(5, 50);
  canvas.LineTo(95, 50);
  canvas.Ellipse(10, 10, 90, 90);
  canvas.Release();
  EXPECT_EQ(RGB(picture, 5, 50), 0x808080u);
  EXPECT_EQ(RGB(picture, 94, 50), 0x808080u);
  EXPECT_EQ(RGB(picture, 95, 50), 0x202020u);  // the end point is left out
  EXPECT_EQ(RGB(picture, 50, 10), 0x808080u);
  EXPECT_EQ(RGB(picture, 50, 30), 0x202020u);  // unfilled inside
  EXPECT_EQ(RGB(picture, 50, 90), 0x202020u);  // bottom edge excluded
}

TEST_F(DIBCanvasTest, IndexedPictureCanBePaintedOnAndClippingHolds) {
  TDIB picture;
  picture.SetSize(16, 16, 8);
  picture.ColorTable()[0] = TRGBQuad{0, 0, 0, 0};
  TDIBCanvas canvas(picture, Text);
  canvas.Font = {40, 0xF0F0F0, false};
  canvas.Brush.Style = TBrushStyle::Clear;
  canvas.TextOut(-5, -8, "W");  // partly outside: clipped, no write past the rows
  canvas.Pen.Color = 0x0000FF;
  canvas.MoveTo(-10, 3);
  canvas.LineTo(30, 3);
  canvas.Release();
  EXPECT_EQ(picture.BitCount(), 24);
  EXPECT_EQ(RGB(picture, 0, 3), 0x0000FFu);
  EXPECT_EQ(RGB(picture, 15, 3), 0x0000FFu);
  bool any = false;
  for (int32_t y = 0; y < 16; ++y)
    for (int32_t x = 0; x < 16; ++x) any |= RGB(picture, x, y) == 0xF0F0F0u;
  EXPECT_TRUE(any);
}

TEST(TextRasterizer, FacesMissingFromTheDataFolderComeFromTheFallback) {
  TTextRasterizer text("/nonexistent-folder", ZELGORA_BUILD_DIR);
  EXPECT_GT(text.Render("Level", 10, true).Width, 0);
}

TEST(TextRasterizer, MissingFontIsReportedByName) {
  try {
    TTextRasterizer text("/nonexistent-folder", "/nonexistent-too");
    FAIL() << "no error";
  } catch (const EDXDrawError& e) {
    EXPECT_NE(std::string(e.what()).find("/nonexistent-folder/tahoma.ttf"), std::string::npos)
        << e.what();
  }
}
}  // namespace
