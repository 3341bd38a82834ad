// The whole game on OpenGL (SDL's offscreen driver, the software rasterizer) with the generated
// artwork: the setup screen and play, saved as pictures and checked where things should be.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "DXMain.h"
#include "GLContext.h"
#include "media/Clock.h"
#include "media/sdl/DIBCanvas.h"
#include "media/sdl/SdlDisplay.h"
#include "media/sdl/SdlPlatform.h"

namespace {

struct TRGB {
  int R = 0, G = 0, B = 0;
  int Sum() const { return R + G + B; }
};

class GameScreens : public testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(std::filesystem::path(ZELGORA_BUILD_DIR) / "Bitmaps" /
                                 "ZelgoraTobrin.dxg")) {
      GTEST_SKIP() << "no generated artwork in Bitmaps/";
    }
    Platform = std::make_unique<TSdlPlatform>(TPlatformOptions{true, ZELGORA_BUILD_DIR});
    TFormServices s;
    s.Window = Platform->MakeFormWindow();
    auto display = Platform->MakeDisplay();
    Backend = static_cast<TSdlGLDisplay*>(display.get());
    s.Display = std::move(display);
    s.Keys = &Keys;
    s.Clock = &Clock;
    s.DataDir = ZELGORA_BUILD_DIR;
    s.Seed = 7;
    s.PictureCanvas = MakeDIBCanvasMaker(ZELGORA_BUILD_DIR);
    Form = std::make_unique<TMainForm>(std::move(s));
    Platform->Attach(Form->DXDraw);
    Platform->Show();
    ASSERT_TRUE(Form->DXDraw.CanDraw());
  }
  void TearDown() override {
    Form.reset();
    Platform.reset();
  }

  void Frames(int N) {
    for (int i = 0; i < N; ++i) Form->DXTimerTimer(0);
  }
  void Key(uint16_t K, TShiftState Shift = {}) {
    Form->FormKeyDown(K, Shift);
    Form->FormKeyUp(K, {});
  }
  void Save(const std::string& Name) {
    std::string error;
    const std::string file = std::string(ZELGORA_BUILD_DIR) + "/" + Name;
    ASSERT_TRUE(Platform->SaveScreenshot(file, error)) << error;
    Pixels = Backend->ReadSurface();
    SDL_Surface* png = IMG_Load(file.c_str());
    ASSERT_NE(png, nullptr) << IMG_GetError();
    EXPECT_EQ(png->w, 640);
    EXPECT_EQ(png->h, 480);
    SDL_FreeSurface(png);
  }
  TRGB At(int X, int Y) const {
    const size_t i = (static_cast<size_t>(Y) * Pixels.Width + X) * 4;
    return {Pixels.RGBA[i], Pixels.RGBA[i + 1], Pixels.RGBA[i + 2]};
  }
  // Distinct colours in a box: a picture shows many, a flat fill one.
  int Variety(int X0, int Y0, int X1, int Y1) const {
    std::vector<bool> seen(1 << 15);
    int n = 0;
    for (int y = Y0; y < Y1; y += 2)
      for (int x = X0; x < X1; x += 2) {
        const TRGB c = At(x, y);
        const int key = (c.R >> 3) << 10 | (c.G >> 3) << 5 | (c.B >> 3);
        if (!seen[static_cast<size_t>(key)]) {
          seen[static_cast<size_t>(key)] = true;
          ++n;
        }
      }
    return n;
  }

  THeldKeys Keys;
  TManualClock Clock;
  std::unique_ptr<TSdlPlatform> Platform;
  TSdlGLDisplay* Backend = nullptr;
  std::unique_ptr<TMainForm> Form;
  TSurfacePixels Pixels;
};

}  // namespace

TEST_F(GameScreens, SetupScreenThenTheBoardInPlay) {
  // The setup bars fly in over the setup panel.
  for (int i = 0; i < 2000 && Form->GameState == 3; ++i) Frames(1);
  ASSERT_EQ(Form->GameState, 4);
  Frames(10);
  Save("screen-setup.png");
  EXPECT_GT(Variety(0, 0, 640, 480), 50) << "the setup screen is more than a fill";
  EXPECT_GT(Variety(160, 120, 480, 360), 20) << "the bars in the middle";

  // The setup screen starts on "GO PLAY !".
  ASSERT_EQ(Form->SetupRow, 4);
  Key(VK::Return);
  for (int i = 0; i < 3000 && (Form->GameState != 2 || Form->Assembling || Form->CameraMoving);
       ++i) {
    Frames(1);
  }
  ASSERT_EQ(Form->GameState, 2);
  Frames(5);
  Save("screen-play.png");
  // The 2 x 2 board stands in the middle, textured; the background fills the corners.
  EXPECT_GT(Variety(220, 140, 420, 340), 30) << "textured cubes in the middle";
  EXPECT_GT(At(320, 240).Sum(), 60) << "the board is lit";
  EXPECT_GT(Variety(20, 60, 120, 140), 3) << "the background beside the board";

  // Without the background the cleared black shows beside the board.
  Key(VK::F2);
  Frames(1);
  Save("screen-play-nobackground.png");
  EXPECT_LT(At(40, 240).Sum(), 10);
  EXPECT_GT(Variety(220, 140, 420, 340), 30);
}
