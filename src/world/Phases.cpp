// The per-frame step of every game state: play with its turns and highlight, and the setup
// objects' fly-in, idle and fly-out.
#include <cmath>
#include <cstdlib>

#include "DXMain.h"

namespace {

// Brightness moves by 2 a frame: up only below 254, down only above 2.
void Brighten(TD3DObject& O) {
  if (O.Brightness < 254) O.SetBrightness(static_cast<uint8_t>(O.Brightness + 2));
}
void Dim(TD3DObject& O) {
  if (O.Brightness > 2) O.SetBrightness(static_cast<uint8_t>(O.Brightness - 2));
}

// Towards 255 when selected, towards 192 otherwise, towards 32 while the help is shown.
void BrightnessTowards(TD3DObject& O, bool Selected, bool Help) {
  if (Help) {
    if (O.Brightness > 32) Dim(O);
  } else if (Selected) {
    if (O.Brightness < 255) Brighten(O);
  } else {
    if (O.Brightness < 192) Brighten(O);
    if (O.Brightness > 192) Dim(O);
  }
}

// A Single plus a constant, evaluated at full precision and stored as a Single.
float Plus(float V, double D) {
  return static_cast<float>(V + D);
}

TVector3 Angles(const TD3DObject& O) {
  return {static_cast<float>(O.AngleX), static_cast<float>(O.AngleY), static_cast<float>(O.AngleZ)};
}

}  // namespace

void TMainForm::UpdateGame() {
  switch (GameState) {
    case 0:
      Assembling = true;
      GameState = 2;
      break;
    case 1:
      LevelDoneStep();
      FollowCamera();
      break;
    case 2:
      PlayStep();
      break;
    case 3:
      SetupIntroStep();
      FollowCamera();
      break;
    case 4:
      SetupStep();
      FollowCamera();
      break;
    default:
      break;
  }
}

void TMainForm::PlayStep() {
  SetupBusy = false;
  SetupOutroStep();
  AssembleStep();
  FollowCamera();
  BrightnessStep();
  if (RotateDir != ' ') {
    if (!Rotating) StartTurn();
    TurnStep();
    if (!Rotating) RotateDir = ' ';
  }
  if (Rotating || CameraMoving || Assembling) return;
  if (IsSolved()) {
    GameState = 1;
    if (SoundOn()) PlayWave("GameEnd");
    return;
  }
  auto& c = *Board[static_cast<size_t>(CursorRow)][static_cast<size_t>(CursorCol)];
  if (static_cast<double>(CubeScale) + 0.04 > c.Scaling.X && !RotateShrinking) {
    c.ScaleAll(1.012f);
    SelectGrowing = true;
  } else {
    SelectGrowing = false;
  }
}

void TMainForm::StartTurn() {
  const auto& c = *Board[static_cast<size_t>(CursorRow)][static_cast<size_t>(CursorCol)];
  RotateTarget = {c.AngleX, c.AngleY, c.AngleZ};
  switch (RotateDir) {
    case 'R':
      RotateTarget.Y += 90;
      break;
    case 'L':
      RotateTarget.Y -= 90;
      break;
    case 'U':
      RotateTarget.X -= 90;
      break;
    case 'D':
      RotateTarget.X += 90;
      break;
    default:
      break;
  }
}

void TMainForm::TurnStep() {
  auto& c = *Board[static_cast<size_t>(CursorRow)][static_cast<size_t>(CursorCol)];
  const bool aboutY = RotateDir == 'L' || RotateDir == 'R';
  int32_t& target = aboutY ? RotateTarget.Y : RotateTarget.X;
  const int32_t cur = aboutY ? c.AngleY : c.AngleX;
  const int32_t tgt = target;
  // The stored target is brought into 0..359 once; this frame still compares the old value.
  if (target < 0) target += 360;
  if (target >= 360) target -= 360;
  if (cur == tgt) {
    Rotating = false;
    return;
  }
  Rotating = true;
  const int32_t s = RotateStep;
  const int32_t d = std::abs(cur - tgt);
  const int32_t step = d <= 4 * s ? s : d <= 10 * s ? 2 * s : 5 * s;
  if (static_cast<double>(c.Scaling.X) > static_cast<double>(CubeScale) - 0.04 && !SelectGrowing) {
    c.ScaleAll(0.99f);
    RotateShrinking = true;
    return;
  }
  RotateShrinking = false;
  TVector3 a = Angles(c);
  switch (RotateDir) {
    case 'R':
      a.Y += static_cast<float>(step);
      break;
    case 'L':
      a.Y -= static_cast<float>(step);
      break;
    case 'D':
      a.X += static_cast<float>(step);
      break;
    case 'U':
      a.X -= static_cast<float>(step);
      break;
    default:
      break;
  }
  c.RotateTo(a);
}

