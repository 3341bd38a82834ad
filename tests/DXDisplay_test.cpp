#include "media/DXDisplay.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "media/DXClass.h"
#include "media/NullDisplay.h"

namespace {

const char* Name(TDXDrawNotifyType T) {
  switch (T) {
    case TDXDrawNotifyType::Destroying:
      return "destroying";
    case TDXDrawNotifyType::Initializing:
      return "initializing";
    case TDXDrawNotifyType::Initialize:
      return "initialize";
    case TDXDrawNotifyType::InitializeSurface:
      return "initialize-surface";
    case TDXDrawNotifyType::Finalize:
      return "finalize";
    case TDXDrawNotifyType::FinalizeSurface:
      return "finalize-surface";
    case TDXDrawNotifyType::Restore:
      return "restore";
    case TDXDrawNotifyType::SizeKnown:
      return "size-known";
  }
  return "?";
}

struct Fixture {
  std::vector<std::string> Log;  // first: the display still logs while it goes
  TNullFormWindow* Window;
  TNullDisplayBackend* Backend;
  TDXForm Form;
  TDXDraw Draw;

  Fixture()
      : Window(new TNullFormWindow),
        Backend(new TNullDisplayBackend),
        Form(std::unique_ptr<TFormWindow>(Window)),
        Draw(Form, std::unique_ptr<TDisplayBackend>(Backend)) {
    Draw.OnInitializing = [this] { Log.push_back("OnInitializing"); };
    Draw.OnInitialize = [this] { Log.push_back("OnInitialize"); };
    Draw.OnInitializeSurface = [this] { Log.push_back("OnInitializeSurface"); };
    Draw.OnRestoreSurface = [this] { Log.push_back("OnRestoreSurface"); };
    Draw.OnFinalizeSurface = [this] { Log.push_back("OnFinalizeSurface"); };
    Draw.OnFinalize = [this] { Log.push_back("OnFinalize"); };
  }
  int Listen() {
    return Draw.RegisterNotifyEvent([this](TDXDrawNotifyType T) { Log.push_back(Name(T)); });
  }
};

TDIB Picture(int32_t W, int32_t H) {
  TDIB d;
  d.SetSize(W, H, 24);
  return d;
}

}  // namespace

TEST(DXDisplay, InitializeAndFinalizeRunEventsAndNoticesInOrder) {
  Fixture f;
  f.Listen();
  f.Log.clear();
  f.Draw.Initialize();
  EXPECT_EQ(f.Log,
            (std::vector<std::string>{"OnInitializing", "initializing", "size-known", "initialize",
                                      "OnInitialize", "initialize-surface", "OnInitializeSurface",
                                      "restore", "OnRestoreSurface"}));
  EXPECT_TRUE(f.Draw.CanDraw());
  f.Log.clear();
  f.Draw.Finalize();
  EXPECT_EQ(f.Log, (std::vector<std::string>{"finalize-surface", "OnFinalizeSurface", "finalize",
                                             "OnFinalize"}));
  EXPECT_FALSE(f.Draw.CanDraw());
  EXPECT_EQ(f.Draw.D3DDevice7(), nullptr);
  f.Log.clear();
  f.Draw.Finalize();  // finalised already: nothing
  EXPECT_TRUE(f.Log.empty());
}

TEST(DXDisplay, WindowEventsDriveTheLifecycle) {
  Fixture f;
  f.Draw.WindowShown();
  ASSERT_TRUE(f.Draw.Initialized());
  f.Draw.WindowShown();  // later showings change nothing
  EXPECT_EQ(f.Backend->Opens.size(), 1u);

  // A finished resize re-initialises through the form's handlers; the surface keeps the
  // form's designed size, which the platform shows scaled.
  f.Window->Now.ClientWidth = 800;
  f.Window->Now.ClientHeight = 600;
  f.Log.clear();
  f.Draw.WindowMovedOrSized();
  EXPECT_EQ(f.Log,
            (std::vector<std::string>{"OnFinalizeSurface", "OnFinalize", "OnInitializing",
                                      "OnInitialize", "OnInitializeSurface", "OnRestoreSurface"}));
  EXPECT_EQ(f.Draw.SurfaceWidth(), 640);
  EXPECT_EQ(f.Draw.Surface().Height(), 480);
  EXPECT_EQ(f.Backend->Opens.back().SurfaceWidth, 640);

  f.Draw.WindowDestroyed();
  EXPECT_FALSE(f.Draw.Initialized());
  EXPECT_EQ(f.Draw.SurfaceWidth(), 640);  // remembered while finalised
}

