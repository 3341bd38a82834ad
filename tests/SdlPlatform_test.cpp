// The SDL platform on the offscreen driver: key translation, controllers' states, the window
// events reaching the display, the main loop's closing, and screenshots.
#include "media/sdl/SdlPlatform.h"

#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "GLContext.h"
#include "media/DXClass.h"
#include "media/sdl/SdlDisplay.h"

TEST(SdlKeys, VirtualKeysByPosition) {
  struct Case {
    SDL_Scancode Code;
    bool NumLock;
    uint8_t Table, Event;
  };
  const Case cases[] = {
      {SDL_SCANCODE_A, true, 'A', 'A'},          {SDL_SCANCODE_Z, true, 'Z', 'Z'},
      {SDL_SCANCODE_0, true, '0', '0'},          {SDL_SCANCODE_9, true, '9', '9'},
      {SDL_SCANCODE_F1, true, 0x70, 0x70},       {SDL_SCANCODE_F12, true, 0x7B, 0x7B},
      {SDL_SCANCODE_RETURN, true, 0x0D, 0x0D},   {SDL_SCANCODE_ESCAPE, true, 0x1B, 0x1B},
      {SDL_SCANCODE_SPACE, true, 0x20, 0x20},    {SDL_SCANCODE_LEFT, true, 0x25, 0x25},
      {SDL_SCANCODE_UP, true, 0x26, 0x26},       {SDL_SCANCODE_RIGHT, true, 0x27, 0x27},
      {SDL_SCANCODE_DOWN, true, 0x28, 0x28},     {SDL_SCANCODE_LSHIFT, true, 0xA0, 0x10},
      {SDL_SCANCODE_RSHIFT, true, 0xA1, 0x10},   {SDL_SCANCODE_RCTRL, true, 0xA3, 0x11},
      {SDL_SCANCODE_LALT, true, 0xA4, 0x12},     {SDL_SCANCODE_KP_0, true, 0x60, 0x60},
      {SDL_SCANCODE_KP_8, true, 0x68, 0x68},     {SDL_SCANCODE_KP_8, false, 0x26, 0x26},
      {SDL_SCANCODE_KP_ENTER, true, 0x0D, 0x0D}, {SDL_SCANCODE_UNKNOWN, true, 0, 0},
      {SDL_SCANCODE_AUDIOPLAY, true, 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(VirtualKeyOfScancode(c.Code, c.NumLock), c.Table) << SDL_GetScancodeName(c.Code);
    EXPECT_EQ(EventVirtualKey(c.Code, c.NumLock), c.Event) << SDL_GetScancodeName(c.Code);
  }
}

TEST(SdlKeys, StateTableMarksSidedAndPlainModifiers) {
  std::vector<uint8_t> state(SDL_NUM_SCANCODES, 0);
  state[SDL_SCANCODE_RSHIFT] = 1;
  state[SDL_SCANCODE_X] = 1;
  state[SDL_SCANCODE_KP_4] = 1;
  std::array<uint8_t, 256> keys{};
  keys[0x41] = 0x80;  // stale entries are cleared
  TSdlKeySource::Translate(state.data(), static_cast<int>(state.size()), true, keys);
  std::vector<int> down;
  for (int i = 0; i < 256; ++i) {
    if (keys[i] & 0x80) down.push_back(i);
  }
  EXPECT_EQ(down, (std::vector<int>{0x10, 'X', 0x64, 0xA1}));
}

TEST(SdlKeys, EitherAltIsAltOnEveryLayout) {
  struct Case {
    uint16_t Mods;
    TModifiers Want;
  } cases[] = {
      {KMOD_LALT, {false, true, false}},
      {KMOD_RALT, {false, true, false}},
      {KMOD_MODE, {false, true, false}},              // right Alt as AltGr, the mode key
      {KMOD_LCTRL | KMOD_RALT, {false, true, true}},  // AltGr as Ctrl+Alt
      {KMOD_LSHIFT | KMOD_MODE, {true, true, false}},
      {KMOD_MODE | KMOD_NUM | KMOD_CAPS, {false, true, false}},
      {KMOD_RCTRL | KMOD_NUM | KMOD_CAPS, {false, false, true}},
      {KMOD_LSHIFT | KMOD_RSHIFT, {true, false, false}},
      {KMOD_NONE, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(ModifiersOf(c.Mods), c.Want) << std::hex << c.Mods;
  // The key itself, wherever SDL places it, is right Alt in the table and Alt in events.
  for (SDL_Scancode code : {SDL_SCANCODE_RALT, SDL_SCANCODE_MODE}) {
    EXPECT_EQ(VirtualKeyOfScancode(code, true), 0xA5) << SDL_GetScancodeName(code);
    EXPECT_EQ(EventVirtualKey(code, true), 0x12) << SDL_GetScancodeName(code);
  }
  std::vector<uint8_t> state(SDL_NUM_SCANCODES, 0);
  state[SDL_SCANCODE_MODE] = 1;
  std::array<uint8_t, 256> keys{};
  TSdlKeySource::Translate(state.data(), static_cast<int>(state.size()), true, keys);
  EXPECT_TRUE(keys[0x12] & 0x80);
  EXPECT_TRUE(keys[0xA5] & 0x80);
}

TEST(SdlControllers, DirectionsFromPadAndStickButtonsInOrder) {
  TControllerReading r;
  EXPECT_TRUE(ControllerStates(r).Empty());
  r.StickX = 16000;  // not yet half way
  r.StickY = -20000;
  EXPECT_EQ(ControllerStates(r), (TDXInputStates{isUp}));
  r.StickX = 32767;
  r.Down = true;  // pad and stick together
  EXPECT_EQ(ControllerStates(r), (TDXInputStates{isUp, isDown, isRight}));
  TControllerReading b;
  b.Buttons[0] = b.Buttons[1] = b.Buttons[9] = true;
  b.Left = true;
  EXPECT_EQ(ControllerStates(b), (TDXInputStates{isLeft, isButton1, isButton2, isButton1 + 9}));
}

namespace {
struct TRecordingClient : TPlatformClient {
  std::vector<std::string> Log;
  int Idles = 0;
  void KeyDown(uint16_t Key, const TModifiers& M) override {
    Log.push_back("down " + std::to_string(Key) + (M.Shift ? " shift" : "") +
                  (M.Alt ? " alt" : ""));
  }
  void KeyUp(uint16_t Key, const TModifiers&) override {
    Log.push_back("up " + std::to_string(Key));
  }
  void Activated(bool Active) override { Log.push_back(Active ? "active" : "inactive"); }
  bool WantsIdle() const override { return true; }
  bool Idle() override {
    ++Idles;
    return true;
  }
};

void PushKey(uint32_t Type, SDL_Scancode Code, uint16_t Mods, bool Repeat = false) {
  SDL_Event e{};
  e.type = Type;
  e.key.state = Type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
  e.key.repeat = Repeat ? 1 : 0;
  e.key.keysym.scancode = Code;
  e.key.keysym.mod = Mods;
  SDL_PushEvent(&e);
}
}  // namespace

TEST(SdlPlatform, HeadlessGameWindowDisplayKeysAndScreenshot) {
  TSdlPlatform platform({true, ZELGORA_BUILD_DIR});
  TDXForm form(platform.MakeFormWindow());
  TDXDraw display(form, platform.MakeDisplay());
  display.Options.Include(doZBuffer);
  int initialised = 0;
  display.OnInitialize = [&] { ++initialised; };
  platform.Attach(display);
  platform.Show();
  ASSERT_TRUE(display.CanDraw());
  EXPECT_EQ(initialised, 1);
  EXPECT_EQ(display.SurfaceWidth(), 640);
  EXPECT_EQ(display.SurfaceHeight(), 480);
  EXPECT_TRUE(display.HasZBuffer());
  EXPECT_TRUE(form.Window().Active());

  TRecordingClient client;
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_LSHIFT, KMOD_LSHIFT);
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_RIGHT, KMOD_LSHIFT);
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_RIGHT, KMOD_LSHIFT, true);
  PushKey(SDL_KEYUP, SDL_SCANCODE_RIGHT, KMOD_LSHIFT);
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_RETURN, KMOD_LALT);
  EXPECT_TRUE(platform.PumpEvents(client));
  EXPECT_EQ(client.Log, (std::vector<std::string>{"down 16 shift", "down 39 shift", "down 39 shift",
                                                  "up 39", "down 13 alt"}));

  // A picture of two halves, saved and read back.
  TDirect3DDevice7* device = display.D3DDevice7();
  ASSERT_NE(device, nullptr);
  device->Clear({0, 0, 640, 480}, D3DCLEAR_TARGET, 0xFF0000FF, 1.0f, 0);
  device->Clear({0, 0, 640, 100}, D3DCLEAR_TARGET, 0xFFFF0000, 1.0f, 0);
  display.Flip();
  const std::string file = std::string(ZELGORA_BUILD_DIR) + "/SdlPlatform_test.png";
  std::string error;
  ASSERT_TRUE(platform.SaveScreenshot(file, error)) << error;
  SDL_Surface* raw = IMG_Load(file.c_str());
  ASSERT_NE(raw, nullptr) << IMG_GetError();
  SDL_Surface* png = SDL_ConvertSurfaceFormat(raw, SDL_PIXELFORMAT_RGBA32, 0);
  SDL_FreeSurface(raw);
  ASSERT_NE(png, nullptr);
  EXPECT_EQ(png->w, 640);
  EXPECT_EQ(png->h, 480);
  auto pixel = [&](int x, int y) {
    const auto* p = static_cast<const uint8_t*>(png->pixels) + y * png->pitch + x * 4;
    return std::array<int, 3>{p[0], p[1], p[2]};
  };
  EXPECT_EQ(pixel(5, 5), (std::array<int, 3>{255, 0, 0}));    // top rows red
  EXPECT_EQ(pixel(5, 400), (std::array<int, 3>{0, 0, 255}));  // the rest blue
  SDL_FreeSurface(png);
  std::remove(file.c_str());

  EXPECT_FALSE(platform.SaveScreenshot("/nonexistent-folder/x.png", error));
  EXPECT_FALSE(error.empty());

  // Closing the window ends the loop, as ESC's close does.
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  platform.Run(client);
  EXPECT_TRUE(form.Window().Closed());
}

