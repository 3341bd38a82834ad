// The program's command line: with no options the game runs as designed; the options add
// automation (headless runs, fixed frames, key scripts, fixed seed and clock, state dumps).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "media/Clock.h"
#include "media/FramePacer.h"

struct TScreenSize {
  int32_t Width = 0, Height = 0;
  bool operator==(const TScreenSize&) const = default;
  static constexpr int32_t MinWidth = 160, MinHeight = 120, Max = 16384;
};

struct THarnessOptions {
  bool Headless = false;
  std::string Renderer = "gl";  // "gl" or "null"
  std::optional<int64_t> Frames;
  std::string KeysFile;
  std::optional<uint32_t> Seed;
  std::optional<TLocalDateTime> Clock;
  std::string ScreenshotFile;
  std::string DumpStateFile;
  std::string TraceFile;
  std::string RecordFile;  // the session's key events as a key script
  std::string DataDir;     // empty: the program's folder
  int32_t Edition = 0;
  std::optional<bool> FullScreen;     // --windowed / --fullscreen; none: the game's own start
  TPace Pace = TPace::Steady;         // --pace steady|display
  std::optional<TScreenSize> Screen;  // --screen WxH (headless runs only)
  bool DisplayMode = false;           // --display-mode: full screen switches the monitor's mode
};

struct TParsedOptions {
  THarnessOptions Options;
  // Set when the program should end at once (after --help, --version or a bad option)
  // with this status; Message is what to print (to standard output for status 0).
  std::optional<int> ExitCode;
  std::string Message;
};

TParsedOptions ParseOptions(const std::vector<std::string>& Args);  // without the program name
std::optional<TLocalDateTime> ParseClock(const std::string& Text);
// "WxH" in decimal digits, each side within TScreenSize's bounds.
std::optional<TScreenSize> ParseScreen(const std::string& Text);
// The form ParseClock reads.
std::string FormatClock(const TLocalDateTime& Time);
