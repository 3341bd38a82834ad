// A display that shows nothing: a form window held in memory and a backend whose device draws
// nothing and whose canvas does nothing. For tests and for runs of the game logic alone.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "media/DXDisplay.h"

// A window held in memory; tests read and set its fields.
class TNullFormWindow : public TFormWindow {
 public:
  struct TPlacement {
    int32_t ClientWidth = 640, ClientHeight = 480;
    TBorderStyle Border = TBorderStyle::Sizeable;
    bool operator==(const TPlacement&) const = default;
  };

  std::string Caption;
  TPlacement Now;
  int32_t TitleHeight = 0;  // a bordered window's title bar, above its 8-pixel frame
  bool CursorShown = true;
  bool IsClosed = false;
  bool IsActive = true;
  bool PlacementReadable = true;
  std::optional<TPlacement> Saved;

  void SetCaption(const std::string& Text) override { Caption = Text; }
  int32_t Width() const override { return Now.ClientWidth + Frame(); }
  int32_t Height() const override {
    return Now.ClientHeight + Frame() + (Frame() > 0 ? TitleHeight : 0);
  }
  int32_t ClientWidth() const override { return Now.ClientWidth; }
  int32_t ClientHeight() const override { return Now.ClientHeight; }
  void SetBorderStyle(TBorderStyle Style) override { Now.Border = Style; }
  void ShowCursor(bool Show) override { CursorShown = Show; }
  bool SavePlacement() override;
  void RestorePlacement() override;
  void Close() override { IsClosed = true; }
  bool Closed() const override { return IsClosed; }
  bool Active() const override { return IsActive; }

 private:
  int32_t Frame() const { return Now.Border == TBorderStyle::None ? 0 : 8; }
};

// A 3D device that draws nothing but keeps the render states it is given.
class TNullDevice3D : public TDirect3DDevice7 {
 public:
  void BeginScene() override {}
  void EndScene() override {}
  void Clear(const TD3DRect&, uint32_t, uint32_t, float, uint32_t) override {}
  void SetViewport(const TD3DViewport&) override {}
  void SetMaterial(const TD3DMaterial&) override {}
  void SetTransform(TD3DTransformState, const TMatrix4&) override {}
  void SetRenderState(uint32_t State, uint32_t Value) override;
  uint32_t GetRenderState(uint32_t State) const override;
  void SetTexture(uint32_t, TDeviceTexture*) override {}
  void DrawPrimitive(TD3DPrimitiveType, uint32_t, std::span<const TVertex>, uint32_t) override {}
  std::unique_ptr<TDeviceTexture> CreateTexture(const TDIB& Picture) override;

 private:
  uint32_t FAmbient = 0, FAlphaBlend = 0;
};

// A canvas that draws nothing; its font, pen and brush keep what they are given.
class TNullCanvas : public TCanvas {
 public:
  void TextOut(int32_t, int32_t, const std::string&) override {}
  void MoveTo(int32_t, int32_t) override {}
  void LineTo(int32_t, int32_t) override {}
  void Ellipse(int32_t, int32_t, int32_t, int32_t) override {}
  void Release() override {}
};

class TNullDisplayBackend : public TDisplayBackend {
 public:
  using TDeviceMaker = std::function<std::unique_ptr<TDirect3DDevice7>()>;
  // MakeDevice: the device made at each opening (default: a TNullDevice3D).
  explicit TNullDisplayBackend(TDeviceMaker MakeDevice = {});

  // What tests inspect or set.
  std::vector<TDisplayOpenRequest> Opens;
  int32_t Closes = 0;
  int32_t Presents = 0;
  TDXDrawOptions LastPresent;
  std::vector<TDisplayMode> Modes{{640, 480, 16}, {640, 480, 32}, {800, 600, 32}};
  bool FailOpen = false;  // Open raises "3D device not found"
  bool Lost = false;      // the surfaces are lost and cannot be restored yet
  int32_t Restores = 0;   // lost surfaces brought back

  TDisplayMode Open(const TDisplayOpenRequest& Request) override;
  void Close() override;
  TDirect3DDevice7* Device() override { return FDevice.get(); }
  TCanvas* Canvas() override { return FOpen ? &FCanvas : nullptr; }
  bool HasZBuffer() const override { return FOpen && FZBuffer; }
  TSurfaceState RestoreSurfaces() override;
  void Present(const TDXDrawOptions& InForce) override;

 private:
  TDeviceMaker FMakeDevice;
  std::unique_ptr<TDirect3DDevice7> FDevice;
  TNullCanvas FCanvas;
  bool FOpen = false;
  bool FZBuffer = false;
  bool FLostSeen = false;
};
