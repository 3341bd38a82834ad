// The display on an SDL window with an OpenGL 3.3 core context. The game draws on a surface
// of its own size (640 x 480); the framebuffer object behind it (with a depth buffer when
// asked) has the pixel size the picture takes in the window or on the screen, aspect kept,
// so the scene, texts and pictures are drawn at the screen's own resolution. Presenting copies
// it into the window, centred, the rest black.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "media/DXDisplay.h"
#include "media/PictureRect.h"

class TGLDevice3D;
class TGLSurface2D;

// The back surface's picture, top row first, RGBA.
struct TSurfacePixels {
  int32_t Width = 0, Height = 0;
  std::vector<uint8_t> RGBA;
};

// How full screen is made.
struct TSdlScreenOptions {
  // The desktop's size that full screen fills, for headless runs whose driver has no real
  // one (0 x 0: the desktop's own).
  int32_t DesktopWidth = 0, DesktopHeight = 0;
  // Switch the monitor to the display mode the search finds for the requested one, as the
  // original did, instead of filling the desktop at its own mode.
  bool ModeSwitch = false;
};

class TSdlGLDisplay : public TDisplayBackend {
 public:
  // The window must have been made with SDL_WINDOW_OPENGL. FontFolder holds the canvas's
  // faces (the game's data folder).
  TSdlGLDisplay(SDL_Window* Window, std::string FontFolder, TSdlScreenOptions Screen = {});
  ~TSdlGLDisplay() override;
  TSdlGLDisplay(const TSdlGLDisplay&) = delete;
  TSdlGLDisplay& operator=(const TSdlGLDisplay&) = delete;

  TDisplayMode Open(const TDisplayOpenRequest& Request) override;
  void Close() override;
  TDirect3DDevice7* Device() override;
  TCanvas* Canvas() override;
  TPictureDrawer* PictureDrawer() override;
  bool HasZBuffer() const override { return FDepth != 0; }
  // A GL context keeps its framebuffers.
  TSurfaceState RestoreSurfaces() override { return TSurfaceState::Kept; }
  void Present(const TDXDrawOptions& InForce) override;

  // Copies the back surface to the window again, as the last presentation placed it.
  void Repaint();
  // The swap interval asked for last: 1 waits for vertical blank, 0 does not; -1 none yet.
  int SwapInterval() const { return FSwapInterval; }
  // The picture as drawn, at the pixel size it takes on the screen; empty while the surface
  // does not exist.
  TSurfacePixels ReadSurface();
  // What the window shows: the picture in its place, black around it, at the window's (or
  // the full screen's) pixel size; empty while the surface does not exist.
  TSurfacePixels ReadWindow();
  // True when full screen fills the desktop at its own mode.
  bool DesktopFullScreen() const { return FDesktopFullScreen; }
  // Where the picture was placed at the last opening, in output pixels.
  TPictureRect Picture() const { return FPicture; }
  // A point of the window, as fractions of its width and height, in the picture's pixels;
  // none while there is no picture.
  std::optional<TPicturePoint> PicturePoint(float FractionX, float FractionY) const {
    if (!FFramebuffer) return std::nullopt;
    return OutputToPicture(FractionX, FractionY, FOutput.Width, FOutput.Height, FPicture, FWidth,
                           FHeight);
  }
  // True when the window or screen now has another pixel size than the surface was made
  // for: the display should be initialised again.
  bool OutputChanged() const;

 private:
  struct TSize {
    int32_t Width = 0, Height = 0;
    bool operator==(const TSize&) const = default;
  };
  void MakeContext();
  TDisplayMode EnterFullScreen(const TDXDrawDisplay& Display);
  void LeaveFullScreen();
  void BindBack();
  // The pixel size the picture is fitted into: the window's drawable, or in a headless full
  // screen the desktop size given.
  TSize OutputSize() const;
  // Where the picture goes in an output of that size, by the presentation options.
  TPictureRect Place(TSize Output, const TDXDrawOptions& InForce) const;

  SDL_Window* FWindow;
  std::string FFontFolder;
  TSdlScreenOptions FScreen;
  SDL_GLContext FContext = nullptr;
  uint32_t FFramebuffer = 0, FColor = 0, FDepth = 0;
  int32_t FWidth = 0, FHeight = 0;  // the surface the game draws on
  TSize FOutput;                    // the output the picture was fitted into
  TPictureRect FPicture;            // the framebuffer's place in it and its pixel size
  std::unique_ptr<TGLDevice3D> FDevice;
  std::unique_ptr<TGLSurface2D> FSurface2D;
  bool FFullScreen = false, FDesktopFullScreen = false;
  int FSwapInterval = -1;  // the interval asked for last; -1 none yet
  TDXDrawOptions FLastPresent;
};
