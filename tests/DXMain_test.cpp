#include "DXMain.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "FormRig.h"
#include "RecordingCanvas.h"
#include "harness/StateDump.h"
#include "media/DXClass.h"
#include "ui/Ticket.h"

namespace {

using TOp = TRecordingDevice::TOp;

int Count(const std::vector<std::string>& Log, const std::string& Entry) {
  return static_cast<int>(std::count(Log.begin(), Log.end(), Entry));
}

TEST(FormCreate, StartValues) {
  TFormRig rig;
  auto& f = *rig.Form;
  EXPECT_EQ(f.GameState, 3);
  EXPECT_EQ(f.SetupChoice, (std::array<int32_t, 5>{0, 1, 0, 0, 0}));
  EXPECT_EQ(f.SetupRow, 4);
  EXPECT_EQ(f.Languages->LanguageIndex, 1);
  EXPECT_EQ(f.Languages->GetString("Language"), "Slovansky jazyk");
  EXPECT_EQ(f.Level, 1);
  EXPECT_EQ(f.BoardRows, 2);
  EXPECT_EQ(f.MaxLevel, 4);
  EXPECT_TRUE(f.BackgroundVisible);
  EXPECT_FALSE(f.HelpVisible);
  EXPECT_EQ(f.Theme0Textures.size(), 6u);
  EXPECT_EQ(f.Theme1Textures.size(), 6u);
  EXPECT_EQ(f.BackgroundTextures.size(), 1u);
  EXPECT_EQ(f.Board[0][0]->Textures[0], f.Theme0Textures[0].get());
  EXPECT_EQ(f.SetupCubes[0]->TextureIndex, 6);
  EXPECT_EQ(f.SetupCubes[4]->Textures.size(), 12u);
  // The ticket carries the start time: yymmddssnnhh.
  const auto plain = DecodeTicket(f.TicketText);
  ASSERT_TRUE(plain.has_value());
  EXPECT_EQ(plain->TimeDigits, "070506090807");
  EXPECT_EQ(rig.Window->Caption, "Zelgora ( 2007)");
  EXPECT_TRUE(f.DXWaveList.Items().Find("InitScene").Looped());
  EXPECT_FALSE(f.DXWaveList.Items().Find("Move").Looped());
}

TEST(FormCreate, TexturesFollowThePictureNamesInFileOrder) {
  const auto dir = std::filesystem::path(ZELGORA_BUILD_DIR) / "fixtures" / "world-names";
  WriteImageList(dir / "Bitmaps" / "ZelgoraTobrin.dxg",
                 {"A1", "C01", "B1", "C11", "C", "C21", "a1"});
  WriteImageList(dir / "Bitmaps" / "SetupBars.dxg", {"Bar"});
  WriteImageList(dir / "Bitmaps" / "FaceMask.dxg", {"TopMaskLeft"});
  TFormRig rig(1, dir);
  auto& f = *rig.Form;
  ASSERT_EQ(f.Theme0Textures.size(), 2u);
  ASSERT_EQ(f.Theme1Textures.size(), 2u);
  ASSERT_EQ(f.BackgroundTextures.size(), 2u);
  // Shades of the fixture pictures tell them apart: A1 10, C01 30, B1 50, C11 70.
  auto shade = [](const std::unique_ptr<TDirect3DTexture2>& T) {
    return T->Picture().Pixels(0, 0) & 0xFF;
  };
  EXPECT_EQ(shade(f.Theme0Textures[0]), 10u);
  EXPECT_EQ(shade(f.Theme0Textures[1]), 30u);
  EXPECT_EQ(shade(f.Theme1Textures[1]), 70u);
  EXPECT_EQ(shade(f.BackgroundTextures[1]), 50u);
  // A picture beginning with A makes three separate textures.
  EXPECT_NE(f.Theme0Textures[0].get(), f.Theme1Textures[0].get());
  EXPECT_NE(f.Theme0Textures[0].get(), f.BackgroundTextures[0].get());
}

TEST(FormCreate, EditionsReadTheirOwnFilesAndAMissingFileIsReported) {
  const auto empty = std::filesystem::path(ZELGORA_BUILD_DIR) / "fixtures" / "world-none";
  std::filesystem::create_directories(empty);
  EXPECT_THROW(TFormRig(1, empty), EDXError);
  for (int32_t edition : {1, 2}) {
    TFormRig rig(1, FixtureFolder(), edition);
    EXPECT_EQ(rig.Form->Edition, edition);
  }
}

TEST(FormCreate, OpensTheSoundDeviceAndRunsSilentWithoutOne) {
  auto state = std::make_shared<TRecordingSoundOutput::TState>();
  {
    TFormRig rig(1, FixtureFolder(), 0, std::make_unique<TRecordingSoundOutput>(state));
    EXPECT_TRUE(rig.Form->DXSound.Initialized());
    EXPECT_FALSE(rig.Form->DXSound.Options().Contains(soExclusive));
    // Sound goes on last among the start choices: one "SetupChange", no loop yet.
    EXPECT_EQ(state->Played(), std::vector<std::string>{"SetupChange"});
  }
  auto failing = std::make_shared<TRecordingSoundOutput::TState>();
  failing->FailOpen = true;
  TFormRig rig(1, FixtureFolder(), 0, std::make_unique<TRecordingSoundOutput>(failing));
  EXPECT_FALSE(rig.Form->DXSound.Initialized());
  EXPECT_EQ(rig.Form->GameState, 3);
  EXPECT_EQ(rig.Form->TicketText.size(), 30u);
}

// Hands out canvases that log their texts into a shared list.
class TLoggingCanvas : public TRecordingCanvas {
 public:
  explicit TLoggingCanvas(std::vector<std::string>& Log) : FLog(Log) {}
  void TextOut(int32_t X, int32_t Y, const std::string& Text) override {
    TRecordingCanvas::TextOut(X, Y, Text);
    FLog.push_back(Text);
  }