TEST(DXDisplay, FailedAutomaticStartIsNotRetriedAndLeavesTheDisplayDown) {
  Fixture f;
  f.Backend->FailOpen = true;
  EXPECT_THROW(f.Draw.WindowShown(), EDXDrawError);
  EXPECT_FALSE(f.Draw.Initialized());
  EXPECT_EQ(f.Backend->Closes, 0);
  f.Backend->FailOpen = false;
  f.Draw.WindowShown();
  EXPECT_FALSE(f.Draw.Initialized());
  EXPECT_EQ(std::count(f.Log.begin(), f.Log.end(), "OnInitialize"), 0);
}

TEST(DXDisplay, OptionsInForce) {
  Fixture f;
  f.Draw.Options = {doAllowReboot,  doWaitVBlank, doCenter,       do3D,      doDirectX7Mode,
                    doRetainedMode, doHardware,   doSelectDriver, doZBuffer, doFlip};
  f.Draw.Initialize();
  const TDXDrawOptions now = f.Draw.NowOptions();
  // Window: full-screen-only options dropped; version 7 drops retained mode.
  EXPECT_FALSE(now.Contains(doAllowReboot));
  EXPECT_FALSE(now.Contains(doFlip));
  EXPECT_FALSE(now.Contains(doRetainedMode));
  EXPECT_TRUE(now.Contains(doZBuffer));
  EXPECT_TRUE(f.Draw.HasZBuffer());
  EXPECT_TRUE(now.Contains(doHardware));

  // Only the presentation bits follow the published set while initialised.
  f.Draw.Options.Include(doStretch);
  f.Draw.Options.Exclude(doWaitVBlank);
  f.Draw.Options.Exclude(doZBuffer);
  f.Draw.Flip();
  EXPECT_TRUE(f.Backend->LastPresent.Contains(doStretch));
  EXPECT_FALSE(f.Backend->LastPresent.Contains(doWaitVBlank));
  EXPECT_TRUE(f.Backend->LastPresent.Contains(doZBuffer));

  f.Draw.Options = {doWaitVBlank, doCenter};  // no 3D: the device options go
  f.Draw.Initialize();
  EXPECT_EQ(f.Draw.D3DDevice7(), nullptr);
  EXPECT_FALSE(f.Draw.HasZBuffer());
}

TEST(DXDisplay, FlipOnlyWhileDrawable) {
  Fixture f;
  f.Draw.Flip();
  EXPECT_EQ(f.Backend->Presents, 0);
  f.Draw.Initialize();
  f.Backend->Lost = true;
  EXPECT_FALSE(f.Draw.CanDraw());
  f.Draw.Flip();
  EXPECT_EQ(f.Backend->Presents, 0);
  f.Backend->Lost = false;
  f.Draw.Flip();
  EXPECT_EQ(f.Backend->Presents, 1);
}

