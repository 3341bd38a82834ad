// Replays: a session played through the SDL platform's own event path (keys pushed into SDL's
// queue, headless) and a controller is recorded, and the recording plays the same game again.
#include "harness/Recorder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <fstream>
#include <sstream>

#include "FormRig.h"
#include "GLContext.h"
#include "TestFiles.h"
#include "harness/Run.h"
#include "harness/StateDump.h"
#include "media/sdl/SdlDisplay.h"
#include "media/sdl/SdlPlatform.h"

namespace {

std::filesystem::path OutDir() { return TestOutDir("recorder-test"); }

// A controller whose states the test sets.
struct TPad : TJoystickSource {
  TDXInputStates Now;
  TDXInputStates ReadStates() override { return Now; }
};

// The form as the platform drives it while recording (as the program does).
class TRecordingClient : public TPlatformClient {
 public:
  explicit TRecordingClient(TGameRun& Run) : FRun(Run) {}
  void KeyDown(uint16_t Key, const TModifiers&) override {
    FRun.KeyEvent(static_cast<uint8_t>(Key), true);
  }
  void KeyUp(uint16_t Key, const TModifiers&) override {
    FRun.KeyEvent(static_cast<uint8_t>(Key), false);
  }
  void Pointer(const TPointerEvent& E) override { FRun.PointerEvent(E); }
  void Wheel(int32_t Steps) override { FRun.WheelEvent(Steps); }
  void Activated(bool) override {}
  bool WantsIdle() const override { return true; }
  bool Idle() override { return false; }

 private:
  TGameRun& FRun;
};

void Push(bool Down, SDL_Scancode Code, uint16_t Mods, bool Repeat = false) {
  SDL_Event e{};
  e.type = Down ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.state = Down ? SDL_PRESSED : SDL_RELEASED;
  e.key.repeat = Repeat ? 1 : 0;
  e.key.keysym.scancode = Code;
  e.key.keysym.mod = Mods;
  ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
}

TFormServices Services(const THarnessOptions& Options, TClock& Clock, TKeySource& Keys) {
  TFormServices s;
  s.Display = std::make_unique<TNullDisplayBackend>();
  s.Keys = &Keys;
  s.Clock = &Clock;
  s.DataDir = FixtureFolder().string();
  s.Seed = Options.Seed;
  s.Waves = FixtureWaves();
  return s;
}

TEST(Recorder, ASessionThroughTheSdlEventPathReplaysToTheSameState) {
  constexpr int64_t Frames = 1600;
  const auto dir = OutDir();
  THarnessOptions live;
  live.Frames = Frames;
  live.RecordFile = (dir / "session.keys").string();
  live.DumpStateFile = (dir / "live.json").string();
  TSystemClock system;
  std::vector<TKeyEvent> none = PrepareRun(live, system);  // seed and clock from the clock
  ASSERT_TRUE(live.Seed);
  ASSERT_TRUE(live.Clock);

  {
    TSdlPlatform platform({true, FixtureFolder().string()});
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);  // what earlier tests' windows left
    THarnessClock clock(live.Clock);
    THeldKeys keys;
    TFormServices s = Services(live, clock, keys);
    s.Window = platform.MakeFormWindow();
    TMainForm form(std::move(s));
    TGameRun run(form, keys, live, std::move(none));
    TPad pad;
    form.DXInput1.Joystick().Source = &run.Joystick(pad);
    platform.Attach(form.DXDraw);
    platform.Show();
    TRecordingClient client(run);
    int64_t frame = 0;
    run.Run([&] {
      ++frame;
      switch (frame) {
        case 700:  // on the setup screen: "GO PLAY !"
          Push(true, SDL_SCANCODE_RETURN, KMOD_NONE);
          Push(false, SDL_SCANCODE_RETURN, KMOD_NONE);
          break;
        case 900:  // a turn, the arrow repeating while held
          Push(true, SDL_SCANCODE_LSHIFT, KMOD_LSHIFT);
          Push(true, SDL_SCANCODE_RIGHT, KMOD_LSHIFT);
          break;
        case 902:
          Push(true, SDL_SCANCODE_RIGHT, KMOD_LSHIFT, true);
          break;
        case 903:
          Push(false, SDL_SCANCODE_RIGHT, KMOD_LSHIFT);
          Push(false, SDL_SCANCODE_LSHIFT, KMOD_NONE);
          break;
        case 1000:  // the controller moves the cursor down and left
          pad.Now = {isDown, isButton1};
          break;
        case 1004:
          pad.Now = {};
          break;
        case 1100:
          pad.Now = {isLeft};
          break;
        case 1101:
          pad.Now = {};
          break;
        case 1200:  // help, with right Alt reported as the AltGr mode key held meanwhile
          Push(true, SDL_SCANCODE_MODE, KMOD_MODE);
          Push(true, SDL_SCANCODE_F1, KMOD_MODE);
          Push(false, SDL_SCANCODE_F1, KMOD_MODE);
          Push(false, SDL_SCANCODE_MODE, KMOD_NONE);
          break;
        case 1300:  // Ctrl and Up: zoom in while held
          Push(true, SDL_SCANCODE_RCTRL, KMOD_RCTRL);
          Push(true, SDL_SCANCODE_UP, KMOD_RCTRL);
          break;
        case 1310:
          Push(false, SDL_SCANCODE_UP, KMOD_RCTRL);
          Push(false, SDL_SCANCODE_RCTRL, KMOD_NONE);
          break;
        default:
          break;
      }
      platform.PumpEvents(client);
    });
    EXPECT_EQ(form.GameState, 2);
    EXPECT_GT(form.Credits, 1);
    EXPECT_EQ(form.CursorRow, 0);  // the controller's moves
    EXPECT_EQ(form.CursorCol, 0);
    EXPECT_LT(form.Camera.Z, 2.0f);
  }

