#include "KeyStorm.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <set>

#include "harness/KeyScript.h"

namespace {

constexpr uint8_t StormKeys[] = {
    0x25, 0x26, 0x27, 0x28,       // arrows
    0x10, 0x11, 0x12,             // Shift, Ctrl, Alt
    0x0D, 0x20,                   // Return, Space
    0x70, 0x71, 0x72, 0x73, 0x74  // F1 .. F5
};

// Draws from the generator's own output, which the standard fixes, so that a seed gives the
// same storm wherever it runs (the library's distributions may differ).
class TDraw {
 public:
  explicit TDraw(uint32_t Seed) : FGen(Seed) {}
  uint32_t Below(uint32_t N) { return static_cast<uint32_t>(FGen() % N); }
  bool Chance(uint32_t PerThousand) { return Below(1000) < PerThousand; }

 private:
  std::mt19937 FGen;
};

// One frame of key events: presses, repeats and releases of the storm's keys, Alt+Return now
// and then. PressChance: the chance per thousand that the frame presses keys at all.
class TKeyWeather {
 public:
  TKeyWeather(TDraw& Draw, std::string& Script, uint32_t PressChance)
      : FDraw(Draw), FScript(Script), FPressChance(PressChance) {}

  void Frame(int64_t F) {
    if (FDraw.Chance(2) && !FHeld.count(0x12) && !FHeld.count(0x0D)) {
      Line(F, true, 0x12);
      Line(F, true, 0x0D);
      Line(F, false, 0x0D);
      Line(F, false, 0x12);
      return;
    }
    const uint32_t events = FDraw.Chance(FPressChance) ? 1 + FDraw.Below(3) : 0;
    for (uint32_t n = 0; n < events; ++n) {
      const uint8_t key = StormKeys[FDraw.Below(std::size(StormKeys))];
      if (FHeld.count(key) && FDraw.Chance(500))
        Line(F, false, key);
      else
        Line(F, true, key);
    }
    // Held keys let go after a while.
    for (uint8_t key : std::vector<uint8_t>(FHeld.begin(), FHeld.end()))
      if (FDraw.Chance(40)) Line(F, false, key);
  }

 private:
  void Line(int64_t F, bool Down, uint8_t Key) {
    FScript += KeyScriptLine({F, Down, Key}) + '\n';
    if (Down)
      FHeld.insert(Key);
    else
      FHeld.erase(Key);
  }
  TDraw& FDraw;
  std::string& FScript;
  uint32_t FPressChance;
  std::set<uint8_t> FHeld;
};

}  // namespace

std::string KeyStorm(uint32_t Seed, int64_t Frames) {
  TDraw draw(Seed);
  std::string script = "# key storm, seed " + std::to_string(Seed) + "\n";
  TKeyWeather keys(draw, script, 150);
  for (int64_t frame = 1; frame <= Frames; ++frame) keys.Frame(frame);
  return script;
}

namespace {

// Pointer gestures of a storm. Lines for later frames are written at once: a script is read
// in frame order.
class TPointerWeather {
 public:
  TPointerWeather(TDraw& Draw, std::string& Script) : FDraw(Draw), FScript(Script) {}

  void Frame(int64_t F) {
    if (FDraw.Chance(30)) Touch(F, 0);
    if (FDraw.Chance(20)) Touch(F, 40 + static_cast<float>(FDraw.Below(100)));
    if (FDraw.Chance(6)) Pinch(F);
    if (FDraw.Chance(10)) Line(WheelEventAt(F, static_cast<int32_t>(FDraw.Below(7)) - 3));
    if (FDraw.Chance(3)) Stray(F);
    if (FDraw.Chance(1)) TenFingers(F);
  }

