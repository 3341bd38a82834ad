// The board of a level: its build, picture mapping, scramble and assembly, the solved test and
// the passage to the next level.
#include <cmath>

#include "DXMain.h"

std::vector<std::unique_ptr<TDirect3DTexture2>>& TMainForm::ThemeTextures() {
  return SetupChoice[0] == 0 ? Theme0Textures : Theme1Textures;
}

namespace {
std::vector<TDirect3DTexture2*> References(
    const std::vector<std::unique_ptr<TDirect3DTexture2>>& List) {
  std::vector<TDirect3DTexture2*> refs;
  refs.reserve(List.size());
  for (const auto& t : List) refs.push_back(t.get());
  return refs;
}
}  // namespace

void TMainForm::BuildScene() {
  CursorCol = BoardCols / 2;
  CursorRow = BoardRows / 2;
  Camera = {static_cast<float>(CursorCol), static_cast<float>(CursorRow), 2.0f};
  if (SetupPanel) SetupPanel->MoveTo({0, 0, 0});
  for (auto& cube : SetupCubes)
    if (cube) cube->MoveTo({0, 0, 0});
  if (SoundOn()) PlayWave("InitScene");

  if (BackgroundCube) {
    auto& bg = *BackgroundCube;
    const int32_t r = Random(static_cast<int32_t>(BackgroundTextures.size()));
    bg.SetTexture(
        0, BackgroundTextures.empty() ? nullptr : BackgroundTextures[static_cast<size_t>(r)].get());
    while (bg.Scaling.X > 1.0f) bg.ScaleBy({0.9f, 0.9f, 0.0f});
    while (static_cast<float>(2 * BoardRows + 5) > bg.Scaling.X) bg.ScaleBy({1.1f, 1.1f, 0.0f});
    bg.MoveTo({static_cast<float>(std::nearbyint(BoardRows / 2.0)),
               static_cast<float>(std::nearbyint(BoardCols / 2.0)), 5.0f});
  }

  BuildBoard();
  CubeScale = Board[0][0]->Scaling.X;
  CameraMoving = false;
  Rotating = false;
  SelectGrowing = false;
  RotateShrinking = false;
  Assembling = false;
}

void TMainForm::BuildBoard() {
  const auto model = CubeVertices();
  const auto theme = References(ThemeTextures());
  for (int32_t i = 0; i < BoardRows; ++i) {
    for (int32_t j = 0; j < BoardCols; ++j) {
      auto& cell = Board[static_cast<size_t>(i)][static_cast<size_t>(j)];
      if (!cell) {
        cell = std::make_unique<TD3DCube>(model, theme, 192);
        cell->MoveBy({static_cast<float>(j), static_cast<float>(i), 3.0f});
      }
      MapBoardCube(*cell, i, j);
      while (cell->Scaling.X > 0.4f) cell->ScaleAll(0.99f);
      const int32_t r1 = Random(3);
      const int32_t r2 = Random(3);
      TargetAngles[static_cast<size_t>(i)][static_cast<size_t>(j)] = {(r1 + 1) * 90, (r2 + 1) * 90,
                                                                      0};
    }
  }
}

void TMainForm::MapBoardCube(TD3DCube& Cube, int32_t Row, int32_t Col) {
  if (SetupChoice[2] == 0) {
    Cube.ResetFaceMapping();
    return;
  }
  const double uL = static_cast<double>(Col) / BoardCols;
  const double uR = uL + 1.0 / BoardCols;
  const double vT = static_cast<double>(BoardRows - 1 - Row) / BoardRows;
  const double vB = vT + 1.0 / BoardRows;
  const float L = static_cast<float>(uL), R = static_cast<float>(uR);
  const float T = static_cast<float>(vT), B = static_cast<float>(vB);
  // Per face, the (TU, TV) of its four vertices.
  const float Tiles[6][4][2] = {
      {{L, T}, {R, T}, {L, B}, {R, B}}, {{L, B}, {L, T}, {R, B}, {R, T}},
      {{L, T}, {R, T}, {L, B}, {R, B}}, {{L, B}, {L, T}, {R, B}, {R, T}},
      {{L, T}, {R, T}, {L, B}, {R, B}}, {{R, T}, {R, B}, {L, T}, {L, B}},
  };
  for (size_t f = 0; f < 6 && 4 * f + 3 < Cube.Vertices.size(); ++f) {
    for (size_t k = 0; k < 4; ++k) {
      Cube.Vertices[4 * f + k].TU = Tiles[f][k][0];
      Cube.Vertices[4 * f + k].TV = Tiles[f][k][1];
    }
  }
}