TEST(DXDisplay, SurfacesThatComeBackAreRestoredBeforeTheyAreDrawnOn) {
  struct TCountingDevice : TNullDevice3D {
    int* Made;
    explicit TCountingDevice(int* M) : Made(M) {}
    std::unique_ptr<TDeviceTexture> CreateTexture(const TDIB& P) override {
      ++*Made;
      return TNullDevice3D::CreateTexture(P);
    }
  };
  int made = 0;
  std::vector<std::string> log;
  auto owned = std::make_unique<TNullDisplayBackend>(
      [&] { return std::make_unique<TCountingDevice>(&made); });
  TNullDisplayBackend& backend = *owned;
  TDXForm form(std::make_unique<TNullFormWindow>());
  TDXDraw draw(form, std::move(owned));
  draw.OnRestoreSurface = [&] { log.push_back("OnRestoreSurface"); };
  draw.Initialize();
  TDirect3DTexture2 texture(draw, Picture(16, 16));
  ASSERT_NE(texture.Surface(), nullptr);
  draw.RegisterNotifyEvent([&](TDXDrawNotifyType T) { log.push_back(Name(T)); });
  log.clear();
  made = 0;

  backend.Lost = true;
  EXPECT_FALSE(draw.CanDraw());
  EXPECT_FALSE(draw.CanDraw());
  draw.Flip();
  EXPECT_EQ(backend.Presents, 0);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(backend.Restores, 0);

  backend.Lost = false;  // they can be had again
  EXPECT_TRUE(draw.CanDraw());
  EXPECT_EQ(backend.Restores, 1);
  EXPECT_EQ(log, (std::vector<std::string>{"restore", "OnRestoreSurface"}));
  ASSERT_NE(texture.Surface(), nullptr);
  EXPECT_EQ(made, 1);  // reloaded into the restored surfaces
  texture.Surface();
  EXPECT_EQ(made, 1);  // once

  // Surfaces that were never lost need no restore.
  log.clear();
  EXPECT_TRUE(draw.CanDraw());
  draw.Flip();
  EXPECT_EQ(backend.Presents, 1);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(backend.Restores, 1);
}

TEST(DXDisplay, FullScreenTakesTheModeFound) {
  Fixture f;
  f.Draw.Options.Include(doFullScreen);
  f.Draw.Display.BitCount = 24;
  f.Draw.Display.FixedRatio = true;
  f.Draw.Display.FixedSize = true;
  f.Draw.Initialize();
  EXPECT_EQ(f.Draw.Display.BitCount, 32);
  EXPECT_EQ(f.Draw.SurfaceWidth(), 640);

  f.Backend->Modes = {{1024, 768, 32}};
  EXPECT_THROW(f.Draw.Initialize(), EDXDrawError);
  EXPECT_FALSE(f.Draw.Initialized());
}

TEST(DXDisplay, SurfaceAndFormKeepTheirDesignedSizeOnAnyScreen) {
  Fixture f;
  // A full-screen mode larger than asked for: the mode is taken, the surface stays 640 x 480,
  // also when full screen is entered again with the mode now remembered.
  f.Backend->Modes = {{800, 600, 32}};
  f.Draw.Options.Include(doFullScreen);
  f.Window->Now = {800, 600, TFormWindow::TBorderStyle::None};
  for (int i = 0; i < 2; ++i) {
    f.Draw.Initialize();
    EXPECT_EQ(f.Draw.Display.Width, 800);
    EXPECT_EQ(f.Draw.SurfaceWidth(), 640);
    EXPECT_EQ(f.Draw.SurfaceHeight(), 480);
    EXPECT_EQ(f.Form.Width(), 640);
    EXPECT_EQ(f.Form.Height(), 480);
  }
  // A maximised window with its frame and title bar: the frame is added to the design size.
  f.Draw.Options.Exclude(doFullScreen);
  f.Window->Now = {1912, 1020, TFormWindow::TBorderStyle::Sizeable};
  f.Window->TitleHeight = 26;
  f.Draw.Initialize();
  EXPECT_EQ(f.Draw.SurfaceWidth(), 640);
  EXPECT_EQ(f.Form.Width(), 648);
  EXPECT_EQ(f.Form.Height(), 514);
}

TEST(DXDisplay, LateListenersCatchUpAndLeavingListenersAreFinalised) {
  Fixture f;
  f.Listen();
  EXPECT_EQ(f.Log, (std::vector<std::string>{"size-known"}));
  f.Draw.Initialize();
  f.Log.clear();
  const int h = f.Listen();
  EXPECT_EQ(f.Log, (std::vector<std::string>{"size-known", "initialize", "initialize-surface",
                                             "restore"}));
  f.Log.clear();
  f.Draw.UnregisterNotifyEvent(h);
  EXPECT_EQ(f.Log, (std::vector<std::string>{"finalize-surface", "finalize"}));
}