 private:
  std::vector<std::string>& FLog;
};

TEST(FormCreate, SetupBarsCarryTheirCaptionsInBothLanguages) {
  std::vector<std::string> texts;
  TFormServices s;
  THeldKeys keys;
  TManualClock clock;
  s.Window = std::make_unique<TNullFormWindow>();
  s.Display = std::make_unique<TNullDisplayBackend>();
  s.Keys = &keys;
  s.Clock = &clock;
  s.DataDir = FixtureFolder().string();
  s.Seed = 3;
  s.PictureCanvas = [&texts](TDIB&) -> std::unique_ptr<TCanvas> {
    return std::make_unique<TLoggingCanvas>(texts);
  };
  TMainForm f(std::move(s));
  ASSERT_EQ(texts.size(), 20u);
  EXPECT_EQ(texts[0], "Nature");
  EXPECT_EQ(texts[1], "Pr\xEDroda");
  EXPECT_EQ(texts[12], "Slovensky");
  EXPECT_EQ(f.Languages->LanguageIndex, 1);
  // Faces 0 and 1 have a texture per language; the plain faces share one.
  const auto& bar = *f.SetupCubes[2];
  EXPECT_NE(bar.Textures[0], bar.Textures[6]);
  EXPECT_EQ(bar.Textures[2], bar.Textures[8]);
  EXPECT_NE(bar.Textures[0], f.SetupCubes[3]->Textures[0]);
}

// The four plain faces show the bar's picture whatever kind it is stored as; only the painted
// faces need it as a bitmap.
TEST(FormCreate, PlainSetupFacesShowTheBarPictureOfEitherKind) {
  for (const std::string kind : {"TBitmap", "TDIB"}) {
    SCOPED_TRACE(kind);
    const auto dir = std::filesystem::path(ZELGORA_BUILD_DIR) / "fixtures" / ("world-bar-" + kind);
    std::filesystem::create_directories(dir / "Bitmaps");
    for (const char* f : {"ZelgoraTobrin.dxg", "FaceMask.dxg"}) {
      // Removed first: the Windows runtime's copy_file refuses to overwrite, whatever it is told.
      std::filesystem::remove(dir / "Bitmaps" / f);
      std::filesystem::copy_file(FixtureFolder() / "Bitmaps" / f, dir / "Bitmaps" / f);
    }
    WriteImageList(dir / "Bitmaps" / "SetupBars.dxg", {"Bar"}, kind);
    TFormRig rig(1, dir);
    for (const auto& cube : rig.Form->SetupCubes) {
      for (int f : {2, 3, 4, 5, 8, 9, 10, 11}) {
        const TDIB& face = cube->Textures[static_cast<size_t>(f)]->Picture();
        ASSERT_EQ(face.Width(), 8) << f;
        EXPECT_EQ(face.Pixels(3, 3) & 0xFF, 10u) << f;  // the fixture bar's shade
      }
    }
  }
}

TEST(Frame, ShowingTheWindowSetsTheDeviceAndBuildsTheScene) {
  TFormRig rig;
  auto& f = rig.Show();
  ASSERT_NE(rig.Device, nullptr);
  const auto vp = rig.Device->Of(TOp::SetViewport);
  ASSERT_EQ(vp.size(), 1u);
  EXPECT_EQ(vp[0].Viewport.Width, 640);
  EXPECT_EQ(vp[0].Viewport.Height, 480);
  const auto proj = rig.Device->Of(TOp::SetTransform);
  ASSERT_GE(proj.size(), 1u);
  EXPECT_EQ(proj[0].State, 3u);
  EXPECT_EQ(proj[0].Matrix.M[2][3], 1.0f);
  EXPECT_EQ(proj[0].Matrix.M[3][2], -1.0f);
  EXPECT_EQ(rig.Device->RenderStates[D3DRENDERSTATE_AMBIENT], 0xC0C0C0C0u);
  EXPECT_TRUE(f.DXTimer.Enabled());
  EXPECT_EQ(f.CursorRow, 1);
  EXPECT_EQ(f.CursorCol, 1);
  EXPECT_EQ(f.Camera.Z, 2.0f);
  EXPECT_EQ(Count(rig.Sounds, "play InitScene"), 1);
}

TEST(Frame, DrawsSetupObjectsOnlyDuringSetupAndEverythingInPlay) {
  TFormRig rig;
  auto& f = rig.Show();
  rig.Device->Calls.clear();
  rig.Frame();
  auto draws = rig.Device->Of(TOp::DrawPrimitive);
  EXPECT_EQ(draws.size(), 1u + 5 * 6);
  const auto& first = rig.Device->Calls.front();
  EXPECT_EQ(first.Op, TOp::SetTransform);  // the camera step comes before the clear
  const auto clears = rig.Device->Of(TOp::Clear);
  ASSERT_EQ(clears.size(), 1u);
  EXPECT_EQ(clears[0].Rect.Right, 640);
  EXPECT_EQ(clears[0].Z, 1.0f);
  EXPECT_EQ(rig.Device->Calls.back().Op, TOp::EndScene);
  EXPECT_EQ(rig.Backend->Presents, 1);

  f.GameState = 2;
  f.BackgroundVisible = false;
  rig.Device->Calls.clear();
  rig.Frame();
  EXPECT_EQ(rig.Device->Of(TOp::DrawPrimitive).size(), 1u + 5 * 6 + 4 * 6);
  f.BackgroundVisible = true;
  rig.Device->Calls.clear();
  rig.Frame();
  EXPECT_EQ(rig.Device->Of(TOp::DrawPrimitive).size(), 2u + 5 * 6 + 4 * 6);
  // Every draw binds a device texture made from the form's pictures.
  const auto binds = rig.Device->Of(TOp::SetTexture);
  ASSERT_EQ(binds.size(), 2u + 5 * 6 + 4 * 6);
  for (const auto& b : binds) EXPECT_NE(b.Texture, nullptr);
  EXPECT_EQ(binds.back().Texture, f.Theme0Textures[5]->Surface());
}

TEST(Frame, NothingIsDrawnWhileTheDisplayIsDown) {
  TFormRig rig;
  auto& f = *rig.Form;
  rig.Frame();  // no display yet: the step runs, nothing is shown
  EXPECT_EQ(rig.Backend->Presents, 0);
  EXPECT_EQ(f.GameState, 3);
}

// Ticks run to keep the pace but not presented advance the game and the panel as shown ticks
// do, and draw nothing.
TEST(Frame, ATickNotShownStepsTheGameAndThePanelButDrawsNothing) {
  TFormRig shown, hidden;
  for (TFormRig* rig : {&shown, &hidden}) {
    rig->Show();
    rig->Form->HelpVisible = true;
  }
  hidden.Device->Calls.clear();
  hidden.Form->DXTimerTimer(1, false);
  EXPECT_TRUE(hidden.Device->Of(TOp::DrawPrimitive).empty());
  EXPECT_TRUE(hidden.Device->Of(TOp::Clear).empty());
  EXPECT_EQ(hidden.Backend->Presents, 0);
  EXPECT_EQ(hidden.Form->PanelWidth, 20);
  shown.Frame();
  for (int i = 2; i <= 300; ++i) {
    shown.Frame();
    hidden.Form->DXTimerTimer(1, i % 3 == 0);
    if (i == 150) shown.Form->HelpVisible = hidden.Form->HelpVisible = false;
  }
  EXPECT_EQ(hidden.Backend->Presents, 100);
  EXPECT_EQ(DumpState(*hidden.Form, 300).dump(), DumpState(*shown.Form, 300).dump());
}

TEST(Keys, FunctionKeysToggleAndSetupBusyRefusesThem) {
  TFormRig rig;
  auto& f = rig.Show();
  rig.Press(VK::F1);
  EXPECT_TRUE(f.HelpVisible);
  rig.Press(VK::F2);
  EXPECT_FALSE(f.BackgroundVisible);
  rig.Press(VK::F3);  // Profi; the change keeps the setup busy
  EXPECT_EQ(f.SetupChoice[2], 1);
  EXPECT_TRUE(f.SetupBusy);
  rig.Press(VK::F1);
  EXPECT_TRUE(f.HelpVisible);
  rig.Press(VK::F5);
  EXPECT_EQ(f.SetupChoice[3], 0);
  rig.Press(VK::Escape);  // always works
  EXPECT_TRUE(rig.Window->IsClosed);
}

TEST(Keys, SetupRowsWrapAndPlaySetupMove) {
  TFormRig rig;
  auto& f = rig.Show();
  rig.RunUntilState(4);
  ASSERT_EQ(f.GameState, 4);
  rig.Sounds.clear();
  rig.Press(VK::Up);
  EXPECT_EQ(f.SetupRow, 0);
  rig.Press(VK::Down);
  EXPECT_EQ(f.SetupRow, 4);
  rig.Press(VK::Down);
  EXPECT_EQ(f.SetupRow, 3);
  EXPECT_EQ(Count(rig.Sounds, "play SetupMove"), 3);
  f.SetupChoice[1] = 0;
  rig.Press(VK::Down);
  EXPECT_EQ(Count(rig.Sounds, "play SetupMove"), 3);
}

TEST(Keys, AltReturnTogglesSetupRowThenSwitchesFullScreen) {
  TFormRig rig;
  auto& f = rig.Show();
  rig.RunUntilState(4);
  f.SetupRow = 2;
  rig.Key(0x12, true);
  rig.Key(VK::Return, true);
  EXPECT_EQ(f.SetupChoice[2], 1);
  EXPECT_TRUE(f.DXDraw.Options.Contains(doFullScreen));
  EXPECT_FALSE(f.DXDraw.Options.Contains(doFlip));
  EXPECT_EQ(rig.Window->Now.Border, TFormWindow::TBorderStyle::None);
  EXPECT_FALSE(rig.Window->CursorShown);
  EXPECT_EQ(f.GameState, 4);  // no rebuild on the setup screen
  EXPECT_TRUE(f.DXDraw.Initialized());
  rig.Key(VK::Return, false);
  rig.Key(VK::Return, true);
  EXPECT_FALSE(f.DXDraw.Options.Contains(doFullScreen));
  EXPECT_TRUE(f.DXDraw.Options.Contains(doFlip));
  EXPECT_EQ(rig.Window->Now.Border, TFormWindow::TBorderStyle::Single);
  EXPECT_TRUE(rig.Window->CursorShown);
}

TEST(Setup, GoPlayStartsPlayAtOnce) {
  TFormRig rig;
  auto& f = rig.Show();
  rig.RunUntilState(4);
  rig.Sounds.clear();
  rig.Press(VK::Return);
  EXPECT_EQ(f.SetupChoice[4], 1);
  EXPECT_EQ(f.GameState, 0);
  EXPECT_EQ(Count(rig.Sounds, "play SetupChange"), 1);
  rig.Frame();
  EXPECT_EQ(f.GameState, 2);
  EXPECT_TRUE(f.Assembling);
}

TEST(Setup, SoundOffStopsEveryWaveAndOnRestartsTheLoopOnTheSetupScreen) {
  TFormRig rig;
  auto& f = rig.Show();
  rig.RunUntilState(4);
  f.SetupRow = 1;
  rig.Sounds.clear();
  rig.Press(VK::Space);
  EXPECT_EQ(f.SetupChoice[1], 0);
  EXPECT_EQ(Count(rig.Sounds, "stop InitScene"), 1);
  EXPECT_EQ(Count(rig.Sounds, "stop Move"), 1);
  EXPECT_EQ(Count(rig.Sounds, "play SetupChange"), 0);
  // A second change is refused until the bar has turned.
  rig.Press(VK::Space);
  EXPECT_EQ(f.SetupChoice[1], 0);
  // A half turn of 45 frames, the hour-glass fading in and out; the frame after it finds
  // nothing turning.
  rig.Frames(22);
  EXPECT_GT(f.GlassAlpha, 100);
  rig.Frames(23);
  EXPECT_EQ(f.SetupCubes[1]->AngleY, 0);
  EXPECT_TRUE(f.SetupBusy);
  rig.Frame();
  EXPECT_FALSE(f.SetupBusy);
  EXPECT_EQ(f.GlassAlpha, 0);
  rig.Sounds.clear();
  rig.Press(VK::Space);
  EXPECT_EQ(rig.Sounds, (std::vector<std::string>{"play InitScene", "play SetupChange"}));
  rig.Frames(45);
  EXPECT_EQ(f.SetupCubes[1]->AngleY, 180);
}

TEST(Setup, LanguageRowFlipsLanguageAndFacesTogether) {
  TFormRig rig;
  auto& f = rig.Show();
  rig.Press(VK::F5);
  EXPECT_EQ(f.Languages->LanguageIndex, 0);
  EXPECT_EQ(f.SetupChoice[3], 1);
  for (const auto& c : f.SetupCubes) EXPECT_EQ(c->TextureIndex, 0);
  EXPECT_TRUE(f.SetupBusy);  // kept until the setup screen or play clears it
}

TEST(Setup, ThemeAndDifficultyReachTheBoard) {
  TFormRig rig;
  auto& f = rig.Show();
  f.SetupOn(0);
  EXPECT_EQ(f.Board[1][1]->Textures[3], f.Theme1Textures[3].get());
  f.SetupOn(2);
  EXPECT_NEAR(f.Board[1][1]->Vertices[0].TU, 0.5f, 1e-7);
  f.SetupOff(2);
  EXPECT_EQ(f.Board[1][1]->Vertices[0].TU, 0.0f);
}

TEST(Keys, F4DuringPlayStopsEveryWaveAndDoesNotRestartTheLoop) {
  TFormRig rig;
  auto& f = rig.Show();
  f.GameState = 2;
  rig.Sounds.clear();
  rig.Press(VK::F4);
  EXPECT_EQ(f.SetupChoice[1], 0);
  EXPECT_EQ(Count(rig.Sounds, "stop InitScene"), 1);
  EXPECT_EQ(rig.Sounds.size(), 7u);
  rig.Frame();  // play clears the busy flag
  rig.Sounds.clear();
  rig.Press(VK::F4);
  EXPECT_EQ(rig.Sounds, std::vector<std::string>{"play SetupChange"});
}

TEST(Display, ReinitialisationRebuildsTheSceneOnlyInTheIntroOrAtTheStartOfPlay) {
  TFormRig rig;
  auto& f = rig.Show();
  f.GameState = 2;
  f.CursorCol = 0;
  f.Camera.X = 0.5f;
  f.DXDraw.WindowMovedOrSized();
  EXPECT_EQ(f.CursorCol, 0);
  EXPECT_EQ(f.Camera.X, 0.5f);
  EXPECT_TRUE(f.DXTimer.Enabled());
  f.GameState = 3;
  f.DXDraw.WindowMovedOrSized();
  EXPECT_EQ(f.CursorCol, 1);
  EXPECT_EQ(f.Camera.X, 1.0f);
  f.GameState = 0;
  f.DXDraw.WindowMovedOrSized();
  EXPECT_EQ(f.GameState, 2);
  EXPECT_TRUE(f.Assembling);
  f.DXDraw.Finalize();
  EXPECT_FALSE(f.DXTimer.Enabled());
}

TEST(Frame, GameOverRunsNoCameraStep) {
  TFormRig rig;
  auto& f = rig.Show();
  f.GameState = 5;
  f.CursorCol = 0;
  rig.Device->Calls.clear();
  rig.Frames(3);
  EXPECT_EQ(f.Camera.X, 1.0f);
  EXPECT_TRUE(rig.Device->Of(TOp::SetTransform).empty());
  EXPECT_EQ(f.GameState, 5);
}

TEST(Input, ShiftTurnsCtrlZoomsPlainKeysMoveTheCursor) {
  TFormRig rig;
  auto& f = rig.Show();
  f.GameState = 2;
  rig.Sounds.clear();
  // Shift with Up and Left: the last in the order Down, Up, Left, Right decides.
  rig.Key(0x10, true);
  rig.Keys.SetKey(VK::Up, true);
  rig.Keys.SetKey(VK::Left, true);
  rig.Frame();
  EXPECT_EQ(f.Credits, 2);
  EXPECT_EQ(Count(rig.Sounds, "play Rotate"), 1);
  EXPECT_TRUE(f.Rotating);
  rig.Keys.SetKey(VK::Up, false);
  rig.Keys.SetKey(VK::Left, false);
  rig.Key(0x10, false);
  rig.RunUntilState(-1, 40);
  EXPECT_FALSE(f.Rotating);
  EXPECT_EQ(f.Board[1][1]->AngleY, 270);

  // Shift and Ctrl together: Shift wins.
  rig.Key(0x11, true);
  rig.Key(0x10, true);
  rig.Keys.SetKey(VK::Down, true);
  const float z = f.Camera.Z;
  rig.Frame();
  EXPECT_EQ(f.Camera.Z, z);
  EXPECT_EQ(f.RotateDir, 'D');
  rig.Keys.SetKey(VK::Down, false);
  rig.Key(0x10, false);
  rig.RunUntilState(-1, 40);

  // Ctrl with Up and Down: out by 0.2 and back in the same frame.
  rig.Keys.SetKey(VK::Up, true);
  rig.Keys.SetKey(VK::Down, true);
  rig.Frame();
  EXPECT_NEAR(f.Camera.Z, z, 1e-6);
  rig.Keys.SetKey(VK::Up, false);
  rig.Frame();
  EXPECT_NEAR(f.Camera.Z, z + 0.2f, 1e-6);
  rig.Keys.SetKey(VK::Down, false);
  rig.Key(0x11, false);

  // Plain cursor step against the edge does nothing.
  const int32_t credits = f.Credits;
  rig.Sounds.clear();
  rig.Keys.SetKey(VK::Up, true);  // row 1 is the top row of 2 x 2
  rig.Frame();
  EXPECT_EQ(f.Credits, credits);
  EXPECT_TRUE(rig.Sounds.empty());
  rig.Keys.SetKey(VK::Up, false);
  rig.Keys.SetKey(VK::Left, true);
  rig.Frame();
  EXPECT_EQ(f.CursorCol, 0);
  EXPECT_EQ(f.Credits, credits + 1);
  EXPECT_EQ(Count(rig.Sounds, "play Move"), 1);
  EXPECT_TRUE(f.CameraMoving);
}

}  // namespace
