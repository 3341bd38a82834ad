// The 2D path on the display's own GL back surface: pictures and text land where the game
// puts them, over the 3D scene, and the 3D device keeps working after them.
#include "media/gl/GLSurface2D.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include "DXHappy.h"
#include "GLContext.h"
#include "media/DXDisplay.h"
#include "media/DXDraws.h"
#include "media/NullDisplay.h"
#include "media/sdl/SdlDisplay.h"

namespace {
constexpr uint32_t Red = 0x0000FF, Key = 0x00FF00, White = 0xFFFFFF;

class GLSurface2D : public testing::Test {
 protected:
  static void SetUpTestSuite() { Display = std::make_unique<TTestDisplay>(); }
  static void TearDownTestSuite() { Display.reset(); }

  void SetUp() override {
    ASSERT_TRUE(Display->Ready());
    Device = Display->Draw->D3DDevice7();
    TD3DViewport vp;
    vp.Width = 640;
    vp.Height = 480;
    Device->SetViewport(vp);
    TD3DMaterial m;
    m.Diffuse = m.Ambient = {1, 1, 1, 0};
    Device->SetMaterial(m);
    Device->SetRenderState(D3DRENDERSTATE_AMBIENT, 0xFFFFFFFF);
    Device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 0);
    TMatrix4 p;
    p.M[0][0] = 2;
    p.M[1][1] = 2;
    p.M[2][2] = 1;
    p.M[2][3] = 1;
    p.M[3][2] = -1;
    Device->SetTransform(TD3DTransformState::Projection, p);
    Device->SetTransform(TD3DTransformState::World, MakeTranslation(0, 0, 0));
    Device->Clear({0, 0, 640, 480}, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
  }

  uint32_t At(int32_t X, int32_t Y) {
    const TSurfacePixels s = Backend()->ReadSurface();
    const size_t i =
        (static_cast<size_t>(Y) * static_cast<size_t>(s.Width) + static_cast<size_t>(X)) * 4;
    return s.RGBA[i] | s.RGBA[i + 1] << 8 | s.RGBA[i + 2] << 16;
  }

  // A white square of half-side 1 at depth 5: x 192..448, y 144..336.
  void DrawSquare(TDirect3DTexture2& T) {
    const std::array<TVertex, 4> v = {
        MakeVertex({-1, 1, 5}, {0, 0, -1}, 0, 0), MakeVertex({1, 1, 5}, {0, 0, -1}, 1, 0),
        MakeVertex({-1, -1, 5}, {0, 0, -1}, 0, 1), MakeVertex({1, -1, 5}, {0, 0, -1}, 1, 1)};
    Device->SetTexture(0, T.Surface());
    Device->DrawPrimitive(TD3DPrimitiveType::TriangleStrip, D3DFVF_VERTEX, v, 0);
  }

  static TDIB Plain(int32_t W, int32_t H, uint32_t C) {
    std::vector<uint8_t> rgba;
    for (int32_t i = 0; i < W * H; ++i)
      rgba.insert(rgba.end(), {static_cast<uint8_t>(C), static_cast<uint8_t>(C >> 8),
                               static_cast<uint8_t>(C >> 16), 255});
    return TDIB::FromRGBA(W, H, rgba);
  }

  static inline std::unique_ptr<TTestDisplay> Display;
  TDXDraw& Draw() { return *Display->Draw; }
  TSdlGLDisplay* Backend() { return Display->Backend; }
  TDirect3DDevice7* Device = nullptr;
};

TEST_F(GLSurface2D, PicturesAndTextLandOnTheSceneAndTheDeviceCarriesOn) {
  TDirect3DTexture2 white(Draw(), Plain(2, 2, White));
  TDXImageList list;
  TPicture picture;
  TDIB strip = Plain(4, 2, Red);
  strip.SetPixel(1, 0, 0x00FF00);  // the key colour, 24-bit 0x00RRGGBB pixel value
  picture.SetGraphic("TDIB", strip);
  auto& item = list.Items().Add();
  item.SetPicture(picture);
  item.SetTransparentColor(Key);
  list.SetDXDraw(&Draw());
  ASSERT_EQ(item.PatternCount(), 1);

  Device->BeginScene();
  DrawSquare(white);
  item.Draw(Draw().Surface(), 200, 150, 0);  // over the square's top-left part
  TCanvas& canvas = Draw().Surface().Canvas();
  canvas.Brush.Style = TBrushStyle::Clear;
  canvas.Font = {22, Red, false};
  canvas.TextOut(20, 400, "1234");
  canvas.Pen.Color = Red;
  canvas.MoveTo(10, 20);
  canvas.LineTo(30, 20);
  canvas.Release();
  EXPECT_EQ(At(200, 150), Red);
  EXPECT_EQ(At(201, 150), White);  // keyed: the scene shows through
  EXPECT_EQ(At(200, 152), White);
  EXPECT_EQ(At(10, 20), Red);
  EXPECT_EQ(At(10, 21), 0u);
  int textPixels = 0;
  const TSurfacePixels shot = Backend()->ReadSurface();
  for (int32_t y = 400; y < 430; ++y)
    for (int32_t x = 20; x < 100; ++x) {
      const uint8_t* p = &shot.RGBA[static_cast<size_t>((y * shot.Width + x) * 4)];
      textPixels += p[0] == 255 && p[1] == 0 && p[2] == 0;
    }
  EXPECT_GT(textPixels, 50);

  // The device's own state is intact: a second square draws with depth test and no blending.
  Device->Clear({0, 0, 640, 480}, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
  DrawSquare(white);
  Device->EndScene();
  EXPECT_EQ(At(320, 240), White);
  EXPECT_EQ(At(100, 240), 0u);
}
}  // namespace
