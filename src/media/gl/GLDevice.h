// The 3D device on OpenGL 3.3 core: one small shader program stands in for the fixed-function
// states the game relies on (ambient-only lighting of the material, texture modulate with the
// texture's alpha, depth test and writes, clockwise fronts with backs culled, blending only
// when switched on, linear filtering).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "media/Direct3D.h"

// A texture on the device. Once the device (and with it the context) is gone, dropping the
// texture no longer calls OpenGL.
class TGLTexture : public TDeviceTexture {
 public:
  TGLTexture(std::weak_ptr<int> Alive, uint32_t Name, int32_t Width, int32_t Height)
      : FAlive(std::move(Alive)), FName(Name), FWidth(Width), FHeight(Height) {}
  ~TGLTexture() override;
  TGLTexture(const TGLTexture&) = delete;
  TGLTexture& operator=(const TGLTexture&) = delete;
  int32_t Width() const override { return FWidth; }
  int32_t Height() const override { return FHeight; }
  uint32_t Name() const { return FName; }

 private:
  std::weak_ptr<int> FAlive;
  uint32_t FName;
  int32_t FWidth, FHeight;
};

class TGLDevice3D : public TDirect3DDevice7 {
 public:
  // Needs a current OpenGL 3.3 core context. BindTarget binds the back surface's framebuffer
  // (its first row the bottom of the picture); DepthBuffer: it has one. The game works in
  // SurfaceWidth x SurfaceHeight; the framebuffer may hold more pixels (TargetWidth x
  // TargetHeight, 0: the surface's size), and viewports and clears are scaled to it.
  TGLDevice3D(int32_t SurfaceWidth, int32_t SurfaceHeight, bool DepthBuffer,
              std::function<void()> BindTarget, int32_t TargetWidth = 0, int32_t TargetHeight = 0);
  ~TGLDevice3D() override;
  TGLDevice3D(const TGLDevice3D&) = delete;
  TGLDevice3D& operator=(const TGLDevice3D&) = delete;

  void BeginScene() override;
  void EndScene() override;
  void Clear(const TD3DRect& Rect, uint32_t Flags, uint32_t Color, float Z,
             uint32_t Stencil) override;
  void SetViewport(const TD3DViewport& Viewport) override;
  void SetMaterial(const TD3DMaterial& Material) override;
  void SetTransform(TD3DTransformState State, const TMatrix4& Matrix) override;
  void SetRenderState(uint32_t State, uint32_t Value) override;
  uint32_t GetRenderState(uint32_t State) const override;
  void SetTexture(uint32_t Stage, TDeviceTexture* Texture) override;
  void DrawPrimitive(TD3DPrimitiveType Type, uint32_t VertexFormat,
                     std::span<const TVertex> Vertices, uint32_t Flags) override;
  std::unique_ptr<TDeviceTexture> CreateTexture(const TDIB& Picture) override;

  int32_t MaxTextureSize() const { return FMaxTextureSize; }

  // Row-vector product A x B.
  static TMatrix4 Product(const TMatrix4& A, const TMatrix4& B);
  // The device's depth range 0..1 taken to OpenGL's -1..1 (z' = 2z - w), so that near-plane
  // clipping matches.
  static TMatrix4 DepthToGL(const TMatrix4& Projection);

 private:
  void ApplyStates();
  // A rectangle of the surface in framebuffer pixels: x, y from the bottom, width, height.
  std::array<int32_t, 4> ToTarget(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom) const;

  int32_t FWidth, FHeight, FTargetWidth, FTargetHeight;
  bool FDepthBuffer;
  std::function<void()> FBindTarget;
  int32_t FMaxTextureSize = 0;
  uint32_t FProgram = 0, FVao = 0, FVbo = 0;
  int32_t FUMatrix = -1, FULit = -1, FUTextured = -1, FUTex = -1;
  TMatrix4 FWorld, FView, FProjection;
  TD3DMaterial FMaterial;
  TD3DViewport FViewport;
  uint32_t FAmbient = 0, FAlphaBlend = 0;
  uint32_t FTexture = 0;  // stage 0, 0 = none
  std::shared_ptr<int> FAlive = std::make_shared<int>(0);
};
