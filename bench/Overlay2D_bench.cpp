// The 2D layer of one frame on the headless GL back surface: both borders, the ten head-up
// texts, the open help panel with its thirteen lines and the cross-hair; and, for comparison,
// what rasterising those texts anew every frame would cost.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "media/gl/GL.h"
#include "media/gl/GLSurface2D.h"

namespace {
constexpr int32_t W = 640, H = 480;

struct THeadless {
  SDL_Window* Window = nullptr;
  SDL_GLContext Context = nullptr;
  GLuint Framebuffer = 0, Color = 0;
  THeadless() {
    SDL_InitSubSystem(SDL_INIT_VIDEO);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    Window = SDL_CreateWindow("bench", 0, 0, W, H, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (Window) Context = SDL_GL_CreateContext(Window);
    if (!Context) return;
    glGenFramebuffers(1, &Framebuffer);
    glGenRenderbuffers(1, &Color);
    glBindRenderbuffer(GL_RENDERBUFFER, Color);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, W, H);
    glBindFramebuffer(GL_FRAMEBUFFER, Framebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, Color);
  }
  ~THeadless() {
    if (Context) {
      glDeleteFramebuffers(1, &Framebuffer);
      glDeleteRenderbuffers(1, &Color);
      SDL_GL_DeleteContext(Context);
    }
    if (Window) SDL_DestroyWindow(Window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }
};

TPictureCollectionItem& AddPicture(TPictureCollection& List, int32_t W, int32_t H, uint8_t Shade) {
  std::vector<uint8_t> rgba(static_cast<size_t>(W * H * 4), Shade);
  for (size_t i = 3; i < rgba.size(); i += 4) rgba[i] = 255;
  for (size_t i = 0; i < rgba.size(); i += 28) rgba[i] = rgba[i + 1] = rgba[i + 2] = 0;  // keyed
  TPicture picture;
  picture.SetGraphic("TDIB", TDIB::FromRGBA(W, H, rgba));
  auto& item = List.Add();
  item.SetPicture(picture);
  item.Initialize();
  item.Restore();
  return item;
}

const std::vector<std::string> HudTexts{"Sk\xF3re", "\xDArove\xF2",  "17",
                                        "2",        "Z E L G O R A", "zelgora.example",
                                        "2007",     "HELP",          "(show/hide)"};
const std::vector<std::string> PanelTexts{"Zelgora - help",
                                          "Arrows: move the selection",
                                          "Shift + arrow: turn the cube",
                                          "Alt: next level",
                                          "F1: help",
                                          "F2: background",
                                          "F3: difficulty",
                                          "F4: sound",
                                          "F5: language",
                                          "Alt + Return: screen",
                                          "Esc: quit",
                                          "Page Up / Down: zoom",
                                          "zelgora.example"};

void BM_Overlay2DFrame(benchmark::State& State) {
  THeadless gl;
  if (!gl.Context) {
    State.SkipWithError("no GL context");
    return;
  }
  TGLSurface2D surface(W, H, ZELGORA_BUILD_DIR);
  TPictureCollection list;
  auto& middle = AddPicture(list, 64, 40, 90);
  auto& right = AddPicture(list, 48, 40, 120);
  auto& left = AddPicture(list, 48, 40, 150);
  auto& blue = AddPicture(list, 64, 64, 200);
  TGLPictureDrawer& drawer = static_cast<TGLPictureDrawer&>(surface.Drawer());
  TCanvas& canvas = surface.Canvas();
  for (auto _ : State) {
    for (int32_t y : {0, H - 40}) {
      int32_t x = 0;
      for (auto* piece : {&middle, &right, &left}) {
        drawer.PutPattern(*piece, 0, x, y);
        x += piece->Width();
      }
      for (; x < W - 160; x += 64) drawer.PutPattern(middle, 0, x, y);
    }
    canvas.Font.Bold = false;
    canvas.Brush.Style = TBrushStyle::Clear;
    int32_t i = 0;
    for (const auto& text : HudTexts) {
      canvas.Font.Size = i < 2 ? 10 : 22;
      canvas.Font.Color = 0x00FFFF;
      canvas.TextOut(20 + 60 * i, i < 5 ? 8 : H - 50, text);
      ++i;
    }
    drawer.PutPatternAlpha(blue, 0, {0, 57, 640, 423}, 183);
    canvas.Font = {12, 0xFB2943, true};
    i = 0;
    for (const auto& text : PanelTexts) canvas.TextOut(75, 107 + 20 * i++, text);
    canvas.Pen.Color = 0x808080;
    canvas.MoveTo(275, 240);
    canvas.LineTo(365, 240);
    canvas.MoveTo(320, 195);
    canvas.LineTo(320, 285);
    for (int32_t r : {40, 20, 5}) canvas.Ellipse(320 - r, 240 - r, 320 + r, 240 + r);
    canvas.Release();
    glFinish();
  }
}
BENCHMARK(BM_Overlay2DFrame)->Unit(benchmark::kMicrosecond);

void BM_RasteriseFrameTexts(benchmark::State& State) {
  TTextRasterizer text(ZELGORA_BUILD_DIR);
  for (auto _ : State) {
    for (const auto& t : HudTexts) benchmark::DoNotOptimize(text.Render(t, 22, false));
    for (const auto& t : PanelTexts) benchmark::DoNotOptimize(text.Render(t, 12, true));
  }
}
BENCHMARK(BM_RasteriseFrameTexts)->Unit(benchmark::kMicrosecond);
}  // namespace
