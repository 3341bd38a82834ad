#include "media/NullDisplay.h"

#include "media/DXClass.h"

bool TNullFormWindow::SavePlacement() {
  if (!PlacementReadable) return false;
  Saved = Now;
  return true;
}

void TNullFormWindow::RestorePlacement() {
  if (Saved) Now = *Saved;
}

void TNullDevice3D::SetRenderState(uint32_t State, uint32_t Value) {
  if (State == D3DRENDERSTATE_AMBIENT) FAmbient = Value;
  if (State == D3DRENDERSTATE_ALPHABLENDENABLE) FAlphaBlend = Value;
}

uint32_t TNullDevice3D::GetRenderState(uint32_t State) const {
  if (State == D3DRENDERSTATE_AMBIENT) return FAmbient;
  if (State == D3DRENDERSTATE_ALPHABLENDENABLE) return FAlphaBlend;
  return 0;
}

namespace {
class TNullTexture : public TDeviceTexture {
 public:
  TNullTexture(int32_t W, int32_t H) : FWidth(W), FHeight(H) {}
  int32_t Width() const override { return FWidth; }
  int32_t Height() const override { return FHeight; }

 private:
  int32_t FWidth, FHeight;
};
}  // namespace

std::unique_ptr<TDeviceTexture> TNullDevice3D::CreateTexture(const TDIB& Picture) {
  int32_t w = 0, h = 0;
  TextureSize(TTextureCaps{}, Picture.Width(), Picture.Height(), w, h);
  return std::make_unique<TNullTexture>(w, h);
}

TNullDisplayBackend::TNullDisplayBackend(TDeviceMaker MakeDevice)
    : FMakeDevice(std::move(MakeDevice)) {}

TDisplayMode TNullDisplayBackend::Open(const TDisplayOpenRequest& Request) {
  Opens.push_back(Request);
  if (FailOpen) throw EDXDrawError("3D device not found");
  TDisplayMode mode{Request.SurfaceWidth, Request.SurfaceHeight, Request.Display.BitCount};
  if (Request.Options.Contains(doFullScreen)) {
    if (!FindDisplayMode(Request.Display, Modes, mode)) {
      throw EDXDrawError(Format("Display mode cannot be changed (%dx%d %dbit)",
                                Request.Display.Width, Request.Display.Height,
                                Request.Display.BitCount));
    }
  }
  if (Request.Options.Contains(do3D)) {
    FDevice = FMakeDevice ? FMakeDevice() : std::make_unique<TNullDevice3D>();
  }
  FZBuffer = Request.Options.Contains(doZBuffer) && FDevice;
  FCanvas = TNullCanvas{};
  FOpen = true;
  return mode;
}

void TNullDisplayBackend::Close() {
  if (FOpen) ++Closes;
  FOpen = false;
  FZBuffer = false;
  FDevice.reset();
}

TDisplayBackend::TSurfaceState TNullDisplayBackend::RestoreSurfaces() {
  if (Lost) {
    FLostSeen = true;
    return TSurfaceState::Lost;
  }
  if (!FLostSeen) return TSurfaceState::Kept;
  FLostSeen = false;
  ++Restores;
  return TSurfaceState::Restored;
}

void TNullDisplayBackend::Present(const TDXDrawOptions& InForce) {
  ++Presents;
  LastPresent = InForce;
}