 private:
  // Mostly over the middle, where the bars and the cubes are; some off the picture.
  float Coordinate(float Size) {
    const float u = static_cast<float>(FDraw.Below(10001)) / 10000;
    if (FDraw.Chance(600)) return Size * (0.25f + 0.5f * u);
    return -100 + (Size + 200) * u;
  }
  int32_t Id() { return static_cast<int32_t>(FDraw.Below(4)); }
  void Pointer(int64_t F, TPointerAction A, int32_t Id, float X, float Y) {
    Line(PointerEventAt(F, {A, Id, X, Y}));
  }
  // A tap (Length 0) or a swipe of Length pixels in one of the four directions.
  void Touch(int64_t F, float Length) {
    const int32_t id = Id();
    const float x = Coordinate(640), y = Coordinate(480);
    const uint32_t dir = FDraw.Below(4);
    const float dx = dir == 0 ? Length : dir == 1 ? -Length : 0;
    const float dy = dir == 2 ? Length : dir == 3 ? -Length : 0;
    const int64_t frames = 1 + FDraw.Below(6);
    Pointer(F, TPointerAction::Down, id, x, y);
    for (int64_t k = 1; k < frames; ++k) {
      const float t = static_cast<float>(k) / static_cast<float>(frames);
      Pointer(F + k, TPointerAction::Move, id, x + dx * t, y + dy * t);
    }
    Pointer(F + frames, TPointerAction::Up, id, x + dx, y + dy);
  }
  void Pinch(int64_t F) {
    const float x = Coordinate(640), y = Coordinate(480);
    const float from = 20 + static_cast<float>(FDraw.Below(150));
    const float to = 20 + static_cast<float>(FDraw.Below(150));
    Pointer(F, TPointerAction::Down, 1, x - from, y);
    Pointer(F, TPointerAction::Down, 2, x + from, y);
    for (int64_t k = 1; k <= 4; ++k) {
      const float d = from + (to - from) * static_cast<float>(k) / 4;
      Pointer(F + k, TPointerAction::Move, 1, x - d, y);
      Pointer(F + k, TPointerAction::Move, 2, x + d, y);
    }
    Pointer(F + 5, TPointerAction::Up, 2, x + to, y);
    Pointer(F + 6, TPointerAction::Up, 1, x - to, y);
  }
  // Ups and moves of fingers never put down, and points far off the picture.
  void Stray(int64_t F) {
    const int32_t id = 5 + static_cast<int32_t>(FDraw.Below(20));
    Pointer(F, FDraw.Chance(500) ? TPointerAction::Up : TPointerAction::Move, id,
            Coordinate(640), Coordinate(480));
    Pointer(F, TPointerAction::Down, id, -99999, 99999);
    Pointer(F + 1, TPointerAction::Up, id, 99999.5f, -99999.5f);
  }
  void TenFingers(int64_t F) {
    for (int32_t id = 1; id <= 12; ++id)
      Pointer(F, TPointerAction::Down, id, 30 * static_cast<float>(id), Coordinate(480));
    for (int32_t id = 1; id <= 12; ++id)
      Pointer(F + 2, TPointerAction::Up, id, 30 * static_cast<float>(id) + 40, 240);
  }
  void Line(const TKeyEvent& E) { FScript += KeyScriptLine(E) + '\n'; }

  TDraw& FDraw;
  std::string& FScript;
};

}  // namespace

std::string PointerStorm(uint32_t Seed, int64_t Frames) {
  TDraw draw(Seed);
  std::string script = "# pointer storm, seed " + std::to_string(Seed) + "\n";
  TKeyWeather keys(draw, script, 40);
  TPointerWeather pointer(draw, script);
  for (int64_t frame = 1; frame <= Frames; ++frame) {
    keys.Frame(frame);
    pointer.Frame(frame);
  }
  return script;
}

namespace {

using json = nlohmann::json;

bool IntIn(const json& V, int64_t Low, int64_t High) {
  return V.is_number_integer() && V.get<int64_t>() >= Low && V.get<int64_t>() <= High;
}

bool NumberIn(const json& V, double Low, double High) {
  return V.is_number() && std::isfinite(V.get<double>()) && V.get<double>() >= Low &&
         V.get<double>() <= High;
}

class TChecker {
 public:
  explicit TChecker(std::vector<std::string>& Problems) : FProblems(Problems) {}

  void Expect(bool Holds, const std::string& What) {
    if (!Holds) FProblems.push_back(What);
  }
  void Object(const json& O, const std::string& Where, int64_t TexturesLow, int64_t TexturesHigh) {
    if (!O.is_object()) {
      FProblems.push_back(Where + " is missing");
      return;
    }
    for (const char* k : {"AngleX", "AngleY", "AngleZ"})
      Expect(IntIn(O.value(k, json()), 0, 359), Where + "." + k + " is not in 0..359");
    Expect(IntIn(O.value("Brightness", json()), 0, 255), Where + ".Brightness is not in 0..255");
    Expect(IntIn(O.value("TextureIndex", json()), TexturesLow, TexturesHigh),
           Where + ".TextureIndex is out of range");
    for (const char* k : {"Scaling", "Position"})
      for (const char* c : {"X", "Y", "Z"})
        Expect(NumberIn(O.value(k, json::object()).value(c, json()), -1e6, 1e6),
               Where + "." + k + "." + c + " is not a finite number");
  }

 private:
  std::vector<std::string>& FProblems;
};

}  // namespace