// Another window taking the focus, the window going to the taskbar or being hidden (a page
// whose tab is behind another) makes the application inactive once; taking the focus back
// makes it active.
TEST(SdlPlatform, FocusMinimisingAndHidingMakeTheApplicationInactive) {
  TSdlPlatform platform({false, ZELGORA_BUILD_DIR});  // not headless: the focus counts
  const auto push = [&](SDL_WindowEventID Id) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = SDL_GetWindowID(platform.Window());
    e.window.event = Id;
    EXPECT_EQ(SDL_PushEvent(&e), 1);
  };
  TRecordingClient client;
  push(SDL_WINDOWEVENT_FOCUS_LOST);
  push(SDL_WINDOWEVENT_MINIMIZED);
  push(SDL_WINDOWEVENT_FOCUS_GAINED);
  push(SDL_WINDOWEVENT_MINIMIZED);
  push(SDL_WINDOWEVENT_FOCUS_LOST);
  push(SDL_WINDOWEVENT_FOCUS_GAINED);
  push(SDL_WINDOWEVENT_HIDDEN);
  push(SDL_WINDOWEVENT_HIDDEN);
  // A poll may end at the marker an earlier loop left unread: the next pump reads on.
  for (int i = 0; i < 10 && SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT,
                                           SDL_LASTEVENT) > 0; ++i)
    EXPECT_TRUE(platform.PumpEvents(client));
  EXPECT_EQ(client.Log, (std::vector<std::string>{"inactive", "active", "inactive", "active",
                                                   "inactive"}));
}

