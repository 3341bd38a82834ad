#include "media/DXSounds.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "FormRig.h"
#include "SoundTestKit.h"
#include "media/DXClass.h"
#include "media/DXWavePlay.h"
#include "media/RecordingSoundOutput.h"
#include "media/StoredWaves.h"
#include "media/Utf8Path.h"
#include "media/sdl/SdlSoundOutput.h"

namespace {

using TState = TRecordingSoundOutput::TState;

struct Fixture {
  std::vector<std::string> Log;  // outlives the device, which still reports as it goes
  TStubFormWindow Window;
  std::shared_ptr<TState> State = std::make_shared<TState>();
  TDXSound Sound{&Window, std::make_unique<TRecordingSoundOutput>(State)};

  Fixture() {
    Sound.OnInitializing = [this] { Log.push_back("OnInitializing"); };
    Sound.OnInitialize = [this] { Log.push_back("OnInitialize"); };
    Sound.OnRestore = [this] { Log.push_back("OnRestore"); };
    Sound.OnFinalize = [this] { Log.push_back("OnFinalize"); };
  }
  void Listen() {
    Sound.RegisterNotifyEvent([this](TDXSoundNotifyType T) {
      static const char* names[] = {"destroying", "initializing", "initialize", "restore",
                                    "finalize"};
      Log.push_back(names[static_cast<int>(T)] + std::string(Sound.Initialized() ? "+" : "-"));
    });
  }
};

TEST(DXSound, InitializeAndFinalizeRunTheirStepsInOrder) {
  Fixture f;
  f.Listen();
  f.Sound.Initialize();
  EXPECT_TRUE(f.Sound.Initialized());
  EXPECT_TRUE(f.State->Opened);
  EXPECT_EQ(f.Log, (std::vector<std::string>{"initializing-", "OnInitializing", "initialize+",
                                             "OnInitialize", "restore+", "OnRestore"}));
  f.Log.clear();
  // A second Initialize shuts the device down first.
  f.Sound.Initialize();
  EXPECT_EQ(f.Log,
            (std::vector<std::string>{"OnFinalize", "finalize+", "initializing-", "OnInitializing",
                                      "initialize+", "OnInitialize", "restore+", "OnRestore"}));
  EXPECT_EQ(std::ranges::count(f.State->Events, TSoundEvent{TSoundEvent::TKind::Close}), 1);
  f.Log.clear();
  f.Sound.Finalize();
  f.Sound.Finalize();  // once is enough
  EXPECT_EQ(f.Log, (std::vector<std::string>{"OnFinalize", "finalize+"}));
  EXPECT_FALSE(f.Sound.Initialized());
  EXPECT_FALSE(f.State->Opened);
}

TEST(DXSound, FinalizeRunsEveryStepWhenOneRaises) {
  Fixture f;
  f.Listen();
  f.Sound.Initialize();
  f.Sound.OnFinalize = [] { throw EDXSoundError("boom"); };
  f.Log.clear();
  EXPECT_THROW(f.Sound.Finalize(), EDXSoundError);
  EXPECT_EQ(f.Log, (std::vector<std::string>{"finalize+"}));
  EXPECT_FALSE(f.Sound.Initialized());
  EXPECT_FALSE(f.State->Opened);
}

TEST(DXSound, FailuresOfInitializeAndWhichTheAutomaticStartSwallows) {
  struct Case {
    const char* Name;
    bool Window, Output, FailOpen, FailPrimary;
    const char* Message;
    bool Swallowed;
  };
  const Case cases[] = {
      {"no form", false, true, false, false, "Form not found", false},
      {"no output", true, false, false, false, "DirectSound cannot be initialized", true},
      {"output fails", true, true, true, false, "DirectSound cannot be initialized", true},
      {"no primary buffer", true, true, false, true, "Primary Buffer cannot be made", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TStubFormWindow window;
    auto state = std::make_shared<TState>();
    state->FailOpen = c.FailOpen;
    state->FailPrimaryBuffer = c.FailPrimary;
    TDXSound sound(c.Window ? &window : nullptr,
                   c.Output ? std::make_unique<TRecordingSoundOutput>(state) : nullptr);
    bool initialized = false;
    sound.OnInitialize = [&] { initialized = true; };
    try {
      sound.Initialize();
      ADD_FAILURE() << "no error";
    } catch (const EDXError& e) {
      EXPECT_STREQ(e.what(), c.Message);
      EXPECT_EQ(dynamic_cast<const EDirectSoundError*>(&e) != nullptr, c.Swallowed);
    }
    EXPECT_FALSE(sound.Initialized());
    EXPECT_FALSE(initialized);
    EXPECT_FALSE(state->Opened);  // an output opened on the way is closed again
    if (c.Swallowed)
      EXPECT_NO_THROW(sound.Loaded());
    else
      EXPECT_THROW(sound.Loaded(), EDXSoundError);
    EXPECT_FALSE(sound.Initialized());
  }
}

TEST(DXSound, LoadedStartsOnlyWithAutoInitialize) {
  Fixture f;
  f.Sound.AutoInitialize = false;
  f.Sound.Loaded();
  EXPECT_FALSE(f.Sound.Initialized());
  f.Sound.AutoInitialize = true;
  f.Sound.Loaded();
  EXPECT_TRUE(f.Sound.Initialized());
}

TEST(DXSound, OptionsBeforeAndAfterInitialize) {
  Fixture f;
  f.Sound.SetOptions({soExclusive, soGlobalFocus});
  EXPECT_EQ(f.Sound.NowOptions(), (TDXSoundOptions{soExclusive, soGlobalFocus}));
  f.Sound.Initialize();
  EXPECT_TRUE(f.State->LastRequest.Exclusive);
  EXPECT_TRUE(f.State->LastRequest.GlobalFocus);
  EXPECT_EQ(f.Sound.BufferFocus(), TSoundBufferFocus::Global);

  // Afterwards: focus options take the new value, the exclusive mode stays as opened.
  f.Sound.SetOptions({soStickyFocus});
  EXPECT_EQ(f.Sound.Options(), (TDXSoundOptions{soStickyFocus}));
  EXPECT_EQ(f.Sound.NowOptions(), (TDXSoundOptions{soStickyFocus, soExclusive}));
  EXPECT_EQ(f.Sound.BufferFocus(), TSoundBufferFocus::Sticky);
  f.Sound.SetOptions({});
  EXPECT_EQ(f.Sound.NowOptions(), (TDXSoundOptions{soExclusive}));
  EXPECT_EQ(f.Sound.BufferFocus(), TSoundBufferFocus::Normal);

  // The next Initialize takes the options as they stand.
  f.Sound.Initialize();
  EXPECT_FALSE(f.State->LastRequest.Exclusive);
  EXPECT_EQ(f.Sound.NowOptions(), TDXSoundOptions{});
}

TEST(DXSound, ExclusiveRemovedInOnInitializeTakesEffectAtTheNextStart) {
  Fixture f;
  f.Sound.SetOptions({soExclusive});
  f.Sound.OnInitialize = [&f] {
    auto o = f.Sound.Options();
    o.Exclude(soExclusive);
    f.Sound.SetOptions(o);
  };
  f.Sound.Initialize();
  EXPECT_TRUE(f.State->LastRequest.Exclusive);
  f.Sound.Initialize();
  EXPECT_FALSE(f.State->LastRequest.Exclusive);
}

TEST(DXSound, ListenersJoiningLateAndLeavingOnDestruction) {
  TStubFormWindow window;
  std::vector<TDXSoundNotifyType> seen;
  int handle = 0;
  {
    TDXSound sound(&window, std::make_unique<TRecordingSoundOutput>(std::make_shared<TState>()));
    sound.Initialize();
    handle = sound.RegisterNotifyEvent([&](TDXSoundNotifyType T) { seen.push_back(T); });
    EXPECT_EQ(seen, (std::vector{TDXSoundNotifyType::Initialize, TDXSoundNotifyType::Restore}));
    seen.clear();
    sound.Restore();
    EXPECT_EQ(seen, (std::vector{TDXSoundNotifyType::Restore}));
    seen.clear();
  }
  EXPECT_NE(handle, 0);
  EXPECT_EQ(seen, (std::vector{TDXSoundNotifyType::Finalize, TDXSoundNotifyType::Destroying}));
}

TEST(DXSound, RestoreDoesNotReenter) {
  Fixture f;
  f.Sound.Initialize();
  int restores = 0;
  f.Sound.OnRestore = [&] {
    ++restores;
    f.Sound.Restore();
  };
  f.Sound.Restore();
  EXPECT_EQ(restores, 1);
}

// The SDL output, on the driver named in the environment.
class SdlOutput : public ::testing::Test {
 protected:
  void UseDriver(const char* Driver) { SDL_setenv("SDL_AUDIODRIVER", Driver, 1); }
  void TearDown() override { SDL_setenv("SDL_AUDIODRIVER", "dummy", 1); }
};

TEST_F(SdlOutput, CopiesEachGetAVoiceBeyondTheFirstChannels) {
  UseDriver("dummy");
  TSdlSoundOutput output;
  output.Open({});
  ASSERT_TRUE(output.OpenPrimaryBuffer());
  const TWave wave = ToneWave(22255, 2000);
  auto main = output.MakeBuffer(wave.Format(), wave.Data(), TSoundBufferFocus::Normal, "Tone");
  std::vector<std::unique_ptr<TSoundBuffer>> copies;
  for (int i = 0; i < 40; ++i) {
    copies.push_back(main->Duplicate());
    copies.back()->Play(false);
  }
  for (auto& c : copies) EXPECT_TRUE(c->Playing());
  EXPECT_FALSE(main->Playing());
  copies.front()->Stop();
  EXPECT_FALSE(copies.front()->Playing());
  main->Play(true);
  EXPECT_TRUE(main->Playing());
  copies.clear();
  main.reset();
  output.Close();
}

// Channel volumes of the voices playing, low to high.
std::vector<int> PlayingVolumes() {
  std::vector<int> volumes;
  for (int c = 0; c < Mix_AllocateChannels(-1); ++c)
    if (Mix_Playing(c)) volumes.push_back(Mix_Volume(c, -1));
  std::ranges::sort(volumes);
  return volumes;
}

TEST_F(SdlOutput, BuffersWithoutGlobalFocusAreSilentWhileTheWindowIsInactive) {
  UseDriver("dummy");
  TSdlSoundOutput output;
  output.Open({});
  const TWave wave = ToneWave(22255, 2000);
  auto normal = output.MakeBuffer(wave.Format(), wave.Data(), TSoundBufferFocus::Normal, "N");
  auto global = output.MakeBuffer(wave.Format(), wave.Data(), TSoundBufferFocus::Global, "G");
  normal->SetVolume(-600);  // half the amplitude: 64 of 128
  normal->Play(true);
  global->Play(true);
  EXPECT_EQ(PlayingVolumes(), (std::vector<int>{64, 128}));
  output.SetWindowActive(false);
  EXPECT_EQ(PlayingVolumes(), (std::vector<int>{0, 128}));  // the loop goes on, unheard
  auto copy = normal->Duplicate();
  copy->Play(false);
  EXPECT_EQ(PlayingVolumes(), (std::vector<int>{0, 0, 128}));
  output.SetWindowActive(true);
  EXPECT_EQ(PlayingVolumes(), (std::vector<int>{64, 128, 128}));
  EXPECT_TRUE(normal->Playing());
  // The window's state outlives closing and opening the output.
  copy.reset();
  normal.reset();
  global.reset();
  output.SetWindowActive(false);
  output.Close();
  output.Open({});
  auto later = output.MakeBuffer(wave.Format(), wave.Data(), TSoundBufferFocus::Normal, "L");
  later->Play(false);
  EXPECT_EQ(PlayingVolumes(), (std::vector<int>{0}));
  later.reset();
  output.SetWindowActive(true);
  output.Close();
}

TEST_F(SdlOutput, WavesItCannotPlayAreRefused) {
  UseDriver("dummy");
  TSdlSoundOutput output;
  output.Open({});
  const std::vector<uint8_t> data(100, 0x80);
  TWave adpcm = TWave::FromPCM(1, 8000, 8, data);
  auto format = adpcm.Format();
  format[0] = 2;  // not PCM
  const std::vector<std::vector<uint8_t>> formats = {
      {},
      std::vector<uint8_t>(format.begin(), format.begin() + 10),
      format,
      TWave::FromPCM(1, 8000, 12, data).Format(),
      TWave::FromPCM(0, 8000, 8, data).Format()};
  for (const auto& f : formats)
    EXPECT_THROW(output.MakeBuffer(f, data, TSoundBufferFocus::Normal, "x"),
                 EDirectSoundBufferError);
  // Fewer bytes than one frame.
  const TWave stereo16 = TWave::FromPCM(2, 8000, 16, {1, 2, 3});
  EXPECT_THROW(
      output.MakeBuffer(stereo16.Format(), stereo16.Data(), TSoundBufferFocus::Normal, "x"),
      EDirectSoundBufferError);
}

TEST_F(SdlOutput, NoUsableDriverIsNoSoundDevice) {
  UseDriver("no-such-driver");
  TSdlSoundOutput output;
  try {
    output.Open({});
    FAIL() << "opened";
  } catch (const EDirectSoundError& e) {
    EXPECT_STREQ(e.what(), "DirectSound cannot be initialized");
    // The player learns what really failed, in this system's words, and SDL's own.
    EXPECT_EQ(PlayerReport(e).rfind("the sound system cannot start (", 0), 0u) << PlayerReport(e);
    EXPECT_NE(PlayerReport(e).find("no-such-driver"), std::string::npos) << PlayerReport(e);
  }
  EXPECT_FALSE(output.OpenPrimaryBuffer());
}

TEST_F(SdlOutput, DiskDriverCapturesWhatPlays) {
  const auto path = std::filesystem::path(ZELGORA_BUILD_DIR) / "DXSounds_test_disk.raw";
  std::filesystem::remove(path);
  SDL_setenv("SDL_DISKAUDIOFILE", Utf8Name(path).c_str(), 1);
  UseDriver("disk");
  {
    TSdlSoundOutput output;
    output.Open({});
    const TWave wave = ToneWave(8000, 200);
    auto buffer = output.MakeBuffer(wave.Format(), wave.Data(), TSoundBufferFocus::Normal, "T");
    buffer->Play(false);
    while (buffer->Playing()) output.Delay(10);
    buffer.reset();
    output.Close();
  }
  std::ifstream in(path, std::ios::binary);
  const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
  EXPECT_GT(bytes.size(), 1000u);
  EXPECT_TRUE(std::ranges::any_of(bytes, [](char B) { return B != 0; }));
}

// The game's sounds through the device, on the recording output.
namespace game {

struct GameRig {
  std::shared_ptr<TState> State = std::make_shared<TState>();
  TFormRig Rig{1, FixtureFolder(), 0, std::make_unique<TRecordingSoundOutput>(State)};
  TMainForm& Form = *Rig.Form;

  std::vector<std::string> PlayedSince(size_t Mark) const {
    std::vector<std::string> played;
    for (size_t i = Mark; i < State->Events.size(); ++i)
      if (State->Events[i].Kind == TSoundEvent::TKind::Play)
        played.push_back(State->Events[i].Label + (State->Events[i].Looping ? " loop" : ""));
    return played;
  }
  void UntilNotBusy() {
    for (int i = 0; i < 200 && Form.SetupBusy; ++i) Rig.Frame();
    ASSERT_FALSE(Form.SetupBusy);
  }
};

TEST(GameSound, StartUpOpensTheDeviceTwiceAndTheSceneLoops) {
  GameRig g;
  EXPECT_TRUE(g.Form.DXSound.Initialized());
  using K = TSoundEvent::TKind;
  EXPECT_EQ(std::ranges::count(g.State->Events, TSoundEvent{K::Open}), 2);
  EXPECT_TRUE(g.Form.DXWaveList.Items().Find("InitScene").Looped());
  EXPECT_EQ(g.PlayedSince(0), (std::vector<std::string>{"SetupChange"}));
  g.Rig.Show();
  EXPECT_EQ(g.PlayedSince(0), (std::vector<std::string>{"SetupChange", "InitScene loop"}));
}

// The form's buffers use normal focus: an inactive window is silent, and the scene's loop is
// heard again, without restarting, when the window is active once more.
TEST(GameSound, SilentWhileTheWindowIsInactive) {
  GameRig g;
  g.Rig.Show();
  g.State->FinishAll();  // the start's "SetupChange" has run out
  EXPECT_EQ(g.State->Heard(), (std::vector<std::string>{"InitScene"}));
  const size_t mark = g.State->Events.size();
  g.Form.ApplicationActivated(false);
  EXPECT_TRUE(g.State->Heard().empty());
  EXPECT_FALSE(g.Form.DXTimer.Hooked());
  g.Form.PlayWave("Move");
  EXPECT_TRUE(g.State->Heard().empty());
  g.State->FinishAll();
  g.Form.ApplicationActivated(true);
  EXPECT_EQ(g.State->Heard(), (std::vector<std::string>{"InitScene"}));
  EXPECT_EQ(g.PlayedSince(mark), (std::vector<std::string>{"Move"}));
  EXPECT_TRUE(g.Form.DXTimer.Hooked());
}

TEST(GameSound, SoundRowOnTheSetupScreen) {
  GameRig g;
  g.Rig.Show();
  g.Rig.RunUntilState(4);
  ASSERT_EQ(g.Form.GameState, 4);
  g.UntilNotBusy();
  EXPECT_GE(g.State->PlayingCount(), 1);  // the scene's loop

  // Off: everything stops, nothing plays.
  size_t mark = g.State->Events.size();
  g.Rig.Press(VK::F4);
  EXPECT_EQ(g.Form.SetupChoice[1], 0);
  EXPECT_EQ(g.State->PlayingCount(), 0);
  EXPECT_TRUE(g.PlayedSince(mark).empty());
  g.Rig.Press(VK::Down);  // no "SetupMove" without sound: busy or silent, never heard
  EXPECT_TRUE(g.PlayedSince(mark).empty());

  // On: the loop again, then the change.
  g.UntilNotBusy();
  mark = g.State->Events.size();
  g.Rig.Press(VK::F4);
  EXPECT_EQ(g.PlayedSince(mark), (std::vector<std::string>{"InitScene loop", "SetupChange"}));
  g.UntilNotBusy();
  mark = g.State->Events.size();
  g.Rig.Press(VK::Up);
  EXPECT_EQ(g.PlayedSince(mark), (std::vector<std::string>{"SetupMove"}));
}

TEST(GameSound, F4DuringPlayStopsEveryWaveAndDoesNotRestartTheLoop) {
  GameRig g;
  g.Rig.Show();
  g.Rig.RunUntilState(4);
  g.UntilNotBusy();
  g.Rig.Press(VK::Return);  // "GO PLAY !"
  g.Rig.RunUntilState(2);
  const auto busy = [&g] { return g.Form.Assembling || g.Form.CameraMoving || g.Form.Rotating; };
  for (int i = 0; i < 2000 && busy(); ++i) g.Rig.Frame();
  ASSERT_FALSE(busy());
  auto& scene =
      dynamic_cast<TWaveItemPlayer&>(*g.Form.DXWaveList.Items().Find("InitScene").Player());
  EXPECT_EQ(scene.PlayingCount(), 0u) << "the assembly's end stops the loop";
  g.State->FinishAll();

  size_t mark = g.State->Events.size();
  g.Rig.Key(0x10, true);  // Shift: a turn
  g.Rig.Key(VK::Right, true);
  g.Rig.Frame();
  g.Rig.Key(VK::Right, false);
  g.Rig.Key(0x10, false);
  EXPECT_EQ(g.PlayedSince(mark), (std::vector<std::string>{"Rotate"}));
  EXPECT_EQ(g.State->PlayingCount(), 1);

  g.Rig.Press(VK::F4);
  EXPECT_EQ(g.State->PlayingCount(), 0);
  g.Rig.Frame();  // a play frame frees the setup keys
  mark = g.State->Events.size();
  g.Rig.Press(VK::F4);
  EXPECT_EQ(g.PlayedSince(mark), (std::vector<std::string>{"SetupChange"}));
}

TEST(GameSound, WithoutASoundDeviceTheGameRunsSilentlyAndSaysSoOnce) {
  auto state = std::make_shared<TState>();
  state->FailOpen = true;
  testing::internal::CaptureStderr();
  TFormRig rig(1, FixtureFolder(), 0, std::make_unique<TRecordingSoundOutput>(state));
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::ranges::count(said, '\n'), 1) << said;
  EXPECT_NE(said.find("no sound"), std::string::npos) << said;
  EXPECT_FALSE(rig.Form->DXSound.Initialized());
  rig.Show();
  rig.RunUntilState(4);
  rig.Press(VK::Return);
  EXPECT_EQ(rig.RunUntilState(2) < 5000, true);
  rig.Frames(50);
  rig.Press(VK::Escape);
  EXPECT_TRUE(state->Events.empty());
}

TEST(GameSound, NoUsableSdlDriverStillRunsTheGame) {
  SDL_setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  testing::internal::CaptureStderr();
  {
    TFormRig rig(1, FixtureFolder(), 0, std::make_unique<TSdlSoundOutput>());
    rig.Show();
    rig.RunUntilState(4);
    rig.Press(VK::Return);
    rig.RunUntilState(2);
    rig.Frames(20);
    EXPECT_EQ(rig.Form->GameState, 2);
    EXPECT_FALSE(rig.Form->DXSound.Initialized());
  }
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("zelgora: no sound: the sound system cannot start ("), std::string::npos)
      << said;
  EXPECT_NE(said.find("no-such-driver"), std::string::npos) << said;
  EXPECT_EQ(said.find("DirectSound"), std::string::npos) << said;
  SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
}

TEST(GameSound, DiskDriverHearsTheStartOfTheGame) {
  const auto path = std::filesystem::path(ZELGORA_BUILD_DIR) / "DXSounds_test_game.raw";
  std::filesystem::remove(path);
  SDL_setenv("SDL_DISKAUDIOFILE", Utf8Name(path).c_str(), 1);
  SDL_setenv("SDL_AUDIODRIVER", "disk", 1);
  {
    TFormRig rig(1, FixtureFolder(), 0, std::make_unique<TSdlSoundOutput>());
    ASSERT_TRUE(rig.Form->DXSound.Initialized());
    // The game's own sounds instead of the rig's silent ones.
    for (const auto& w : StoredWaves())
      rig.Form->DXWaveList.Items().Find(w.Name).Wave().LoadFromStream(w.Riff);
    rig.Form->DXSound.Restore();
    rig.Show();  // the scene's loop starts
    rig.Frames(10);
    SDL_Delay(300);  // the driver writes in real time
  }
  SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
  std::ifstream in(path, std::ios::binary);
  const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
  EXPECT_GT(bytes.size(), 1000u);
  EXPECT_TRUE(std::ranges::any_of(bytes, [](char B) { return B != 0; }));
}

}  // namespace game

}  // namespace
