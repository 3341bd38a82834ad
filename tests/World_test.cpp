#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "FormRig.h"
#include "Solver.h"

namespace {

// A form past its fly-in, in play with the board assembled.
TFormRig& StartPlay(TFormRig& Rig) {
  Rig.Show();
  Rig.RunUntilState(4);
  Rig.Press(VK::Return);
  Settle(Rig);
  return Rig;
}

// The next level as Alt in the solved state gives it, solved or not.
void NextLevel(TFormRig& Rig) {
  Rig.Form->GameState = 1;
  Rig.Key(0x12, true);
  Rig.Frame();
  Rig.Key(0x12, false);
}

TEST(Board, EverySizeCentresTheBackgroundAndStartsTheCursorInTheMiddle) {
  struct Case {
    int32_t Rows;
    float Centre;  // X and Y: half the size, halves to even
    int32_t Cursor;
  } cases[] = {{2, 1, 1}, {3, 2, 1}, {4, 2, 2}, {5, 2, 2}};
  TFormRig rig;
  auto& f = rig.Show();
  rig.Device->Recording = false;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Rows);
    if (c.Rows > 2) NextLevel(rig);
    ASSERT_EQ(f.BoardRows, c.Rows);
    ASSERT_EQ(f.BoardCols, c.Rows);
    EXPECT_EQ(f.CursorRow, c.Cursor);
    EXPECT_EQ(f.CursorCol, c.Cursor);
    EXPECT_EQ(f.Camera.X, static_cast<float>(c.Cursor));
    EXPECT_EQ(f.Camera.Y, static_cast<float>(c.Cursor));
    EXPECT_EQ(f.Camera.Z, 2.0f);
    const auto& b = *f.BackgroundCube;
    EXPECT_EQ(b.Position.X, c.Centre);
    EXPECT_EQ(b.Position.Y, c.Centre);
    EXPECT_EQ(b.Position.Z, 5.0f);
    // At least 2 x rows + 5 wide, by steps of 10 % from at most 1, and flat.
    const float least = 2.0f * static_cast<float>(c.Rows) + 5;
    EXPECT_GE(b.Scaling.X, least);
    EXPECT_LT(b.Scaling.X, least * 1.1f);
    EXPECT_EQ(b.Scaling.Y, b.Scaling.X);
    EXPECT_EQ(b.Scaling.Z, 0.0f);
  }
}

TEST(Board, AScrambleThatComesOutSolvedEndsTheLevelWhenTheAssemblyIsOver) {
  TFormRig rig;
  auto& f = rig.Show();
  rig.Device->Recording = false;
  rig.RunUntilState(4);
  for (auto& row : f.TargetAngles)
    for (auto& t : row) t = {180, 90, 0};
  rig.Sounds.clear();
  rig.Press(VK::Return);  // "GO PLAY !"
  int frames = 0;
  while (f.GameState != 1 && frames < 500) {
    rig.Frame();
    ++frames;
    // The cubes stand alike before the assembly too; the test waits until nothing moves.
    if (f.Assembling) {
      ASSERT_EQ(f.GameState, 2) << frames;
    }
  }
  EXPECT_EQ(f.GameState, 1);
  EXPECT_EQ(frames, 1 + 36 + 18 + 1);  // start, X by 5 a frame, Y, the frame that finds it done
  EXPECT_EQ(f.Credits, 0);
  EXPECT_EQ(std::ranges::count(rig.Sounds, std::string("play GameEnd")), 1);
}

TEST(Board, BuildPlacesScalesAndScramblesEveryCube) {
  TFormRig rig;
  auto& f = rig.Show();
  const float rest = std::pow(0.99f, 92);
  for (int32_t i = 0; i < 2; ++i)
    for (int32_t j = 0; j < 2; ++j) {
      const auto& c = *f.Board[static_cast<size_t>(i)][static_cast<size_t>(j)];
      EXPECT_EQ(c.Position.X, static_cast<float>(j));
      EXPECT_EQ(c.Position.Y, static_cast<float>(i));
      EXPECT_EQ(c.Position.Z, 3.0f);
      EXPECT_NEAR(c.Scaling.X, rest, 1e-4);
      EXPECT_LE(c.Scaling.X, 0.4f);
      const auto& t = f.TargetAngles[static_cast<size_t>(i)][static_cast<size_t>(j)];
      for (int32_t a : {t.X, t.Y}) EXPECT_TRUE(a == 90 || a == 180 || a == 270) << a;
      EXPECT_EQ(t.Z, 0);
    }
  EXPECT_EQ(f.CubeScale, f.Board[0][0]->Scaling.X);
  // The background: at least 2 x rows + 5, flattened, centred near the board.
  EXPECT_GE(f.BackgroundCube->Scaling.X, 9.0f);
  EXPECT_EQ(f.BackgroundCube->Scaling.Z, 0.0f);
  EXPECT_EQ(f.BackgroundCube->Position.X, 1.0f);
  EXPECT_EQ(f.BackgroundCube->Position.Z, 5.0f);
}