TEST(SdlPlatform, RightAltAsTheModeKeyReachesTheFormAsAlt) {
  TSdlPlatform platform({true, ZELGORA_BUILD_DIR});
  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);  // what earlier tests' windows left
  TRecordingClient client;
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_MODE, KMOD_MODE);
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_RETURN, KMOD_MODE);
  PushKey(SDL_KEYUP, SDL_SCANCODE_MODE, KMOD_NONE);
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_RETURN, KMOD_LCTRL | KMOD_RALT);
  EXPECT_TRUE(platform.PumpEvents(client));
  EXPECT_EQ(client.Log,
            (std::vector<std::string>{"down 18 alt", "down 13 alt", "up 18", "down 13 alt"}));
}

TEST(SdlPlatform, AnUncoveredWindowIsPresentedAsEveryFrameIs) {
  TSdlPlatform platform({true, ZELGORA_BUILD_DIR});
  TDXForm form(platform.MakeFormWindow());
  auto owned = platform.MakeDisplay();
  auto* backend = static_cast<TSdlGLDisplay*>(owned.get());
  TDXDraw display(form, std::move(owned));
  platform.Attach(display);
  platform.Show();
  ASSERT_TRUE(display.CanDraw());
  display.Options.Exclude(doWaitVBlank);
  display.Flip();
  EXPECT_EQ(backend->SwapInterval(), 0);
  display.Options.Include(doWaitVBlank);
  SDL_Event e{};
  e.type = SDL_WINDOWEVENT;
  e.window.windowID = SDL_GetWindowID(platform.Window());
  e.window.event = SDL_WINDOWEVENT_EXPOSED;
  SDL_PushEvent(&e);
  TRecordingClient client;
  platform.PumpEvents(client);
  EXPECT_EQ(backend->SwapInterval(), 1);  // waits for vertical blank, as the options ask
}