  const std::string recording = Slurp(dir / "session.keys");
  EXPECT_EQ(recording.rfind("# seed " + std::to_string(*live.Seed) + "\n# clock " +
                                FormatClock(*live.Clock) + "\n",
                            0),
            0u)
      << recording;
  for (const char* line : {"700 down RETURN", "902 down RIGHT", "1000 down NUMPAD2",
                           "1004 up NUMPAD2", "1200 down MENU"})
    EXPECT_NE(recording.find(std::string("\n") + line + "\n"), std::string::npos) << line;

  // The replay, as --keys gives it: the recording's seed and clock, no key pressed, no
  // controller. The window is the platform's again: the help panel's size follows it.
  THarnessOptions replay;
  replay.Frames = Frames;
  replay.KeysFile = live.RecordFile;
  replay.DumpStateFile = (dir / "replay.json").string();
  std::vector<TKeyEvent> events = PrepareRun(replay, system);
  EXPECT_EQ(replay.Seed, live.Seed);
  EXPECT_EQ(replay.Clock, live.Clock);
  {
    TSdlPlatform platform({true, FixtureFolder().string()});
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    THarnessClock clock(replay.Clock);
    THeldKeys keys;
    TFormServices s = Services(replay, clock, keys);
    s.Window = platform.MakeFormWindow();
    TMainForm form(std::move(s));
    TGameRun run(form, keys, replay, std::move(events));
    platform.Attach(form.DXDraw);
    platform.Show();
    TRecordingClient client(run);
    EXPECT_EQ(run.Run([&] { platform.PumpEvents(client); }), Frames);
  }
  EXPECT_EQ(Slurp(dir / "replay.json"), Slurp(dir / "live.json"));
}

