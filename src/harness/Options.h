// The program's command line: with no options the game runs as designed; the options add
// automation (headless runs, fixed frames, key scripts, fixed seed and clock, state dumps).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "media/Clock.h"
#include "media/FramePacer.h"

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
  std::string DataDir;  // empty: the program's folder
  int32_t Edition = 0;
  std::optional<bool> FullScreen;  // --windowed / --fullscreen; none: the game's own start
  TPace Pace = TPace::Steady;      // --pace steady|display
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
