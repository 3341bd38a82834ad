#include <gtest/gtest.h>

#include <cmath>

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
    EXPECT_GE(q.Scaling.X, 0.7f * 0.17f);
    EXPECT_EQ(q.AngleX, 0);
    EXPECT_EQ(q.AngleY, k == 1 ? 180 : 0);
  }
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

}  // namespace