TEST(Recorder, TheCommandLineWinsOverTheRecordingsSettings) {
  const auto file = OutDir() / "settings.keys";
  {
    std::ofstream out(file);
    out << "# seed 77\n# clock 2007-05-06T07:08:09\n5 down F1\n";
  }
  TManualClock system(TLocalDateTime{2026, 1, 2, 3, 4, 5});
  system.Ms = 4242;
  THarnessOptions options;
  options.KeysFile = file.string();
  EXPECT_EQ(PrepareRun(options, system), (std::vector<TKeyEvent>{{5, true, 0x70}}));
  EXPECT_EQ(options.Seed, 77u);
  EXPECT_EQ(options.Clock, (TLocalDateTime{2007, 5, 6, 7, 8, 9}));

  options = {};
  options.KeysFile = file.string();
  options.Seed = 5;
  options.Clock = TLocalDateTime{2010, 1, 1, 0, 0, 0};
  PrepareRun(options, system);
  EXPECT_EQ(options.Seed, 5u);
  EXPECT_EQ(options.Clock, (TLocalDateTime{2010, 1, 1, 0, 0, 0}));

  // Recording without either: the computer's clock gives both, as the game would take them.
  options = {};
  options.RecordFile = (OutDir() / "new.keys").string();
  EXPECT_TRUE(PrepareRun(options, system).empty());
  EXPECT_EQ(options.Seed, 4242u);
  EXPECT_EQ(options.Clock, (TLocalDateTime{2026, 1, 2, 3, 4, 5}));
  // Neither recording nor a script: the game keeps its own.
  options = {};
  PrepareRun(options, system);
  EXPECT_FALSE(options.Seed);
  EXPECT_FALSE(options.Clock);
}

TEST(Recorder, ControllerDirectionsBecomeKeysOfTheirStates) {
  EXPECT_EQ(DirectionKeys(DefaultKeyAssigns()), (std::array<uint8_t, 4>{0x68, 0x62, 0x64, 0x66}));
  TKeyAssignList table{};
  table[isUp] = {0x26, 0, 0};
  table[isLeft] = {0x48, 300, -1};  // codes that cannot match are passed over
  EXPECT_EQ(DirectionKeys(table), (std::array<uint8_t, 4>{0x26, 0, 0x48, 0}));
}

TEST(Recorder, AFileThatCannotBeWrittenIsReported) {
  EXPECT_THROW(TKeyRecorder("/nonexistent-folder/x.keys", 1, {}), EHarnessError);
}

// The mouse and fingers through SDL's queue, on a 1920 x 1080 full screen where the picture
// stands at (240, 0) at 2.25 times its size.
struct TPointerPush {
  static constexpr float Scale = 2.25f, Left = 240;
  static void Mouse(uint32_t Type, float PX, float PY, uint32_t Which = 0) {
    SDL_Event e{};
    e.type = Type;
    const int x = static_cast<int>(Left + PX * Scale), y = static_cast<int>(PY * Scale);
    if (Type == SDL_MOUSEMOTION) {
      e.motion.which = Which;
      e.motion.state = SDL_BUTTON_LMASK;
      e.motion.x = x;
      e.motion.y = y;
      e.motion.xrel = 1;
    } else {
      e.button.which = Which;
      e.button.button = SDL_BUTTON_LEFT;
      e.button.state = Type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
      e.button.x = x;
      e.button.y = y;
    }
    ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
  }
  static void Finger(uint32_t Type, SDL_FingerID Id, float PX, float PY) {
    SDL_Event e{};
    e.type = Type;
    e.tfinger.touchId = 7;
    e.tfinger.fingerId = Id;
    e.tfinger.x = (Left + PX * Scale) / 1920;
    e.tfinger.y = PY * Scale / 1080;
    ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
  }
  static void Wheel(int32_t Away) {
    SDL_Event e{};
    e.type = SDL_MOUSEWHEEL;
    e.wheel.y = Away;
    e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
  }
  static void Swipe(SDL_FingerID Id, TPicturePoint P, float DX, float DY) {
    Finger(SDL_FINGERDOWN, Id, P.X, P.Y);
    Finger(SDL_FINGERMOTION, Id, P.X + DX / 2, P.Y + DY / 2);
    Finger(SDL_FINGERUP, Id, P.X + DX, P.Y + DY);
  }
};

