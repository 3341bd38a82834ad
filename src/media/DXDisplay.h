// The display: a window or full screen, the back surface the game draws on, the 3D device on
// it, presentation; the textures made from pictures; the form base with its window placement.
// The platform stands behind small interfaces (TFormWindow, TDisplayBackend) so that the game
// runs on SDL/OpenGL, on a device that draws nothing, or on a recording device in tests.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "media/Canvas.h"
#include "media/DIB.h"
#include "media/Direct3D.h"

class TPictureDrawer;

enum TDXDrawOption : uint16_t {
  doFullScreen = 0,
  doNoWindowChange = 1,
  doAllowReboot = 2,
  doWaitVBlank = 3,
  doAllowPalette256 = 4,
  doSystemMemory = 5,
  doStretch = 6,
  doCenter = 7,
  doFlip = 8,
  do3D = 9,
  doDirectX7Mode = 10,
  doRetainedMode = 11,
  doHardware = 12,
  doSelectDriver = 13,
  doZBuffer = 14,
};

// A 16-bit set of TDXDrawOption.
class TDXDrawOptions {
 public:
  constexpr TDXDrawOptions() = default;
  constexpr TDXDrawOptions(std::initializer_list<TDXDrawOption> Options) {
    for (auto o : Options) Include(o);
  }
  constexpr bool Contains(TDXDrawOption O) const { return (Bits & (1u << O)) != 0; }
  constexpr void Include(TDXDrawOption O) { Bits = static_cast<uint16_t>(Bits | (1u << O)); }
  constexpr void Exclude(TDXDrawOption O) { Bits = static_cast<uint16_t>(Bits & ~(1u << O)); }
  constexpr uint16_t Raw() const { return Bits; }
  constexpr bool operator==(const TDXDrawOptions&) const = default;

 private:
  uint16_t Bits = 0;
};

enum class TDXDrawNotifyType {
  Destroying,
  Initializing,
  Initialize,
  InitializeSurface,
  Finalize,
  FinalizeSurface,
  Restore,
  SizeKnown,
};

// The full-screen display mode asked for.
struct TDXDrawDisplay {
  int32_t Width = 640;
  int32_t Height = 480;
  int32_t BitCount = 16;
  bool FixedBitCount = false;
  bool FixedRatio = false;
  bool FixedSize = false;
};

struct TDisplayMode {
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t BitCount = 0;
  bool operator==(const TDisplayMode&) const = default;
};

// The window of the form, as the platform gives it.
class TFormWindow {
 public:
  virtual ~TFormWindow() = default;
  virtual void SetCaption(const std::string& Caption) = 0;
  // Outer size, frame and title bar included (equal to the client size when borderless).
  virtual int32_t Width() const = 0;
  virtual int32_t Height() const = 0;
  virtual int32_t ClientWidth() const = 0;
  virtual int32_t ClientHeight() const = 0;
  enum class TBorderStyle { Sizeable, Single, None };
  virtual void SetBorderStyle(TBorderStyle Style) = 0;
  virtual void ShowCursor(bool Show) = 0;
  // Returns false when the placement could not be read.
  virtual bool SavePlacement() = 0;
  virtual void RestorePlacement() = 0;
  virtual void Close() = 0;
  virtual bool Closed() const = 0;
  virtual bool Active() const = 0;
};

// The form base class: owns the window and its saved placement.
class TDXForm {
 public:
  // The client area as the form was designed. The display's surface keeps this size whatever
  // size the window or screen has; the platform shows that picture scaled to fit.
  static constexpr int32_t DesignClientWidth = 640;
  static constexpr int32_t DesignClientHeight = 480;

  explicit TDXForm(std::unique_ptr<TFormWindow> Window);
  virtual ~TDXForm();
  TFormWindow& Window() { return *FWindow; }
  const TFormWindow& Window() const { return *FWindow; }
  // The form's outer size: the designed client area and the window's frame (none when
  // borderless, as in full screen). A resized or maximised window does not change it.
  int32_t Width() const;
  int32_t Height() const;
  void SaveWindowPlacement();
  void RestoreWindowPlacement();
  void Close() { FWindow->Close(); }

 private:
  std::unique_ptr<TFormWindow> FWindow;
  bool FPlacementSaved = false;
};

// What the display asks of the platform when it opens.
struct TDisplayOpenRequest {
  TDXDrawOptions Options;  // the options in force
  int32_t SurfaceWidth = 640;
  int32_t SurfaceHeight = 480;
  TDXDrawDisplay Display;  // the full-screen mode asked for
};

// The platform side of the display: surfaces, 3D device, canvas, presentation.
class TDisplayBackend {
 public:
  virtual ~TDisplayBackend() = default;
  // Makes the surfaces and the device; returns the full-screen mode set (or the request in a
  // window). Throws EDXDrawError with the display's messages.
  virtual TDisplayMode Open(const TDisplayOpenRequest& Request) = 0;
  virtual void Close() = 0;
  virtual TDirect3DDevice7* Device() = 0;
  virtual TCanvas* Canvas() = 0;
  // What draws picture items on the back surface (none: they draw nothing).
  virtual TPictureDrawer* PictureDrawer() { return nullptr; }
  virtual bool HasZBuffer() const = 0;
  // Restores lost surfaces (filled black when they come back) and tells how they stand:
  // never lost, lost and now restored, or still lost.
  enum class TSurfaceState { Kept, Restored, Lost };
  virtual TSurfaceState RestoreSurfaces() = 0;
  virtual void Present(const TDXDrawOptions& InForce) = 0;
};

