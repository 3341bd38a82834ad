// A 3D device that records every call it gets, keeping the render states like a real device.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "media/DIB.h"
#include "media/Direct3D.h"

class TRecordingTexture : public TDeviceTexture {
 public:
  TRecordingTexture(int32_t W, int32_t H) : FW(W), FH(H) {}
  int32_t Width() const override { return FW; }
  int32_t Height() const override { return FH; }

 private:
  int32_t FW, FH;
};

class TRecordingDevice : public TDirect3DDevice7 {
 public:
  enum class TOp {
    BeginScene,
    EndScene,
    Clear,
    SetViewport,
    SetMaterial,
    SetTransform,
    SetRenderState,
    GetRenderState,
    SetTexture,
    DrawPrimitive
  };
  struct TCall {
    TOp Op = TOp::BeginScene;
    uint32_t State = 0;  // render state, transform state, texture stage or clear flags
    uint32_t Value = 0;  // render state value, clear colour, primitive type
    TD3DRect Rect;
    float Z = 0;
    TD3DViewport Viewport;
    TD3DMaterial Material;
    TMatrix4 Matrix;
    TDeviceTexture* Texture = nullptr;
    uint32_t Format = 0;
    std::vector<TVertex> Vertices;
  };

  std::vector<TCall> Calls;
  std::map<uint32_t, uint32_t> RenderStates;
  bool Recording = true;

  void BeginScene() override { Add(Make(TOp::BeginScene)); }
  void EndScene() override { Add(Make(TOp::EndScene)); }
  void Clear(const TD3DRect& R, uint32_t Flags, uint32_t Color, float Z, uint32_t) override {
    TCall c = Make(TOp::Clear, Flags, Color);
    c.Rect = R;
    c.Z = Z;
    Add(std::move(c));
  }
  void SetViewport(const TD3DViewport& V) override {
    TCall c = Make(TOp::SetViewport);
    c.Viewport = V;
    Add(std::move(c));
  }
  void SetMaterial(const TD3DMaterial& M) override {
    TCall c = Make(TOp::SetMaterial);
    c.Material = M;
    Add(std::move(c));
  }
  void SetTransform(TD3DTransformState S, const TMatrix4& M) override {
    TCall c = Make(TOp::SetTransform, static_cast<uint32_t>(S));
    c.Matrix = M;
    Add(std::move(c));
  }
  void SetRenderState(uint32_t S, uint32_t V) override {
    RenderStates[S] = V;
    Add(Make(TOp::SetRenderState, S, V));
  }
  uint32_t GetRenderState(uint32_t S) const override {
    auto it = RenderStates.find(S);
    const uint32_t v = it == RenderStates.end() ? 0 : it->second;
    const_cast<TRecordingDevice*>(this)->Add(Make(TOp::GetRenderState, S, v));
    return v;
  }
  void SetTexture(uint32_t Stage, TDeviceTexture* T) override {
    TCall c = Make(TOp::SetTexture, Stage);
    c.Texture = T;
    Add(std::move(c));
  }
  void DrawPrimitive(TD3DPrimitiveType Type, uint32_t Format, std::span<const TVertex> V,
                     uint32_t Flags) override {
    TCall c = Make(TOp::DrawPrimitive, Flags, static_cast<uint32_t>(Type));
    c.Format = Format;
    c.Vertices.assign(V.begin(), V.end());
    Add(std::move(c));
  }
  std::unique_ptr<TDeviceTexture> CreateTexture(const TDIB& Picture) override {
    return std::make_unique<TRecordingTexture>(Picture.Width(), Picture.Height());
  }

  std::vector<TCall> Of(TOp Op) const {
    std::vector<TCall> out;
    for (const auto& c : Calls)
      if (c.Op == Op) out.push_back(c);
    return out;
  }

 private:
  static TCall Make(TOp Op, uint32_t State = 0, uint32_t Value = 0) {
    TCall c;
    c.Op = Op;
    c.State = State;
    c.Value = Value;
    return c;
  }
  void Add(TCall C) {
    if (Recording) Calls.push_back(std::move(C));
  }
};