TPicturePoint Drawn(const TMainForm& F, const TVector3& P) {
  const double x = P.X - F.Camera.X, y = P.Y - F.Camera.Y, z = P.Z + F.Camera.Z;
  return {static_cast<float>(320 + 640 * x / z), static_cast<float>(240 - 480 * y / z)};
}

// Runs a game on the platform in full screen at 1920 x 1080 for Frames ticks (one in forty
// drawn), calling Act before each with the form.
void PlayFullScreen(const THarnessOptions& Options, std::vector<TKeyEvent> Events,
                    const std::function<void(TMainForm&)>& Act) {
  TPlatformOptions po{true, FixtureFolder().string()};
  po.ScreenWidth = 1920;
  po.ScreenHeight = 1080;
  TSdlPlatform platform(po);
  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  THarnessClock clock(Options.Clock);
  THeldKeys keys;
  TFormServices s = Services(Options, clock, keys);
  s.Window = platform.MakeFormWindow();
  s.Display = platform.MakeDisplay();
  TMainForm form(std::move(s));
  TGameRun run(form, keys, Options, std::move(Events));
  form.PrepareFullScreen();
  platform.Attach(form.DXDraw);
  platform.Show();
  TRecordingClient client(run);
  while (run.FramesLeft()) {
    if (Act) Act(form);
    platform.PumpEvents(client);
    if (!run.RunFrame(run.Frame() % 40 == 0)) break;
  }
  run.Finish();
}

