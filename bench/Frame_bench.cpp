// Frames on OpenGL (SDL's offscreen driver, the software rasterizer): (a) one whole game frame
// on the 5 x 5 board with the background, (b) the same textured quads drawn by the plainest
// OpenGL code, for the ratio of the two, and (c) start-up to the first presented frame.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "DXMain.h"
#include "media/Clock.h"
#include "media/gl/GL.h"
#include "media/sdl/DIBCanvas.h"
#include "media/sdl/SdlPlatform.h"

extern "C" const char* __lsan_default_suppressions() {
  return "leak:libLLVM\nleak:libgallium\nleak:swrast_dri\nleak:libEGL_mesa\nleak:libglapi\n";
}

namespace {

bool HaveArtwork() {
  return std::filesystem::exists(std::filesystem::path(ZELGORA_BUILD_DIR) / "Bitmaps" /
                                 "ZelgoraTobrin.dxg");
}

struct TGame {
  THeldKeys Keys;
  TManualClock Clock;
  TSdlPlatform Platform{{true, ZELGORA_BUILD_DIR}};
  std::unique_ptr<TMainForm> Form;

  TGame() {
    TFormServices s;
    s.Window = Platform.MakeFormWindow();
    s.Display = Platform.MakeDisplay();
    s.Keys = &Keys;
    s.Clock = &Clock;
    s.DataDir = ZELGORA_BUILD_DIR;
    s.Seed = 1;
    s.PictureCanvas = MakeDIBCanvasMaker(ZELGORA_BUILD_DIR);
    Form = std::make_unique<TMainForm>(std::move(s));
    Platform.Attach(Form->DXDraw);
    Platform.Show();
  }
};

void BM_GameFrame5x5(benchmark::State& State) {
  if (!HaveArtwork()) {
    State.SkipWithError("no generated artwork in Bitmaps/");
    return;
  }
  TGame game;
  TMainForm& f = *game.Form;
  // Straight to the last level: a solved board of level 3 and Alt held.
  f.Level = 3;
  f.GameState = 1;
  f.ShiftState = {ssAlt};
  f.DXTimerTimer(0);
  f.ShiftState = {};
  while (f.GameState != 2 || f.Assembling || f.CameraMoving) f.DXTimerTimer(0);
  if (f.BoardRows != 5 || !f.BackgroundVisible) State.SkipWithError("not on the 5 x 5 board");
  for (auto _ : State) f.DXTimerTimer(0);
}
BENCHMARK(BM_GameFrame5x5)->Unit(benchmark::kMillisecond);

// The same frame with the help panel open over the board: its blended background and its
// thirteen lines on top of the head-up texts every frame draws.
void BM_GameFrame5x5HelpOpen(benchmark::State& State) {
  if (!HaveArtwork()) {
    State.SkipWithError("no generated artwork in Bitmaps/");
    return;
  }
  TGame game;
  TMainForm& f = *game.Form;
  f.Level = 3;
  f.GameState = 1;
  f.ShiftState = {ssAlt};
  f.DXTimerTimer(0);
  f.ShiftState = {};
  while (f.GameState != 2 || f.Assembling || f.CameraMoving) f.DXTimerTimer(0);
  f.FormKeyDown(VK::F1, {});
  for (int i = 0; i < 60; ++i) f.DXTimerTimer(0);  // the panel opens
  if (!f.HelpVisible || f.PanelHeight == 0) State.SkipWithError("help panel not open");
  for (auto _ : State) f.DXTimerTimer(0);
}
BENCHMARK(BM_GameFrame5x5HelpOpen)->Unit(benchmark::kMillisecond);

// 25 cubes of six faces and the background square, 151 textured quads, each bound to its own
// texture and drawn straight into the window.
void BM_PlainGLQuads(benchmark::State& State) {
  SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    State.SkipWithError(SDL_GetError());
    return;
  }
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
  SDL_Window* window = SDL_CreateWindow("plain", 0, 0, 640, 480, SDL_WINDOW_OPENGL);
  SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
  if (!context) {
    State.SkipWithError(SDL_GetError());
    if (window) SDL_DestroyWindow(window);
    return;
  }
  const char* vs = R"(#version 330 core
layout(location = 0) in vec3 p; layout(location = 1) in vec2 t; out vec2 v;
void main() { gl_Position = vec4(2.0 * p.x, 2.0 * p.y, p.z - 2.0, p.z); v = t; })";
  const char* fs = R"(#version 330 core