TEST(Board, ProfiGivesEachCubeItsTileOfThePicture) {
  TFormRig rig;
  auto& f = *rig.Form;
  f.Level = 2;
  f.BoardRows = f.BoardCols = 3;
  f.Board.clear();
  f.Board.resize(3);
  for (auto& r : f.Board) r.resize(3);
  f.TargetAngles.assign(3, std::vector<TAngles3>(3));
  f.SetupChoice[2] = 1;
  f.BuildBoard();
  const auto& topLeft = *f.Board[2][0];
  EXPECT_FLOAT_EQ(topLeft.Vertices[0].TU, 0.0f);
  EXPECT_FLOAT_EQ(topLeft.Vertices[0].TV, 0.0f);
  EXPECT_FLOAT_EQ(topLeft.Vertices[3].TU, 1.0f / 3);
  EXPECT_FLOAT_EQ(topLeft.Vertices[3].TV, 1.0f / 3);
  const auto& bottomRight = *f.Board[0][2];
  EXPECT_FLOAT_EQ(bottomRight.Vertices[0].TU, 2.0f / 3);
  EXPECT_FLOAT_EQ(bottomRight.Vertices[0].TV, 2.0f / 3);
  EXPECT_FLOAT_EQ(bottomRight.Vertices[3].TU, 1.0f);
  EXPECT_FLOAT_EQ(bottomRight.Vertices[3].TV, 1.0f);
  // Faces 1, 3 and 5 take the corners in their own order.
  const auto& c = *f.Board[1][1];
  const float L = 1.0f / 3, R = 2.0f / 3;
  EXPECT_FLOAT_EQ(c.Vertices[4].TV, R);
  EXPECT_FLOAT_EQ(c.Vertices[5].TV, L);
  EXPECT_FLOAT_EQ(c.Vertices[20].TU, R);
  EXPECT_FLOAT_EQ(c.Vertices[22].TU, L);
}

TEST(Board, AssemblyTurnsAllCubesAboutXThenYFiveDegreesAFrame) {
  TFormRig rig;
  auto& f = rig.Show();
  rig.Device->Recording = false;
  for (auto& row : f.TargetAngles)
    for (auto& t : row) t = {90, 180, 0};
  f.TargetAngles[1][1] = {270, 90, 0};
  f.GameState = 0;
  rig.Frame();
  ASSERT_EQ(f.GameState, 2);
  ASSERT_TRUE(f.Assembling);
  rig.Sounds.clear();
  rig.Frames(54);
  EXPECT_EQ(f.Board[1][1]->AngleX, 270);
  EXPECT_EQ(f.Board[0][0]->AngleX, 90);
  EXPECT_EQ(f.Board[0][0]->AngleY, 0);
  rig.Frames(36);
  EXPECT_EQ(f.Board[0][0]->AngleY, 180);
  EXPECT_TRUE(f.Assembling);
  EXPECT_TRUE(rig.Sounds.empty());
  rig.Frame();
  EXPECT_FALSE(f.Assembling);
  EXPECT_EQ(rig.Sounds, std::vector<std::string>{"stop InitScene"});
}

TEST(Board, AReusedCubeAboveItsTargetJumpsInOneFrame) {
  TFormRig rig;
  auto& f = rig.Show();
  for (auto& row : f.Board)
    for (auto& c : row) c->RotateTo({270, 0, 0});
  for (auto& row : f.TargetAngles)
    for (auto& t : row) t = {90, 0, 0};
  f.Assembling = true;
  f.AssembleStep();
  EXPECT_EQ(f.Board[0][1]->AngleX, 90);
  f.AssembleStep();
  EXPECT_FALSE(f.Assembling);
}

