#include "harness/Run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "DXMain.h"
#include "FormRig.h"
#include "Solver.h"
#include "TestFiles.h"
#include "harness/FormTarget.h"
#include "harness/Harness.h"
#include "harness/StateDump.h"

namespace {

std::filesystem::path OutDir() { return TestOutDir("run-test"); }

// Plays a whole game by looking at the form between frames and writing down the key events
// it sends, as a key script.
class TScriptedPlayer {
 public:
  explicit TScriptedPlayer(TFormRig& Rig)
      : FRig(Rig), FTarget(*Rig.Form), FHarness(FTarget, Rig.Keys, {}) {}

  std::string Script;
  int64_t Frames() const { return FHarness.Frame(); }

  void Run(int64_t N) { ASSERT_EQ(FHarness.RunFrames(N), N); }
  template <class Pred>
  void RunWhile(Pred P, int64_t Limit = 3000) {
    for (int64_t n = 0; P(); ++n) {
      ASSERT_LT(n, Limit);
      ASSERT_TRUE(FHarness.RunFrame());
    }
  }
  // Events before the next tick.
  void Send(const std::vector<std::string>& Lines) {
    std::string text;
    for (const auto& l : Lines) text += std::to_string(Frames() + 1) + " " + l + "\n";
    Script += text;
    FHarness.AddEvents(ParseKeyScript(text));
  }
  void Settle() {
    auto& f = *FRig.Form;
    RunWhile([&] { return f.GameState == 2 && (f.Rotating || f.CameraMoving || f.Assembling); });
  }
  void Step(char Dir, bool Turn) {
    const char* key = Dir == 'U' ? "UP" : Dir == 'D' ? "DOWN" : Dir == 'L' ? "LEFT" : "RIGHT";
    if (Turn)
      Send({"down SHIFT", std::string("down ") + key});
    else
      Send({std::string("down ") + key});
    Run(1);
    if (Turn)
      Send({std::string("up ") + key, "up SHIFT"});
    else
      Send({std::string("up ") + key});
    Run(1);
    Settle();
  }
  void SolveBoard() {
    auto& f = *FRig.Form;
    Settle();
    const TOrientation goal = OrientationOf(*f.Board[0][0]);
    for (int32_t i = 0; i < f.BoardRows && f.GameState == 2; ++i) {
      for (int32_t j = 0; j < f.BoardCols && f.GameState == 2; ++j) {
        const auto moves = SolveCube(*f.Board[size_t(i)][size_t(j)], goal);
        if (moves.empty()) continue;
        while (f.CursorRow < i) Step('U', false);
        while (f.CursorRow > i) Step('D', false);
        while (f.CursorCol < j) Step('R', false);
        while (f.CursorCol > j) Step('L', false);
        for (char d : moves) Step(d, true);
      }
    }
    Run(1);  // the solved test runs in the first frame in which nothing moves
  }

