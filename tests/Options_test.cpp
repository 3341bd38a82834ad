#include "harness/Options.h"

#include <gtest/gtest.h>

#include "Version.h"

namespace {

TEST(Options, NoneGiveTheGameAsDesigned) {
  auto p = ParseOptions({});
  ASSERT_FALSE(p.ExitCode);
  const auto& o = p.Options;
  EXPECT_FALSE(o.Headless);
  EXPECT_EQ(o.Renderer, "gl");
  EXPECT_FALSE(o.Frames);
  EXPECT_FALSE(o.Seed);
  EXPECT_FALSE(o.Clock);
  EXPECT_FALSE(o.FullScreen);
  EXPECT_FALSE(o.Screen);
  EXPECT_FALSE(o.DisplayMode);
  EXPECT_EQ(o.Edition, 0);
  EXPECT_TRUE(o.KeysFile.empty() && o.DumpStateFile.empty() && o.TraceFile.empty() &&
              o.ScreenshotFile.empty() && o.DataDir.empty() && o.RecordFile.empty());
}

TEST(Options, EveryOption) {
  auto p = ParseOptions({"--headless",
                         "--renderer",
                         "null",
                         "--frames",
                         "120",
                         "--keys",
                         "k.txt",
                         "--seed",
                         "42",
                         "--clock",
                         "2007-03-09T14:05:07",
                         "--screenshot",
                         "s.png",
                         "--dump-state",
                         "d.json",
                         "--trace",
                         "t.jsonl",
                         "--record",
                         "r.keys",
                         "--data",
                         "/tmp/x",
                         "--edition",
                         "1",
                         "--pace",
                         "display",
                         "--fullscreen",
                         "--screen",
                         "1920x1080",
                         "--display-mode"});
  ASSERT_FALSE(p.ExitCode) << p.Message;
  const auto& o = p.Options;
  EXPECT_TRUE(o.Headless);
  EXPECT_EQ(o.Renderer, "null");
  EXPECT_EQ(o.Frames, 120);
  EXPECT_EQ(o.KeysFile, "k.txt");
  EXPECT_EQ(o.Seed, 42u);
  EXPECT_EQ(o.Clock, (TLocalDateTime{2007, 3, 9, 14, 5, 7}));
  EXPECT_EQ(o.ScreenshotFile, "s.png");
  EXPECT_EQ(o.DumpStateFile, "d.json");
  EXPECT_EQ(o.TraceFile, "t.jsonl");
  EXPECT_EQ(o.RecordFile, "r.keys");
  EXPECT_EQ(o.DataDir, "/tmp/x");
  EXPECT_EQ(o.Edition, 1);
  EXPECT_EQ(o.FullScreen, true);
  EXPECT_EQ(o.Pace, TPace::Display);
  EXPECT_EQ(ParseOptions({}).Options.Pace, TPace::Steady);
  EXPECT_EQ(o.Screen, (TScreenSize{1920, 1080}));
  EXPECT_TRUE(o.DisplayMode);
  EXPECT_EQ(ParseOptions({"--windowed"}).Options.FullScreen, false);
  EXPECT_EQ(ParseOptions({"--frames=0"}).Options.Frames, 0);
}

TEST(Options, HelpAndVersionEndAtOnceWithStatusZero) {
  auto help = ParseOptions({"--help"});
  ASSERT_EQ(help.ExitCode, 0);
  for (const char* name : {"--headless", "--renderer", "--frames", "--keys", "--seed", "--clock",
                           "--screenshot", "--dump-state", "--trace", "--record", "--data",
                           "--edition", "--windowed", "--fullscreen", "--pace", "--screen",
                           "--display-mode", "--version"})
    EXPECT_NE(help.Message.find(name), std::string::npos) << name;
  auto version = ParseOptions({"--version"});
  EXPECT_EQ(version.ExitCode, 0);
  EXPECT_EQ(version.Message, "zelgora " ZELGORA_VERSION "\n");
}

TEST(Options, HelpEndsWithTheControls) {
  const std::string help = ParseOptions({"--help"}).Message;
  const size_t controls = help.find("Controls:");
  ASSERT_NE(controls, std::string::npos);
  EXPECT_GT(controls, help.find("--fullscreen"));
  for (const char* key : {"H J K L", "Shift", "Ctrl", "Alt", "Return", "Space", "F1", "F5",
                          "Alt+Return", "Escape", "controller", "tap", "swipe", "pinch", "wheel"})
    EXPECT_NE(help.find(key, controls), std::string::npos) << key;
}

TEST(Options, BadValuesAreRefused) {
  for (std::vector<std::string> args : {std::vector<std::string>{"--renderer", "vulkan"},
                                        {"--edition", "3"},
                                        {"--edition", "-1"},
                                        {"--frames", "-5"},
                                        {"--frames", "many"},
                                        {"--seed", "x"},
                                        {"--clock", "2007-03-09"},
                                        {"--windowed", "--fullscreen"},
                                        {"--pace", "fast"},
                                        {"--screen", "1920x1080"},  // headless runs only
                                        {"--headless", "--screen", "wide"},
                                        {"--bogus"},
                                        {"extra"}}) {
    auto p = ParseOptions(args);
    ASSERT_TRUE(p.ExitCode) << args[0];
    EXPECT_NE(*p.ExitCode, 0) << args[0];
    EXPECT_FALSE(p.Message.empty());
  }
}

TEST(Options, ScreenSizes) {
  EXPECT_EQ(ParseScreen("1920x1080"), (TScreenSize{1920, 1080}));
  EXPECT_EQ(ParseScreen("160x120"), (TScreenSize{160, 120}));
  EXPECT_EQ(ParseScreen("16384x16384"), (TScreenSize{16384, 16384}));
  for (const char* bad : {"", "x", "1920", "1920x", "x1080", "1920X1080", "1920x1080x2", "159x120",
                          "160x119", "16385x100", "0x0", "-1x480", "+640x480", "640 x480",
                          "640x480 ", "99999999999x480", "0640x0480x"})
    EXPECT_FALSE(ParseScreen(bad)) << bad;
}

TEST(Options, ClockValues) {
  EXPECT_EQ(ParseClock("2000-02-29T23:59:59"), (TLocalDateTime{2000, 2, 29, 23, 59, 59}));
  for (const char* bad :
       {"1900-02-29T00:00:00", "2007-13-01T00:00:00", "2007-04-31T00:00:00", "2007-01-01T24:00:00",
        "2007-01-01T00:60:00", "2007-01-01T00:00:60", "2007-01-01 00:00:00", "2007-1-01T00:00:00",
        "2007-01-01T00:00:00Z", "2007-00-10T00:00:00", "2007-01-00T00:00:00", ""})
    EXPECT_FALSE(ParseClock(bad)) << bad;
  // What a recording writes reads back as the same time.
  for (TLocalDateTime t :
       {TLocalDateTime{2007, 3, 9, 4, 5, 7}, TLocalDateTime{2026, 12, 31, 23, 59, 59},
        TLocalDateTime{999, 1, 1, 0, 0, 0}})
    EXPECT_EQ(ParseClock(FormatClock(t)), t) << FormatClock(t);
}

}  // namespace