TEST(Recorder, MouseAndFingersThroughSdlAtAScaledFullScreenAreTheirPointerLines) {
  const auto dir = OutDir();
  THarnessOptions live;
  live.Frames = 1500;
  live.Seed = 21;
  live.Clock = TLocalDateTime{2007, 5, 6, 7, 8, 9};
  live.RecordFile = (dir / "touch-session.keys").string();
  live.DumpStateFile = (dir / "touch-live.json").string();
  // What the pushed events must read as, in the picture's pixels, in this order.
  std::vector<TPointerEvent> expected;
  std::vector<int32_t> wheels;
  int step = 0;
  PlayFullScreen(live, {}, [&](TMainForm& F) {
    using P = TPointerPush;
    const bool setupIdle = F.GameState == 4 && !F.SetupBusy;
    const bool playIdle = F.GameState == 2 && !F.Assembling && !F.CameraMoving && !F.Rotating &&
                          !F.PointerBusy();
    auto cell = [&](int32_t R, int32_t C) { return Drawn(F, F.Board[size_t(R)][size_t(C)]->Position); };
    auto near = [](float V) { return std::floor(V * P::Scale) / P::Scale; };  // whole pixels
    if (step == 0 && setupIdle) {
      // "GO PLAY !" clicked; a mouse event made up from a touch is left out.
      const TPicturePoint bar = Drawn(F, F.SetupCubes[4]->Position);
      // Full screen hides the cursor until the mouse moves; a move with no button is no line.
#ifndef _WIN32  // Wine answers the query with its own cursor, whatever SDL was asked
      EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
#endif
      SDL_Event motion{};
      motion.type = SDL_MOUSEMOTION;
      motion.motion.x = 700;
      motion.motion.y = 300;
      motion.motion.xrel = 3;
      ASSERT_EQ(SDL_PushEvent(&motion), 1);
      P::Mouse(SDL_MOUSEBUTTONDOWN, 10, 10, SDL_TOUCH_MOUSEID);
      P::Mouse(SDL_MOUSEBUTTONDOWN, bar.X, bar.Y);
      P::Mouse(SDL_MOUSEBUTTONUP, bar.X, bar.Y);
      const float x = near(bar.X), y = near(bar.Y);
      expected.push_back({TPointerAction::Down, 0, x, y});
      expected.push_back({TPointerAction::Up, 0, x, y});
      ++step;
    } else if (step >= 1 && step <= 6 && playIdle) {
      EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
      const TPicturePoint c = cell(F.CursorRow, F.CursorCol);
      switch (step) {
        case 1: {  // a tap on the cube down and left
          const TPicturePoint t = cell(0, 0);
          P::Finger(SDL_FINGERDOWN, 900, t.X, t.Y);
          P::Finger(SDL_FINGERUP, 900, t.X, t.Y);
          expected.push_back({TPointerAction::Down, 1, t.X, t.Y});
          expected.push_back({TPointerAction::Up, 1, t.X, t.Y});
          break;
        }
        case 2:
        case 3:
        case 4:
        case 5: {  // a swipe each way, on the selected cube
          const float dx = step == 2 ? 50.f : step == 3 ? -50.f : 0.f;
          const float dy = step == 4 ? 50.f : step == 5 ? -50.f : 0.f;
          P::Swipe(901 + step, c, dx, dy);
          expected.push_back({TPointerAction::Down, 1, c.X, c.Y});
          expected.push_back({TPointerAction::Move, 1, c.X + dx / 2, c.Y + dy / 2});
          expected.push_back({TPointerAction::Up, 1, c.X + dx, c.Y + dy});
          break;
        }
        case 6:  // two fingers apart, and the wheel towards the player
          P::Finger(SDL_FINGERDOWN, 40, 300, 240);
          P::Finger(SDL_FINGERDOWN, 41, 340, 240);
          P::Finger(SDL_FINGERMOTION, 41, 400, 240);
          P::Finger(SDL_FINGERUP, 41, 400, 240);
          P::Finger(SDL_FINGERUP, 40, 300, 240);
          P::Wheel(-1);
          expected.push_back({TPointerAction::Down, 1, 300, 240});
          expected.push_back({TPointerAction::Down, 2, 340, 240});
          expected.push_back({TPointerAction::Move, 2, 400, 240});
          expected.push_back({TPointerAction::Up, 2, 400, 240});
          expected.push_back({TPointerAction::Up, 1, 300, 240});
          wheels.push_back(1);
          break;
      }
      ++step;
    }
  });
  ASSERT_EQ(step, 7) << "the session did not get through its gestures";

  const TKeyScript recorded = LoadKeyScript(live.RecordFile);
  std::vector<TPointerEvent> pointer;
  std::vector<int32_t> wheel;
  for (const TKeyEvent& e : recorded.Events) {
    EXPECT_NE(e.Kind, TEventKind::Key);
    if (e.Kind == TEventKind::Pointer) pointer.push_back(e.Pointer);
    if (e.Kind == TEventKind::Wheel) wheel.push_back(e.Steps);
  }
  EXPECT_EQ(wheel, wheels);
  ASSERT_EQ(pointer.size(), expected.size());
  for (size_t i = 0; i < pointer.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(pointer[i].Action, expected[i].Action);
    EXPECT_EQ(pointer[i].Id, expected[i].Id);
    EXPECT_NEAR(pointer[i].X, expected[i].X, 1e-3);
    EXPECT_NEAR(pointer[i].Y, expected[i].Y, 1e-3);
  }
  const auto state = nlohmann::json::parse(Slurp(dir / "touch-live.json"));
  EXPECT_EQ(state["GameState"], 2);
  EXPECT_EQ(state["Credits"], 2 + 4);  // the diagonal step and four turns
  EXPECT_NEAR(state["Camera"]["Z"].get<double>(), 1.8, 1e-4);  // two steps closer, one back

  // The recording's lines alone play the same game.
  THarnessOptions replay;
  replay.Frames = live.Frames;
  replay.KeysFile = live.RecordFile;
  replay.DumpStateFile = (dir / "touch-replay.json").string();
  TSystemClock system;
  std::vector<TKeyEvent> events = PrepareRun(replay, system);
  PlayFullScreen(replay, std::move(events), {});
  EXPECT_EQ(Slurp(dir / "touch-replay.json"), Slurp(dir / "touch-live.json"));
}

}  // namespace
