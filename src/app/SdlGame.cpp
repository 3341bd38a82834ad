#include "app/SdlGame.h"

#include <array>

#include "harness/FormTarget.h"
#include "media/StoredWaves.h"
#include "media/sdl/DIBCanvas.h"
#include "media/sdl/SdlSoundOutput.h"

std::vector<std::pair<std::string, std::vector<uint8_t>>> FormWaves() {
  std::vector<std::pair<std::string, std::vector<uint8_t>>> waves;
  for (const auto& w : StoredWaves())
    waves.emplace_back(w.Name, std::vector<uint8_t>(w.Riff.begin(), w.Riff.end()));
  return waves;
}

// The platform's keyboard with the key script's held keys laid over it.
class TSdlGame::TCombinedKeys : public TKeySource {
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

// The form as the platform's events drive it. While recording, key events take the script's
// road (held-key table, modifiers from the held keys), so that the replay is exact.
class TSdlGame::TFormClient : public TPlatformClient {
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
  // Pointer events take the script's road always: they hold nothing a replay must know.
  void Pointer(const TPointerEvent& E) override { FRun.PointerEvent(E); }
  void Wheel(int32_t Steps) override { FRun.WheelEvent(Steps); }
  void Activated(bool Active) override { FForm.ApplicationActivated(Active); }
  bool WantsIdle() const override { return FForm.DXTimer.Hooked(); }
  bool Idle() override { return FForm.DXTimer.Idle(); }

 private:
  TMainForm& FForm;
  TGameRun& FRun;
};

namespace {

TPlatformOptions PlatformOptions(const THarnessOptions& Options, const std::string& DataDir) {
  TPlatformOptions platform{Options.Headless, DataDir};
  if (Options.Screen) {
    platform.ScreenWidth = Options.Screen->Width;
    platform.ScreenHeight = Options.Screen->Height;
  }
  platform.DisplayModeSearch = Options.DisplayMode;
  return platform;
}

}  // namespace

TSdlGame::TSdlGame(const THarnessOptions& Options, TFormServices Services, THeldKeys& ScriptKeys,
                   std::vector<TKeyEvent> Events)
    : FPlatform(PlatformOptions(Options, Services.DataDir)) {
  TSdlPlatform::KeepGLLibraryLoaded();
  FKeys = std::make_unique<TCombinedKeys>(FPlatform.Keys(), ScriptKeys);
  Services.Window = FPlatform.MakeFormWindow();
  Services.Display = FPlatform.MakeDisplay();
  // A recording reads the keys of its events only: the replay has nothing else.
  Services.Keys = Options.RecordFile.empty() ? static_cast<TKeySource*>(FKeys.get()) : &ScriptKeys;
  Services.PictureCanvas = MakeDIBCanvasMaker(Services.DataDir);
  Services.Sound = std::make_unique<TSdlSoundOutput>();
  FForm = std::make_unique<TMainForm>(std::move(Services));
  FRun = std::make_unique<TGameRun>(*FForm, ScriptKeys, Options, std::move(Events));
  FForm->DXInput1.Joystick().Source = &FRun->Joystick(FPlatform.Joystick());
  if (Options.FullScreen.value_or(false)) FForm->PrepareFullScreen();
  FPlatform.Attach(FForm->DXDraw);
  FPlatform.Show();
  FClient = std::make_unique<TFormClient>(*FForm, *FRun);
  FForm->DXTimer.Pacer().SetDisplayRefresh(FPlatform.RefreshRate());
}

// Members go in reverse: the run before the form, the form before the platform it was made on.
TSdlGame::~TSdlGame() = default;

void TSdlGame::Pump() {
  FPlatform.PumpEvents(*FClient);
}
