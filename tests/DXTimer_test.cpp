#include "media/DXTimer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct TimerFixture : ::testing::Test {
  TManualClock Clock;
  TDXTimer Timer{Clock};
  std::vector<int32_t> Lags;
  void SetUp() override {
    Clock.Ms = 1000;
    Timer.SetInterval(5);
    Timer.OnTimer = [this](int32_t Lag, bool) { Lags.push_back(Lag); };
    Timer.Loaded();
  }
  bool Pass(uint32_t AdvanceMs) {
    Clock.Advance(AdvanceMs);
    return Timer.Idle();
  }
};

TEST_F(TimerFixture, StallGivesOneTickWithLag) {
  EXPECT_TRUE(Pass(17));
  EXPECT_EQ(Lags, std::vector<int32_t>{3});
}

TEST_F(TimerFixture, PassesCloserThanTheIntervalDoNotTick) {
  EXPECT_FALSE(Pass(3));
  EXPECT_TRUE(Pass(3));  // 6 ms since the start
  EXPECT_FALSE(Pass(3));
  EXPECT_EQ(Lags, std::vector<int32_t>{1});
  EXPECT_FALSE(Pass(1));
  EXPECT_TRUE(Pass(1));  // exactly the interval
  EXPECT_EQ(Lags, (std::vector<int32_t>{1, 1}));
}

TEST_F(TimerFixture, ResumeAfterDeactivationHasNoBurst) {
  EXPECT_TRUE(Pass(5));
  Timer.ApplicationDeactivate();
  EXPECT_FALSE(Pass(500));
  EXPECT_FALSE(Timer.Hooked());
  Clock.Advance(500);
  Timer.ApplicationActivate();
  EXPECT_FALSE(Timer.Idle());  // no time has passed since the resume
  EXPECT_TRUE(Pass(5));
  EXPECT_EQ(Lags, (std::vector<int32_t>{1, 1}));
}

TEST_F(TimerFixture, NotActiveOnlyKeepsTicking) {
  Timer.SetActiveOnly(false);
  Timer.ApplicationDeactivate();
  EXPECT_TRUE(Pass(10));
  EXPECT_EQ(Lags, std::vector<int32_t>{2});
}

TEST_F(TimerFixture, StartWhileInactiveWaitsForActivation) {
  Timer.SetEnabled(false);
  Timer.ApplicationDeactivate();
  Timer.SetEnabled(true);
  EXPECT_TRUE(Timer.Running());
  EXPECT_FALSE(Pass(50));
  Timer.ApplicationActivate();
  EXPECT_TRUE(Pass(5));
  EXPECT_EQ(Lags, std::vector<int32_t>{1});
}

TEST_F(TimerFixture, DisabledTimerNeverTicksAndEnablingRestartsTheClock) {
  Timer.SetEnabled(false);
  EXPECT_FALSE(Pass(100));
  Timer.SetEnabled(true);
  EXPECT_FALSE(Pass(4));
  EXPECT_TRUE(Pass(1));
  EXPECT_EQ(Lags, std::vector<int32_t>{1});
}

TEST_F(TimerFixture, IntervalZeroTicksEveryPassAndNegativeCountsAsZero) {
  Timer.SetInterval(-7);
  EXPECT_EQ(Timer.Interval(), 0u);
  EXPECT_TRUE(Pass(0));
  EXPECT_TRUE(Pass(4));
  EXPECT_EQ(Lags, (std::vector<int32_t>{1, 4}));
}

TEST_F(TimerFixture, FrameRateIsRecomputedAboutOnceASecond) {
  for (int i = 0; i < 99; ++i) ASSERT_TRUE(Pass(10));
  EXPECT_EQ(Timer.FrameRate(), 0);  // 990 ms: not yet
  ASSERT_TRUE(Pass(10));
  EXPECT_EQ(Timer.FrameRate(), 100);
  for (int i = 0; i < 50; ++i) ASSERT_TRUE(Pass(21));  // 1050 ms, 50 ticks
  EXPECT_EQ(Timer.FrameRate(), 48);                    // 47.6 rounded
}

TEST_F(TimerFixture, ClockWrapAroundStillTicks) {
  Clock.Ms = 0xFFFFFFF0u;
  Timer.SetEnabled(false);
  Timer.SetEnabled(true);
  EXPECT_TRUE(Pass(0x20));  // wraps past zero
  EXPECT_EQ(Lags, std::vector<int32_t>{6});
}

TEST_F(TimerFixture, DisablingFromTheTickStopsFurtherTicks) {
  Timer.OnTimer = [this](int32_t, bool) { Timer.SetEnabled(false); };
  EXPECT_TRUE(Pass(5));
  EXPECT_FALSE(Pass(5));
  EXPECT_FALSE(Timer.Running());
}

}  // namespace
