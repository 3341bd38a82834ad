// The 3D device operations the game relies on, behind an interface so that an OpenGL device,
// a device that draws nothing and a device that records its calls can stand behind them.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "Vectors.h"

class TDIB;

// Render states the game sets or reads.
constexpr uint32_t D3DRENDERSTATE_ALPHABLENDENABLE = 27;
constexpr uint32_t D3DRENDERSTATE_AMBIENT = 139;

enum class TD3DTransformState : uint32_t { World = 1, View = 2, Projection = 3 };
enum class TD3DPrimitiveType : uint32_t { TriangleStrip = 5 };
constexpr uint32_t D3DFVF_VERTEX = 0x112;

constexpr uint32_t D3DCLEAR_TARGET = 1;
constexpr uint32_t D3DCLEAR_ZBUFFER = 2;

struct TD3DRect {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
};

struct TD3DViewport {
  int32_t X = 0, Y = 0, Width = 0, Height = 0;
  float MinZ = 0.0f, MaxZ = 1.0f;
};

struct TD3DColorValue {
  float R = 0, G = 0, B = 0, A = 0;
};

struct TD3DMaterial {
  TD3DColorValue Diffuse, Ambient, Specular, Emissive;
  float Power = 0;
};

// A texture as the device holds it (what the device binds to a texture stage).
class TDeviceTexture {
 public:
  virtual ~TDeviceTexture() = default;
  virtual int32_t Width() const = 0;
  virtual int32_t Height() const = 0;
};

class TDirect3DDevice7 {
 public:
  virtual ~TDirect3DDevice7() = default;

  virtual void BeginScene() = 0;
  virtual void EndScene() = 0;
  virtual void Clear(const TD3DRect& Rect, uint32_t Flags, uint32_t Color, float Z,
                     uint32_t Stencil) = 0;
  virtual void SetViewport(const TD3DViewport& Viewport) = 0;
  virtual void SetMaterial(const TD3DMaterial& Material) = 0;
  virtual void SetTransform(TD3DTransformState State, const TMatrix4& Matrix) = 0;
  virtual void SetRenderState(uint32_t State, uint32_t Value) = 0;
  virtual uint32_t GetRenderState(uint32_t State) const = 0;
  virtual void SetTexture(uint32_t Stage, TDeviceTexture* Texture) = 0;
  virtual void DrawPrimitive(TD3DPrimitiveType Type, uint32_t VertexFormat,
                             std::span<const TVertex> Vertices, uint32_t Flags) = 0;

  // Makes a device texture from a picture (top row first in the texture).
  virtual std::unique_ptr<TDeviceTexture> CreateTexture(const TDIB& Picture) = 0;
};
