// The game as a player starts it, on screens and windows of other sizes: the help panel keeps
// the layout of the 640 x 480 form, and the picture is drawn at the pixel size it takes.
// Runs the built program headless with --screen, as the harness documents it.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "media/Utf8Path.h"

extern "C" const char* __lsan_default_suppressions() {
  return "leak:libLLVM\nleak:libgallium\nleak:swrast_dri\nleak:libEGL_mesa\nleak:libglapi\n";
}

namespace {

namespace fs = std::filesystem;

struct TImage {
  int W = 0, H = 0;
  std::vector<float> RGB;  // top row first
  float At(int X, int Y, int C) const { return RGB[static_cast<size_t>((Y * W + X) * 3 + C)]; }
  float& At(int X, int Y, int C) { return RGB[static_cast<size_t>((Y * W + X) * 3 + C)]; }
};

TImage Load(const fs::path& File) {
  TImage out;
  SDL_Surface* raw = IMG_Load(Utf8Name(File).c_str());
  if (!raw) return out;
  SDL_Surface* s = SDL_ConvertSurfaceFormat(raw, SDL_PIXELFORMAT_RGBA32, 0);
  SDL_FreeSurface(raw);
  if (!s) return out;
  out.W = s->w;
  out.H = s->h;
  out.RGB.resize(static_cast<size_t>(out.W * out.H * 3));
  for (int y = 0; y < out.H; ++y) {
    const auto* row = static_cast<const uint8_t*>(s->pixels) + y * s->pitch;
    for (int x = 0; x < out.W; ++x)
      for (int c = 0; c < 3; ++c) out.At(x, y, c) = row[x * 4 + c];
  }
  SDL_FreeSurface(s);
  return out;
}

TImage Crop(const TImage& I, int X, int Y, int W, int H) {
  TImage out{W, H, std::vector<float>(static_cast<size_t>(W * H * 3))};
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x)
      for (int c = 0; c < 3; ++c) out.At(x, y, c) = I.At(X + x, Y + y, c);
  return out;
}

// Each output pixel the area average of the input pixels it covers.
TImage Shrink(const TImage& I, int W, int H) {
  TImage out{W, H, std::vector<float>(static_cast<size_t>(W * H * 3))};
  const double fx = static_cast<double>(I.W) / W, fy = static_cast<double>(I.H) / H;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      double sum[3] = {}, weight = 0;
      for (int sy = static_cast<int>(y * fy);
           sy < std::min(I.H, static_cast<int>(std::ceil((y + 1) * fy))); ++sy)
        for (int sx = static_cast<int>(x * fx);
             sx < std::min(I.W, static_cast<int>(std::ceil((x + 1) * fx))); ++sx) {
          const double wx = std::min<double>(sx + 1, (x + 1) * fx) - std::max<double>(sx, x * fx);
          const double wy = std::min<double>(sy + 1, (y + 1) * fy) - std::max<double>(sy, y * fy);
          for (int c = 0; c < 3; ++c) sum[c] += wx * wy * I.At(sx, sy, c);
          weight += wx * wy;
        }
      for (int c = 0; c < 3; ++c) out.At(x, y, c) = static_cast<float>(sum[c] / weight);
    }
  return out;
}

// Bilinear enlargement, as a picture scaled up from 640 x 480 would be shown.
TImage Enlarge(const TImage& I, int W, int H) {
  TImage out{W, H, std::vector<float>(static_cast<size_t>(W * H * 3))};
  for (int y = 0; y < H; ++y) {
    const double v = std::clamp((y + 0.5) * I.H / H - 0.5, 0.0, I.H - 1.0);
    const int y0 = static_cast<int>(v), y1 = std::min(y0 + 1, I.H - 1);
    for (int x = 0; x < W; ++x) {
      const double u = std::clamp((x + 0.5) * I.W / W - 0.5, 0.0, I.W - 1.0);
      const int x0 = static_cast<int>(u), x1 = std::min(x0 + 1, I.W - 1);
      const double a = u - x0, b = v - y0;
      for (int c = 0; c < 3; ++c)
        out.At(x, y, c) =
            static_cast<float>((1 - a) * (1 - b) * I.At(x0, y0, c) + a * (1 - b) * I.At(x1, y0, c) +
                               (1 - a) * b * I.At(x0, y1, c) + a * b * I.At(x1, y1, c));
    }
  }
  return out;
}

// Mean absolute difference per channel.
double Difference(const TImage& A, const TImage& B) {
  double sum = 0;
  for (size_t i = 0; i < A.RGB.size(); ++i) sum += std::fabs(A.RGB[i] - B.RGB[i]);
  return sum / static_cast<double>(A.RGB.size());
}

// High-frequency energy: mean absolute Laplacian of the grey value. Sharp edges and fine
// letters have much of it; a picture enlarged from fewer pixels has little.
double Detail(const TImage& I) {
  auto grey = [&](int X, int Y) { return I.At(X, Y, 0) + I.At(X, Y, 1) + I.At(X, Y, 2); };
  double sum = 0;
  for (int y = 1; y + 1 < I.H; ++y)
    for (int x = 1; x + 1 < I.W; ++x)
      sum += std::fabs(4 * grey(x, y) - grey(x - 1, y) - grey(x + 1, y) - grey(x, y - 1) -
                       grey(x, y + 1));
  return sum / ((I.W - 2.0) * (I.H - 2.0));
}

