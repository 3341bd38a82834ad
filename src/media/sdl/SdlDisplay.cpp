#include "media/sdl/SdlDisplay.h"

#include <algorithm>
#include <cmath>

#include "media/DXClass.h"
#include "media/gl/GL.h"
#include "media/gl/GLDevice.h"
#include "media/gl/GLSurface2D.h"

namespace {
int32_t BitCountOf(uint32_t Format) {
  return SDL_BYTESPERPIXEL(Format) == 4 ? 32 : static_cast<int32_t>(SDL_BITSPERPIXEL(Format));
}
}  // namespace

TSdlGLDisplay::TSdlGLDisplay(SDL_Window* Window, std::string FontFolder)
    : FWindow(Window), FFontFolder(std::move(FontFolder)) {}

TSdlGLDisplay::~TSdlGLDisplay() {
  Close();
  if (FContext) SDL_GL_DeleteContext(FContext);
}

void TSdlGLDisplay::MakeContext() {
  if (!FContext) {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, GLContextMajor);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, GLContextMinor);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK,
                        GLContextES ? SDL_GL_CONTEXT_PROFILE_ES : SDL_GL_CONTEXT_PROFILE_CORE);
    FContext = SDL_GL_CreateContext(FWindow);
    if (!FContext) throw EDXDrawError(Format("3D device not found (%s)", SDL_GetError()));
    if (!GLContextSuffices()) {
      SDL_GL_DeleteContext(FContext);
      FContext = nullptr;
      throw EDXDrawError("3D device not found (OpenGL 3.3 is needed)");
    }
  }
  if (SDL_GL_MakeCurrent(FWindow, FContext) != 0) {
    throw EDXDrawError(Format("3D device not found (%s)", SDL_GetError()));
  }
}

TDisplayMode TSdlGLDisplay::EnterFullScreen(const TDXDrawDisplay& Display) {
  // The monitor that holds the window.
  const int index = std::max(SDL_GetWindowDisplayIndex(FWindow), 0);
  std::vector<TDisplayMode> modes;
  std::vector<SDL_DisplayMode> sdlModes;
  const int count = SDL_GetNumDisplayModes(index);
  for (int i = 0; i < count; ++i) {
    SDL_DisplayMode m{};
    if (SDL_GetDisplayMode(index, i, &m) != 0) continue;
    modes.push_back({m.w, m.h, BitCountOf(m.format)});
    sdlModes.push_back(m);
  }
  FFullScreen = true;
  TDisplayMode found;
  if (FindDisplayMode(Display, modes, found)) {
    for (size_t i = 0; i < modes.size(); ++i) {
      if (!(modes[i] == found)) continue;  // the list runs from the highest refresh rate
      if (SDL_SetWindowDisplayMode(FWindow, &sdlModes[i]) == 0 &&
          SDL_SetWindowFullscreen(FWindow, SDL_WINDOW_FULLSCREEN) == 0) {
        FDesktopFullScreen = false;
        return found;
      }
      break;
    }
  }
  // No listed mode fits, or the change failed: the desktop's mode, the picture scaled.
  if (SDL_SetWindowFullscreen(FWindow, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
    FFullScreen = false;
    throw EDXDrawError(Format("Display mode cannot be changed (%dx%d %dbit)", Display.Width,
                              Display.Height, Display.BitCount));
  }
  FDesktopFullScreen = true;
  SDL_DisplayMode desktop{};
  const int32_t bits =
      SDL_GetDesktopDisplayMode(index, &desktop) == 0 ? BitCountOf(desktop.format) : 32;
  return {Display.Width, Display.Height, bits};
}

void TSdlGLDisplay::LeaveFullScreen() {
  if (FFullScreen || (SDL_GetWindowFlags(FWindow) & SDL_WINDOW_FULLSCREEN) != 0) {
    SDL_SetWindowFullscreen(FWindow, 0);
  }
  FFullScreen = FDesktopFullScreen = false;
}

void TSdlGLDisplay::BindBack() {
  glBindFramebuffer(GL_FRAMEBUFFER, FFramebuffer);
}

TDisplayMode TSdlGLDisplay::Open(const TDisplayOpenRequest& Request) {
  Close();
  TDisplayMode mode{Request.SurfaceWidth, Request.SurfaceHeight, 32};
  if (Request.Options.Contains(doFullScreen)) {
    mode = EnterFullScreen(Request.Display);
  } else {
    LeaveFullScreen();
  }
  MakeContext();
  FWidth = Request.SurfaceWidth;
  FHeight = Request.SurfaceHeight;
  GLint maxSize = 0;
  glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &maxSize);
  if (FWidth > maxSize || FHeight > maxSize) {
    throw EDXDrawError(Format("%s cannot be made", "IDirectDrawSurface7"));
  }

  const bool with3D = Request.Options.Contains(do3D);
  glGenFramebuffers(1, &FFramebuffer);
  glGenRenderbuffers(1, &FColor);
  glBindRenderbuffer(GL_RENDERBUFFER, FColor);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, FWidth, FHeight);
  BindBack();
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, FColor);
  if (with3D && Request.Options.Contains(doZBuffer)) {
    glGenRenderbuffers(1, &FDepth);
    glBindRenderbuffer(GL_RENDERBUFFER, FDepth);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, FWidth, FHeight);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, FDepth);
  }
  glBindRenderbuffer(GL_RENDERBUFFER, 0);
  if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
    throw EDXDrawError(Format("%s cannot be made", "IDirectDrawSurface7"));
  }
  glViewport(0, 0, FWidth, FHeight);
  glDisable(GL_SCISSOR_TEST);
  glClearColor(0, 0, 0, 1);
  GLClearDepth(1.0f);
  glDepthMask(GL_TRUE);
  glClear(GL_COLOR_BUFFER_BIT | (FDepth ? GL_DEPTH_BUFFER_BIT : 0));

  auto bind = [this] { BindBack(); };
  if (with3D) FDevice = std::make_unique<TGLDevice3D>(FWidth, FHeight, FDepth != 0, bind);
  FSurface2D = std::make_unique<TGLSurface2D>(FWidth, FHeight, FFontFolder, bind, false);
  return mode;
}

