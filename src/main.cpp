// The program entry: with no options the game as designed; the options add automation.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "DXMain.h"
#include "app/SdlGame.h"
#include "harness/Options.h"
#include "harness/Run.h"
#include "media/DataFolder.h"
#include "media/NullDisplay.h"
#include "media/sdl/InstalledData.h"
#include "media/sdl/SdlPlatform.h"
#ifdef ZELGORA_WINDOWED
#include "win/Console.h"
#endif

namespace {

void Report(const std::string& Message) {
  std::fprintf(stderr, "zelgora: %s\n", Message.c_str());
}

int RunOnSdl(const THarnessOptions& Options, TFormServices Services, THeldKeys& ScriptKeys,
             std::vector<TKeyEvent> Events) {
  TSdlGame game(Options, std::move(Services), ScriptKeys, std::move(Events));
  game.Run().Run([&] { game.Pump(); }, [&] { game.Platform().PresentAgain(); });
  if (!Options.ScreenshotFile.empty()) {
    std::string error;
    if (!game.Platform().SaveScreenshot(Options.ScreenshotFile, error)) {
      TSdlPlatform::ReportError(error, Options.Headless);
      return 1;
    }
  }
  return 0;
}

std::string FindData(const std::string& Option) {
  TDataPlaces places = ProgramDataPlaces();
  places.Option = Option;
  if (const char* env = std::getenv("ZELGORA_DATA")) places.Environment = env;
  const TDataSearch search = FindDataFolder(places, HoldsGameData);
  if (!search.Found) throw std::runtime_error(NoDataMessage(search.Tried));
  return *search.Found;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef ZELGORA_WINDOWED
  AttachStartingConsole();
#endif
  std::vector<std::string> args(argv + 1, argv + argc);
  TParsedOptions parsed = ParseOptions(args);
  if (parsed.ExitCode) {
    std::fputs(parsed.Message.c_str(), *parsed.ExitCode == 0 ? stdout : stderr);
    return *parsed.ExitCode;
  }
  THarnessOptions& options = parsed.Options;
#ifndef _WIN32
  // Windows' offscreen driver has no OpenGL: headless there is a window on its own driver.
  if (options.Headless) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
  }
#endif
  try {
    TSystemClock system;
    std::vector<TKeyEvent> events = PrepareRun(options, system);
    THarnessClock clock(options.Clock);
    THeldKeys keys;
    TFormServices services;
    services.Clock = &clock;
    services.DataDir = FindData(options.DataDir);
    services.Edition = options.Edition;
    services.Seed = options.Seed;
    services.Waves = FormWaves();
    if (options.Renderer == "gl")
      return RunOnSdl(options, std::move(services), keys, std::move(events));
    if (!options.ScreenshotFile.empty()) {
      Report("--screenshot needs --renderer gl");
      return 1;
    }
    services.Window = std::make_unique<TNullFormWindow>();
    services.Display = std::make_unique<TNullDisplayBackend>();
    services.Keys = &keys;
    TMainForm form(std::move(services));
    TGameRun run(form, keys, options, std::move(events));
    form.DXDraw.WindowShown();
    run.Run({});
    return 0;
  } catch (const std::exception& e) {
    if (options.Renderer == "gl")
      TSdlPlatform::ReportError(PlayerReport(e), options.Headless);
    else
      Report(PlayerReport(e));
    return 1;
  }
}
