// Image lists bound to a display, drawing through the GL 2D path on a headless context.
#include <gtest/gtest.h>

#include "GLContext.h"
#include "media/DXDisplay.h"
#include "media/DXDraws.h"
#include "media/NullDisplay.h"
#include "media/gl/GLSurface2D.h"

namespace {
constexpr uint32_t Red = 0x0000FF, Blue = 0xFF0000, Key = 0x00FF00;

class TDrawingBackend : public TNullDisplayBackend {
 public:
  explicit TDrawingBackend(TPictureDrawer& Drawer) : FDrawer(Drawer) {}
  TPictureDrawer* PictureDrawer() override { return &FDrawer; }

 private:
  TPictureDrawer& FDrawer;
};

// Two 2 x 1 patterns: red with a keyed pixel, then blue.
void Fill(TPictureCollection& List) {
  const std::vector<uint8_t> rgba{255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 0, 0, 255, 255};
  TPicture picture;
  picture.SetGraphic("TDIB", TDIB::FromRGBA(4, 1, rgba));
  auto& item = List.Add();
  item.SetName("Strip");
  item.SetPicture(picture);
  item.PatternWidth = 2;
  item.SetTransparentColor(Key);
}

class DXImageListTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(GL.Ready());
    Fill(List.Items());
  }
  TPictureCollectionItem& Strip() { return List.Items().Find("Strip"); }

  TTestGLContext& GL = TTestGLContext::Shared();
  TGLSurface2D Surface2D{TTestGLContext::W, TTestGLContext::H, ZELGORA_BUILD_DIR};
  TDXForm Form{std::make_unique<TNullFormWindow>()};
  std::unique_ptr<TDXDraw> Display =
      std::make_unique<TDXDraw>(Form, std::make_unique<TDrawingBackend>(Surface2D.Drawer()));
  TDXImageList List;  // made after the display: goes first
};

TEST_F(DXImageListTest, BoundListFollowsTheDisplayUpAndDown) {
  List.SetDXDraw(Display.get());
  EXPECT_EQ(Strip().PatternCount(), 0);  // the display is not up yet
  Display->Initialize();
  ASSERT_EQ(Strip().PatternCount(), 2);
  Strip().Draw(Display->Surface(), 10, 10, 0);
  Strip().Draw(Display->Surface(), 20, 10, 1);
  EXPECT_EQ(GL.Pixel(10, 10), Red);
  EXPECT_EQ(GL.Pixel(11, 10), 0u);  // keyed
  EXPECT_EQ(GL.Pixel(21, 10), Blue);

  Display->Finalize();
  EXPECT_EQ(Strip().PatternCount(), 0);
  GL.Clear(0);
  Strip().Draw(Display->Surface(), 10, 10, 0);
  EXPECT_EQ(GL.Pixel(10, 10), 0u);

  Display->Initialize();
  EXPECT_EQ(Strip().PatternCount(), 2);
}

TEST_F(DXImageListTest, BindingToARunningDisplayTakesEffectAtOnceAndUnbindingUndoesIt) {
  Display->Initialize();
  List.SetDXDraw(Display.get());
  EXPECT_EQ(Strip().PatternCount(), 2);
  List.SetDXDraw(nullptr);
  EXPECT_EQ(Strip().PatternCount(), 0);
  EXPECT_EQ(List.Items().Drawer(), nullptr);
}

TEST_F(DXImageListTest, EveryCaseThatDrawsNothing) {
  List.SetDXDraw(Display.get());
  Display->Initialize();
  TDXImageList unbound;
  Fill(unbound.Items());
  const auto before = GL.Pixels();
  auto& item = Strip();
  TDirectDrawSurface& s = Display->Surface();
  item.Draw(s, 0, 0, 2);  // index equal to the pattern count
  item.Draw(s, 0, 0, -1);
  item.DrawAlpha(s, {0, 0, 10, 10}, 2, 255);
  item.DrawAlpha(s, {0, 0, 10, 10}, 0, 0);
  item.DrawAlpha(s, {0, 0, 0, 10}, 0, 255);
  item.DrawRotatedAdditive(s, 0, 0, 10, 10, 5, 0, 0, 0, 255);
  item.DrawRotatedAdditive(s, 0, 0, 10, 10, 0, 0, 0, 0, 0);
  item.DrawRotatedAdditive(s, 0, 0, 0, 10, 0, 0, 0, 0, 255);
  unbound.Items().Items(0).Draw(s, 0, 0, 0);  // never initialised
  // Without a hardware 3D device of the version-7 kind the 2D path is off.
  for (TDXDrawOption o : {do3D, doDirectX7Mode, doHardware}) {
    Display->Options.Exclude(o);
    item.Draw(s, 0, 0, 0);
    Display->Options.Include(o);
  }
  EXPECT_EQ(GL.Pixels(), before);
  item.Draw(s, 0, 0, 0);  // and the same draw with everything in place does draw
  EXPECT_EQ(GL.Pixel(0, 0), Red);
}

TEST_F(DXImageListTest, DisplayDestroyedFirstLeavesTheListUnbound) {
  List.SetDXDraw(Display.get());
  Display->Initialize();
  Display.reset();
  EXPECT_EQ(List.DXDraw(), nullptr);
  EXPECT_EQ(Strip().PatternCount(), 0);
}

TEST_F(DXImageListTest, ListDestroyedFirstLeavesTheDisplayWhole) {
  List.SetDXDraw(Display.get());
  {
    TDXImageList shortLived;
    Fill(shortLived.Items());
    shortLived.SetDXDraw(Display.get());
    Display->Initialize();
  }
  Display->Finalize();
  Display->Initialize();  // no notice reaches the list that is gone
  EXPECT_EQ(Strip().PatternCount(), 2);
}
}  // namespace
