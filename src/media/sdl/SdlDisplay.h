// The display on an SDL window with an OpenGL 3.3 core context: the back surface is a
// framebuffer object of the surface size (with a depth buffer when asked), presented to the
// window centred, stretched, or scaled with its aspect kept on a desktop-sized full screen.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/DXDisplay.h"

class TGLDevice3D;
class TGLSurface2D;

// The back surface's picture, top row first, RGBA.
struct TSurfacePixels {
  int32_t Width = 0, Height = 0;
  std::vector<uint8_t> RGBA;
};

class TSdlGLDisplay : public TDisplayBackend {
 public:
  // The window must have been made with SDL_WINDOW_OPENGL. FontFolder holds the canvas's
  // faces (the game's data folder).
  TSdlGLDisplay(SDL_Window* Window, std::string FontFolder);
  ~TSdlGLDisplay() override;
  TSdlGLDisplay(const TSdlGLDisplay&) = delete;
  TSdlGLDisplay& operator=(const TSdlGLDisplay&) = delete;

  TDisplayMode Open(const TDisplayOpenRequest& Request) override;
  void Close() override;
  TDirect3DDevice7* Device() override;
  TCanvas* Canvas() override;
  TPictureDrawer* PictureDrawer() override;
  bool HasZBuffer() const override { return FDepth != 0; }
  bool SurfacesLost() override { return false; }
  void Present(const TDXDrawOptions& InForce) override;

  // Presents the last picture again (the window was uncovered), without the vertical wait.
  void Repaint();
  // Empty while the surface does not exist.
  TSurfacePixels ReadSurface();
  // True when full screen fell back to the desktop's own mode (the picture is scaled).
  bool DesktopFullScreen() const { return FDesktopFullScreen; }

 private:
  void MakeContext();
  TDisplayMode EnterFullScreen(const TDXDrawDisplay& Display);
  void LeaveFullScreen();
  void BindBack();

  SDL_Window* FWindow;
  std::string FFontFolder;
  SDL_GLContext FContext = nullptr;
  uint32_t FFramebuffer = 0, FColor = 0, FDepth = 0;
  int32_t FWidth = 0, FHeight = 0;
  std::unique_ptr<TGLDevice3D> FDevice;
  std::unique_ptr<TGLSurface2D> FSurface2D;
  bool FFullScreen = false, FDesktopFullScreen = false;
  int FSwapInterval = -1;  // the interval asked for last; -1 none yet
  TDXDrawOptions FLastPresent;
};