TEST(SdlPlatform, ResizedWindowShowsTheSurfaceScaledToItsNewSize) {
  std::vector<std::string> log;  // outlives the display, which logs as it goes
  TSdlPlatform platform({true, ZELGORA_BUILD_DIR});
  TDXForm form(platform.MakeFormWindow());
  auto owned = platform.MakeDisplay();
  auto* backend = static_cast<TSdlGLDisplay*>(owned.get());
  TDXDraw display(form, std::move(owned));
  display.OnFinalize = [&] { log.push_back("finalize"); };
  display.OnInitialize = [&] { log.push_back("initialize"); };
  platform.Attach(display);
  platform.Show();
  TRecordingClient client;
  platform.PumpEvents(client);
  log.clear();
  SDL_Window* window = platform.Window();
  ASSERT_NE(window, nullptr);
  SDL_SetWindowSize(window, 800, 600);
  SDL_Event e{};
  e.type = SDL_WINDOWEVENT;
  e.window.windowID = SDL_GetWindowID(window);
  e.window.event = SDL_WINDOWEVENT_SIZE_CHANGED;
  SDL_PushEvent(&e);
  platform.PumpEvents(client);
  EXPECT_EQ(log, (std::vector<std::string>{"finalize", "initialize"}));
  EXPECT_EQ(display.SurfaceWidth(), 640);
  EXPECT_EQ(display.SurfaceHeight(), 480);
  EXPECT_EQ(backend->Picture(), (TPictureRect{0, 0, 800, 600}));
  log.clear();
  SDL_PushEvent(&e);  // nothing changed since
  platform.PumpEvents(client);
  EXPECT_TRUE(log.empty());

  // Wider than 4:3: the picture keeps its aspect, centred, black at the sides.
  SDL_SetWindowSize(window, 1000, 600);
  SDL_PushEvent(&e);
  platform.PumpEvents(client);
  EXPECT_EQ(backend->Picture(), (TPictureRect{100, 0, 800, 600}));
  TDirect3DDevice7* device = display.D3DDevice7();
  ASSERT_NE(device, nullptr);
  device->Clear({0, 0, 640, 480}, D3DCLEAR_TARGET, 0xFFFFFFFF, 1.0f, 0);
  device->Clear({320, 0, 640, 480}, D3DCLEAR_TARGET, 0xFF00FF00, 1.0f, 0);
  const TSurfacePixels shown = backend->ReadWindow();
  ASSERT_EQ(shown.Width, 1000);
  ASSERT_EQ(shown.Height, 600);
  auto green = [&](int X, int Y) {
    return shown.RGBA[static_cast<size_t>((Y * shown.Width + X) * 4 + 1)];
  };
  auto red = [&](int X, int Y) {
    return shown.RGBA[static_cast<size_t>((Y * shown.Width + X) * 4)];
  };
  EXPECT_EQ(green(99, 300), 0);   // black left of the picture
  EXPECT_EQ(red(100, 300), 255);  // the white half begins at the picture's edge
  EXPECT_EQ(red(499, 300), 255);  // and ends at the scaled middle
  EXPECT_EQ(red(500, 300), 0);    // where the green half begins
  EXPECT_EQ(green(899, 599), 255);
  EXPECT_EQ(green(900, 300), 0);  // black right of it
}