TEST(DXDisplay, ListenerMayLeaveWhileBeingTold) {
  Fixture f;
  int a = 0, calls = 0;
  a = f.Draw.RegisterNotifyEvent([&](TDXDrawNotifyType T) {
    if (T == TDXDrawNotifyType::Initialize) f.Draw.UnregisterNotifyEvent(a);
  });
  f.Draw.RegisterNotifyEvent([&](TDXDrawNotifyType) { ++calls; });
  calls = 0;
  f.Draw.Initialize();
  EXPECT_EQ(calls, 5);  // initializing, size-known, initialize, initialize-surface, restore
}

TEST(DXDisplay, FinalizeRunsEveryStepWhenAHandlerRaises) {
  Fixture f;
  f.Draw.Initialize();
  bool finalized = false;
  f.Draw.OnFinalizeSurface = [] { throw std::runtime_error("handler"); };
  f.Draw.OnFinalize = [&] { finalized = true; };
  EXPECT_THROW(f.Draw.Finalize(), std::runtime_error);
  EXPECT_TRUE(finalized);
  EXPECT_FALSE(f.Draw.Initialized());
  EXPECT_EQ(f.Backend->Closes, 1);
}

TEST(DXDisplay, DestroyingIsTheLastNotice) {
  std::vector<std::string> log;
  {
    Fixture f;
    f.Draw.Initialize();
    f.Draw.RegisterNotifyEvent([&](TDXDrawNotifyType T) { log.push_back(Name(T)); });
    log.clear();
  }
  EXPECT_EQ(log, (std::vector<std::string>{"finalize-surface", "finalize", "destroying"}));
}

TEST(DXDisplay, TexturesFollowTheNotices) {
  Fixture f;
  TDirect3DTexture2 early(f.Draw, Picture(300, 200));
  EXPECT_EQ(early.Surface(), nullptr);
  f.Draw.Initialize();
  ASSERT_NE(early.Surface(), nullptr);
  EXPECT_EQ(early.Surface()->Width(), 300);
  {
    TDirect3DTexture2 late(f.Draw, Picture(64, 32));
    ASSERT_NE(late.Surface(), nullptr);
    EXPECT_EQ(late.Surface()->Height(), 32);
  }
  f.Draw.Finalize();
  EXPECT_EQ(early.Surface(), nullptr);
  f.Draw.Initialize();
  EXPECT_NE(early.Surface(), nullptr);
}

TEST(DXDisplay, TextureOutlivingTheDisplayIsSafe) {
  auto window = std::make_unique<TNullFormWindow>();
  TDXForm form(std::move(window));
  auto draw = std::make_unique<TDXDraw>(form, std::make_unique<TNullDisplayBackend>());
  draw->Initialize();
  TDirect3DTexture2 texture(*draw, Picture(8, 8));
  draw.reset();
  EXPECT_EQ(texture.Surface(), nullptr);
}

TEST(DXDisplay, FailedDeviceTextureRaises) {
  struct TNoTextures : TNullDevice3D {
    std::unique_ptr<TDeviceTexture> CreateTexture(const TDIB&) override { return nullptr; }
  };
  TDXForm form(std::make_unique<TNullFormWindow>());
  TDXDraw draw(
      form, std::make_unique<TNullDisplayBackend>([] { return std::make_unique<TNoTextures>(); }));
  draw.Initialize();
  try {
    TDirect3DTexture2 t(draw, Picture(4, 4));
    FAIL() << "no error";
  } catch (const EDirect3DTextureError& e) {
    EXPECT_STREQ(e.what(), "Texture cannot be initialized");
  }
}

TEST(DXDisplay, WindowPlacementIsRestoredOnce) {
  auto owned = std::make_unique<TNullFormWindow>();
  TNullFormWindow* w = owned.get();
  TDXForm form(std::move(owned));
  form.SaveWindowPlacement();
  w->Now = {1024, 768, TFormWindow::TBorderStyle::None};
  form.RestoreWindowPlacement();
  EXPECT_EQ(w->Now.ClientWidth, 640);
  w->Now.ClientWidth = 900;
  form.RestoreWindowPlacement();  // forgotten after use
  EXPECT_EQ(w->Now.ClientWidth, 900);
  w->PlacementReadable = false;
  w->Saved.reset();
  form.SaveWindowPlacement();
  w->Now.ClientWidth = 700;
  w->Saved = TNullFormWindow::TPlacement{};
  form.RestoreWindowPlacement();  // the failed read left nothing to restore
  EXPECT_EQ(w->Now.ClientWidth, 700);
}