TEST(Board, SolvedWhenEveryCubeShowsTheOrientationOfTheFirst) {
  TFormRig rig;
  auto& f = rig.Show();
  for (auto& row : f.Board)
    for (auto& c : row) c->RotateTo({90, 180, 0});
  EXPECT_TRUE(f.IsSolved());
  f.Board[1][0]->RotateTo({90, 270, 0});
  EXPECT_FALSE(f.IsSolved());
  // Any common orientation counts; the difficulty does not matter.
  f.SetupOn(2);
  for (auto& row : f.Board)
    for (auto& c : row) c->RotateTo({90, 270, 0});
  EXPECT_TRUE(f.IsSolved());
}

// Frames of a turn in which the selected cube's angle changed.
int TurnFrames(TFormRig& Rig, char Dir, int32_t FromY) {
  auto& f = *Rig.Form;
  auto& c = *f.Board[static_cast<size_t>(f.CursorRow)][static_cast<size_t>(f.CursorCol)];
  c.RotateTo({static_cast<float>(c.AngleX), static_cast<float>(FromY), 0});
  Rig.Key(0x10, true);
  Rig.Key(ArrowKey(Dir), true);
  int turning = 0;
  int32_t last = c.AngleY;
  for (int n = 0; n < 200; ++n) {
    Rig.Frame();
    if (n == 0) {
      Rig.Key(ArrowKey(Dir), false);
      Rig.Key(0x10, false);
    }
    if (c.AngleY != last) ++turning, last = c.AngleY;
    if (!f.Rotating) break;
  }
  EXPECT_EQ(f.RotateDir, ' ');
  return turning;
}

TEST(Turns, AQuarterTurnTakes23FramesOr18WhenItEndsOnZero) {
  TFormRig rig;
  StartPlay(rig);
  rig.Device->Recording = false;
  auto& f = *rig.Form;
  auto& c = *f.Board[1][1];
  EXPECT_EQ(TurnFrames(rig, 'R', 90), 23);
  EXPECT_EQ(c.AngleY, 180);
  Settle(rig);
  EXPECT_EQ(TurnFrames(rig, 'R', 270), 18);
  EXPECT_EQ(c.AngleY, 0);
  EXPECT_EQ(f.RotateTarget.Y, 0);
  Settle(rig);
  EXPECT_EQ(TurnFrames(rig, 'L', 0), 23);
  EXPECT_EQ(c.AngleY, 270);
}

TEST(Turns, ASwollenSelectionShrinksBeforeItTurns) {
  TFormRig rig;
  StartPlay(rig);
  auto& f = *rig.Form;
  auto& c = *f.Board[1][1];
  // Let the swell finish so that the next turn has to shrink first.
  for (int n = 0; n < 50 && (f.SelectGrowing || n < 2); ++n) rig.Frame();
  ASSERT_FALSE(f.SelectGrowing);
  const int32_t y = c.AngleY;
  rig.Key(0x10, true);
  rig.Key(VK::Right, true);
  rig.Frame();
  rig.Key(VK::Right, false);
  rig.Key(0x10, false);
  EXPECT_TRUE(f.Rotating);
  EXPECT_TRUE(f.RotateShrinking);
  EXPECT_EQ(c.AngleY, y);
  while (f.RotateShrinking) rig.Frame();
  EXPECT_LE(c.Scaling.X, f.CubeScale - 0.04f + 1e-6f);
}

TEST(Camera, OneCellOfTravelTakes50FramesAndEndsOnTheColumn) {
  TFormRig rig;
  StartPlay(rig);
  auto& f = *rig.Form;
  ASSERT_EQ(f.CursorCol, 1);
  rig.Key(VK::Left, true);
  rig.Frame();
  rig.Key(VK::Left, false);
  EXPECT_EQ(f.CursorCol, 0);
  rig.Frames(49);
  EXPECT_TRUE(f.CameraMoving);
  EXPECT_EQ(f.Camera.X, 0.0f);
  // Input stays blocked while the camera travels.
  rig.Keys.SetKey(VK::Down, true);
  rig.Frame();
  EXPECT_FALSE(f.CameraMoving);
  EXPECT_EQ(f.CursorRow, 1);
  rig.Frame();
  EXPECT_EQ(f.CursorRow, 0);
  rig.Keys.SetKey(VK::Down, false);
  const auto world = rig.Device->Of(TRecordingDevice::TOp::SetTransform).back();
  EXPECT_EQ(world.State, 1u);
  EXPECT_EQ(world.Matrix.M[3][2], f.Camera.Z);
}