TEST(SdlPlatform, HeadlessFullScreenFillsTheScreenGiven) {
  TPlatformOptions options{true, ZELGORA_BUILD_DIR};
  options.ScreenWidth = 1920;
  options.ScreenHeight = 1080;
  TSdlPlatform platform(options);
  TDXForm form(platform.MakeFormWindow());
  auto owned = platform.MakeDisplay();
  auto* backend = static_cast<TSdlGLDisplay*>(owned.get());
  TDXDraw display(form, std::move(owned));
  platform.Attach(display);
  platform.Show();
  // The window first: its client area is the screen size given, the picture fills it.
  EXPECT_EQ(form.Window().ClientWidth(), 1920);
  EXPECT_EQ(backend->Picture(), (TPictureRect{240, 0, 1440, 1080}));

  display.Finalize();
  form.SaveWindowPlacement();
  form.Window().SetBorderStyle(TFormWindow::TBorderStyle::None);
  display.Options.Include(doFullScreen);
  display.Initialize();
  TRecordingClient client;
  platform.PumpEvents(client);
  ASSERT_TRUE(display.CanDraw());
  EXPECT_TRUE(backend->DesktopFullScreen());  // no switch of the monitor's mode
  EXPECT_EQ(display.SurfaceWidth(), 640);
  EXPECT_EQ(form.Width(), 640);
  EXPECT_EQ(form.Height(), 480);
  EXPECT_EQ(backend->Picture(), (TPictureRect{240, 0, 1440, 1080}));
  const TSurfacePixels picture = backend->ReadSurface();
  EXPECT_EQ(picture.Width, 1440);
  EXPECT_EQ(picture.Height, 1080);
  const TSurfacePixels shown = backend->ReadWindow();
  EXPECT_EQ(shown.Width, 1920);
  EXPECT_EQ(shown.Height, 1080);
}

TEST(SdlPlatform, FullScreenAndBackKeepTheSurfaceAndPlaceTheWindowAgain) {
  TSdlPlatform platform({true, ZELGORA_BUILD_DIR});
  TDXForm form(platform.MakeFormWindow());
  TDXDraw display(form, platform.MakeDisplay());
  display.Display = {640, 480, 24, false, true, true};
  platform.Attach(display);
  platform.Show();
  TRecordingClient client;
  platform.PumpEvents(client);
  ASSERT_TRUE(display.CanDraw());

  // Into full screen, as the game's switch does it.
  display.Finalize();
  form.SaveWindowPlacement();
  form.Window().ShowCursor(false);
  form.Window().SetBorderStyle(TFormWindow::TBorderStyle::None);
  display.Options.Include(doFullScreen);
  display.Initialize();
  platform.PumpEvents(client);
  ASSERT_TRUE(display.CanDraw());
  EXPECT_TRUE(display.NowOptions().Contains(doFullScreen));
  EXPECT_EQ(display.SurfaceWidth(), 640);
  EXPECT_EQ(display.SurfaceHeight(), 480);
  EXPECT_NE(SDL_GetWindowFlags(platform.Window()) & SDL_WINDOW_FULLSCREEN, 0u);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
  display.Flip();

  // And back.
  display.Finalize();
  form.RestoreWindowPlacement();
  form.Window().ShowCursor(true);
  form.Window().SetBorderStyle(TFormWindow::TBorderStyle::Single);
  display.Options.Exclude(doFullScreen);
  display.Options.Include(doFlip);
  display.Initialize();
  platform.PumpEvents(client);
  ASSERT_TRUE(display.CanDraw());
  EXPECT_EQ(SDL_GetWindowFlags(platform.Window()) & SDL_WINDOW_FULLSCREEN, 0u);
  EXPECT_EQ(form.Window().ClientWidth(), 640);
  EXPECT_EQ(form.Window().ClientHeight(), 480);
  EXPECT_EQ(display.SurfaceWidth(), 640);
  EXPECT_FALSE(display.NowOptions().Contains(doFlip));  // page flipping is for full screen only
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
}
