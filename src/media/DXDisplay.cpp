#include "media/DXDisplay.h"

#include <algorithm>
#include <exception>

#include "media/DXClass.h"

// ---- form ----

TDXForm::TDXForm(std::unique_ptr<TFormWindow> Window) : FWindow(std::move(Window)) {}

TDXForm::~TDXForm() = default;

int32_t TDXForm::Width() const {
  return DesignClientWidth + std::max(FWindow->Width() - FWindow->ClientWidth(), 0);
}

int32_t TDXForm::Height() const {
  return DesignClientHeight + std::max(FWindow->Height() - FWindow->ClientHeight(), 0);
}

void TDXForm::SaveWindowPlacement() {
  FPlacementSaved = FWindow->SavePlacement();
}

void TDXForm::RestoreWindowPlacement() {
  if (!FPlacementSaved) return;
  FPlacementSaved = false;
  FWindow->RestorePlacement();
}

// ---- surface ----

int32_t TDirectDrawSurface::Width() const {
  return FOwner.SurfaceWidth();
}

int32_t TDirectDrawSurface::Height() const {
  return FOwner.SurfaceHeight();
}

// ---- display ----

TDXDrawOptions DeriveOptionsInForce(TDXDrawOptions O) {
  if (!O.Contains(doFullScreen)) {
    for (auto b : {doNoWindowChange, doAllowReboot, doAllowPalette256, doFlip}) O.Exclude(b);
  }
  if (!O.Contains(do3D)) {
    for (auto b : {doDirectX7Mode, doRetainedMode, doHardware, doSelectDriver, doZBuffer}) {
      O.Exclude(b);
    }
  }
  if (O.Contains(doSystemMemory)) O.Exclude(doFlip);
  if (O.Contains(doDirectX7Mode)) O.Exclude(doRetainedMode);
  return O;
}

TDXDraw::TDXDraw(TDXForm& Form, std::unique_ptr<TDisplayBackend> Backend)
    : FForm(Form), FBackend(std::move(Backend)) {
  FNowOptions = DeriveOptionsInForce(Options);
}

TDXDraw::~TDXDraw() {
  try {
    Finalize();
  } catch (...) {
    // A handler failing while the display goes has no one left to tell.
  }
  Notify(TDXDrawNotifyType::Destroying);
  FListeners.clear();
}

TDXDrawOptions TDXDraw::DerivedOptions() const {
  return DeriveOptionsInForce(Options);
}

void TDXDraw::Initialize() {
  FAttempted = true;
  if (FInitialized) Finalize();
  FInitializing = true;
  struct TClearInitializing {
    bool& Flag;
    ~TClearInitializing() { Flag = false; }
  } clear{FInitializing};

  try {
    if (OnInitializing) OnInitializing();
    Notify(TDXDrawNotifyType::Initializing);

    TDisplayOpenRequest request;
    request.Options = DerivedOptions();
    request.Display = Display;
    // The surface is the form's designed client area in a window and in full screen alike;
    // the backend shows it scaled to whatever the window or the screen holds.
    if (AutoSize) {
      request.SurfaceWidth = TDXForm::DesignClientWidth;
      request.SurfaceHeight = TDXForm::DesignClientHeight;
    } else {
      request.SurfaceWidth = FSurfaceWidth;
      request.SurfaceHeight = FSurfaceHeight;
    }
    request.SurfaceWidth = std::max(request.SurfaceWidth, 1);
    request.SurfaceHeight = std::max(request.SurfaceHeight, 1);

    const TDisplayMode mode = FBackend->Open(request);
    if (request.Options.Contains(doFullScreen)) {
      Display.Width = mode.Width;
      Display.Height = mode.Height;
      Display.BitCount = mode.BitCount;
    }
    FSurfaceWidth = request.SurfaceWidth;
    FSurfaceHeight = request.SurfaceHeight;

    FNowOptions = request.Options;
    // Granted only when the device actually has them.
    const bool device = FBackend->Device() != nullptr;
    if (!device) {
      FNowOptions.Exclude(doHardware);
      FNowOptions.Exclude(doSelectDriver);
    }
    FNowOptions.Exclude(doRetainedMode);
    if (!device || !FBackend->HasZBuffer()) FNowOptions.Exclude(doZBuffer);
  } catch (...) {
    FBackend->Close();
    FNowOptions = DerivedOptions();
    throw;
  }

  FInitialized = true;
  Notify(TDXDrawNotifyType::SizeKnown);
  Notify(TDXDrawNotifyType::Initialize);
  FCalledInitialize = true;
  if (OnInitialize) OnInitialize();
  FSurfacesUp = true;
  Notify(TDXDrawNotifyType::InitializeSurface);
  FCalledInitializeSurface = true;
  if (OnInitializeSurface) OnInitializeSurface();
  Restore();
}

void TDXDraw::Restore() {
  if (!FInitialized || FBackend->RestoreSurfaces() == TDisplayBackend::TSurfaceState::Lost) return;
  Restored();
}

