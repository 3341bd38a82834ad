// What every test program on OpenGL needs (SDL's offscreen driver on Mesa's software
// rasterizer): the GL library held for the whole program, so that the leak check at exit can
// still name the driver's own allocations; a bare context with a 640 x 480 framebuffer for
// the 2D path; and a display with its 3D device for suites that share one.
// Include it once per test program.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "media/DXDisplay.h"
#include "media/NullDisplay.h"
#include "media/sdl/SdlDisplay.h"

#include "media/gl/GL.h"

// Mesa's shader compiler keeps allocations for the life of the process; they are not ours.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libLLVM\nleak:libgallium\nleak:swrast_dri\nleak:libEGL_mesa\nleak:libglapi\n";
}

// The video subsystem and the GL library stay up to the end of the program.
class THoldGL : public testing::Environment {
 public:
  void SetUp() override {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) SDL_GL_LoadLibrary(nullptr);
  }
};
inline const testing::Environment* const HoldGL = testing::AddGlobalTestEnvironment(new THoldGL);

// A hidden window with the display on it, initialised with its 3D device and depth buffer.
// Making GL contexts again and again costs seconds on the software rasterizer: suites share one.
struct TTestDisplay {
  SDL_Window* Window = nullptr;
  std::unique_ptr<TDXForm> Form;
  TSdlGLDisplay* Backend = nullptr;
  std::unique_ptr<TDXDraw> Draw;

  TTestDisplay() {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
      ADD_FAILURE() << "SDL video: " << SDL_GetError();
      return;
    }
    Window = SDL_CreateWindow("test", 0, 0, 640, 480, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!Window) {
      ADD_FAILURE() << "window: " << SDL_GetError();
      return;
    }
    Form = std::make_unique<TDXForm>(std::make_unique<TNullFormWindow>());
    auto backend = std::make_unique<TSdlGLDisplay>(Window, ZELGORA_BUILD_DIR);
    Backend = backend.get();
    Draw = std::make_unique<TDXDraw>(*Form, std::move(backend));
    Draw->Options.Include(doZBuffer);
    Draw->Initialize();
  }
  ~TTestDisplay() {
    Draw.reset();
    Form.reset();
    if (Window) SDL_DestroyWindow(Window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }
  TTestDisplay(const TTestDisplay&) = delete;
  TTestDisplay& operator=(const TTestDisplay&) = delete;

  bool Ready() const { return Draw && Draw->CanDraw(); }
};

class TTestGLContext {
 public:
  static constexpr int32_t W = 640, H = 480;

  TTestGLContext() {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
      ADD_FAILURE() << "SDL video: " << SDL_GetError();
      return;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    FWindow = SDL_CreateWindow("test", 0, 0, W, H, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!FWindow) {
      ADD_FAILURE() << "window: " << SDL_GetError();
      return;
    }
    FContext = SDL_GL_CreateContext(FWindow);
    if (!FContext) {
      ADD_FAILURE() << "GL context: " << SDL_GetError();
      return;
    }
    glGenFramebuffers(1, &FFramebuffer);
    glGenRenderbuffers(1, &FColor);
    glBindRenderbuffer(GL_RENDERBUFFER, FColor);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, W, H);
    glBindFramebuffer(GL_FRAMEBUFFER, FFramebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, FColor);
    Clear(0x000000);
  }
  ~TTestGLContext() {
    if (FContext) {
      glDeleteFramebuffers(1, &FFramebuffer);
      glDeleteRenderbuffers(1, &FColor);
      SDL_GL_DeleteContext(FContext);
    }
    if (FWindow) SDL_DestroyWindow(FWindow);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }
  TTestGLContext(const TTestGLContext&) = delete;
  TTestGLContext& operator=(const TTestGLContext&) = delete;

  bool Ready() const { return FContext != nullptr; }

  // One context for the whole test program, in a clean state: the GL driver is loaded once
  // and stays, so its own allocations can be told apart from ours (leak rules above).
  static TTestGLContext& Shared() {
    static TTestGLContext* const shared = new TTestGLContext;
    if (shared->Ready()) {
      glBindFramebuffer(GL_FRAMEBUFFER, shared->FFramebuffer);
      glViewport(0, 0, W, H);
      glDisable(GL_DEPTH_TEST);
      glDisable(GL_CULL_FACE);
      glDisable(GL_BLEND);
      shared->Clear(0);
    }
    return *shared;
  }

  // Colour 0x00BBGGRR.
  void Clear(uint32_t Color) {
    glClearColor(static_cast<float>(Color & 0xFF) / 255.0f,
                 static_cast<float>((Color >> 8) & 0xFF) / 255.0f,
                 static_cast<float>((Color >> 16) & 0xFF) / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
  }

  // The pixel at (X, Y), Y = 0 the top row, as 0x00BBGGRR.
  uint32_t Pixel(int32_t X, int32_t Y) const {
    std::array<uint8_t, 4> p{};
    glReadPixels(X, H - 1 - Y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
    return p[0] | p[1] << 8 | p[2] << 16;
  }
  // The whole surface, top row first, RGBA.
  std::vector<uint8_t> Pixels() const {
    std::vector<uint8_t> rows(static_cast<size_t>(W * H * 4)), out(rows.size());
    glReadPixels(0, 0, W, H, GL_RGBA, GL_UNSIGNED_BYTE, rows.data());
    for (int32_t y = 0; y < H; ++y)
      std::copy_n(&rows[static_cast<size_t>((H - 1 - y) * W * 4)], W * 4,
                  &out[static_cast<size_t>(y * W * 4)]);
    return out;
  }

 private:
  SDL_Window* FWindow = nullptr;
  SDL_GLContext FContext = nullptr;
  GLuint FFramebuffer = 0, FColor = 0;
};