in vec2 v; out vec4 o; uniform sampler2D s;
void main() { o = vec4(texture(s, v).rgb * 0.75, 1.0); })";
  const GLuint program = glCreateProgram();
  for (auto [type, src] : {std::pair{GL_VERTEX_SHADER, vs}, std::pair{GL_FRAGMENT_SHADER, fs}}) {
    const GLuint sh = glCreateShader(type);
    glShaderSource(sh, 1, &src, nullptr);
    glCompileShader(sh);
    glAttachShader(program, sh);
    glDeleteShader(sh);
  }
  glLinkProgram(program);

  // Quads of the board's size on screen: cell (i, j) at depth 5, one unit apart; the faces
  // seen from the front (the rest are culled in the game, so they are left out here too, save
  // one square standing for each cube's hidden faces).
  std::vector<float> vertices;
  auto quad = [&](float X, float Y, float Z, float H) {
    const float c[4][5] = {{X - H, Y + H, Z, 0, 0},
                           {X + H, Y + H, Z, 1, 0},
                           {X - H, Y - H, Z, 0, 1},
                           {X + H, Y - H, Z, 1, 1}};
    for (const auto& v : c) vertices.insert(vertices.end(), v, v + 5);
  };
  quad(0, 0, 7, 9);  // background
  for (int i = 0; i < 5; ++i)
    for (int j = 0; j < 5; ++j)
      for (int f = 0; f < 6; ++f)
        quad(static_cast<float>(j) - 2, static_cast<float>(i) - 2, 5, 0.45f);
  const int quads = static_cast<int>(vertices.size() / 20);
  GLuint vao = 0, vbo = 0;
  glGenVertexArrays(1, &vao);
  glGenBuffers(1, &vbo);
  glBindVertexArray(vao);
  glBindBuffer(GL_ARRAY_BUFFER, vbo);
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(float)),
               vertices.data(), GL_STATIC_DRAW);
  glEnableVertexAttribArray(0);
  glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 20, nullptr);
  glEnableVertexAttribArray(1);
  glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 20, reinterpret_cast<const void*>(12));
  std::vector<GLuint> textures(7);
  glGenTextures(7, textures.data());
  std::vector<uint8_t> texels(256 * 256 * 4, 200);
  for (GLuint t : textures) {
    glBindTexture(GL_TEXTURE_2D, t);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 256, 256, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  }
  glUseProgram(program);
  glEnable(GL_DEPTH_TEST);
  glViewport(0, 0, 640, 480);
  for (auto _ : State) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    for (int q = 0; q < quads; ++q) {
      glBindTexture(GL_TEXTURE_2D, textures[static_cast<size_t>(q % 7)]);
      glDrawArrays(GL_TRIANGLE_STRIP, q * 4, 4);
    }
    SDL_GL_SwapWindow(window);
  }
  glDeleteTextures(7, textures.data());
  glDeleteBuffers(1, &vbo);
  glDeleteVertexArrays(1, &vao);
  glDeleteProgram(program);
  SDL_GL_DeleteContext(context);
  SDL_DestroyWindow(window);
}
BENCHMARK(BM_PlainGLQuads)->Unit(benchmark::kMillisecond);

void BM_StartToFirstFrame(benchmark::State& State) {
  if (!HaveArtwork()) {
    State.SkipWithError("no generated artwork in Bitmaps/");
    return;
  }
  for (auto _ : State) {
    TGame game;
    game.Form->DXTimerTimer(0);
    benchmark::DoNotOptimize(game.Form.get());
  }
}
BENCHMARK(BM_StartToFirstFrame)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
