// 2D drawing into the back surface's framebuffer over the 3D scene: textured quads for
// pictures and text, single pixels for the pen. Every call leaves the GL state it touches as
// it found it, so the 3D device's own state stays valid.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "media/Direct3D.h"
#include "media/Raster2D.h"

class TGL2DRenderer;

// A texture of the 2D path. When the renderer (and with it the GL context) is gone first,
// dropping the texture no longer calls GL.
class TGL2DTexture {
 public:
  ~TGL2DTexture();
  TGL2DTexture(const TGL2DTexture&) = delete;
  TGL2DTexture& operator=(const TGL2DTexture&) = delete;
  int32_t Width() const { return FWidth; }
  int32_t Height() const { return FHeight; }
  bool Coverage() const { return FCoverage; }
  uint32_t Name() const { return FName; }

 private:
  friend class TGL2DRenderer;
  TGL2DTexture(std::weak_ptr<int> Alive, uint32_t Name, int32_t W, int32_t H, bool Coverage)
      : FAlive(std::move(Alive)), FName(Name), FWidth(W), FHeight(H), FCoverage(Coverage) {}
  std::weak_ptr<int> FAlive;
  uint32_t FName = 0;
  int32_t FWidth = 0, FHeight = 0;
  bool FCoverage = false;
};

struct TPointF {
  float X = 0, Y = 0;
};

enum class TGL2DBlend {
  Over,  // premultiplied source over the target
  Add,   // source added to the target, saturating
};

class TGL2DRenderer {
 public:
  // Needs a current OpenGL 3.3 context. BindTarget, when given, binds the framebuffer of the
  // back surface before each draw (the previous binding is restored after). FlipY: the
  // framebuffer's first row is the top of the picture. Coordinates are the surface's
  // (SurfaceWidth x SurfaceHeight); the framebuffer may hold more pixels (TargetWidth x
  // TargetHeight, 0: the surface's size), and everything drawn is scaled to it.
  TGL2DRenderer(int32_t SurfaceWidth, int32_t SurfaceHeight, std::function<void()> BindTarget = {},
                bool FlipY = false, int32_t TargetWidth = 0, int32_t TargetHeight = 0);
  ~TGL2DRenderer();
  TGL2DRenderer(const TGL2DRenderer&) = delete;
  TGL2DRenderer& operator=(const TGL2DRenderer&) = delete;

  int32_t SurfaceWidth() const { return FWidth; }
  int32_t SurfaceHeight() const { return FHeight; }
  int32_t TargetWidth() const { return FTargetWidth; }
  int32_t TargetHeight() const { return FTargetHeight; }
  // Framebuffer pixels per surface pixel.
  double ScaleX() const { return static_cast<double>(FTargetWidth) / FWidth; }
  double ScaleY() const { return static_cast<double>(FTargetHeight) / FHeight; }
  bool Scaled() const { return FTargetWidth != FWidth || FTargetHeight != FHeight; }
  int32_t MaxTextureSize() const { return FMaxTextureSize; }

  // Premultiplied RGBA, top row first; null when the size is empty or beyond the device.
  std::unique_ptr<TGL2DTexture> MakeTexture(int32_t W, int32_t H, std::span<const uint8_t> RGBA);
  // One coverage byte a pixel, drawn in a colour.
  std::unique_ptr<TGL2DTexture> MakeCoverage(int32_t W, int32_t H, std::span<const uint8_t> Cover);

  struct TQuad {
    // Target corners in pixels, clockwise from top-left; pixel (x, y) spans x..x+1, y..y+1.
    std::array<TPointF, 4> Corners;
    // The source rectangle in texels; samples stay inside it, so neighbouring patterns never
    // bleed in.
    TD3DRect Source;
    float Alpha = 1.0f;   // 0..1
    uint32_t Color = 0;   // 0x00BBGGRR, for coverage textures and solid quads
    bool Linear = false;  // bilinear sampling for scaled or turned draws
    TGL2DBlend Blend = TGL2DBlend::Over;
  };
  // Texture null: a solid quad in Color.
  void DrawQuad(const TGL2DTexture* Texture, const TQuad& Quad);
  // Surface pixels in Color; scaled, each covers its whole square of framebuffer pixels.
  void DrawPixels(std::span<const TPixelPoint> Pixels, uint32_t Color);
  // Solid triangles, three corners each, in Color.
  void DrawTriangles(std::span<const TPointF> Corners, uint32_t Color);

  static std::array<TPointF, 4> Rect(float Left, float Top, float Right, float Bottom) {
    return {TPointF{Left, Top}, {Right, Top}, {Right, Bottom}, {Left, Bottom}};
  }

 private:
  class TStateGuard;
  void Draw(uint32_t Primitive, std::span<const float> Vertices, int Mode,
            const TGL2DTexture* Texture, const TQuad& Quad);

  int32_t FWidth, FHeight, FTargetWidth, FTargetHeight;
  std::function<void()> FBindTarget;
  bool FFlipY;
  int32_t FMaxTextureSize = 0;
  uint32_t FProgram = 0, FVao = 0, FVbo = 0;
  int32_t FUSurface = -1, FUFlip = -1, FUMode = -1, FUClamp = -1, FUTexSize = -1, FUAlpha = -1,
          FUColor = -1, FUTex = -1;
  std::array<uint32_t, 2> FSamplers{};  // nearest, linear
  struct TUniforms {
    int Mode = -1;
    float Alpha = -1;
    uint32_t Color = 0xFFFFFFFF;  // no colour of 0x00BBGGRR
  } FLast;
  std::shared_ptr<int> FAlive = std::make_shared<int>(0);
};
