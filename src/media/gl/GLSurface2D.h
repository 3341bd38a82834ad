// The 2D side of the back surface on OpenGL: its canvas and the drawer of picture items,
// sharing one quad renderer and one text rasteriser. The GL backend makes it once its context
// and framebuffer exist and drops it before the context goes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "media/gl/GL2D.h"
#include "media/gl/GLCanvas.h"
#include "media/gl/GLPictureDrawer.h"
#include "media/sdl/SdlText.h"

class TGLSurface2D {
 public:
  // FontFolder holds the interface face's files (the game's data folder).
  // BindTarget, FlipY and the target's size: as for TGL2DRenderer.
  TGLSurface2D(int32_t SurfaceWidth, int32_t SurfaceHeight, const std::string& FontFolder,
               std::function<void()> BindTarget = {}, bool FlipY = false, int32_t TargetWidth = 0,
               int32_t TargetHeight = 0)
      : FRenderer(SurfaceWidth, SurfaceHeight, std::move(BindTarget), FlipY, TargetWidth,
                  TargetHeight),
        FText(FontFolder),
        FCanvas(FRenderer, FText),
        FDrawer(FRenderer) {}

  TCanvas& Canvas() { return FCanvas; }
  TPictureDrawer& Drawer() { return FDrawer; }
  TGL2DRenderer& Renderer() { return FRenderer; }

 private:
  TGL2DRenderer FRenderer;
  TTextRasterizer FText;
  TGLCanvas FCanvas;
  TGLPictureDrawer FDrawer;
};
