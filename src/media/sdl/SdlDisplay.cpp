#include "media/sdl/SdlDisplay.h"

#include <algorithm>
#include <array>
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

TSdlGLDisplay::TSdlGLDisplay(SDL_Window* Window, std::string FontFolder, TSdlScreenOptions Screen)
    : FWindow(Window), FFontFolder(std::move(FontFolder)), FScreen(Screen) {}

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
    if (!FContext) {
      throw EDXDrawError("3D device not found",
                         Format("no OpenGL %d.%d context can be made (%s)", GLContextMajor,
                                GLContextMinor, SDL_GetError()));
    }
    if (!GLContextSuffices()) {
      SDL_GL_DeleteContext(FContext);
      FContext = nullptr;
      throw EDXDrawError("3D device not found",
                         Format("the driver's OpenGL is older than %d.%d", GLContextMajor,
                                GLContextMinor));
    }
  }
  if (SDL_GL_MakeCurrent(FWindow, FContext) != 0) {
    throw EDXDrawError("3D device not found",
                       Format("the OpenGL context cannot be used (%s)", SDL_GetError()));
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
  if (FScreen.ModeSwitch && FindDisplayMode(Display, modes, found)) {
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
  // The desktop at its own mode (no switch asked for, no listed mode fits, or the change
  // failed): the picture is drawn at the size it takes there.
  if (SDL_SetWindowFullscreen(FWindow, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
    FFullScreen = false;
    throw EDXDrawError(Format("Display mode cannot be changed (%dx%d %dbit)", Display.Width,
                              Display.Height, Display.BitCount),
                       Format("full screen cannot be entered (%s)", SDL_GetError()));
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

TSdlGLDisplay::TSize TSdlGLDisplay::OutputSize() const {
  if (FFullScreen && FScreen.DesktopWidth > 0 && FScreen.DesktopHeight > 0) {
    return {FScreen.DesktopWidth, FScreen.DesktopHeight};
  }
  // On a high-density screen the drawable has more pixels than the window has points.
  TSize size;
  SDL_GL_GetDrawableSize(FWindow, &size.Width, &size.Height);
  if (size.Width <= 0 || size.Height <= 0) SDL_GetWindowSize(FWindow, &size.Width, &size.Height);
  return size;
}

TPictureRect TSdlGLDisplay::Place(TSize Output, const TDXDrawOptions& InForce) const {
  if (InForce.Contains(doStretch)) return {0, 0, Output.Width, Output.Height};
  TPictureRect r = FitPicture(Output.Width, Output.Height, FWidth, FHeight);
  if (!InForce.Contains(doCenter)) r.X = r.Y = 0;
  return r;
}

bool TSdlGLDisplay::OutputChanged() const {
  if (!FFramebuffer) return false;
  const TSize now = OutputSize();
  return now.Width > 0 && now.Height > 0 && !(now == FOutput);
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
  FLastPresent = Request.Options;
  FOutput = OutputSize();
  FPicture = Place(FOutput, Request.Options);
  if (FPicture.Empty()) {
    // No window area to show it in (minimised): the surface's own size until it returns.
    FOutput = {FWidth, FHeight};
    FPicture = {0, 0, FWidth, FHeight};
  }
  const int32_t w = FPicture.Width, h = FPicture.Height;
  GLint maxSize = 0;
  glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &maxSize);
  if (w > maxSize || h > maxSize) {
    throw EDXDrawError(Format("%s cannot be made", "IDirectDrawSurface7"),
                       Format("a back surface of %d x %d is larger than the driver's %d", w, h,
                              maxSize));
  }

  const bool with3D = Request.Options.Contains(do3D);
  glGenFramebuffers(1, &FFramebuffer);
  glGenRenderbuffers(1, &FColor);
  glBindRenderbuffer(GL_RENDERBUFFER, FColor);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, w, h);
  BindBack();
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, FColor);
  if (with3D && Request.Options.Contains(doZBuffer)) {
    glGenRenderbuffers(1, &FDepth);
    glBindRenderbuffer(GL_RENDERBUFFER, FDepth);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, w, h);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, FDepth);
  }
  glBindRenderbuffer(GL_RENDERBUFFER, 0);
  if (const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
      status != GL_FRAMEBUFFER_COMPLETE) {
    throw EDXDrawError(Format("%s cannot be made", "IDirectDrawSurface7"),
                       Format("the driver cannot draw into the back surface (status 0x%X)",
                              static_cast<unsigned>(status)));
  }
  glViewport(0, 0, w, h);
  glDisable(GL_SCISSOR_TEST);
  glClearColor(0, 0, 0, 1);
  GLClearDepth(1.0f);
  glDepthMask(GL_TRUE);
  glClear(GL_COLOR_BUFFER_BIT | (FDepth ? GL_DEPTH_BUFFER_BIT : 0));

  auto bind = [this] { BindBack(); };
  if (with3D) FDevice = std::make_unique<TGLDevice3D>(FWidth, FHeight, FDepth != 0, bind, w, h);
  FSurface2D = std::make_unique<TGLSurface2D>(FWidth, FHeight, FFontFolder, bind, false, w, h);
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
  FOutput = {};
  FPicture = {};
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
  const auto [dw, dh] = OutputSize();
  if (dw <= 0 || dh <= 0) return;
  // The window may have changed size since the surface was made: until the display is
  // initialised again, the picture is scaled into its new place.
  const TPictureRect to = Place({dw, dh}, FLastPresent);
  if (to.Empty()) return;
  const bool same = to.Width == FPicture.Width && to.Height == FPicture.Height;

  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  glViewport(0, 0, dw, dh);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glClearColor(0, 0, 0, 1);
  // Only the bars beside the picture are cleared: the picture covers the rest.
  glEnable(GL_SCISSOR_TEST);
  const int32_t right = to.X + to.Width, bottom = to.Y + to.Height;
  const std::array<std::array<int32_t, 4>, 4> bars = {{{0, 0, to.X, dh},
                                                       {right, 0, dw - right, dh},
                                                       {to.X, dh - to.Y, to.Width, to.Y},
                                                       {to.X, 0, to.Width, dh - bottom}}};
  for (const auto& bar : bars) {
    if (bar[2] <= 0 || bar[3] <= 0) continue;
    glScissor(bar[0], bar[1], bar[2], bar[3]);
    glClear(GL_COLOR_BUFFER_BIT);
  }
  glDisable(GL_SCISSOR_TEST);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, FFramebuffer);
  glBlitFramebuffer(0, 0, FPicture.Width, FPicture.Height, to.X, dh - (to.Y + to.Height),
                    to.X + to.Width, dh - to.Y, GL_COLOR_BUFFER_BIT, same ? GL_NEAREST : GL_LINEAR);
  glBindFramebuffer(GL_FRAMEBUFFER, FFramebuffer);
  SDL_GL_SwapWindow(FWindow);
}