TEST(Camera, ZoomStopsAtItsLimitsAndCostsNothing) {
  TFormRig rig;
  StartPlay(rig);
  rig.Device->Recording = false;
  auto& f = *rig.Form;
  const int32_t credits = f.Credits;
  rig.Sounds.clear();
  struct Case {
    uint16_t Key;
    float Low, High;  // where Z comes to rest: the first step past the limit stops it
  } cases[] = {{VK::Down, 10.0f, 10.2f}, {VK::Up, -0.2f, 0.0f}, {VK::Down, 10.0f, 10.2f}};
  rig.Key(0x11, true);
  for (const Case& c : cases) {
    rig.Key(c.Key, true);
    rig.Frames(60);  // more than the 50 steps across
    const float z = f.Camera.Z;
    EXPECT_GE(z, c.Low - 1e-4f) << c.Key;
    EXPECT_LE(z, c.High + 1e-4f) << c.Key;
    rig.Frames(5);
    EXPECT_EQ(f.Camera.Z, z) << c.Key;
    rig.Key(c.Key, false);
  }
  rig.Key(0x11, false);
  EXPECT_EQ(f.Credits, credits);
  EXPECT_TRUE(rig.Sounds.empty());
}

TEST(Brightness, CubesDimWithTheHelpAndSettleOnTheirLevels) {
  TFormRig rig;
  StartPlay(rig);
  rig.Device->Recording = false;
  auto& f = *rig.Form;
  rig.Frames(40);
  EXPECT_EQ(f.Board[1][1]->Brightness, 254);
  EXPECT_EQ(f.Board[0][0]->Brightness, 192);
  rig.Press(VK::F1);
  rig.Frame();
  EXPECT_EQ(f.Board[1][1]->Brightness, 252);
  EXPECT_EQ(f.Board[0][0]->Brightness, 190);
  rig.Frames(200);
  EXPECT_EQ(f.Board[1][1]->Brightness, 32);
  EXPECT_EQ(f.Board[0][0]->Brightness, 32);
  rig.Press(VK::F1);
  rig.Frames(200);
  EXPECT_EQ(f.Board[1][1]->Brightness, 254);
  EXPECT_EQ(f.Board[0][1]->Brightness, 192);
}

TEST(Setup, FlyInEndsOnTheSetupScreenWithEveryBarInPlace) {
  TFormRig rig;
  auto& f = rig.Show();
  rig.Device->Recording = false;
  // The bars wait at the origin until the panel has arrived.
  rig.Frames(20);
  for (const auto& q : f.SetupCubes) EXPECT_EQ(q->Position.Y, 0.0f);
  EXPECT_GT(f.SetupPanel->Position.X, 0.0f);
  const int frames = rig.RunUntilState(4);
  EXPECT_LT(frames, 5000);
  const auto& panel = *f.SetupPanel;
  EXPECT_GE(panel.Position.X, f.Camera.X);
  EXPECT_GE(panel.Position.Z, f.Camera.Z - 1.0f);
  for (int32_t k = 0; k < 5; ++k) {
    const auto& q = *f.SetupCubes[static_cast<size_t>(k)];
    EXPECT_GE(q.Position.Y, panel.Position.Y - 0.75f + 0.36f * k - 1e-4f);
    EXPECT_LT(q.Position.Y, panel.Position.Y - 0.75f + 0.36f * k + 0.04f);
    // Grown from 0.17 by 1 % a frame until 0.7 is reached.
    EXPECT_GE(q.Scaling.X, 0.7f);
    EXPECT_LT(q.Scaling.X, 0.7f * 1.01f);
    EXPECT_EQ(q.AngleX, 0);
    EXPECT_EQ(q.AngleY, k == 1 ? 180 : 0);
  }
}

TEST(Setup, F5TurnsTheLanguageBarToItsOtherFaceInTheNewLanguage) {
  TFormRig rig;
  auto& f = rig.Show();
  rig.Device->Recording = false;
  rig.RunUntilState(4);
  rig.Frames(100);  // the selected bar has come forward
  ASSERT_FALSE(f.SetupBusy);
  ASSERT_EQ(f.Languages->LanguageIndex, 1);
  std::array<int32_t, 5> before{};
  for (size_t k = 0; k < 5; ++k) before[k] = f.SetupCubes[k]->AngleY;
  ASSERT_EQ(before[3], 0);

  rig.Press(VK::F5);
  EXPECT_EQ(f.SetupChoice[3], 1);
  EXPECT_EQ(f.Languages->LanguageIndex, 0);
  for (const auto& c : f.SetupCubes) EXPECT_EQ(c->TextureIndex, 0);  // the English faces
  int frames = 0;
  while (f.SetupBusy && frames < 200) rig.Frame(), ++frames;
  EXPECT_EQ(frames, 45 + 1);  // 4 degrees a frame, then the frame that finds all still
  EXPECT_EQ(f.SetupCubes[3]->AngleY, 180);  // face 1: the caption of choice 1
  for (size_t k : {0u, 1u, 2u, 4u}) EXPECT_EQ(f.SetupCubes[k]->AngleY, before[k]) << k;
  EXPECT_EQ(f.GameState, 4);

  rig.Press(VK::F5);  // and back
  while (f.SetupBusy && frames < 400) rig.Frame(), ++frames;
  EXPECT_EQ(f.SetupCubes[3]->AngleY, 0);
  EXPECT_EQ(f.Languages->LanguageIndex, 1);
  for (const auto& c : f.SetupCubes) EXPECT_EQ(c->TextureIndex, 6);
}