void TMainForm::RemapBoard() {
  for (int32_t i = 0; i < static_cast<int32_t>(Board.size()); ++i)
    for (int32_t j = 0; j < static_cast<int32_t>(Board[static_cast<size_t>(i)].size()); ++j)
      if (auto& cube = Board[static_cast<size_t>(i)][static_cast<size_t>(j)])
        MapBoardCube(*cube, i, j);
}

void TMainForm::ApplyTheme() {
  const auto theme = References(ThemeTextures());
  for (auto& row : Board)
    for (auto& cube : row)
      if (cube) cube->SetTextures(theme);
}

void TMainForm::AssembleStep() {
  if (!Assembling) return;
  // One axis at a time: every cube turns about X first, then Y, then Z.
  for (int axis = 0; axis < 3; ++axis) {
    bool turned = false;
    for (int32_t i = 0; i < BoardRows; ++i) {
      for (int32_t j = 0; j < BoardCols; ++j) {
        auto& c = *Board[static_cast<size_t>(i)][static_cast<size_t>(j)];
        const auto& t = TargetAngles[static_cast<size_t>(i)][static_cast<size_t>(j)];
        const int32_t cur = axis == 0 ? c.AngleX : axis == 1 ? c.AngleY : c.AngleZ;
        const int32_t tgt = axis == 0 ? t.X : axis == 1 ? t.Y : t.Z;
        if (cur == tgt) continue;
        const int32_t step = std::min(tgt - cur, 5);
        TVector3 a{static_cast<float>(c.AngleX), static_cast<float>(c.AngleY),
                   static_cast<float>(c.AngleZ)};
        (axis == 0 ? a.X : axis == 1 ? a.Y : a.Z) += static_cast<float>(step);
        c.RotateTo(a);
        turned = true;
      }
    }
    if (turned) return;
  }
  Assembling = false;
  StopWave("InitScene");
}

bool TMainForm::IsSolved() const {
  const auto& first = *Board[0][0];
  const int32_t front = first.FrontFace(), top = first.TopFace(), left = first.LeftFace();
  for (int32_t i = 0; i < BoardRows; ++i)
    for (int32_t j = 0; j < BoardCols; ++j) {
      const auto& c = *Board[static_cast<size_t>(i)][static_cast<size_t>(j)];
      if (c.FrontFace() != front || c.TopFace() != top || c.LeftFace() != left) return false;
    }
  return true;
}

void TMainForm::LevelDoneStep() {
  bool allGrown = true;
  for (auto& row : Board)
    for (auto& cube : row) {
      if (cube->Brightness < 254) cube->SetBrightness(static_cast<uint8_t>(cube->Brightness + 2));
      if (!(static_cast<double>(CubeScale) + 0.103 < cube->Scaling.X)) {
        cube->ScaleAll(1.002f);
        allGrown = false;
      }
      CursorRow = BoardRows / 2;
      CursorCol = BoardCols / 2;
    }
  if (allGrown && Level == MaxLevel) {
    if (TicketText.empty()) TicketText = MakeTicketText();
    GameState = 5;
    return;
  }
  if (InputShift().Contains(ssAlt)) {
    Level = std::min(Level + 1, MaxLevel);
    BoardRows = BoardCols = Level + 1;
    ResizeBoard();
    BuildScene();
    GameState = 0;
  }
}