void TDXDraw::Restored() {
  Notify(TDXDrawNotifyType::Restore);
  if (OnRestoreSurface) OnRestoreSurface();
}

void TDXDraw::Finalize() {
  if (!FInitialized) return;
  // Every step runs even when one raises; the first error is passed on afterwards.
  std::exception_ptr error;
  auto run = [&error](const std::function<void()>& Step) {
    try {
      Step();
    } catch (...) {
      if (!error) error = std::current_exception();
    }
  };
  if (FCalledInitializeSurface || FSurfacesUp) {
    const bool fire = FCalledInitializeSurface;
    FCalledInitializeSurface = false;
    run([this] { Notify(TDXDrawNotifyType::FinalizeSurface); });
    FSurfacesUp = false;
    if (fire && OnFinalizeSurface) run(OnFinalizeSurface);
  }
  if (FCalledInitialize) {
    FCalledInitialize = false;
    run([this] { Notify(TDXDrawNotifyType::Finalize); });
    if (OnFinalize) run(OnFinalize);
  }
  FInitialized = false;
  FNowOptions = DerivedOptions();
  run([this] { FBackend->Close(); });
  if (error) std::rethrow_exception(error);
}

bool TDXDraw::CanDraw() {
  if (!FInitialized || FInitializing) return false;
  switch (FBackend->RestoreSurfaces()) {
    case TDisplayBackend::TSurfaceState::Kept:
      return true;
    case TDisplayBackend::TSurfaceState::Restored:
      // Surfaces that come back hold nothing: textures reload, the game may redraw its own.
      Restored();
      return FInitialized;
    case TDisplayBackend::TSurfaceState::Lost:
      break;
  }
  return false;
}

void TDXDraw::Flip() {
  if (!CanDraw()) return;
  // The presentation options follow the published set at once.
  TDXDrawOptions inForce = FNowOptions;
  for (auto b : {doWaitVBlank, doStretch, doCenter}) {
    if (Options.Contains(b)) {
      inForce.Include(b);
    } else {
      inForce.Exclude(b);
    }
  }
  FBackend->Present(inForce);
}

int32_t TDXDraw::SurfaceWidth() const {
  return FSurfaceWidth;
}

int32_t TDXDraw::SurfaceHeight() const {
  return FSurfaceHeight;
}

TDirect3DDevice7* TDXDraw::D3DDevice7() {
  return FInitialized ? FBackend->Device() : nullptr;
}

bool TDXDraw::HasZBuffer() const {
  return FInitialized && FNowOptions.Contains(doZBuffer);
}

TCanvas& TDirectDrawSurface::Canvas() {
  TCanvas* canvas = FOwner.FInitialized ? FOwner.FBackend->Canvas() : nullptr;
  return canvas ? *canvas : FOwner.FIdleCanvas;
}

void TDXDraw::WindowShown() {
  if (AutoInitialize && !FAttempted) Initialize();
}

void TDXDraw::WindowMovedOrSized() {
  if (!FInitialized) return;
  Finalize();
  Initialize();
}

int TDXDraw::RegisterNotifyEvent(TNotifyCallback Callback) {
  const int handle = FNextHandle++;
  FListeners.push_back({handle, Callback});
  try {
    Callback(TDXDrawNotifyType::SizeKnown);
    if (FInitialized) {
      Callback(TDXDrawNotifyType::Initialize);
      if (FSurfacesUp) Callback(TDXDrawNotifyType::InitializeSurface);
      if (!FInitializing) Callback(TDXDrawNotifyType::Restore);
    }
  } catch (...) {
    // A listener that failed to start (a texture that could not be made) is not kept.
    std::erase_if(FListeners, [handle](const TListener& L) { return L.Handle == handle; });
    throw;
  }
  return handle;
}

void TDXDraw::UnregisterNotifyEvent(int Handle) {
  auto it = std::find_if(FListeners.begin(), FListeners.end(),
                         [Handle](const TListener& L) { return L.Handle == Handle; });
  if (it == FListeners.end()) return;
  TNotifyCallback callback = std::move(it->Callback);
  FListeners.erase(it);
  if (FInitialized) {
    if (FSurfacesUp) callback(TDXDrawNotifyType::FinalizeSurface);
    callback(TDXDrawNotifyType::Finalize);
  }
}

void TDXDraw::Notify(TDXDrawNotifyType Type) {
  // Listeners may come and go while they are told; each is looked up again before its call,
  // and those added meanwhile have had their own notices.
  std::vector<int> handles;
  handles.reserve(FListeners.size());
  for (const TListener& l : FListeners) handles.push_back(l.Handle);
  for (int handle : handles) {
    auto it = std::find_if(FListeners.begin(), FListeners.end(),
                           [handle](const TListener& L) { return L.Handle == handle; });
    if (it == FListeners.end()) continue;
    TNotifyCallback callback = it->Callback;  // the listener may unregister itself
    callback(Type);
  }
}

// ---- textures ----

