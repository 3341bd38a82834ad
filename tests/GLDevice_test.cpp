// The OpenGL 3D device on a headless context: known objects give the expected texels and
// brightness at chosen pixels.
#include "media/gl/GLDevice.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

#include "DXHappy.h"
#include "GLContext.h"
#include "media/DIB.h"
#include "media/DXDisplay.h"
#include "media/NullDisplay.h"
#include "media/sdl/SdlDisplay.h"

namespace {

constexpr uint32_t Red = 0x0000FF, Green = 0x00FF00, Blue = 0xFF0000, White = 0xFFFFFF;

struct TRGB {
  int R, G, B;
};

// One display for the whole suite.
class GLDevice : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { Display = std::make_unique<TTestDisplay>(); }
  static void TearDownTestSuite() { Display.reset(); }

  void SetUp() override {
    ASSERT_TRUE(Display->Ready());
    Device = Display->Draw->D3DDevice7();
    ASSERT_NE(Device, nullptr);
    // What the game sets when its surface is made.
    TD3DViewport vp;
    vp.Width = 640;
    vp.Height = 480;
    Device->SetViewport(vp);
    TD3DMaterial m;
    m.Diffuse = {1, 1, 1, 0};
    m.Ambient = {1, 1, 1, 0};
    Device->SetMaterial(m);
    Device->SetRenderState(D3DRENDERSTATE_AMBIENT, 192 * 0x01010101u);
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

  TRGB At(int32_t X, int32_t Y) {
    const TSurfacePixels s = Backend()->ReadSurface();
    const size_t i = (static_cast<size_t>(Y) * s.Width + X) * 4;
    return {s.RGBA[i], s.RGBA[i + 1], s.RGBA[i + 2]};
  }

  // A picture of 2 x 2 texels, top row first, colours 0x00BBGGRR, alpha 255 unless given.
  static TDIB Picture(std::array<uint32_t, 4> C, uint8_t Alpha = 255) {
    std::vector<uint8_t> rgba;
    for (uint32_t c : C) {
      rgba.insert(rgba.end(), {static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8),
                               static_cast<uint8_t>(c >> 16), Alpha});
    }
    return TDIB::FromRGBA(2, 2, rgba, 32);
  }

  // A square of half-side H at depth Z facing the camera, wound clockwise as seen (the front).
  static std::array<TVertex, 4> Square(float H, float Z, bool Clockwise = true) {
    std::array<TVertex, 4> v = {
        MakeVertex({-H, H, Z}, {0, 0, -1}, 0, 0), MakeVertex({H, H, Z}, {0, 0, -1}, 1, 0),
        MakeVertex({-H, -H, Z}, {0, 0, -1}, 0, 1), MakeVertex({H, -H, Z}, {0, 0, -1}, 1, 1)};
    if (!Clockwise) std::swap(v[1], v[2]);
    return v;
  }

  void DrawSquare(TDirect3DTexture2& T, float H, float Z, bool Clockwise = true) {
    Device->BeginScene();
    Device->SetTexture(0, T.Surface());
    const auto v = Square(H, Z, Clockwise);
    Device->DrawPrimitive(TD3DPrimitiveType::TriangleStrip, D3DFVF_VERTEX, v, 0);
    Device->EndScene();
  }

  // A cube whose faces are red, green, blue and white quarters, at (1, 0, 3), with the camera
  // on it: the world moves by (-1, 0, +2), the cube's front at depth 4.
  void DrawCameraOnCube() {
    TDirect3DTexture2 t(Draw(), Picture({Red, Green, Blue, White}));
    std::array<TDirect3DTexture2*, 6> faces{&t, &t, &t, &t, &t, &t};
    const auto vertices = CubeVertices();
    TD3DCube cube(vertices, faces, 192);
    cube.MoveTo({1, 0, 3});
    Device->SetTransform(TD3DTransformState::World, MakeTranslation(-1, 0, 2));
    Device->BeginScene();
    cube.Draw(*Device);
    Device->EndScene();
  }

