// The mouse's and the fingers' gestures as the form takes them: each gives the same game as
// the keys it stands for, frame by frame.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "DXMain.h"
#include "FormRig.h"
#include "Solver.h"
#include "TestFiles.h"
#include "harness/FormTarget.h"
#include "harness/Harness.h"
#include "harness/Run.h"
#include "harness/StateDump.h"
#include "media/PictureRect.h"

namespace {

using A = TPointerAction;

// Where the frame draws a world point, by the camera and projection of the scene: for points
// to aim at, as a player's eye finds a cube.
TPicturePoint Aim(const TMainForm& F, const TVector3& P) {
  const double x = P.X - F.Camera.X, y = P.Y - F.Camera.Y, z = P.Z + F.Camera.Z;
  return {static_cast<float>(320 + 320 * 2 * x / z), static_cast<float>(240 - 240 * 2 * y / z)};
}
TPicturePoint AimAtCell(const TMainForm& F, int32_t Row, int32_t Col) {
  return Aim(F, F.Board[size_t(Row)][size_t(Col)]->Position);
}

void Tap(TMainForm& F, TPicturePoint P, int32_t Id = 1) {
  F.FormPointer({A::Down, Id, P.X, P.Y});
  F.FormPointer({A::Up, Id, P.X, P.Y});
}

void Swipe(TMainForm& F, TPicturePoint P, char Dir, int32_t Id = 1) {
  const float dx = Dir == 'R' ? 60.f : Dir == 'L' ? -60.f : 0.f;
  const float dy = Dir == 'D' ? 60.f : Dir == 'U' ? -60.f : 0.f;
  F.FormPointer({A::Down, Id, P.X, P.Y});
  F.FormPointer({A::Move, Id, P.X + dx / 2, P.Y + dy / 2});
  F.FormPointer({A::Up, Id, P.X + dx, P.Y + dy});
}

// Two fingers from Gap pixels apart to Gap + Change.
void Pinch(TMainForm& F, float Gap, float Change) {
  F.FormPointer({A::Down, 1, 320 - Gap / 2, 240});
  F.FormPointer({A::Down, 2, 320 + Gap / 2, 240});
  F.FormPointer({A::Move, 2, 320 + Gap / 2 + Change, 240});
  F.FormPointer({A::Up, 2, 320 + Gap / 2 + Change, 240});
  F.FormPointer({A::Up, 1, 320 - Gap / 2, 240});
}

std::string Dump(const TMainForm& F) { return DumpStateLine(F, 0); }

// Two forms from the same seed, brought to the same moment: one is played by gestures, the
// other by keys.
struct TTwin {
  TFormRig Touch{7}, Keys{7};
  explicit TTwin(const std::function<void(TFormRig&)>& Prepare) {
    for (TFormRig* r : {&Touch, &Keys}) {
      r->Show();
      r->Device->Recording = false;
      Prepare(*r);
      r->Sounds.clear();
    }
  }
  // Runs both for Frames frames; before each frame in which the key form takes input, the
  // next of Steps is held for that frame. Every frame's state must agree.
  void Run(int Frames, std::vector<std::vector<uint16_t>> Steps) {
    size_t next = 0;
    for (int n = 0; n < Frames; ++n) {
      TMainForm& k = *Keys.Form;
      const bool takes = !(k.CameraMoving || k.Rotating || k.Assembling) && k.GameState == 2;
      std::vector<uint16_t> held;
      if (takes && next < Steps.size()) held = Steps[next++];
      for (uint16_t key : held) Keys.Key(key, true);
      Keys.Frame();
      for (auto it = held.rbegin(); it != held.rend(); ++it) Keys.Key(*it, false);
      Touch.Frame();
      ASSERT_EQ(Dump(*Touch.Form), Dump(*Keys.Form)) << "frame " << n;
    }
    EXPECT_EQ(next, Steps.size()) << "the keys' steps were not all taken";
    EXPECT_EQ(Touch.Sounds, Keys.Sounds);
    EXPECT_FALSE(Touch.Form->PointerBusy());
  }
};

void ToPlay(TFormRig& R) {
  R.RunUntilState(4);
  while (R.Form->SetupBusy) R.Frame();
  R.Press(VK::Return);
  R.RunUntilState(2);
  while (R.Form->Assembling || R.Form->CameraMoving) R.Frame();
}

void ToLastLevel(TFormRig& R) {
  ToPlay(R);
  GoToLastLevel(*R.Form);
}

constexpr uint16_t Shift = 0x10, Ctrl = 0x11;

TEST(DXTouch, PlayGesturesGiveTheStatesOfTheirKeysStepByStep) {
  struct Case {
    const char* What;
    std::function<void(TMainForm&)> Gesture;
    std::vector<std::vector<uint16_t>> Keys;
  } cases[] = {
      {"a tap on the right neighbour", [](TMainForm& F) { Tap(F, AimAtCell(F, 2, 3)); },
       {{VK::Right}}},
      {"a click on the cube up and left: both axes at once",
       [](TMainForm& F) { Tap(F, AimAtCell(F, 3, 1), 0); }, {{VK::Up, VK::Left}}},
      {"a tap two rows down and one right: one step of both, then one down",
       [](TMainForm& F) { Tap(F, AimAtCell(F, 0, 3)); },
       {{VK::Down, VK::Right}, {VK::Down}}},
      {"a tap on the selected cube", [](TMainForm& F) { Tap(F, AimAtCell(F, 2, 2)); }, {}},
      {"a tap off the picture", [](TMainForm& F) { Tap(F, {-40, 240}); }, {}},
      {"a swipe right on the selected cube", [](TMainForm& F) { Swipe(F, AimAtCell(F, 2, 2), 'R'); },
       {{Shift, VK::Right}}},
      {"a swipe up on a cube elsewhere: the selection goes there, then it turns",
       [](TMainForm& F) { Swipe(F, AimAtCell(F, 1, 1), 'U'); },
       {{VK::Down, VK::Left}, {Shift, VK::Up}}},
      {"a swipe down from off the board turns the selected cube",
       [](TMainForm& F) { Swipe(F, {700, 100}, 'D'); }, {{Shift, VK::Down}}},
      {"the wheel towards the player steps back",
       [](TMainForm& F) { F.FormWheel(3); },
       {{Ctrl, VK::Down}, {Ctrl, VK::Down}, {Ctrl, VK::Down}}},
      {"fingers apart come closer",
       [](TMainForm& F) { Pinch(F, 40, 2 * TPointerGestures::PinchStep); },
       {{Ctrl, VK::Up}, {Ctrl, VK::Up}}},
      {"fingers together step back",
       [](TMainForm& F) { Pinch(F, 200, -TPointerGestures::PinchStep); }, {{Ctrl, VK::Down}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    TTwin twin(ToLastLevel);
    ASSERT_EQ(twin.Touch.Form->CursorRow, 2);
    ASSERT_EQ(twin.Touch.Form->CursorCol, 2);
    c.Gesture(*twin.Touch.Form);
    twin.Run(160, c.Keys);
  }
}

TEST(DXTouch, GesturesWaitWhileSomethingMovesAndAreDroppedOutsidePlay) {
  // A tap while the camera travels is taken when it has arrived, as a held key would be.
  TTwin twin(ToLastLevel);
  twin.Keys.Key(VK::Left, true);
  twin.Keys.Frame();
  twin.Keys.Key(VK::Left, false);
  Tap(*twin.Touch.Form, AimAtCell(*twin.Touch.Form, 2, 1));
  twin.Touch.Frame();
  ASSERT_TRUE(twin.Touch.Form->CameraMoving);
  Tap(*twin.Touch.Form, AimAtCell(*twin.Touch.Form, 3, 1));  // on its way: goes on from there
  twin.Run(120, {{VK::Up}});
  // On the setup screen the zoom and the play gestures are nothing.
  TFormRig rig(3);
  rig.Show();
  rig.RunUntilState(4);
  while (rig.Form->SetupBusy) rig.Frame();
  const std::string before = Dump(*rig.Form);
  rig.Form->FormWheel(-5);
  Pinch(*rig.Form, 40, 100);
  Swipe(*rig.Form, {320, 40}, 'U');
  EXPECT_FALSE(rig.Form->PointerBusy());
  EXPECT_EQ(Dump(*rig.Form), before);
}

// The face under the finger moves the way the finger moves.
TEST(DXTouch, ASwipeTurnsTheFaceUnderTheFingerItsWay) {
  struct Case {
    char Dir;
    TVector3 Normal;  // where the face that faced the player faces after the turn
  } cases[] = {{'R', {1, 0, 0}}, {'L', {-1, 0, 0}}, {'U', {0, 1, 0}}, {'D', {0, -1, 0}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Dir);
    TFormRig rig(5);
    rig.Show();
    ToPlay(rig);
    TMainForm& f = *rig.Form;
    const TD3DCube& cube = *f.Board[size_t(f.CursorRow)][size_t(f.CursorCol)];
    int facing = -1;
    for (int k = 0; k < 6; ++k)
      if (cube.Vertices[size_t(4 * k)].NZ < -0.99f) facing = k;
    ASSERT_GE(facing, 0);
    Swipe(f, AimAtCell(f, f.CursorRow, f.CursorCol), c.Dir);
    for (int n = 0; n < 80; ++n) rig.Frame();
    ASSERT_FALSE(f.Rotating);
    const TVertex& v = cube.Vertices[size_t(4 * facing)];
    EXPECT_NEAR(v.NX, c.Normal.X, 1e-3);
    EXPECT_NEAR(v.NY, c.Normal.Y, 1e-3);
    EXPECT_NEAR(v.NZ, c.Normal.Z, 1e-3);
  }
}

TEST(DXTouch, SetupGesturesAreTheSetupKeys) {
  auto onSetup = [](TFormRig& R) {
    R.RunUntilState(4);
    while (R.Form->SetupBusy) R.Frame();
  };
  auto bar = [](const TMainForm& F, int32_t Row) { return Aim(F, F.SetupCubes[size_t(Row)]->Position); };
  struct Case {
    const char* What;
    std::function<void(TMainForm&)> Gesture;
    std::vector<uint16_t> Keys;  // pressed and let go, in this order
  } cases[] = {
      {"a tap on the sound bar", [&](TMainForm& F) { Tap(F, bar(F, 1)); },
       {VK::Down, VK::Down, VK::Down, VK::Space}},
      {"a click on the picture theme bar", [&](TMainForm& F) { Tap(F, bar(F, 0), 0); },
       {VK::Down, VK::Down, VK::Down, VK::Down, VK::Space}},
      {"a tap on GO PLAY !", [&](TMainForm& F) { Tap(F, bar(F, 4)); }, {VK::Space}},
      {"a swipe left on the language bar", [&](TMainForm& F) { Swipe(F, bar(F, 3), 'L'); },
       {VK::Down, VK::Left}},
      {"a swipe right on the difficulty bar", [&](TMainForm& F) { Swipe(F, bar(F, 2), 'R'); },
       {VK::Down, VK::Down, VK::Right}},
      {"a swipe up on a bar is nothing", [&](TMainForm& F) { Swipe(F, bar(F, 2), 'U'); }, {}},
      {"a tap beside the bars is nothing", [&](TMainForm& F) { Tap(F, {20, 240}); }, {}},
      {"a tap on HELP in the corner is F1", [&](TMainForm& F) { Tap(F, {600, 460}); }, {VK::F1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    TTwin twin(onSetup);
    c.Gesture(*twin.Touch.Form);
    for (uint16_t k : c.Keys) twin.Keys.Press(k);
    EXPECT_EQ(Dump(*twin.Touch.Form), Dump(*twin.Keys.Form));
    twin.Run(120, {});
  }
  // While a bar turns, taps are refused as the keys are.
  TTwin busy(onSetup);
  Tap(*busy.Touch.Form, bar(*busy.Touch.Form, 1));
  busy.Keys.Press(VK::Down), busy.Keys.Press(VK::Down), busy.Keys.Press(VK::Down);
  busy.Keys.Press(VK::Space);
  busy.Run(2, {});
  Tap(*busy.Touch.Form, bar(*busy.Touch.Form, 0));
  busy.Run(1, {});
}

TEST(DXTouch, ATapOnASolvedBoardGoesOnAsAltDoes) {
  auto solved = [](TFormRig& R) {
    ToPlay(R);
    R.Form->GameState = 1;
    R.Frame();
  };
  TTwin twin(solved);
  Tap(*twin.Touch.Form, {-300, 900});  // anywhere, also off the picture
  twin.Keys.Key(0x12, true);
  twin.Keys.Frame();
  twin.Keys.Key(0x12, false);
  twin.Touch.Frame();
  EXPECT_EQ(twin.Touch.Form->GameState, 0);
  EXPECT_EQ(twin.Touch.Form->Level, 2);
  EXPECT_EQ(Dump(*twin.Touch.Form), Dump(*twin.Keys.Form));
  // A swipe is not a tap: the solved board stays.
  TFormRig rig(7);
  rig.Show();
  solved(rig);
  Swipe(*rig.Form, {320, 240}, 'L');
  rig.Frame();
  EXPECT_EQ(rig.Form->GameState, 1);
}

// Plays a game by pointer lines alone, aimed from the state dump between frames, and writes
// them down as a key script.
class TPointerPlayer {
 public:
  explicit TPointerPlayer(TFormRig& Rig)
      : FRig(Rig), FTarget(*Rig.Form), FHarness(FTarget, Rig.Keys, {}) {}

  std::string Script;
  int64_t Frames() const { return FHarness.Frame(); }
  nlohmann::json State() const { return DumpState(*FRig.Form, Frames()); }

  void Run(int64_t N) { ASSERT_EQ(FHarness.RunFrames(N), N); }
  template <class Pred>
  void RunWhile(Pred P, int64_t Limit = 3000) {
    for (int64_t n = 0; P(); ++n) {
      ASSERT_LT(n, Limit);
      ASSERT_TRUE(FHarness.RunFrame());
    }
  }
  void Send(const std::vector<std::string>& Lines) {
    std::string text;
    for (const auto& l : Lines) text += std::to_string(Frames() + 1) + " " + l + "\n";
    Script += text;
    FHarness.AddEvents(ParseKeyScript(text));
  }
  static std::string Point(float X, float Y) {
    return std::to_string(X) + " " + std::to_string(Y);
  }
  void Tap(TPicturePoint P, int Id) {
    const std::string at = std::to_string(Id) + " " + Point(P.X, P.Y);
    Send({"pointer down " + at, "pointer up " + at});
  }
  void Swipe(TPicturePoint P, char Dir, int Id) {
    const float dx = Dir == 'R' ? 50.f : Dir == 'L' ? -50.f : 0.f;
    const float dy = Dir == 'D' ? 50.f : Dir == 'U' ? -50.f : 0.f;
    const std::string id = std::to_string(Id) + " ";
    Send({"pointer down " + id + Point(P.X, P.Y),
          "pointer move " + id + Point(P.X + dx / 2, P.Y + dy / 2),
          "pointer up " + id + Point(P.X + dx, P.Y + dy)});
  }
  // Where the dump says a world point is drawn.
  static TPicturePoint Aim(const nlohmann::json& State, const nlohmann::json& Position) {
    const auto& c = State["Camera"];
    const double x = Position["X"].get<double>() - c["X"].get<double>();
    const double y = Position["Y"].get<double>() - c["Y"].get<double>();
    const double z = Position["Z"].get<double>() + c["Z"].get<double>();
    return {static_cast<float>(320 + 640 * x / z), static_cast<float>(240 - 480 * y / z)};
  }
  TPicturePoint AimAtCell(int32_t Row, int32_t Col) const {
    const auto state = State();
    return Aim(state, state["Board"][size_t(Row)][size_t(Col)]["Position"]);
  }
  TPicturePoint AimAtBar(int32_t Row) const {
    const auto state = State();
    return Aim(state, state["SetupCubes"][size_t(Row)]["Position"]);
  }
  void Settle() {
    auto& f = *FRig.Form;
    RunWhile([&] {
      return f.GameState == 2 && (f.Rotating || f.CameraMoving || f.Assembling || f.PointerBusy());
    });
  }
  // Each cube in turn: the first turn by a swipe on it (the selection goes there first), the
  // others by swipes beside the picture, which turn the selected cube.
  void SolveBoard() {
    auto& f = *FRig.Form;
    Settle();
    const TOrientation goal = OrientationOf(*f.Board[0][0]);
    for (int32_t i = 0; i < f.BoardRows && f.GameState == 2; ++i) {
      for (int32_t j = 0; j < f.BoardCols && f.GameState == 2; ++j) {
        const auto moves = SolveCube(*f.Board[size_t(i)][size_t(j)], goal);
        // A cube beyond the picture's edge is reached over nearer ones, as a player would.
        auto shown = [&] {
          const TPicturePoint p = AimAtCell(i, j);
          const auto cell = f.BoardCellAt(p.X, p.Y);
          return cell && cell->Row == i && cell->Col == j;
        };
        while (!moves.empty() && !shown()) {
          const int32_t r = f.CursorRow + (i > f.CursorRow) - (i < f.CursorRow);
          const int32_t c = f.CursorCol + (j > f.CursorCol) - (j < f.CursorCol);
          Tap(AimAtCell(r, c), 1);
          Run(1);
          Settle();
        }
        for (size_t m = 0; m < moves.size(); ++m) {
          if (m == 0)
            Swipe(AimAtCell(i, j), moves[m], 1 + (i + j) % 3);
          else
            Swipe({-60, 240}, moves[m], 0);
          Run(1);  // the events come before this frame
          Settle();
        }
      }
    }
    Run(1);
  }

 private:
  TFormRig& FRig;
  TFormTarget FTarget;
  THarness FHarness;
};

TEST(DXTouch, AWholeGameByPointerLinesAloneEndsAsTheKeysGameDoes) {
  constexpr uint32_t Seed = 13;
  // The keys' game.
  TFormRig keys(Seed);
  keys.Show();
  keys.Device->Recording = false;
  {
    TMainForm& f = *keys.Form;
    keys.RunUntilState(4);
    while (f.SetupBusy) keys.Frame();
    keys.Press(VK::Return);
    keys.RunUntilState(2);
    for (int32_t level = 1; level <= 4; ++level) {
      SolveBoard(keys);
      keys.Frame();
      ASSERT_EQ(f.GameState, 1);
      if (level < 4) {
        keys.Key(0x12, true);
        keys.Frame();
        keys.Key(0x12, false);
        keys.RunUntilState(2);
      }
    }
    keys.RunUntilState(5);
  }

  TFormRig rig(Seed);
  rig.Show();
  rig.Device->Recording = false;
  auto& f = *rig.Form;
  TPointerPlayer player(rig);
  player.RunWhile([&] { return f.GameState != 4; });
  player.Tap({620, 465}, 1);  // HELP: the help, with the gestures, while the bars are chosen
  player.Run(60);
  EXPECT_TRUE(f.HelpVisible);
  player.Tap({620, 465}, 1);
  player.RunWhile([&] { return f.SetupBusy; });
  player.Swipe(player.AimAtBar(3), 'R', 2);  // English
  player.Run(1);
  EXPECT_EQ(f.SetupChoice[3], 1);
  player.RunWhile([&] { return f.SetupBusy; });
  player.Swipe(player.AimAtBar(3), 'L', 2);  // and back
  player.RunWhile([&] { return f.SetupBusy || f.SetupChoice[3] != 0; });
  player.Tap(player.AimAtBar(4), 0);  // "GO PLAY !", clicked
  player.RunWhile([&] { return f.GameState != 2; });
  for (int32_t level = 1; level <= 4; ++level) {
    SCOPED_TRACE(level);
    ASSERT_EQ(f.Level, level);
    player.SolveBoard();
    ASSERT_EQ(f.GameState, 1);
    if (level < 4) {
      player.Tap({100, 100}, 3);  // anywhere
      player.RunWhile([&] { return f.GameState != 2; });
    }
  }
  player.RunWhile([&] { return f.GameState != 5; });
  player.Run(30);
  EXPECT_EQ(f.Credits, keys.Form->Credits);
  EXPECT_EQ(f.TicketText, keys.Form->TicketText);
  EXPECT_EQ(keys.Form->GameState, 5);

  // The script alone, through the program's own run, plays the same game to the same end.
  const auto dir = TestOutDir("touch-test");
  {
    std::ofstream out(dir / "touch.keys");
    out << "# a whole game by pointer\n" << player.Script;
  }
  for (const TKeyEvent& e : ParseKeyScript(player.Script))
    ASSERT_EQ(e.Kind, TEventKind::Pointer) << "a key in a pointer game, frame " << e.Frame;
  THarnessOptions options;
  options.Frames = player.Frames();
  options.KeysFile = (dir / "touch.keys").string();
  options.DumpStateFile = (dir / "touch.json").string();
  TFormRig replay(Seed);
  replay.Show();
  replay.Device->Recording = false;
  EXPECT_EQ(RunGame(*replay.Form, replay.Keys, options, {}), player.Frames());
  EXPECT_EQ(nlohmann::json::parse(Slurp(dir / "touch.json")), player.State());
}

}  // namespace
