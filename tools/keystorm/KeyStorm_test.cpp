#include "KeyStorm.h"

#include <gtest/gtest.h>

#include <set>

#include "FormRig.h"
#include "harness/FormTarget.h"
#include "harness/Harness.h"
#include "harness/KeyScript.h"
#include "harness/StateDump.h"

namespace {

TEST(KeyStorm, ASeedGivesOneStormOfTheGamesKeysHeldAndLetGo) {
  const std::string storm = KeyStorm(17, 3000);
  EXPECT_EQ(storm, KeyStorm(17, 3000));
  EXPECT_NE(storm, KeyStorm(18, 3000));
  const TKeyScript script = ReadKeyScript(storm);
  std::set<uint8_t> keys, held;
  int altReturns = 0;
  for (size_t i = 0; i < script.Events.size(); ++i) {
    const TKeyEvent& e = script.Events[i];
    ASSERT_GE(e.Frame, 1);
    ASSERT_LE(e.Frame, 3000);
    keys.insert(e.VirtualKey);
    if (e.Down) {
      held.insert(e.VirtualKey);
      if (e.VirtualKey == 0x0D && held.count(0x12)) ++altReturns;
    } else {
      EXPECT_TRUE(held.erase(e.VirtualKey)) << "let go of a key not held, frame " << e.Frame;
    }
  }
  EXPECT_EQ(keys, (std::set<uint8_t>{0x0D, 0x10, 0x11, 0x12, 0x20, 0x25, 0x26, 0x27, 0x28, 0x70,
                                     0x71, 0x72, 0x73, 0x74}));
  EXPECT_GT(altReturns, 3);
  EXPECT_GT(script.Events.size(), 1000u);
}

// The game played by a storm on the display that shows nothing: every frame's state is sane.
TEST(KeyStorm, AStormLeavesTheGameSaneInEveryFrame) {
  TFormRig rig(3);
  rig.Show();
  rig.Device->Recording = false;
  TFormTarget target(*rig.Form);
  THarness harness(target, rig.Keys, ParseKeyScript(KeyStorm(3, 2500)));
  nlohmann::json before;
  std::set<int32_t> states;
  harness.OnFrame = [&](int64_t Frame) {
    nlohmann::json state = nlohmann::json::parse(DumpStateLine(*rig.Form, Frame));
    for (const auto& p : StateProblems(state, before))
      ADD_FAILURE() << "frame " << Frame << ": " << p;
    states.insert(rig.Form->GameState);
    before = std::move(state);
  };
  EXPECT_EQ(harness.RunFrames(2500), 2500);
  EXPECT_TRUE(states.count(2)) << "the storm never reached play";
}

TEST(KeyStorm, APointerStormHasEveryGestureAndStrayInputAmongKeys) {
  const std::string storm = PointerStorm(5, 3000);
  EXPECT_EQ(storm, PointerStorm(5, 3000));
  EXPECT_NE(storm, PointerStorm(6, 3000));
  const TKeyScript script = ReadKeyScript(storm);
  std::set<int32_t> down;
  int keys = 0, wheels = 0, strays = 0, offPicture = 0, crowded = 0;
  std::set<TPointerAction> actions;
  for (const TKeyEvent& e : script.Events) {
    if (e.Kind == TEventKind::Key) ++keys;
    if (e.Kind == TEventKind::Wheel) ++wheels;
    if (e.Kind != TEventKind::Pointer) continue;
    const TPointerEvent& p = e.Pointer;
    actions.insert(p.Action);
    if (p.X < 0 || p.X > 640 || p.Y < 0 || p.Y > 480) ++offPicture;
    if (p.Action == TPointerAction::Down) {
      down.insert(p.Id);
      if (down.size() > size_t(TPointerGestures::MaxContacts)) ++crowded;
    } else if (!down.count(p.Id)) {
      ++strays;
    }
    if (p.Action == TPointerAction::Up) down.erase(p.Id);
  }
  EXPECT_EQ(actions.size(), 3u);
  EXPECT_GT(keys, 100);
  EXPECT_GT(wheels, 10);
  EXPECT_GT(strays, 3);
  EXPECT_GT(offPicture, 50);
  EXPECT_GT(crowded, 0) << "never more fingers than are followed";
}

// Pointer storms through the form: every frame sane, and the gestures reach play and change
// the board and the zoom there.
TEST(KeyStorm, APointerStormLeavesTheGameSaneInEveryFrame) {
  TFormRig rig(4);
  rig.Show();
  rig.Device->Recording = false;
  TFormTarget target(*rig.Form);
  THarness harness(target, rig.Keys, ParseKeyScript(PointerStorm(4, 4000)));
  nlohmann::json before;
  std::set<int32_t> states;
  std::set<float> zooms;
  harness.OnFrame = [&](int64_t Frame) {
    nlohmann::json state = nlohmann::json::parse(DumpStateLine(*rig.Form, Frame));
    for (const auto& p : StateProblems(state, before))
      ADD_FAILURE() << "frame " << Frame << ": " << p;
    states.insert(rig.Form->GameState);
    if (rig.Form->GameState == 2) zooms.insert(rig.Form->Camera.Z);
    before = std::move(state);
  };
  EXPECT_EQ(harness.RunFrames(4000), 4000);
  EXPECT_TRUE(states.count(2)) << "the storm never reached play";
  EXPECT_GT(zooms.size(), 2u) << "pinches and the wheel never zoomed";
}

TEST(KeyStorm, BrokenStatesAreFound) {
  TFormRig rig(4);
  rig.Show();
  rig.Frames(3);
  const nlohmann::json first = nlohmann::json::parse(DumpStateLine(*rig.Form, 1));
  rig.Frame();
  const nlohmann::json good = nlohmann::json::parse(DumpStateLine(*rig.Form, 2));
  ASSERT_TRUE(StateProblems(first, nullptr).empty());
  ASSERT_TRUE(StateProblems(good, first).empty());
  struct Case {
    const char* Pointer;
    nlohmann::json Value;
    const char* Problem;
  } cases[] = {
      {"/GameState", 7, "GameState is not in 0..5"},
      {"/GameState", 2, "GameState went from 3 to 2"},
      {"/Level", 5, "Level is not in 1..4"},
      {"/BoardRows", 3, "the board is not Level + 1 square"},
      {"/CursorRow", 2, "CursorRow is off the board"},
      {"/CursorCol", -1, "CursorCol is off the board"},
      {"/Credits", -1, "Credits is negative"},
      {"/LanguageIndex", 0, "the language does not follow its choice"},
      {"/SetupChoice/2", 2, "SetupChoice is not five choices of 0 or 1"},
      {"/RotateDir", "X", "RotateDir is not one of ' UDLR'"},
      {"/Camera/Z", 10.4, "Camera.Z is past its limits"},
      {"/Camera/X", 3.0, "Camera.X is away from the board"},
      {"/TicketText", "12AB", "TicketText is not 30 hexadecimal digits"},
      {"/Board/1", nlohmann::json::array(), "Board or TargetAngles is not BoardRows x BoardCols"},
      {"/Board/0/1/AngleY", 360, "Board[0][1].AngleY is not in 0..359"},
      {"/Board/1/0/TopFace", 6, "Board[1][0].TopFace is no face"},
      {"/Board/1/1/Position/X", nullptr, "Board[1][1].Position.X is not a finite number"},
      {"/SetupCubes/4/TextureIndex", 3, "a setup cube shows neither language"},
      {"/BackgroundCube/Brightness", 256, "BackgroundCube.Brightness is not in 0..255"},
      {"/Frame", 4, "the frames do not follow each other"},
  };
  for (const Case& c : cases) {
    nlohmann::json bad = good;
    bad[nlohmann::json::json_pointer(c.Pointer)] = c.Value;
    const auto problems = StateProblems(bad, first);
    EXPECT_NE(std::find(problems.begin(), problems.end(), c.Problem), problems.end())
        << c.Pointer << ": " << testing::PrintToString(problems);
  }
  EXPECT_EQ(StateProblems(good, good).front(), "the frames do not follow each other");
  EXPECT_EQ(StateProblems(nlohmann::json(3), nullptr).front(), "the state is not an object");
}

}  // namespace
