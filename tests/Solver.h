// Finds the quarter turns that bring a board cube to a given orientation, and plays them on
// the form through the keys, as a player would.
#pragma once

#include <deque>
#include <string>
#include <utility>

#include "DXHappy.h"
#include "FormRig.h"

struct TOrientation {
  int32_t Front = 0, Top = 0, Left = 0;
  bool operator==(const TOrientation&) const = default;
};

inline TOrientation OrientationOf(const TD3DCube& C) {
  return {C.FrontFace(), C.TopFace(), C.LeftFace()};
}

// Shortest sequence of turns ('U', 'D', 'L', 'R') from the cube's orientation to Goal.
inline std::string SolveCube(const TD3DCube& Start, const TOrientation& Goal) {
  std::deque<std::pair<TD3DCube, std::string>> open{{Start, ""}};
  while (!open.empty()) {
    auto [cube, path] = open.front();
    open.pop_front();
    if (OrientationOf(cube) == Goal) return path;
    if (path.size() >= 4) continue;
    for (char d : {'U', 'D', 'L', 'R'}) {
      TD3DCube next = cube;
      TVector3 a{static_cast<float>(next.AngleX), static_cast<float>(next.AngleY),
                 static_cast<float>(next.AngleZ)};
      if (d == 'U') a.X -= 90;
      if (d == 'D') a.X += 90;
      if (d == 'L') a.Y -= 90;
      if (d == 'R') a.Y += 90;
      next.RotateTo(a);
      open.emplace_back(std::move(next), path + d);
    }
  }
  return "";
}

inline uint16_t ArrowKey(char Dir) {
  switch (Dir) {
    case 'U':
      return VK::Up;
    case 'D':
      return VK::Down;
    case 'L':
      return VK::Left;
    default:
      return VK::Right;
  }
}

// Runs frames until nothing moves; returns the frames run.
inline int Settle(TFormRig& Rig, int Limit = 2000) {
  int n = 0;
  auto& f = *Rig.Form;
  do {
    Rig.Frame();
    ++n;
  } while ((f.Rotating || f.CameraMoving || f.Assembling) && n < Limit && f.GameState == 2);
  return n;
}

// Holds a direction key for one frame (with Shift for a turn), then lets everything settle.
inline void Step(TFormRig& Rig, char Dir, bool Turn) {
  if (Turn) Rig.Key(0x10, true);
  Rig.Key(ArrowKey(Dir), true);
  Rig.Frame();
  Rig.Key(ArrowKey(Dir), false);
  if (Turn) Rig.Key(0x10, false);
  Settle(Rig);
}

// Solves the board in play by moving the cursor to every cube and turning it like cell (0, 0).
inline void SolveBoard(TFormRig& Rig) {
  auto& f = *Rig.Form;
  Settle(Rig);
  const TOrientation goal = OrientationOf(*f.Board[0][0]);
  for (int32_t i = 0; i < f.BoardRows && f.GameState == 2; ++i) {
    for (int32_t j = 0; j < f.BoardCols && f.GameState == 2; ++j) {
      const auto moves = SolveCube(*f.Board[static_cast<size_t>(i)][static_cast<size_t>(j)], goal);
      if (moves.empty()) continue;
      while (f.CursorRow < i) Step(Rig, 'U', false);
      while (f.CursorRow > i) Step(Rig, 'D', false);
      while (f.CursorCol < j) Step(Rig, 'R', false);
      while (f.CursorCol > j) Step(Rig, 'L', false);
      for (char d : moves) Step(Rig, d, true);
    }
  }
}