  static inline std::unique_ptr<TTestDisplay> Display;
  TDXDraw& Draw() { return *Display->Draw; }
  TSdlGLDisplay* Backend() { return Display->Backend; }
  TDirect3DDevice7* Device = nullptr;
};

void ExpectNear(TRGB Got, TRGB Want, const char* Where) {
  EXPECT_NEAR(Got.R, Want.R, 2) << Where;
  EXPECT_NEAR(Got.G, Want.G, 2) << Where;
  EXPECT_NEAR(Got.B, Want.B, 2) << Where;
}

}  // namespace

TEST_F(GLDevice, TexelsLandUprightAndLitByTheAmbientLevel) {
  TDirect3DTexture2 t(Draw(), Picture({Red, Green, Blue, White}));
  // Half-side 1 at depth 5: 2/5 of the half-surface each way, so x 192..448, y 144..336.
  DrawSquare(t, 1, 5);
  ExpectNear(At(256, 192), {192, 0, 0}, "top left");
  ExpectNear(At(384, 192), {0, 192, 0}, "top right");
  ExpectNear(At(256, 288), {0, 0, 192}, "bottom left");
  ExpectNear(At(384, 288), {192, 192, 192}, "bottom right");
  ExpectNear(At(180, 240), {0, 0, 0}, "outside");
  ExpectNear(At(194, 300), {0, 0, 192}, "just inside the left edge");
}