class TDXDraw;

// The back surface the game draws on.
class TDirectDrawSurface {
 public:
  explicit TDirectDrawSurface(TDXDraw& Owner) : FOwner(Owner) {}
  int32_t Width() const;
  int32_t Height() const;
  TCanvas& Canvas();
  TDXDraw& Owner() { return FOwner; }

 private:
  TDXDraw& FOwner;
};

class TDXDraw {
 public:
  using TNotifyEvent = std::function<void()>;
  using TNotifyCallback = std::function<void(TDXDrawNotifyType)>;

  TDXDraw(TDXForm& Form, std::unique_ptr<TDisplayBackend> Backend);
  ~TDXDraw();
  TDXDraw(const TDXDraw&) = delete;
  TDXDraw& operator=(const TDXDraw&) = delete;

  bool AutoInitialize = true;
  // The surface takes the form's designed client size (otherwise it keeps the last one).
  bool AutoSize = true;
  TDXDrawDisplay Display;
  TDXDrawOptions Options{doAllowReboot,  doWaitVBlank, doCenter,      do3D,
                         doDirectX7Mode, doHardware,   doSelectDriver};
  TNotifyEvent OnInitializing, OnInitialize, OnInitializeSurface, OnRestoreSurface,
      OnFinalizeSurface, OnFinalize;

  void Initialize();
  void Finalize();
  bool Initialized() const { return FInitialized; }
  bool CanDraw();
  void Flip();
  int32_t SurfaceWidth() const;
  int32_t SurfaceHeight() const;
  TDXDrawOptions NowOptions() const { return FNowOptions; }
  TDirectDrawSurface& Surface() { return FSurface; }
  TDirect3DDevice7* D3DDevice7();
  bool HasZBuffer() const;
  TDXForm& Form() { return FForm; }
  TDisplayBackend& Backend() { return *FBackend; }

  // Window events the platform passes on. Shown: the first showing starts the display when
  // AutoInitialize is set (a failed automatic start is not retried). A finished move or
  // resize, or the window going, takes the display down and (not for destruction) up again.
  void WindowShown();
  void WindowMovedOrSized();
  void WindowDestroyed() { Finalize(); }

  // Registers a listener of the display's notices; returns a handle for unregistering.
  int RegisterNotifyEvent(TNotifyCallback Callback);
  void UnregisterNotifyEvent(int Handle);

 private:
  friend class TDirectDrawSurface;
  void Notify(TDXDrawNotifyType Type);
  void Restore();
  void Restored();
  TDXDrawOptions DerivedOptions() const;

  class TIdleCanvas : public TCanvas {
   public:
    void TextOut(int32_t, int32_t, const std::string&) override {}
    void MoveTo(int32_t, int32_t) override {}
    void LineTo(int32_t, int32_t) override {}
    void Ellipse(int32_t, int32_t, int32_t, int32_t) override {}
    void Release() override {}
  };

  TDXForm& FForm;
  std::unique_ptr<TDisplayBackend> FBackend;
  TDirectDrawSurface FSurface{*this};
  TDXDrawOptions FNowOptions;
  bool FInitialized = false;
  bool FInitializing = false;
  bool FAttempted = false;
  bool FCalledInitialize = false;
  bool FCalledInitializeSurface = false;
  bool FSurfacesUp = false;  // initialize-surface was sent
  TIdleCanvas FIdleCanvas;   // stands in while no surface exists
  int32_t FSurfaceWidth = 640;
  int32_t FSurfaceHeight = 480;
  struct TListener {
    int Handle;
    TNotifyCallback Callback;
  };
  std::vector<TListener> FListeners;
  int FNextHandle = 1;
};

// A texture made from a picture for the display; follows the display's notices.
class TDirect3DTexture2 {
 public:
  // The picture is shared (copies of a TDIB share their pixels), never owned away from the caller.
  TDirect3DTexture2(TDXDraw& Display, const TDIB& Picture);
  ~TDirect3DTexture2();
  TDirect3DTexture2(const TDirect3DTexture2&) = delete;
  TDirect3DTexture2& operator=(const TDirect3DTexture2&) = delete;

  // The device texture (made on demand while the display is up), or null.
  TDeviceTexture* Surface();
  const TDIB& Picture() const { return FPicture; }
  bool Transparent = false;

 private:
  void OnNotify(TDXDrawNotifyType Type);
  void Make();

  TDXDraw* FDisplay;  // null once the display is gone
  TDIB FPicture;
  std::unique_ptr<TDeviceTexture> FTexture;
  bool FNeedReload = false;
  bool FFresh = false;  // made since the last restore: its contents are current
  int FHandle = 0;
};

// The size a device texture gets for a picture: cut to powers of two and/or made square when
// the device needs it, then clamped.
struct TTextureCaps {
  bool PowerOfTwo = false;
  bool Square = false;
  int32_t MinWidth = 1, MinHeight = 1, MaxWidth = 16384, MaxHeight = 16384;
};
void TextureSize(const TTextureCaps& Caps, int32_t Width, int32_t Height, int32_t& OutWidth,
                 int32_t& OutHeight);

// The options in force derived from the published ones before the device is made.
TDXDrawOptions DeriveOptionsInForce(TDXDrawOptions Published);

// The full-screen mode search over the modes an adapter offers; false when none fits.
bool FindDisplayMode(const TDXDrawDisplay& Request, const std::vector<TDisplayMode>& Modes,
                     TDisplayMode& Found);