 private:
  TFormRig& FRig;
  TFormTarget FTarget;
  THarness FHarness;
};

TEST(Run, AWholeGameFromTheSetupScreenToGameOverByKeyScript) {
  constexpr uint32_t Seed = 11;
  TFormRig rig(Seed);
  rig.Show();
  rig.Device->Recording = false;  // thousands of frames: keep no calls
  auto& f = *rig.Form;
  TScriptedPlayer player(rig);
  player.RunWhile([&] { return f.GameState != 4; });
  player.Send({"down F1"});  // help open while playing: the panel and its texts run too
  player.Run(1);
  player.Send({"up F1"});
  player.RunWhile([&] { return f.SetupBusy; });
  EXPECT_EQ(f.SetupRow, 4);
  player.Send({"down RETURN"});  // "GO PLAY !"
  player.Run(1);
  player.Send({"up RETURN"});
  player.RunWhile([&] { return f.GameState != 2; });
  for (int32_t level = 1; level <= 4; ++level) {
    SCOPED_TRACE(level);
    ASSERT_EQ(f.Level, level);
    ASSERT_EQ(f.BoardRows, level + 1);
    player.SolveBoard();
    ASSERT_EQ(f.GameState, 1);
    if (level < 4) {
      player.Send({"down MENU"});
      player.Run(1);
      player.Send({"up MENU"});
      player.RunWhile([&] { return f.GameState != 2; });
    }
  }
  player.RunWhile([&] { return f.GameState != 5; });
  player.Run(60);
  player.Send({"down ESCAPE"});
  const int64_t frames = player.Frames() + 1;  // the closing event stops the run before it
  const int32_t credits = f.Credits;
  EXPECT_GT(credits, 0);

  // The script alone, through the program's own run, plays the same game to its end.
  const auto dir = OutDir();
  {
    std::ofstream keys(dir / "game.keys");
    keys << "# a whole game\n" << player.Script;
  }
  THarnessOptions options;
  options.Frames = frames + 100;  // more than needed: ESC ends the run
  options.KeysFile = (dir / "game.keys").string();
  options.DumpStateFile = (dir / "game.json").string();
  TFormRig replay(Seed);
  replay.Show();
  replay.Device->Recording = false;
  EXPECT_EQ(RunGame(*replay.Form, replay.Keys, options, {}), frames - 1);
  EXPECT_TRUE(replay.Window->Closed());
  auto dump = nlohmann::json::parse(Slurp(dir / "game.json"));
  EXPECT_EQ(dump["GameState"], 5);
  EXPECT_EQ(dump["Level"], 4);
  EXPECT_EQ(dump["BoardRows"], 5);
  EXPECT_EQ(dump["Credits"], credits);
  EXPECT_EQ(dump["Frame"], frames - 1);
  EXPECT_EQ(dump["TicketText"].get<std::string>().size(), 30u);
}

TEST(Run, SameOptionsGiveTheSameBytes) {
  const auto dir = OutDir();
  {
    std::ofstream keys(dir / "short.keys");
    keys << "200 down RETURN\n201 up RETURN\n400 down SHIFT\n400 down RIGHT\n401 up RIGHT\n"
            "402 up SHIFT\n420 down 0x28\n421 up DOWN\n";
  }
  // The third run goes a step at a time, as the browser drives it, and draws one tick in seven.
  std::string dumps[3], traces[3];
  for (int i = 0; i < 3; ++i) {
    THarnessOptions options;
    options.Frames = 600;
    options.KeysFile = (dir / "short.keys").string();
    options.DumpStateFile = (dir / ("d" + std::to_string(i) + ".json")).string();
    options.TraceFile = (dir / ("t" + std::to_string(i) + ".jsonl")).string();
    TFormRig rig(5);
    rig.Show();
    rig.Device->Recording = false;
    if (i < 2) {
      EXPECT_EQ(RunGame(*rig.Form, rig.Keys, options, {}), 600);
    } else {
      TGameRun run(*rig.Form, rig.Keys, options, LoadKeyScript(options.KeysFile).Events);
      while (run.FramesLeft()) ASSERT_TRUE(run.RunFrame(run.Frame() % 7 == 0));
      EXPECT_EQ(run.Finish(), 600);
      EXPECT_EQ(run.Finish(), 600);  // once only: the outputs stay as written
    }
    dumps[i] = Slurp(options.DumpStateFile);
    traces[i] = Slurp(options.TraceFile);
  }
  EXPECT_EQ(dumps[0], dumps[1]);
  EXPECT_EQ(traces[0], traces[1]);
  EXPECT_EQ(dumps[0], dumps[2]);
  EXPECT_EQ(traces[0], traces[2]);
  std::istringstream lines(traces[0]);
  std::string line, last;
  int64_t n = 0;
  while (std::getline(lines, line)) {
    auto j = nlohmann::json::parse(line);
    EXPECT_EQ(j["Frame"], ++n);
    last = line;
  }
  EXPECT_EQ(n, 600);
  // The dump is the last trace line, spread over lines.
  EXPECT_EQ(nlohmann::json::parse(dumps[0]), nlohmann::json::parse(last));
}

TEST(Run, OutputsThatCannotBeWrittenAreReported) {
  TFormRig rig;
  rig.Show();
  THarnessOptions options;
  options.Frames = 1;
  options.DumpStateFile = "/nonexistent-folder/state.json";
  EXPECT_THROW(RunGame(*rig.Form, rig.Keys, options, {}), EHarnessError);
  options.DumpStateFile.clear();
  options.KeysFile = "/nonexistent-folder/keys";
  EXPECT_THROW(RunGame(*rig.Form, rig.Keys, options, {}), EKeyScriptError);
}

TEST(Run, TheClockOptionFixesTheDateButNotTheMilliseconds) {
  THarnessClock fixed(TLocalDateTime{2007, 3, 9, 14, 5, 7});
  EXPECT_EQ(fixed.Now(), (TLocalDateTime{2007, 3, 9, 14, 5, 7}));
  THarnessClock system(std::nullopt);
  EXPECT_GE(system.Now().Year, 2020);
}

}  // namespace
