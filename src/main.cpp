// The program entry: with no options the game as designed; the options add automation.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "DXMain.h"
#include "harness/Options.h"
#include "harness/Run.h"
#include "media/NullDisplay.h"
#include "media/StoredWaves.h"
#include "media/sdl/SdlBasePath.h"

namespace {

void Report(const std::string& Message) {
  std::fprintf(stderr, "zelgora: %s\n", Message.c_str());
}

std::vector<std::pair<std::string, std::vector<uint8_t>>> FormWaves() {
  std::vector<std::pair<std::string, std::vector<uint8_t>>> waves;
  for (const auto& w : StoredWaves())
    waves.emplace_back(w.Name, std::vector<uint8_t>(w.Riff.begin(), w.Riff.end()));
  return waves;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  TParsedOptions parsed = ParseOptions(args);
  if (parsed.ExitCode) {
    std::fputs(parsed.Message.c_str(), *parsed.ExitCode == 0 ? stdout : stderr);
    return *parsed.ExitCode;
  }
  const THarnessOptions& options = parsed.Options;
  if (options.Headless) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
  }
  if (options.Renderer != "null") {
    Report("the OpenGL renderer is not available in this build; use --renderer null");
    return 1;
  }
  try {
    THarnessClock clock(options.Clock);
    THeldKeys keys;
    TFormServices services;
    services.Window = std::make_unique<TNullFormWindow>();
    services.Display = std::make_unique<TNullDisplayBackend>();
    services.Keys = &keys;
    services.Clock = &clock;
    services.DataDir = options.DataDir.empty() ? SdlBasePath() : options.DataDir;
    services.Edition = options.Edition;
    services.Seed = options.Seed;
    services.Waves = FormWaves();
    TMainForm form(std::move(services));
    form.DXDraw.WindowShown();
    RunGame(form, keys, options, {});
    return 0;
  } catch (const std::exception& e) {
    Report(e.what());
    return 1;
  }
}
