// The program entry: with no options the game as designed; the options add automation.
#include <array>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "DXMain.h"
#include "harness/FormTarget.h"
#include "harness/Options.h"
#include "harness/Run.h"
#include "media/DXClass.h"
#include "media/DataFolder.h"
#include "media/NullDisplay.h"
#include "media/StoredWaves.h"
#include "media/sdl/DIBCanvas.h"
#include "media/sdl/InstalledData.h"
#include "media/sdl/SdlPlatform.h"
#include "media/sdl/SdlSoundOutput.h"

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

// The platform's keyboard with the key script's held keys laid over it.
class TCombinedKeys : public TKeySource {
 public:
  TCombinedKeys(TKeySource& Platform, THeldKeys& Script) : FPlatform(Platform), FScript(Script) {}
  bool ReadKeys(std::array<uint8_t, 256>& Keys) override {
    std::array<uint8_t, 256> held{};
    FScript.ReadKeys(held);
    if (!FPlatform.ReadKeys(Keys)) return false;
    for (size_t i = 0; i < Keys.size(); ++i) Keys[i] |= held[i];
    return true;
  }
  void Acquire() override { FPlatform.Acquire(); }
  bool Foreground() const override { return FPlatform.Foreground(); }

 private:
  TKeySource& FPlatform;
  THeldKeys& FScript;
};

// The form as the platform's main loop drives it. While recording, key events take the
// script's road (held-key table, modifiers from the held keys), so that the replay is exact.
class TFormClient : public TPlatformClient {
 public:
  TFormClient(TMainForm& Form, TGameRun& Run) : FForm(Form), FRun(Run) {}
  void KeyDown(uint16_t Key, const TModifiers& M) override {
    if (FRun.Recording())
      FRun.KeyEvent(static_cast<uint8_t>(Key), true);
    else
      FForm.FormKeyDown(Key, ToShiftState(M));
  }
  void KeyUp(uint16_t Key, const TModifiers& M) override {
    if (FRun.Recording())
      FRun.KeyEvent(static_cast<uint8_t>(Key), false);
    else
      FForm.FormKeyUp(Key, ToShiftState(M));
  }
  void Activated(bool Active) override { FForm.ApplicationActivated(Active); }
  bool WantsIdle() const override { return FForm.DXTimer.Hooked(); }
  bool Idle() override { return FForm.DXTimer.Idle(); }

 private:
  TMainForm& FForm;
  TGameRun& FRun;
};

int RunOnSdl(const THarnessOptions& Options, TFormServices Services, THeldKeys& ScriptKeys,
             std::vector<TKeyEvent> Events) {
  TPlatformOptions platformOptions{Options.Headless, Services.DataDir};
  if (Options.Screen) {
    platformOptions.ScreenWidth = Options.Screen->Width;
    platformOptions.ScreenHeight = Options.Screen->Height;
  }
  platformOptions.DisplayModeSearch = Options.DisplayMode;
  TSdlPlatform platform(platformOptions);
  TSdlPlatform::KeepGLLibraryLoaded();
  TCombinedKeys keys(platform.Keys(), ScriptKeys);
  Services.Window = platform.MakeFormWindow();
  Services.Display = platform.MakeDisplay();
  // A recording reads the keys of its events only: the replay has nothing else.
  Services.Keys = Options.RecordFile.empty() ? static_cast<TKeySource*>(&keys) : &ScriptKeys;
  Services.PictureCanvas = MakeDIBCanvasMaker(Services.DataDir);
  Services.Sound = std::make_unique<TSdlSoundOutput>();
  TMainForm form(std::move(Services));
  TGameRun run(form, ScriptKeys, Options, std::move(Events));
  form.DXInput1.Joystick().Source = &run.Joystick(platform.Joystick());
  if (Options.FullScreen.value_or(false)) {
    // As the full-screen switch enters it, so that leaving it later finds a window to return to.
    form.SaveWindowPlacement();
    form.Window().ShowCursor(false);
    form.Window().SetBorderStyle(TFormWindow::TBorderStyle::None);
    form.DXDraw.Options.Include(doFullScreen);
    form.DXDraw.Options.Exclude(doFlip);
  }
  platform.Attach(form.DXDraw);
  platform.Show();
  TFormClient client(form, run);
  form.DXTimer.Pacer().SetDisplayRefresh(platform.RefreshRate());
  run.Run([&] { platform.PumpEvents(client); }, [&] { platform.PresentAgain(); });
  if (!Options.ScreenshotFile.empty()) {
    std::string error;
    if (!platform.SaveScreenshot(Options.ScreenshotFile, error)) {
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
  std::vector<std::string> args(argv + 1, argv + argc);
  TParsedOptions parsed = ParseOptions(args);
  if (parsed.ExitCode) {
    std::fputs(parsed.Message.c_str(), *parsed.ExitCode == 0 ? stdout : stderr);
    return *parsed.ExitCode;
  }
  THarnessOptions& options = parsed.Options;
  if (options.Headless) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
  }
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