TDirect3DTexture2::TDirect3DTexture2(TDXDraw& Display, const TDIB& Picture)
    : FDisplay(&Display), FPicture(Picture) {
  FHandle = FDisplay->RegisterNotifyEvent([this](TDXDrawNotifyType Type) { OnNotify(Type); });
}

TDirect3DTexture2::~TDirect3DTexture2() {
  FTexture.reset();
  if (FDisplay && FHandle != 0) {
    const int handle = FHandle;
    FHandle = 0;
    FDisplay->UnregisterNotifyEvent(handle);
  }
}

void TDirect3DTexture2::Make() {
  FTexture.reset();
  FNeedReload = false;
  TDirect3DDevice7* device = FDisplay ? FDisplay->D3DDevice7() : nullptr;
  if (!device) return;
  try {
    FTexture = device->CreateTexture(FPicture);
  } catch (const std::exception&) {
    FTexture.reset();
  }
  if (!FTexture) throw EDirect3DTextureError(Format("%s cannot be initialized", "Texture"));
  FFresh = true;
}

void TDirect3DTexture2::OnNotify(TDXDrawNotifyType Type) {
  switch (Type) {
    case TDXDrawNotifyType::InitializeSurface:
      Make();
      break;
    case TDXDrawNotifyType::FinalizeSurface:
      FTexture.reset();
      FNeedReload = false;
      break;
    case TDXDrawNotifyType::Restore:
      // A texture made since the last restore already holds its picture.
      if (FFresh) {
        FFresh = false;
      } else if (FTexture) {
        FNeedReload = true;
      }
      break;
    case TDXDrawNotifyType::Destroying:
      FTexture.reset();
      FDisplay = nullptr;
      FHandle = 0;
      break;
    default:
      break;
  }
}

TDeviceTexture* TDirect3DTexture2::Surface() {
  if (FNeedReload) Make();
  return FTexture.get();
}

// ---- pure rules ----

namespace {
int32_t FloorPowerOfTwo(int32_t V) {
  int32_t p = 1;
  while (p <= V / 2) p *= 2;
  return p;
}
}  // namespace

void TextureSize(const TTextureCaps& Caps, int32_t Width, int32_t Height, int32_t& OutWidth,
                 int32_t& OutHeight) {
  int32_t w = std::max(Width, 1), h = std::max(Height, 1);
  if (Caps.PowerOfTwo) {
    w = FloorPowerOfTwo(w);
    h = FloorPowerOfTwo(h);
  }
  if (Caps.Square) w = h = std::max(w, h);
  OutWidth = std::clamp(w, Caps.MinWidth, std::max(Caps.MinWidth, Caps.MaxWidth));
  OutHeight = std::clamp(h, Caps.MinHeight, std::max(Caps.MinHeight, Caps.MaxHeight));
}

namespace {
bool ValidBitCount(int32_t B) {
  return B == 8 || B == 16 || B == 24 || B == 32;
}

bool Search(const TDXDrawDisplay& R, const std::vector<TDisplayMode>& Modes, bool Ratio,
            TDisplayMode& Found) {
  const TDisplayMode* best = nullptr;
  for (const TDisplayMode& m : Modes) {
    if (!ValidBitCount(m.BitCount) || m.Width <= 0 || m.Height <= 0) continue;
    if (Ratio && int64_t{m.Width} * R.Height != int64_t{m.Height} * R.Width) continue;
    if (R.FixedSize ? (m.Width != R.Width || m.Height != R.Height)
                    : (m.Width < R.Width || m.Height < R.Height)) {
      continue;
    }
    const bool bits = R.FixedBitCount                      ? m.BitCount == R.BitCount
                      : (m.BitCount > 8 && R.BitCount > 8) ? true
                                                           : m.BitCount >= R.BitCount;
    if (!bits) continue;
    // Smallest by width, then height; among equal sizes the deeper mode.
    if (!best || m.Width < best->Width || (m.Width == best->Width && m.Height < best->Height) ||
        (m.Width == best->Width && m.Height == best->Height && m.BitCount > best->BitCount)) {
      best = &m;
    }
  }
  if (best) Found = *best;
  return best != nullptr;
}
}  // namespace

bool FindDisplayMode(const TDXDrawDisplay& Request, const std::vector<TDisplayMode>& Modes,
                     TDisplayMode& Found) {
  if (!ValidBitCount(Request.BitCount) || Request.Width <= 0 || Request.Height <= 0) return false;
  const TDisplayMode wanted{Request.Width, Request.Height, Request.BitCount};
  if (std::find(Modes.begin(), Modes.end(), wanted) != Modes.end()) {
    Found = wanted;
    return true;
  }
  TDisplayMode mode;
  if (!(Request.FixedRatio && Search(Request, Modes, true, mode)) &&
      !Search(Request, Modes, false, mode)) {
    return false;
  }
  const TDisplayMode atRequestedCount{mode.Width, mode.Height, Request.BitCount};
  if (mode.BitCount != Request.BitCount &&
      std::find(Modes.begin(), Modes.end(), atRequestedCount) != Modes.end()) {
    mode = atRequestedCount;
  }
  Found = mode;
  return true;
}