TEST(DXDisplay, CanvasStandsInWhileFinalised) {
  Fixture f;
  TCanvas& idle = f.Draw.Surface().Canvas();
  idle.TextOut(0, 0, "x");  // draws nowhere, does not fail
  f.Draw.Initialize();
  EXPECT_NE(&f.Draw.Surface().Canvas(), &idle);
}

TEST(TextureSize, Rule) {
  struct Case {
    TTextureCaps Caps;
    int32_t W, H, OutW, OutH;
  };
  const Case cases[] = {
      {{}, 300, 200, 300, 200},
      {{true, false}, 300, 200, 256, 128},
      {{true, false}, 256, 256, 256, 256},
      {{true, false}, 1, 3, 1, 2},
      {{false, true}, 300, 200, 300, 300},
      {{true, true}, 300, 200, 256, 256},
      {{false, false, 8, 8, 128, 64}, 300, 2, 128, 8},
      {{}, 0, -5, 1, 1},
  };
  for (const Case& c : cases) {
    int32_t w = 0, h = 0;
    TextureSize(c.Caps, c.W, c.H, w, h);
    EXPECT_EQ(w, c.OutW) << c.W << "x" << c.H;
    EXPECT_EQ(h, c.OutH) << c.W << "x" << c.H;
  }
}

TEST(FindDisplayMode, Cases) {
  auto req = [](int32_t W, int32_t H, int32_t B, bool FixedBits, bool Ratio, bool Size) {
    TDXDrawDisplay d;
    d.Width = W;
    d.Height = H;
    d.BitCount = B;
    d.FixedBitCount = FixedBits;
    d.FixedRatio = Ratio;
    d.FixedSize = Size;
    return d;
  };
  struct Case {
    const char* What;
    TDXDrawDisplay Request;
    std::vector<TDisplayMode> Modes;
    bool Ok;
    TDisplayMode Found;
  };
  const std::vector<Case> cases = {
      {"24 bits answered with 32",
       req(640, 480, 24, false, true, true),
       {{640, 480, 16}, {640, 480, 32}, {800, 600, 32}},
       true,
       {640, 480, 32}},
      {"exact",
       req(640, 480, 16, false, true, true),
       {{640, 480, 32}, {640, 480, 16}},
       true,
       {640, 480, 16}},
      {"fixed bit count", req(640, 480, 24, true, true, true), {{640, 480, 32}}, false, {}},
      {"fixed size, none", req(640, 480, 32, false, true, true), {{800, 600, 32}}, false, {}},
      {"ratio before size",
       req(640, 480, 32, false, true, false),
       {{1280, 720, 32}, {800, 600, 32}, {1024, 768, 32}},
       true,
       {800, 600, 32}},
      {"no ratio found: any larger",
       req(640, 480, 32, false, true, false),
       {{1280, 720, 32}, {1920, 1080, 32}},
       true,
       {1280, 720, 32}},
      {"requested count kept when the size has it",
       req(640, 480, 16, false, true, false),
       {{800, 600, 32}, {800, 600, 16}, {1024, 768, 16}},
       true,
       {800, 600, 16}},
      {"8 bits needs at least 8", req(640, 480, 16, false, true, true), {{640, 480, 8}}, false, {}},
      {"bad bit count", req(640, 480, 15, false, true, true), {{640, 480, 15}}, false, {}},
      {"zero size", req(0, 480, 32, false, true, true), {{0, 480, 32}}, false, {}},
      {"empty list", req(640, 480, 32, false, true, true), {}, false, {}},
  };
  for (const Case& c : cases) {
    TDisplayMode found{-1, -1, -1};
    EXPECT_EQ(FindDisplayMode(c.Request, c.Modes, found), c.Ok) << c.What;
    if (c.Ok) {
      EXPECT_EQ(found, c.Found) << c.What;
    }
  }
}