TEST_F(GLDevice, AmbientLevelScalesTheTexture) {
  TDirect3DTexture2 t(Draw(), Picture({White, White, White, White}));
  for (uint32_t level : {255u, 100u, 0u}) {
    Device->SetRenderState(D3DRENDERSTATE_AMBIENT, level * 0x01010101u);
    EXPECT_EQ(Device->GetRenderState(D3DRENDERSTATE_AMBIENT), level * 0x01010101u);
    Device->Clear({0, 0, 640, 480}, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    DrawSquare(t, 1, 5);
    const int l = static_cast<int>(level);
    ExpectNear(At(320, 240), {l, l, l}, "centre");
  }
}

TEST_F(GLDevice, BackFacesAreCulled) {
  TDirect3DTexture2 t(Draw(), Picture({White, White, White, White}));
  DrawSquare(t, 1, 5, false);
  ExpectNear(At(320, 240), {0, 0, 0}, "counter-clockwise square");
  DrawSquare(t, 1, 5, true);
  ExpectNear(At(320, 240), {192, 192, 192}, "clockwise square");
}

TEST_F(GLDevice, NearerSquareWinsWhateverTheOrder) {
  TDirect3DTexture2 red(Draw(), Picture({Red, Red, Red, Red}));
  TDirect3DTexture2 green(Draw(), Picture({Green, Green, Green, Green}));
  DrawSquare(red, 1, 5);
  DrawSquare(green, 2, 7);
  ExpectNear(At(320, 240), {192, 0, 0}, "far drawn last");
  ExpectNear(At(160, 240), {0, 192, 0}, "far square beside the near one");
  Device->Clear({0, 0, 640, 480}, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
  DrawSquare(green, 2, 7);
  DrawSquare(red, 1, 5);
  ExpectNear(At(320, 240), {192, 0, 0}, "near drawn last");
}

TEST_F(GLDevice, NothingBeforeTheNearPlane) {
  TDirect3DTexture2 t(Draw(), Picture({White, White, White, White}));
  DrawSquare(t, 0.1f, 0.9f);
  ExpectNear(At(320, 240), {0, 0, 0}, "before the near plane");
  DrawSquare(t, 0.1f, 1.1f);
  ExpectNear(At(320, 240), {192, 192, 192}, "behind the near plane");
}

TEST_F(GLDevice, BlendingOnlyWhenSwitchedOn) {
  TDirect3DTexture2 white(Draw(), Picture({White, White, White, White}));
  TDirect3DTexture2 glass(Draw(), Picture({Red, Red, Red, Red}, 128));
  Device->SetRenderState(D3DRENDERSTATE_AMBIENT, 0xFFFFFFFF);
  DrawSquare(white, 2, 7);
  DrawSquare(glass, 1, 5);
  ExpectNear(At(320, 240), {255, 0, 0}, "blending off: the texel replaces");
  Device->Clear({0, 0, 640, 480}, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
  DrawSquare(white, 2, 7);
  Device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
  DrawSquare(glass, 1, 5);
  const TRGB mixed = At(320, 240);
  EXPECT_NEAR(mixed.R, 255, 2);
  EXPECT_NEAR(mixed.G, 127, 3);
}

TEST_F(GLDevice, CubeFrontFaceIsUprightAndCameraMovesTheWorld) {
  DrawCameraOnCube();
  ExpectNear(At(240, 180), {192, 0, 0}, "top left of the front face");
  ExpectNear(At(400, 180), {0, 192, 0}, "top right");
  ExpectNear(At(240, 300), {0, 0, 192}, "bottom left");
  ExpectNear(At(400, 300), {192, 192, 192}, "bottom right");
}

TEST_F(GLDevice, ClearTakesItsRectangleAndColour) {
  Device->Clear({0, 0, 320, 480}, D3DCLEAR_TARGET, 0xFF0000FF, 1.0f, 0);  // ARGB blue
  ExpectNear(At(10, 10), {0, 0, 255}, "inside");
  ExpectNear(At(330, 10), {0, 0, 0}, "outside");
}

TEST_F(GLDevice, TexturesSurviveReinitialisation) {
  TDirect3DTexture2 t(Draw(), Picture({Green, Green, Green, Green}));
  Draw().WindowMovedOrSized();
  ASSERT_TRUE(Draw().CanDraw());
  SetUp();
  DrawSquare(t, 1, 5);
  ExpectNear(At(320, 240), {0, 192, 0}, "after a re-initialisation");
}

TEST_F(GLDevice, LargerWindowDrawsTheSceneAtItsOwnPixelSize) {
  SDL_SetWindowSize(Display->Window, 1280, 960);
  Draw().WindowMovedOrSized();
  ASSERT_TRUE(Draw().CanDraw());
  SetUp();
  EXPECT_EQ(Draw().SurfaceWidth(), 640);
  EXPECT_EQ(Backend()->Picture(), (TPictureRect{0, 0, 1280, 960}));
  DrawCameraOnCube();
  // The places of the 640 x 480 picture, twice as far from the corner.
  ExpectNear(At(480, 360), {192, 0, 0}, "top left of the front face");
  ExpectNear(At(800, 360), {0, 192, 0}, "top right");
  ExpectNear(At(480, 600), {0, 0, 192}, "bottom left");
  ExpectNear(At(800, 600), {192, 192, 192}, "bottom right");
  Device->Clear({0, 0, 320, 480}, D3DCLEAR_TARGET, 0xFF0000FF, 1.0f, 0);
  ExpectNear(At(639, 10), {0, 0, 255}, "inside the scaled clear");
  ExpectNear(At(641, 10), {0, 0, 0}, "outside it");

  SDL_SetWindowSize(Display->Window, 640, 480);
  Draw().WindowMovedOrSized();
}

TEST(GLDeviceMatrix, DepthConversionMatchesTheDeviceRange) {
  TMatrix4 p;
  p.M[0][0] = 2;
  p.M[1][1] = 2;
  p.M[2][2] = 1;
  p.M[2][3] = 1;
  p.M[3][2] = -1;
  const TMatrix4 g = TGLDevice3D::DepthToGL(p);
  for (float z : {1.0f, 2.0f, 100.0f}) {
    // (0, 0, z, 1): device depth (z - 1) / z, GL depth = 2 x that - 1.
    const float w = g.M[2][3] * z + g.M[3][3];
    const float gz = g.M[2][2] * z + g.M[3][2];
    EXPECT_NEAR(gz / w, 2 * (z - 1) / z - 1, 1e-5f) << z;
  }
}
