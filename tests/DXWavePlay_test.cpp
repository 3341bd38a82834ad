#include "media/DXWavePlay.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "SoundTestKit.h"
#include "media/DXSounds.h"
#include "media/RecordingSoundOutput.h"
#include "media/sdl/SdlSoundOutput.h"

namespace {

using TState = TRecordingSoundOutput::TState;
using TKind = TSoundEvent::TKind;

// A device on the recording output with a bound list of three waves.
struct Rig {
  TStubFormWindow Window;
  std::shared_ptr<TState> State = std::make_shared<TState>();
  TDXSound Sound{&Window, std::make_unique<TRecordingSoundOutput>(State)};
  TDXWaveList List;

  Rig() {
    for (const char* name : {"Move", "InitScene", "Empty"}) {
      auto& item = List.Items().Add();
      item.SetName(name);
      if (std::string(name) != "Empty") item.Wave() = ToneWave(8000, 100);
    }
    List.SetDXSound(&Sound);
  }
  TWaveCollectionItem& Item(const char* Name) { return List.Items().Find(Name); }
  TWaveItemPlayer& Player(const char* Name) {
    return dynamic_cast<TWaveItemPlayer&>(*Item(Name).Player());
  }
  // The events since the mark, as "kind buffer".
  std::vector<std::string> EventsFrom(size_t Mark) const {
    static const char* kinds[] = {"open", "close", "make", "dup", "play", "stop", "release"};
    std::vector<std::string> out;
    for (size_t i = Mark; i < State->Events.size(); ++i) {
      const auto& e = State->Events[i];
      out.push_back(std::string(kinds[static_cast<int>(e.Kind)]) + " " + std::to_string(e.Buffer) +
                    (e.Looping ? " loop" : ""));
    }
    return out;
  }
};

TEST(WavePlay, WithoutASoundDeviceEverythingButPlaybackWorks) {
  TStubFormWindow window;
  TDXSound sound(&window, nullptr);
  sound.Loaded();  // no output: swallowed
  TDXWaveList list;
  auto& item = list.Items().Add();
  item.SetName("InitScene");
  item.Wave() = ToneWave(8000, 10);
  list.SetDXSound(&sound);
  TWaveCollectionItem& found = list.Items().Find("initscene");
  EXPECT_EQ(&found, &item);
  EXPECT_FALSE(found.Initialized());
  EXPECT_NO_THROW(found.Play(true));
  EXPECT_NO_THROW(found.Stop());
  found.SetLooped(true);
  EXPECT_TRUE(found.Looped());
  EXPECT_NO_THROW(found.Play(false));
}

TEST(WavePlay, ItemsFollowTheDeviceNotices) {
  Rig r;
  EXPECT_FALSE(r.Item("Move").Initialized());
  r.Sound.Initialize();
  EXPECT_TRUE(r.Item("Move").Initialized());
  EXPECT_TRUE(r.Player("Move").HasMainBuffer());
  EXPECT_FALSE(r.Player("Empty").HasMainBuffer());
  r.Sound.Finalize();
  EXPECT_FALSE(r.Item("Move").Initialized());
  // Every buffer made was released before the output closed.
  EXPECT_EQ(r.State->Events.back().Kind, TKind::Close);
  EXPECT_EQ(r.State->PlayingCount(), 0);
  for (const auto& b : r.State->Buffers) EXPECT_FALSE(b.Alive);

  // A list bound while the device is up is made ready at once.
  r.Sound.Initialize();
  TDXWaveList late;
  auto& item = late.Items().Add();
  item.SetName("Late");
  item.Wave() = ToneWave(8000, 10);
  late.SetDXSound(&r.Sound);
  EXPECT_TRUE(item.Initialized());
  item.Play(false);
  EXPECT_EQ(r.State->Played(), (std::vector<std::string>{"Late"}));
  late.SetDXSound(nullptr);
  EXPECT_FALSE(item.Initialized());
}

TEST(WavePlay, QuickPlaysOverlapAndFinishedCopiesAreReused) {
  Rig r;
  r.Sound.Initialize();
  auto& move = r.Item("Move");
  for (int i = 0; i < 5; ++i) move.Play(false);
  EXPECT_EQ(r.Player("Move").CopyCount(), 5u);
  EXPECT_EQ(r.Player("Move").PlayingCount(), 5u);
  EXPECT_EQ(r.State->PlayingCount(), 5);

  r.State->FinishAll();
  const size_t mark = r.State->Events.size();
  move.Play(false);
  move.Play(false);
  // The first two copies again, no new ones.
  const int first = r.State->Events[mark].Buffer;
  EXPECT_EQ(r.EventsFrom(mark),
            (std::vector<std::string>{
                "stop " + std::to_string(first), "play " + std::to_string(first),
                "stop " + std::to_string(first + 1), "play " + std::to_string(first + 1)}));
  EXPECT_EQ(r.Player("Move").CopyCount(), 5u);
}

TEST(WavePlay, UnderALimitTheOldestVoiceRestartsAndBecomesTheNewest) {
  Rig r;
  r.Sound.Initialize();
  auto& move = r.Item("Move");
  move.SetMaxPlayingCount(2);
  move.Play(false);
  move.Play(false);
  const int oldest = r.State->Events[r.State->Events.size() - 4].Buffer;  // dup, stop, play
  const int newer = r.State->Events.back().Buffer;
  size_t mark = r.State->Events.size();
  move.Play(false);
  EXPECT_EQ(r.EventsFrom(mark), (std::vector<std::string>{"stop " + std::to_string(oldest),
                                                          "play " + std::to_string(oldest)}));
  mark = r.State->Events.size();
  move.Play(false);
  EXPECT_EQ(r.EventsFrom(mark), (std::vector<std::string>{"stop " + std::to_string(newer),
                                                          "play " + std::to_string(newer)}));
  EXPECT_EQ(r.Player("Move").CopyCount(), 2u);
  EXPECT_EQ(r.State->PlayingCount(), 2);
}

TEST(WavePlay, ChangingTheLimitDropsTheCopies) {
  Rig r;
  r.Sound.Initialize();
  auto& move = r.Item("Move");
  move.Play(false);
  move.Play(false);
  move.SetMaxPlayingCount(-3);  // same as 0: no change
  EXPECT_EQ(move.MaxPlayingCount(), 0);
  EXPECT_EQ(r.Player("Move").CopyCount(), 2u);
  move.SetMaxPlayingCount(1);
  EXPECT_EQ(r.Player("Move").CopyCount(), 0u);
  EXPECT_EQ(r.State->PlayingCount(), 0);
  move.Play(false);
  move.Play(false);
  EXPECT_EQ(r.Player("Move").CopyCount(), 1u);
}

TEST(WavePlay, LoopedItemsRestartOnTheirMainBuffer) {
  Rig r;
  r.Sound.Initialize();
  auto& scene = r.Item("InitScene");
  scene.SetLooped(true);
  const size_t mark = r.State->Events.size();
  scene.Play(false);
  scene.Play(true);  // waiting for a loop would never end: returns at once
  const std::string main = std::to_string(r.State->Events[mark].Buffer);
  EXPECT_EQ(r.EventsFrom(mark),
            (std::vector<std::string>{"stop " + main, "play " + main + " loop", "stop " + main,
                                      "play " + main + " loop"}));
  EXPECT_EQ(r.Player("InitScene").CopyCount(), 0u);
  EXPECT_EQ(r.State->PlayingCount(), 1);
  r.State->FinishAll();  // loops do not run out
  EXPECT_EQ(r.State->PlayingCount(), 1);
  scene.Stop();
  EXPECT_EQ(r.State->PlayingCount(), 0);
}

TEST(WavePlay, ChangingLoopedStopsAPlayingItem) {
  Rig r;
  r.Sound.Initialize();
  auto& move = r.Item("Move");
  move.Play(false);
  move.Play(false);
  move.SetLooped(false);  // no change, keeps playing
  EXPECT_EQ(r.State->PlayingCount(), 2);
  move.SetLooped(true);
  EXPECT_EQ(r.State->PlayingCount(), 0);
  move.Play(false);
  move.SetLooped(false);
  EXPECT_EQ(r.State->PlayingCount(), 0);
}

TEST(WavePlay, StopEndsTheMainBufferAndEveryCopy) {
  Rig r;
  r.Sound.Initialize();
  auto& move = r.Item("Move");
  for (int i = 0; i < 3; ++i) move.Play(false);
  r.Item("InitScene").SetLooped(true);
  r.Item("InitScene").Play(false);
  for (int32_t i = 0; i < r.List.Items().Count(); ++i) r.List.Items().Items(i).Stop();
  EXPECT_EQ(r.State->PlayingCount(), 0);
  EXPECT_EQ(r.Player("Move").CopyCount(), 3u);  // kept for reuse
}

TEST(WavePlay, WaitingPollsUntilTheBufferEnds) {
  Rig r;
  r.Sound.Initialize();
  r.State->FinishAfterDelays = 3;
  r.Item("Move").Play(true);
  EXPECT_EQ(r.State->PlayingCount(), 0);
  EXPECT_EQ(r.State->Delays, 0);  // reset when the sound ran out after three waits
}

TEST(WavePlay, AnEmptyWavePlaysNothing) {
  Rig r;
  r.Sound.Initialize();
  const size_t mark = r.State->Events.size();
  EXPECT_NO_THROW(r.Item("Empty").Play(true));
  EXPECT_NO_THROW(r.Item("Empty").Stop());
  EXPECT_TRUE(r.EventsFrom(mark).empty());
}

TEST(WavePlay, ItemSettingsAndFocusReachEveryBuffer) {
  Rig r;
  r.Sound.SetOptions({soGlobalFocus});
  r.Sound.Initialize();
  auto& move = r.Item("Move");
  move.Frequency = 11025;
  move.Pan = -500;
  move.Volume = -1000;
  move.Play(false);
  const auto& copy = r.State->Buffers.at(static_cast<size_t>(r.State->Events.back().Buffer - 1));
  EXPECT_EQ(copy.Frequency, 11025);
  EXPECT_EQ(copy.Pan, -500);
  EXPECT_EQ(copy.Volume, -1000);
  EXPECT_EQ(copy.Focus, TSoundBufferFocus::Global);
}

TEST(WavePlay, ALostBufferRestoresEveryListOnce) {
  Rig r;
  int restores = 0;
  r.Sound.OnRestore = [&] { ++restores; };
  r.Sound.Initialize();
  auto& move = r.Item("Move");
  move.Play(false);
  restores = 0;
  for (auto& b : r.State->Buffers) b.Lost = true;
  const size_t mark = r.State->Events.size();
  move.Play(false);
  EXPECT_EQ(restores, 1);
  int made = 0;
  for (size_t i = mark; i < r.State->Events.size(); ++i)
    made += r.State->Events[i].Kind == TKind::Make;
  EXPECT_EQ(made, 2);  // Move and InitScene; Empty has nothing to make
  EXPECT_EQ(r.State->Played().back(), "Move");
  EXPECT_EQ(r.State->PlayingCount(), 1);  // the new copy; the lost ones are gone
}

// The same rules on SDL's dummy driver: copies are real voices.
TEST(WavePlay, FiveQuickPlaysGiveFiveVoicesOnTheMixer) {
  SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
  TStubFormWindow window;
  TDXSound sound(&window, std::make_unique<TSdlSoundOutput>());
  TDXWaveList list;
  auto& move = list.Items().Add();
  move.SetName("Move");
  move.Wave() = ToneWave(8000, 1300);
  list.SetDXSound(&sound);
  sound.Initialize();
  ASSERT_TRUE(move.Initialized());
  auto& player = dynamic_cast<TWaveItemPlayer&>(*move.Player());
  for (int i = 0; i < 5; ++i) move.Play(false);
  EXPECT_EQ(player.PlayingCount(), 5u);
  move.SetMaxPlayingCount(2);
  for (int i = 0; i < 3; ++i) move.Play(false);
  EXPECT_EQ(player.CopyCount(), 2u);
  EXPECT_EQ(player.PlayingCount(), 2u);
  move.Stop();
  EXPECT_EQ(player.PlayingCount(), 0u);
  move.SetLooped(true);
  move.Play(false);
  move.Play(false);
  EXPECT_EQ(player.PlayingCount(), 1u);
  sound.Finalize();
  EXPECT_FALSE(move.Initialized());
}

}  // namespace
