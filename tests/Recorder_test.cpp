// Replays: a session played through the SDL platform's own event path (keys pushed into SDL's
// queue, headless) and a controller is recorded, and the recording plays the same game again.
#include "harness/Recorder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "FormRig.h"
#include "GLContext.h"
#include "TestFiles.h"
#include "harness/Run.h"
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

}  // namespace