void TSdlGLDisplay::Close() {
  if (!FContext) return;
  SDL_GL_MakeCurrent(FWindow, FContext);
  FSurface2D.reset();
  FDevice.reset();
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  if (FFramebuffer) glDeleteFramebuffers(1, &FFramebuffer);
  if (FColor) glDeleteRenderbuffers(1, &FColor);
  if (FDepth) glDeleteRenderbuffers(1, &FDepth);
  FFramebuffer = FColor = FDepth = 0;
  FWidth = FHeight = 0;
}

TDirect3DDevice7* TSdlGLDisplay::Device() {
  return FDevice.get();
}

TCanvas* TSdlGLDisplay::Canvas() {
  return FSurface2D ? &FSurface2D->Canvas() : nullptr;
}

TPictureDrawer* TSdlGLDisplay::PictureDrawer() {
  return FSurface2D ? &FSurface2D->Drawer() : nullptr;
}

void TSdlGLDisplay::Present(const TDXDrawOptions& InForce) {
  if (!FFramebuffer) return;
  FLastPresent = InForce;
#ifndef __EMSCRIPTEN__
  // In the browser the picture always shows at the animation frame, and a swap interval
  // there would change how the browser calls the main loop.
  const int want = InForce.Contains(doWaitVBlank) ? 1 : 0;
  if (want != FSwapInterval) {
    // Drivers may refuse a swap interval; the picture is then shown without the wait.
    if (SDL_GL_SetSwapInterval(want) != 0 && want == 1) SDL_GL_SetSwapInterval(0);
    FSwapInterval = want;
  }
#endif
  Repaint();
}

void TSdlGLDisplay::Repaint() {
  if (!FFramebuffer) return;
  int cw = 0, ch = 0, dw = 0, dh = 0;
  SDL_GetWindowSize(FWindow, &cw, &ch);
  SDL_GL_GetDrawableSize(FWindow, &dw, &dh);
  if (cw <= 0 || ch <= 0 || dw <= 0 || dh <= 0) return;
  // The target rectangle in window points, y down.
  double x = 0, y = 0, w = FWidth, h = FHeight;
  if (FLastPresent.Contains(doStretch)) {
    w = cw;
    h = ch;
  } else if (FDesktopFullScreen || (FFullScreen && (cw != FWidth || ch != FHeight))) {
    const double s = std::min(static_cast<double>(cw) / FWidth, static_cast<double>(ch) / FHeight);
    w = std::floor(FWidth * s);
    h = std::floor(FHeight * s);
    x = std::floor((cw - w) / 2);
    y = std::floor((ch - h) / 2);
  } else if (FLastPresent.Contains(doCenter)) {
    x = (cw - FWidth) / 2;  // truncating toward zero
    y = (ch - FHeight) / 2;
  }
  // On a high-density screen the window's points hold several pixels each.
  const double sx = static_cast<double>(dw) / cw, sy = static_cast<double>(dh) / ch;
  const auto px0 = static_cast<GLint>(std::lround(x * sx));
  const auto px1 = static_cast<GLint>(std::lround((x + w) * sx));
  const auto py0 = static_cast<GLint>(std::lround(dh - (y + h) * sy));
  const auto py1 = static_cast<GLint>(std::lround(dh - y * sy));
  const bool whole = (px1 - px0) % FWidth == 0 && (py1 - py0) % FHeight == 0;

  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  glViewport(0, 0, dw, dh);
  glDisable(GL_SCISSOR_TEST);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, FFramebuffer);
  glBlitFramebuffer(0, 0, FWidth, FHeight, px0, py0, px1, py1, GL_COLOR_BUFFER_BIT,
                    whole ? GL_NEAREST : GL_LINEAR);
  glBindFramebuffer(GL_FRAMEBUFFER, FFramebuffer);
  SDL_GL_SwapWindow(FWindow);
}

TSurfacePixels TSdlGLDisplay::ReadSurface() {
  TSurfacePixels out;
  if (!FFramebuffer) return out;
  out.Width = FWidth;
  out.Height = FHeight;
  const size_t row = static_cast<size_t>(FWidth) * 4;
  std::vector<uint8_t> rows(row * FHeight);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, FFramebuffer);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, FWidth, FHeight, GL_RGBA, GL_UNSIGNED_BYTE, rows.data());
  out.RGBA.resize(rows.size());
  for (int32_t y = 0; y < FHeight; ++y) {
    std::copy_n(&rows[(FHeight - 1 - y) * row], row, &out.RGBA[y * row]);
  }
  // The picture is opaque: what the surface's alpha holds is of no meaning on screen.
  for (size_t i = 3; i < out.RGBA.size(); i += 4) out.RGBA[i] = 255;
  return out;
}
