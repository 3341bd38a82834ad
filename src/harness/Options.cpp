#include "harness/Options.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <string_view>

#include "Version.h"
#include "harness/Controls.h"

namespace {

bool LeapYear(int32_t Y) {
  return (Y % 4 == 0 && Y % 100 != 0) || Y % 400 == 0;
}

int32_t DaysInMonth(int32_t Y, int32_t M) {
  static constexpr int32_t Days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return M == 2 && LeapYear(Y) ? 29 : Days[M - 1];
}

}  // namespace

std::optional<TLocalDateTime> ParseClock(const std::string& Text) {
  // YYYY-MM-DDTHH:MM:SS, nothing more, nothing less.
  static constexpr char Shape[] = "dddd-dd-ddTdd:dd:dd";
  if (Text.size() != sizeof Shape - 1) return std::nullopt;
  for (size_t i = 0; i < Text.size(); ++i) {
    bool digit = Text[i] >= '0' && Text[i] <= '9';
    if (Shape[i] == 'd' ? !digit : Text[i] != Shape[i]) return std::nullopt;
  }
  auto num = [&](size_t At, size_t Len) { return std::stoi(Text.substr(At, Len)); };
  TLocalDateTime t{num(0, 4), num(5, 2), num(8, 2), num(11, 2), num(14, 2), num(17, 2)};
  if (t.Month < 1 || t.Month > 12 || t.Day < 1 || t.Day > DaysInMonth(t.Year, t.Month) ||
      t.Hour > 23 || t.Minute > 59 || t.Second > 59)
    return std::nullopt;
  return t;
}

std::optional<TScreenSize> ParseScreen(const std::string& Text) {
  const size_t x = Text.find('x');
  if (x == std::string::npos) return std::nullopt;
  auto side = [](std::string_view Digits, int32_t Min) -> std::optional<int32_t> {
    if (Digits.empty() || Digits.size() > 5) return std::nullopt;
    int32_t v = 0;
    for (char c : Digits) {
      if (c < '0' || c > '9') return std::nullopt;
      v = v * 10 + (c - '0');
    }
    if (v < Min || v > TScreenSize::Max) return std::nullopt;
    return v;
  };
  const std::string_view text(Text);
  const auto w = side(text.substr(0, x), TScreenSize::MinWidth);
  const auto h = side(text.substr(x + 1), TScreenSize::MinHeight);
  if (!w || !h) return std::nullopt;
  return TScreenSize{*w, *h};
}

std::string FormatClock(const TLocalDateTime& T) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", int(T.Year), int(T.Month),
                int(T.Day), int(T.Hour), int(T.Minute), int(T.Second));
  return text;
}

TParsedOptions ParseOptions(const std::vector<std::string>& Args) {
  TParsedOptions parsed;
  THarnessOptions& o = parsed.Options;
  CLI::App app{"Zelgora: a 3D picture-cube puzzle", "zelgora"};
  app.set_version_flag("--version", std::string("zelgora " ZELGORA_VERSION));
  app.footer(ControlsText());

  std::string renderer = "gl", clock, pace = "steady", screen;
  int64_t frames = 0;
  uint32_t seed = 0;
  bool windowed = false, fullscreen = false;
  auto* headlessOpt =
      app.add_flag("--headless", o.Headless,
                   "offscreen video and dummy audio drivers (unless the environment names others); "
                   "the window counts as active");
  app.add_option("--renderer", renderer, "gl (OpenGL) or null (a device that draws nothing)")
      ->check(CLI::IsMember({"gl", "null"}));
  auto* framesOpt = app.add_option("--frames", frames, "run N frame ticks back to back, then quit")
                        ->check(CLI::Validator(
                            [](std::string& V) {
                              int64_t n = 0;
                              return CLI::detail::lexical_cast(V, n) && n >= 0
                                         ? std::string()
                                         : "a whole number from 0 is needed, not " + V;
                            },
                            "N"));
  app.add_option("--keys", o.KeysFile, "key script: 'FRAME down|up KEY' lines");
  auto* seedOpt = app.add_option("--seed", seed, "seed of the random generator");
  app.add_option("--clock", clock, "local date and time at start-up, YYYY-MM-DDTHH:MM:SS");
  app.add_option("--screenshot", o.ScreenshotFile, "after the last frame, write a PNG");
  app.add_option("--dump-state", o.DumpStateFile, "after the last frame, write the state as JSON");
  app.add_option("--trace", o.TraceFile, "after every frame, one line of state JSON");
  app.add_option("--record", o.RecordFile,
                 "write the session's key events, seed and start clock as a key script");
  app.add_option("--data", o.DataDir,
                 "folder that holds Bitmaps/ and the fonts (default: the first of ZELGORA_DATA, "
                 "the program's folder, ../share/zelgora from it, the install path)");
  app.add_option("--edition", o.Edition, "edition 0, 1 or 2")->check(CLI::Range(0, 2));
  app.add_option("--pace", pace,
                 "steady: about 60 ticks a second on any display; display: one tick per "
                 "presented frame")
      ->check(CLI::IsMember({"steady", "display"}));
  auto* windowedOpt = app.add_flag("--windowed", windowed, "start in a window");
  app.add_flag("--fullscreen", fullscreen, "start in full screen")->excludes(windowedOpt);
  app.add_option("--screen", screen,
                 "headless runs: the desktop size WxH that full screen fills and the window's "
                 "client size (default 640x480)")
      ->needs(headlessOpt);
  app.add_flag("--display-mode", o.DisplayMode,
               "full screen switches the monitor to a display mode near 640x480 instead of "
               "filling the desktop at its own mode");

  std::vector<std::string> reversed(Args.rbegin(), Args.rend());  // CLI11 pops from the back
  try {
    app.parse(reversed);
  } catch (const CLI::ParseError& e) {
    parsed.ExitCode = e.get_exit_code();
    parsed.Message = e.get_name() == "CallForHelp"      ? app.help()
                     : e.get_name() == "CallForVersion" ? std::string(e.what()) + "\n"
                                                        : std::string(e.what()) + "\n";
    return parsed;
  }
  o.Renderer = renderer;
  o.Pace = pace == "display" ? TPace::Display : TPace::Steady;
  if (*framesOpt) o.Frames = frames;
  if (*seedOpt) o.Seed = seed;
  if (!clock.empty()) {
    o.Clock = ParseClock(clock);
    if (!o.Clock) {
      parsed.ExitCode = 2;  // CLI11's status for a bad value
      parsed.Message = "--clock: '" + clock + "' is not a date and time YYYY-MM-DDTHH:MM:SS\n";
      return parsed;
    }
  }
  if (!screen.empty()) {
    o.Screen = ParseScreen(screen);
    if (!o.Screen) {
      parsed.ExitCode = 2;
      parsed.Message =
          "--screen: '" + screen + "' is not a size WxH from " +
          std::to_string(TScreenSize::MinWidth) + "x" + std::to_string(TScreenSize::MinHeight) +
          " to " + std::to_string(TScreenSize::Max) + "x" + std::to_string(TScreenSize::Max) + "\n";
      return parsed;
    }
  }
  if (windowed) o.FullScreen = false;
  if (fullscreen) o.FullScreen = true;
  return parsed;
}