void TMainForm::BrightnessStep() {
  for (int32_t i = 0; i < BoardRows; ++i)
    for (int32_t j = 0; j < BoardCols; ++j)
      BrightnessTowards(*Board[static_cast<size_t>(i)][static_cast<size_t>(j)],
                        i == CursorRow && j == CursorCol, HelpVisible);
}

void TMainForm::SetupIntroStep() {
  auto& panel = *SetupPanel;
  while (BackgroundCube->Scaling.X - 8.0f > panel.Scaling.X) panel.ScaleBy({1.01f, 1.01f, 0.1f});

  const TVector3 p = panel.Position;
  if (p.X < Camera.X) {
    panel.MoveTo({Plus(p.X, 0.04), p.Y, p.Z});
    return;
  }
  if (p.Y < Camera.Y) {
    panel.MoveTo({p.X, Plus(p.Y, 0.04), p.Z});
    return;
  }
  if (static_cast<double>(Camera.Z) - 1.0 > p.Z) {
    panel.MoveTo({p.X, p.Y, Plus(p.Z, 0.04)});
    return;
  }

  bool busy = false;
  for (int32_t k = 0; k < 5; ++k) {
    auto& q = *SetupCubes[static_cast<size_t>(k)];
    const TVector3 at = q.Position;
    if (static_cast<double>(p.Y) - 0.75 + 0.36 * k > at.Y) {
      q.MoveTo({at.X, Plus(at.Y, 0.04), at.Z});
      busy = true;
    } else if (at.X < p.X) {
      q.MoveTo({Plus(at.X, 0.04), at.Y, at.Z});
      busy = true;
    } else if (static_cast<double>(p.Z) - 0.1 > at.Z) {
      q.MoveTo({at.X, at.Y, Plus(at.Z, 0.04)});
      q.RotateTo({static_cast<float>(q.AngleX + 4), 0, 0});
      busy = true;
    } else if (q.Scaling.X < 0.7f) {
      q.ScaleBy({1.01f, 1.01f, 1.01f});
      busy = true;
    } else if (TurnSetupCube(k)) {
      busy = true;
    }
  }
  if (!busy) GameState = 4;
}

bool TMainForm::TurnSetupCube(int32_t K) {
  auto& q = *SetupCubes[static_cast<size_t>(K)];
  const int32_t choice = SetupChoice[static_cast<size_t>(K)];
  if (choice == 0 && q.AngleY != 0) {
    q.RotateTo({0, static_cast<float>(q.AngleY + 4), 0});
    FadeGlass(q.AngleY);
    return true;
  }
  if (choice == 1 && q.AngleY != 180) {
    q.RotateTo({0, static_cast<float>(q.AngleY + 4), 0});
    FadeGlass(180 - q.AngleY);
    return true;
  }
  if (q.AngleX > 0) {
    q.RotateTo({static_cast<float>(q.AngleX + 4), 0, 0});
    return true;
  }
  return false;
}

void TMainForm::FadeGlass(int32_t Angle) {
  if ((Angle >= 91 && Angle <= 179) || (Angle >= 180 && Angle <= 269)) {
    GlassAlpha = GlassAlpha >= 240 ? 255 : GlassAlpha + 10;
  } else if (Angle <= 90 || Angle >= 270) {
    GlassAlpha = GlassAlpha <= 10 ? 0 : GlassAlpha - 10;
  }
}

void TMainForm::SetupStep() {
  const float pz = SetupPanel->Position.Z;
  bool turned = false;
  for (int32_t k = 0; k < 5; ++k) {
    auto& q = *SetupCubes[static_cast<size_t>(k)];
    const TVector3 at = q.Position;
    if (k == SetupRow) {
      BrightnessTowards(q, true, HelpVisible);
      if (static_cast<double>(at.Z) > static_cast<double>(pz) - 0.35)
        q.MoveTo({at.X, at.Y, Plus(at.Z, -0.015)});
    } else {
      BrightnessTowards(q, false, HelpVisible);
      if (static_cast<double>(pz) - 0.1 > at.Z) q.MoveTo({at.X, at.Y, Plus(at.Z, 0.015)});
    }
    if (TurnSetupCube(k)) turned = true;
  }
  if (!turned) {
    SetupBusy = false;
    GlassAlpha = 0;
  }
}

void TMainForm::SetupOutroStep() {
  const TVector3 drift{0.01f, 0.01f, 0.03f}, shrink{0.95f, 0.95f, 0.95f};
  auto& panel = *SetupPanel;
  panel.RotateTo({static_cast<float>(panel.AngleX), static_cast<float>(panel.AngleY),
                  static_cast<float>(panel.AngleZ - 2)});
  panel.MoveBy(drift);
  panel.ScaleBy(shrink);
  for (int32_t i = 0; i < 5; ++i) {
    auto& q = *SetupCubes[static_cast<size_t>(i)];
    q.RotateTo({static_cast<float>(q.AngleX), static_cast<float>(q.AngleY),
                static_cast<float>(q.AngleZ + 2 * i + 2)});
    q.MoveBy(drift);
    q.ScaleBy(shrink);
  }
}