struct TRun {
  TImage Shot;
  nlohmann::json State;
};

// Each test process writes its own files: ctest runs the tests side by side.
fs::path OutDir() {
  const auto dir = fs::path(ZELGORA_BUILD_DIR) / "screen-scale-test" / std::to_string(getpid());
  fs::create_directories(dir);
  return dir;
}

// The game from start-up with the help opened at frame 2, 60 frames (the panel is fully open
// from frame 51 on), as the harness runs it.
TRun Play(const std::string& Name, const std::string& Options) {
  const fs::path dir = OutDir();
  const fs::path keys = dir / "help.keys", shot = dir / (Name + ".png"),
                 state = dir / (Name + ".json");
  std::ofstream(keys) << "2 down F1\n3 up F1\n";
  const std::string command = std::string("\"") + ZELGORA_EXE + "\" --headless --renderer gl " +
                              Options + " --frames 60 --seed 3 --clock 2007-03-09T14:05:07" +
                              " --keys \"" + keys.string() + "\" --screenshot \"" + shot.string() +
                              "\" --dump-state \"" + state.string() + "\"";
  TRun run;
#ifdef _WIN32
  // cmd.exe takes the outer quotes off a line that starts with one.
  if (std::system(("\"" + command + "\"").c_str()) != 0) {
#else
  if (std::system(command.c_str()) != 0) {
#endif
    ADD_FAILURE() << "failed: " << command;
    return run;
  }
  run.Shot = Load(shot);
  std::ifstream in(state);
  run.State = nlohmann::json::parse(in, nullptr, false);
  if (run.State.is_discarded()) {
    ADD_FAILURE() << "no state dump in " << state;
    run.State = nlohmann::json::object();
  }
  return run;
}

class ScreenScale : public testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(fs::path(ZELGORA_BUILD_DIR) / "Bitmaps" / "ZelgoraTobrin.dxg")) {
      GTEST_SKIP() << "no generated artwork in Bitmaps/";
    }
  }
  void TearDown() override { fs::remove_all(OutDir()); }
};

TEST_F(ScreenScale, ResizedWindowLaysThePanelOutAsThe640x480Window) {
  const TRun small = Play("window-640", "--windowed");
  const TRun large = Play("window-1280", "--windowed --screen 1280x960");
  ASSERT_EQ(large.Shot.W, 1280);
  ASSERT_EQ(large.Shot.H, 960);
  EXPECT_EQ(large.State.value("PanelWidth", 0), small.State.value("PanelWidth", -1));
  EXPECT_EQ(large.State.value("PanelHeight", 0), small.State.value("PanelHeight", -1));
  // The same picture at twice the size: shrunk, it is the small one but for the finer
  // rasterising of texts and edges.
  ASSERT_EQ(small.Shot.W, 640);
  EXPECT_LT(Difference(Shrink(large.Shot, 640, 480), small.Shot), 7.0);
}

TEST_F(ScreenScale, FullScreenOnAWideDesktopIsThe640x480FormInFinerPixels) {
  const TRun full = Play("full-640", "--fullscreen");
  const TRun wideRun = Play("full-1920", "--fullscreen --screen 1920x1080");
  const TRun window = Play("window-640", "--windowed");
  // The panel stops at the limits of a 640 x 480 full-screen form, 619 and 350 (a = 130): at
  // the first sizes past them, whatever the desktop; a 640 x 480 window's limits (614, 320)
  // stop it lower.
  for (const TRun* run : {&full, &wideRun}) {
    EXPECT_EQ(run->State.value("PanelWidth", 0), 620);
    EXPECT_EQ(run->State.value("PanelHeight", 0), 366);
  }
  EXPECT_EQ(window.State.value("PanelHeight", 0), 326);

  const TImage& wide = wideRun.Shot;
  const TImage& small = full.Shot;
  ASSERT_EQ(wide.W, 1920);
  ASSERT_EQ(wide.H, 1080);
  ASSERT_EQ(small.W, 640);
  ASSERT_EQ(small.H, 480);
  ASSERT_EQ(window.Shot.W, 640);
  // Black at both sides of the centred 1440 x 1080 picture.
  double sides = 0;
  for (int y = 0; y < 1080; ++y)
    for (int x : {0, 120, 239, 1680, 1800, 1919})
      for (int c = 0; c < 3; ++c) sides += wide.At(x, y, c);
  EXPECT_EQ(sides, 0.0);

  const TImage picture = Crop(wide, 240, 0, 1440, 1080);
  const double same = Difference(Shrink(picture, 640, 480), small);
  // For scale: the window's picture differs from the full-screen one by its shorter panel.
  const double other = Difference(Shrink(picture, 640, 480), window.Shot);
  EXPECT_LT(same, 7.0);
  EXPECT_GT(other, 3 * same);

  // Drawn at 1440 x 1080, not enlarged from 640 x 480: far more fine detail than the small
  // picture enlarged (about twice as much here).
  EXPECT_GT(Detail(picture), 1.5 * Detail(Enlarge(small, 1440, 1080)));
}

}  // namespace
