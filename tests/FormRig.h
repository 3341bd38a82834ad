// A main form on a display that shows nothing, a recording 3D device, held keys, a set clock
// and small image-list files written by the collection's own writer.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "DXMain.h"
#include "RecordingDevice.h"
#include "media/NullDisplay.h"
#include "media/RecordingSoundOutput.h"

// A wave player that counts what the game asks of it.
class TCountingPlayer : public TWavePlayer {
 public:
  explicit TCountingPlayer(std::vector<std::string>& Log, std::string Name)
      : FLog(Log), FName(std::move(Name)) {}
  void Play(bool) override { FLog.push_back("play " + FName); }
  void Stop() override { FLog.push_back("stop " + FName); }
  void DropCopies() override {}

 private:
  std::vector<std::string>& FLog;
  std::string FName;
};

inline TDIB FixturePicture(int32_t W, int32_t H, uint8_t Shade) {
  TDIB dib;
  dib.SetSize(W, H, 24);
  for (int32_t y = 0; y < H; ++y)
    for (int32_t x = 0; x < W; ++x) dib.SetPixel(x, y, Shade * 0x010101u);
  return dib;
}

inline void WriteImageList(const std::filesystem::path& File, const std::vector<std::string>& Names,
                           const std::string& Kind = "TDIB") {
  TPictureCollection list;
  uint8_t shade = 10;
  for (const auto& name : Names) {
    auto& item = list.Add();
    item.SetName(name);
    TPicture picture;
    picture.SetGraphic(Kind, FixturePicture(8, 8, shade));
    shade = static_cast<uint8_t>(shade + 20);
    item.SetPicture(picture);
  }
  // Tests run as parallel processes: each writes its own copy and moves it into place whole.
  std::filesystem::create_directories(File.parent_path());
  auto temporary = File;
  temporary += "." + std::to_string(std::random_device{}()) + ".tmp";
  list.SaveToFile(temporary.string());
  std::filesystem::rename(temporary, File);
}

// The fixture folder: every edition's file with a theme of six pictures each and one
// background, and the bar and mask files.
inline std::filesystem::path FixtureFolder() {
  const auto dir = std::filesystem::path(ZELGORA_BUILD_DIR) / "fixtures" / "world-v3";
  if (!std::filesystem::exists(dir / "Bitmaps" / "FaceMask.dxg")) {
    std::vector<std::string> cubes{"B0"};
    for (int i = 0; i < 6; ++i) {
      cubes.push_back("C0" + std::to_string(i));
      cubes.push_back("C1" + std::to_string(i));
    }
    for (const char* f : {"ZelgoraTobrin.dxg", "ZelgoraSorvane.dxg", "ZelgoraTB.dxg"})
      WriteImageList(dir / "Bitmaps" / f, cubes);
    WriteImageList(dir / "Bitmaps" / "SetupBars.dxg", {"Bar"}, "TBitmap");
    // Every picture the overlays draw.
    WriteImageList(dir / "Bitmaps" / "FaceMask.dxg",
                   {"TopMaskLeft", "TopMaskMiddle", "TopMaskRight", "BottomMaskLeft",
                    "BottomMaskMiddle", "BottomMaskRight", "BlueBackground", "GlassHours"});
  }
  return dir;
}

// The form's seven sounds as short 8-bit mono RIFF waves.
inline std::vector<std::pair<std::string, std::vector<uint8_t>>> FixtureWaves() {
  std::vector<std::pair<std::string, std::vector<uint8_t>>> waves;
  for (const char* name : FormWaveNames) {
    TWave w;
    w.SetFormat({1, 0, 1, 0, 0x40, 0x1F, 0, 0, 0x40, 0x1F, 0, 0, 1, 0, 8, 0});
    w.SetData(std::vector<uint8_t>(64, 0x80));
    waves.emplace_back(name, w.SaveToStream());
  }
  return waves;
}

// Straight to the last level, settled: a solved board of level 3 and Alt held.
inline void GoToLastLevel(TMainForm& F) {
  F.Level = 3;
  F.GameState = 1;
  F.ShiftState = {ssAlt};
  F.DXTimerTimer(0);
  F.ShiftState = {};
  while (F.GameState != 2 || F.Assembling || F.CameraMoving) F.DXTimerTimer(0);
}

struct TFormRig {
  THeldKeys Keys;
  TManualClock Clock{TLocalDateTime{2007, 5, 6, 7, 8, 9}};
  TNullFormWindow* Window = nullptr;
  TNullDisplayBackend* Backend = nullptr;
  TRecordingDevice* Device = nullptr;
  std::vector<std::string> Sounds;
  std::unique_ptr<TMainForm> Form;

  // Without a sound output every wave gets a player that logs into Sounds.
  explicit TFormRig(uint32_t Seed = 1, std::filesystem::path Data = FixtureFolder(),
                    int32_t Edition = 0, std::unique_ptr<TSoundOutput> Sound = nullptr) {
    const bool logSounds = Sound == nullptr;
    TFormServices s;
    auto window = std::make_unique<TNullFormWindow>();
    Window = window.get();
    s.Window = std::move(window);
    auto backend = std::make_unique<TNullDisplayBackend>([this] {
      auto d = std::make_unique<TRecordingDevice>();
      Device = d.get();
      return d;
    });
    Backend = backend.get();
    s.Display = std::move(backend);
    s.Keys = &Keys;
    s.Clock = &Clock;
    s.DataDir = Data.string();
    s.Edition = Edition;
    s.Seed = Seed;
    s.Sound = std::move(Sound);
    s.Waves = FixtureWaves();
    Form = std::make_unique<TMainForm>(std::move(s));
    if (!logSounds) return;
    auto& waves = Form->DXWaveList.Items();
    for (int32_t i = 0; i < waves.Count(); ++i)
      waves.Items(i).AttachPlayer(std::make_unique<TCountingPlayer>(Sounds, waves.Items(i).Name()));
  }

  // Shows the window: the display starts, the surface handler builds the scene.
  TMainForm& Show() {
    Form->DXDraw.WindowShown();
    return *Form;
  }
  void Frame() { Form->DXTimerTimer(0); }
  void Frames(int N) {
    for (int i = 0; i < N; ++i) Frame();
  }
  // Holds or releases a key and tells the form, with the modifiers held.
  void Key(uint16_t Vk, bool Down) {
    Keys.SetKey(static_cast<uint8_t>(Vk), Down);
    TShiftState s;
    if (Keys.KeyDown(0x10)) s.Include(ssShift);
    if (Keys.KeyDown(0x11)) s.Include(ssCtrl);
    if (Keys.KeyDown(0x12)) s.Include(ssAlt);
    if (Down)
      Form->FormKeyDown(Vk, s);
    else
      Form->FormKeyUp(Vk, s);
  }
  void Press(uint16_t Vk) {
    Key(Vk, true);
    Key(Vk, false);
  }
  // Runs frames until the form reaches State (at most Limit frames); returns frames run.
  int RunUntilState(int32_t State, int Limit = 5000) {
    int n = 0;
    while (Form->GameState != State && n < Limit) Frame(), ++n;
    return n;
  }
};
