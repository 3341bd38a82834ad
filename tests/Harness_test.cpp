#include "harness/Harness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Writes down what reaches it, with the held-key table as the input states would read it.
class Recorder : public THarnessTarget {
 public:
  explicit Recorder(THeldKeys& Keys) : FKeys(Keys) {}
  std::vector<std::string> Log;
  uint16_t CloseOn = 0;
  bool IsClosed = false;

  void KeyDown(uint16_t Key, const TModifiers& M) override {
    Log.push_back("down " + std::to_string(Key) + Mods(M) + Held(Key));
    if (Key == CloseOn) IsClosed = true;
  }
  void KeyUp(uint16_t Key, const TModifiers& M) override {
    Log.push_back("up " + std::to_string(Key) + Mods(M) + Held(Key));
  }
  void Pointer(const TPointerEvent& E) override {
    Log.push_back("pointer " + std::to_string(static_cast<int>(E.Action)) + " " +
                  std::to_string(E.Id) + " " + std::to_string(E.X) + " " + std::to_string(E.Y));
  }
  void Wheel(int32_t Steps) override { Log.push_back("wheel " + std::to_string(Steps)); }
  void Tick(bool Shown) override { Log.push_back(Shown ? "tick" : "hidden tick"); }
  bool Closed() const override { return IsClosed; }

 private:
  static std::string Mods(const TModifiers& M) {
    return std::string(" [") + (M.Shift ? "S" : "") + (M.Alt ? "A" : "") + (M.Ctrl ? "C" : "") +
           "]";
  }
  std::string Held(uint16_t Key) const {
    return FKeys.KeyDown(static_cast<uint8_t>(Key)) ? " held" : " free";
  }
  THeldKeys& FKeys;
};

TEST(Harness, EventsArriveBeforeTheirTickWithTheModifiersHeld) {
  THeldKeys keys;
  Recorder target(keys);
  THarness harness(target, keys,
                   ParseKeyScript("2 down SHIFT\n"
                                  "2 down RIGHT\n"
                                  "3 up SHIFT\n"
                                  "3 down MENU\n"
                                  "3 down CONTROL\n"
                                  "3 down RETURN\n"
                                  "4 up RIGHT\n"));
  EXPECT_EQ(harness.RunFrames(4), 4);
  std::vector<std::string> expected = {"tick",  // frame 1
                                       "down 16 [S] held",
                                       "down 39 [S] held",  // before frame 2
                                       "tick",              //
                                       "up 16 [] free",
                                       "down 18 [A] held",  // before frame 3
                                       "down 17 [AC] held",
                                       "down 13 [AC] held",  //
                                       "tick",               //
                                       "up 39 [AC] free",
                                       "tick"};  // frame 4
  EXPECT_EQ(target.Log, expected);
  EXPECT_EQ(harness.Frame(), 4);
  EXPECT_TRUE(keys.KeyDown(0x0D));
}

TEST(Harness, PointerAndWheelEventsArriveInFileOrderWithKeysAndReachTheHook) {
  THeldKeys keys;
  Recorder target(keys);
  THarness harness(target, keys,
                   ParseKeyScript("2 pointer down 1 10 20.5\n"
                                  "2 down SHIFT\n"
                                  "2 wheel -3\n"
                                  "3 pointer up 1 11 21\n"));
  std::vector<TKeyEvent> seen;
  harness.OnEvent = [&](const TKeyEvent& E) { seen.push_back(E); };
  EXPECT_EQ(harness.RunFrames(2), 2);
  harness.PointerEvent({TPointerAction::Move, 1, 12, 22});
  harness.WheelEvent(1);
  EXPECT_EQ(harness.RunFrames(1), 1);
  std::vector<std::string> expected = {"tick",
                                       "pointer 0 1 10.000000 20.500000",
                                       "down 16 [S] held",
                                       "wheel -3",
                                       "tick",
                                       "pointer 1 1 12.000000 22.000000",
                                       "wheel 1",
                                       "pointer 2 1 11.000000 21.000000",
                                       "tick"};
  EXPECT_EQ(target.Log, expected);
  ASSERT_EQ(seen.size(), 6u);
  EXPECT_EQ(seen[3], PointerEventAt(3, {TPointerAction::Move, 1, 12, 22}));
  EXPECT_EQ(seen[5].Frame, 3);
  EXPECT_FALSE(keys.KeyDown(0)) << "pointer events leave the held keys alone";
}

TEST(Harness, TheFrameCounterAndTheHookSeeEveryTick) {
  THeldKeys keys;
  Recorder target(keys);
  THarness harness(target, keys, {});
  std::vector<int64_t> seen;
  harness.OnFrame = [&](int64_t F) { seen.push_back(F); };
  EXPECT_EQ(harness.RunFrames(3), 3);
  EXPECT_EQ(seen, (std::vector<int64_t>{1, 2, 3}));
  EXPECT_EQ(harness.RunFrames(0), 0);
}

TEST(Harness, ClosingStopsTheRunAndLaterEventsAreIgnored) {
  THeldKeys keys;
  Recorder target(keys);
  target.CloseOn = 0x1B;
  THarness harness(target, keys, ParseKeyScript("2 down ESCAPE\n2 down A\n3 down B\n"));
  EXPECT_EQ(harness.RunFrames(10), 1);
  EXPECT_EQ(harness.Frame(), 1);
  EXPECT_EQ(target.Log, (std::vector<std::string>{"tick", "down 27 [] held"}));
  EXPECT_FALSE(harness.RunFrame());
  EXPECT_FALSE(keys.KeyDown('A'));
}

TEST(Harness, EventsBeyondTheLastTickNeverArrive) {
  THeldKeys keys;
  Recorder target(keys);
  THarness harness(target, keys, ParseKeyScript("5 down F1\n"));
  EXPECT_EQ(harness.RunFrames(4), 4);
  EXPECT_EQ(target.Log, std::vector<std::string>(4, "tick"));
  EXPECT_FALSE(keys.KeyDown(0x70));
}

}  // namespace