TSurfacePixels TSdlGLDisplay::ReadSurface() {
  TSurfacePixels out;
  if (!FFramebuffer) return out;
  const int32_t w = FPicture.Width, h = FPicture.Height;
  out.Width = w;
  out.Height = h;
  const size_t row = static_cast<size_t>(w) * 4;
  std::vector<uint8_t> rows(row * static_cast<size_t>(h));
  glBindFramebuffer(GL_READ_FRAMEBUFFER, FFramebuffer);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, rows.data());
  out.RGBA.resize(rows.size());
  for (int32_t y = 0; y < h; ++y) {
    std::copy_n(&rows[static_cast<size_t>(h - 1 - y) * row], row,
                &out.RGBA[static_cast<size_t>(y) * row]);
  }
  // The picture is opaque: what the surface's alpha holds is of no meaning on screen.
  for (size_t i = 3; i < out.RGBA.size(); i += 4) out.RGBA[i] = 255;
  return out;
}

TSurfacePixels TSdlGLDisplay::ReadWindow() {
  TSurfacePixels picture = ReadSurface();
  if (picture.RGBA.empty()) return picture;
  TSurfacePixels out;
  out.Width = FOutput.Width;
  out.Height = FOutput.Height;
  out.RGBA.assign(static_cast<size_t>(out.Width) * static_cast<size_t>(out.Height) * 4, 0);
  for (size_t i = 3; i < out.RGBA.size(); i += 4) out.RGBA[i] = 255;
  const size_t row = static_cast<size_t>(picture.Width) * 4;
  for (int32_t y = 0; y < picture.Height; ++y) {
    const size_t to = (static_cast<size_t>(FPicture.Y + y) * static_cast<size_t>(out.Width) +
                       static_cast<size_t>(FPicture.X)) *
                      4;
    std::copy_n(&picture.RGBA[static_cast<size_t>(y) * row], row, &out.RGBA[to]);
  }
  return out;
}