TEST(Levels, AltStartsTheNextLevelOnALargerBoardReusingTheCubes) {
  TFormRig rig;
  StartPlay(rig);
  rig.Device->Recording = false;
  auto& f = *rig.Form;
  rig.Sounds.clear();
  SolveBoard(rig);
  ASSERT_EQ(f.GameState, 1);
  EXPECT_EQ(rig.Sounds.back(), "play GameEnd");
  const auto* reused = f.Board[0][0].get();
  rig.Frames(3);
  EXPECT_EQ(f.GameState, 1);
  rig.Key(0x12, true);
  rig.Frame();
  rig.Key(0x12, false);
  EXPECT_EQ(f.GameState, 0);
  EXPECT_EQ(f.Level, 2);
  ASSERT_EQ(f.Board.size(), 3u);
  EXPECT_EQ(f.Board[0][0].get(), reused);
  EXPECT_EQ(f.CursorRow, 1);
  EXPECT_EQ(f.Camera.Z, 2.0f);
}

TEST(Levels, TheWholeGameEndsInGameOverAfterTheLastBoard) {
  TFormRig rig(7);
  StartPlay(rig);
  rig.Device->Recording = false;
  auto& f = *rig.Form;
  const std::string ticket = f.TicketText;
  for (int32_t level = 1; level <= 4; ++level) {
    ASSERT_EQ(f.Level, level);
    ASSERT_EQ(f.BoardRows, level + 1);
    SolveBoard(rig);
    ASSERT_EQ(f.GameState, 1) << "level " << level;
    if (level < 4) {
      rig.Key(0x12, true);
      rig.Frame();
      rig.Key(0x12, false);
      Settle(rig);
    }
  }
  const int growth = rig.RunUntilState(5);
  EXPECT_GT(growth, 10);
  EXPECT_EQ(f.TicketText, ticket);
  EXPECT_EQ(f.Board[2][2]->Brightness, 254);
  rig.Key(0x12, true);
  rig.Frame();
  EXPECT_EQ(f.GameState, 5);
  EXPECT_EQ(f.Level, 4);
}

TEST(Levels, AltWhileTheLastBoardStillGrowsReplaysItAndOnceGrownTheGameEnds) {
  TFormRig rig(9);
  StartPlay(rig);
  rig.Device->Recording = false;
  auto& f = *rig.Form;
  for (int32_t level = 2; level <= 4; ++level) NextLevel(rig);
  ASSERT_EQ(f.Level, 4);
  Settle(rig);
  ASSERT_EQ(f.GameState, 2);

  f.GameState = 1;  // solved
  const float rest = f.CubeScale;
  rig.Frames(3);
  ASSERT_LT(f.Board[0][0]->Scaling.X, rest + 0.103f);  // still growing
  const auto* reused = f.Board[4][4].get();
  const auto targets = f.TargetAngles;
  rig.Key(0x12, true);
  rig.Frame();
  rig.Key(0x12, false);
  EXPECT_EQ(f.GameState, 0);
  EXPECT_EQ(f.Level, 4);
  EXPECT_EQ(f.BoardRows, 5);
  EXPECT_EQ(f.Board[4][4].get(), reused);
  EXPECT_NE(f.TargetAngles, targets);  // scrambled anew
  EXPECT_EQ(f.Board[0][0]->Scaling.X, f.CubeScale);
  EXPECT_LE(f.CubeScale, 0.4f);

  // Solved again and left to grow: the game ends, Alt or not.
  Settle(rig);
  f.GameState = 1;
  const int frames = rig.RunUntilState(5, 2000);
  EXPECT_EQ(f.GameState, 5);
  EXPECT_GT(frames, 10);
  EXPECT_EQ(f.Level, 4);
}

}  // namespace