std::vector<std::string> StateProblems(const json& S, const json& Before) {
  std::vector<std::string> problems;
  TChecker check(problems);
  if (!S.is_object()) return {"the state is not an object"};
  const json state = S.value("GameState", json());
  check.Expect(IntIn(state, 0, 5), "GameState is not in 0..5");
  const json level = S.value("Level", json());
  check.Expect(IntIn(level, 1, 4), "Level is not in 1..4");
  check.Expect(S.value("MaxLevel", json()) == 4, "MaxLevel is not 4");
  const int64_t size = level.is_number_integer() ? level.get<int64_t>() + 1 : 0;
  check.Expect(S.value("BoardRows", json()) == size && S.value("BoardCols", json()) == size,
               "the board is not Level + 1 square");
  check.Expect(IntIn(S.value("CursorRow", json()), 0, size - 1), "CursorRow is off the board");
  check.Expect(IntIn(S.value("CursorCol", json()), 0, size - 1), "CursorCol is off the board");
  check.Expect(IntIn(S.value("SetupRow", json()), 0, 4), "SetupRow is not in 0..4");
  check.Expect(IntIn(S.value("GlassAlpha", json()), 0, 255), "GlassAlpha is not in 0..255");
  check.Expect(IntIn(S.value("Credits", json()), 0, INT32_MAX), "Credits is negative");
  const json choice = S.value("SetupChoice", json());
  bool choicesOk = choice.is_array() && choice.size() == 5;
  if (choicesOk)
    for (const auto& c : choice) choicesOk = choicesOk && IntIn(c, 0, 1);
  check.Expect(choicesOk, "SetupChoice is not five choices of 0 or 1");
  // Language and its choice start in step and every change flips both.
  if (choicesOk)
    check.Expect(S.value("LanguageIndex", json()) == 1 - choice[3].get<int64_t>(),
                 "the language does not follow its choice");
  const std::string dir = S.value("RotateDir", std::string("?"));
  check.Expect(dir.size() == 1 && std::string(" UDLR").find(dir) != std::string::npos,
               "RotateDir is not one of ' UDLR'");
  const json camera = S.value("Camera", json::object());
  check.Expect(NumberIn(camera.value("Z", json()), -0.2001, 10.2001),
               "Camera.Z is past its limits");
  for (const char* c : {"X", "Y"})
    check.Expect(NumberIn(camera.value(c, json()), -0.05, static_cast<double>(size) - 0.95),
                 std::string("Camera.") + c + " is away from the board");
  check.Expect(NumberIn(S.value("CubeScale", json()), 0.01, 0.4), "CubeScale is not in 0..0.4");
  const std::string ticket = S.value("TicketText", std::string());
  check.Expect(
      ticket.size() == 30 &&
          std::all_of(ticket.begin(), ticket.end(),
                      [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }),
      "TicketText is not 30 hexadecimal digits");

  const json board = S.value("Board", json());
  const json targets = S.value("TargetAngles", json());
  bool shaped = board.is_array() && targets.is_array() && int64_t(board.size()) == size &&
                int64_t(targets.size()) == size;
  for (int64_t i = 0; shaped && i < size; ++i) {
    shaped = board[i].is_array() && int64_t(board[i].size()) == size && targets[i].is_array() &&
             int64_t(targets[i].size()) == size;
    for (int64_t j = 0; shaped && j < size; ++j) {
      const std::string where = "Board[" + std::to_string(i) + "][" + std::to_string(j) + "]";
      check.Object(board[i][j], where, 0, 0);
      for (const char* k : {"FrontFace", "TopFace", "LeftFace"})
        check.Expect(IntIn(board[i][j].value(k, json()), 0, 5), where + "." + k + " is no face");
    }
  }
  check.Expect(shaped, "Board or TargetAngles is not BoardRows x BoardCols");
  const json setup = S.value("SetupCubes", json());
  check.Expect(setup.is_array() && setup.size() == 5, "there are not five setup cubes");
  for (size_t k = 0; setup.is_array() && k < setup.size(); ++k) {
    check.Object(setup[k], "SetupCubes[" + std::to_string(k) + "]", 0, 6);
    const json index = setup[k].value("TextureIndex", json());
    check.Expect(index == 0 || index == 6, "a setup cube shows neither language");
  }
  check.Object(S.value("SetupPanel", json()), "SetupPanel", 0, 0);
  check.Object(S.value("BackgroundCube", json()), "BackgroundCube", 0, 0);

  if (Before.is_object()) {
    check.Expect(S.value("Frame", json()) == Before.value("Frame", int64_t{0}) + 1,
                 "the frames do not follow each other");
    check.Expect(S.value("Credits", 0) >= Before.value("Credits", 0), "Credits went down");
    check.Expect(S.value("Level", 0) >= Before.value("Level", 0), "Level went down");
    // 4 to 2: "GO PLAY !" sets 0 and the same frame starts the play.
    static constexpr std::array<std::array<bool, 6>, 6> Next = {{
        {true, false, true, false, false, false},   // 0 start of play
        {true, true, false, false, false, true},    // 1 level solved
        {false, true, true, false, false, false},   // 2 play
        {false, false, false, true, true, false},   // 3 intro
        {true, false, true, false, true, false},    // 4 setup screen
        {false, false, false, false, false, true},  // 5 game over
    }};
    const json was = Before.value("GameState", json());
    if (IntIn(was, 0, 5) && IntIn(state, 0, 5))
      check.Expect(Next[was.get<size_t>()][state.get<size_t>()],
                   "GameState went from " + was.dump() + " to " + state.dump());
  } else {
    check.Expect(S.value("Frame", json()) == 1, "the first frame is not frame 1");
  }
  return problems;
}
