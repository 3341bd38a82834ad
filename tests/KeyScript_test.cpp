#include "harness/KeyScript.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

namespace {

TEST(KeyScript, NamesAndCodes) {
  struct Case {
    const char* Name;
    int Code;
  } cases[] = {{"ESCAPE", 0x1B},  {"RETURN", 0x0D},  {"SPACE", 0x20},   {"SHIFT", 0x10},
               {"CONTROL", 0x11}, {"MENU", 0x12},    {"LEFT", 0x25},    {"RIGHT", 0x27},
               {"UP", 0x26},      {"DOWN", 0x28},    {"F1", 0x70},      {"F12", 0x7B},
               {"F5", 0x74},      {"A", 0x41},       {"Z", 0x5A},       {"0", 0x30},
               {"9", 0x39},       {"NUMPAD0", 0x60}, {"NUMPAD9", 0x69}, {"0x4B", 0x4B},
               {"0X4b", 0x4B},    {"0xff", 0xFF},    {"shift", 0x10},   {"numpad8", 0x68}};
  for (auto c : cases) {
    auto code = KeyCode(c.Name);
    ASSERT_TRUE(code) << c.Name;
    EXPECT_EQ(*code, c.Code) << c.Name;
  }
  for (const char* bad : {"", "F0", "F13", "F01", "NUMPAD10", "NUMPAD", "0x", "0x0", "0x100",
                          "0x4G", "AB", "ESC", "-1", "0x-1"})
    EXPECT_FALSE(KeyCode(bad)) << bad;
}

TEST(KeyScript, EventsInFrameOrderThenFileOrder) {
  auto events = ParseKeyScript(
      "# a comment line\n"
      "\n"
      "5 down SHIFT   # hold shift\n"
      "  3\tdown\tRIGHT\r\n"
      "5 down RIGHT\n"
      "3 up RIGHT\n"
      "5 up 0x10\n");
  std::vector<TKeyEvent> expected = {
      {3, true, 0x27}, {3, false, 0x27}, {5, true, 0x10}, {5, true, 0x27}, {5, false, 0x10}};
  EXPECT_EQ(events, expected);
  EXPECT_TRUE(ParseKeyScript("").empty());
  EXPECT_TRUE(ParseKeyScript("# nothing\n   \n").empty());
}

TEST(KeyScript, BadLinesNameTheirLine) {
  struct Case {
    const char* Text;
    const char* Message;
  } cases[] = {
      {"1 down A\n0 down A\n", "line 2: frame '0' is not a number from 1"},
      {"x down A", "line 1: frame 'x' is not a number from 1"},
      {"1 press A", "line 1: expected down or up, not 'press'"},
      {"1 down ESC", "line 1: unknown key 'ESC'"},
      {"1 down", "line 1: expected FRAME down|up KEY"},
      {"1 down A B", "line 1: expected FRAME down|up KEY"},
      {"-3 down A", "line 1: frame '-3' is not a number from 1"},
      {"99999999999999999999 down A",
       "line 1: frame '99999999999999999999' is not a number from 1"},
  };
  for (auto c : cases) {
    try {
      ParseKeyScript(c.Text);
      ADD_FAILURE() << c.Text;
    } catch (const EKeyScriptError& e) {
      EXPECT_EQ(std::string(e.what()), c.Message);
    }
  }
}

TEST(KeyScript, PointerAndWheelLinesInFileOrderWithKeys) {
  auto events = ParseKeyScript(
      "4 pointer down 0 320 240.5\n"
      "3 wheel -2\n"
      "4 down SHIFT\n"
      "4 POINTER Move 1 -12.25 1e3\n"
      "4 pointer up 1 700 -0\n"
      "5 wheel +3\n");
  std::vector<TKeyEvent> expected = {
      WheelEventAt(3, -2),
      PointerEventAt(4, {TPointerAction::Down, 0, 320, 240.5f}),
      {4, true, 0x10},
      PointerEventAt(4, {TPointerAction::Move, 1, -12.25f, 1000}),
      PointerEventAt(4, {TPointerAction::Up, 1, 700, 0}),
      WheelEventAt(5, 3)};
  EXPECT_EQ(events, expected);
}

TEST(KeyScript, BadPointerLinesNameTheirLine) {
  struct Case {
    const char* Text;
    const char* Message;
  } cases[] = {
      {"1 pointer down 0 1 2\n2 pointer tap 0 1 2", "line 2: expected down, move or up, not 'tap'"},
      {"1 pointer down 0 1", "line 1: expected FRAME pointer down|move|up ID X Y"},
      {"1 pointer down 0 1 2 3", "line 1: expected FRAME pointer down|move|up ID X Y"},
      {"1 pointer down -1 1 2", "line 1: pointer '-1' is not a number from 0 to 1023"},
      {"1 pointer down 1024 1 2", "line 1: pointer '1024' is not a number from 0 to 1023"},
      {"1 pointer down x 1 2", "line 1: pointer 'x' is not a number from 0 to 1023"},
      {"1 pointer move 1 nan 2", "line 1: coordinate 'nan' is not a number from -100000 to 100000"},
      {"1 pointer move 1 2 inf", "line 1: coordinate 'inf' is not a number from -100000 to 100000"},
      {"1 pointer move 1 1e30 2",
       "line 1: coordinate '1e30' is not a number from -100000 to 100000"},
      {"1 pointer up 1 2 -100001",
       "line 1: coordinate '-100001' is not a number from -100000 to 100000"},
      {"1 pointer up 1 0x10 2", "line 1: coordinate '0x10' is not a number from -100000 to 100000"},
      {"1 pointer up 1 1.2.3 2",
       "line 1: coordinate '1.2.3' is not a number from -100000 to 100000"},
      {"1 pointer up 1 , 2", "line 1: coordinate ',' is not a number from -100000 to 100000"},
      {"1 wheel", "line 1: expected FRAME wheel STEPS"},
      {"1 wheel 1 2", "line 1: expected FRAME wheel STEPS"},
      {"1 wheel 1.5", "line 1: wheel steps '1.5' are not a number from -1000 to 1000"},
      {"1 wheel 1001", "line 1: wheel steps '1001' are not a number from -1000 to 1000"},
      {"0 wheel 1", "line 1: frame '0' is not a number from 1"},
  };
  for (auto c : cases) {
    try {
      ParseKeyScript(c.Text);
      ADD_FAILURE() << c.Text;
    } catch (const EKeyScriptError& e) {
      EXPECT_EQ(std::string(e.what()), c.Message);
    }
  }
}

TEST(KeyScript, PointerLinesAreWrittenSoTheyReadBackExactly) {
  const std::vector<TKeyEvent> events = {
      PointerEventAt(7, {TPointerAction::Down, 0, 0.1f, 479.99997f}),
      PointerEventAt(7, {TPointerAction::Move, 3, -99999.5f, 1.0f / 3}),
      PointerEventAt(8, {TPointerAction::Up, 1023, 640, 123456e-3f}),
      WheelEventAt(9, -1000)};
  std::string text;
  for (const auto& e : events) text += KeyScriptLine(e) + "\n";
  EXPECT_EQ(ParseKeyScript(text), events) << text;
  EXPECT_EQ(KeyScriptLine(events[0]), "7 pointer down 0 0.1 479.99997");
  EXPECT_EQ(KeyScriptLine(events[3]), "9 wheel -1000");
}

TEST(KeyScript, SettingsLinesGiveTheRecordedSeedAndClock) {
  const TKeyScript script = ReadKeyScript(
      "# seed 4294967295\n"
      "#clock 2007-03-09T14:05:07\n"
      "# seed the board well\n"  // a plain comment
      "2 down F1\n");
  EXPECT_EQ(script.Seed, 4294967295u);
  EXPECT_EQ(script.Clock, (TLocalDateTime{2007, 3, 9, 14, 5, 7}));
  EXPECT_EQ(script.Events, (std::vector<TKeyEvent>{{2, true, 0x70}}));
  // A comment after an event is no setting; a script without settings has none.
  const TKeyScript plain = ReadKeyScript("2 down F1 # seed 5\n");
  EXPECT_FALSE(plain.Seed);
  EXPECT_FALSE(plain.Clock);

  struct Case {
    const char* Text;
    const char* Message;
  } cases[] = {
      {"# seed -1", "line 1: seed '-1' is not a number from 0 to 4294967295"},
      {"# seed 4294967296", "line 1: seed '4294967296' is not a number from 0 to 4294967295"},
      {"# seed 12x", "line 1: seed '12x' is not a number from 0 to 4294967295"},
      {"\n# clock 2007-02-30T00:00:00",
       "line 2: clock '2007-02-30T00:00:00' is not a date and time YYYY-MM-DDTHH:MM:SS"},
  };
  for (const Case& c : cases) {
    try {
      ReadKeyScript(c.Text);
      ADD_FAILURE() << c.Text;
    } catch (const EKeyScriptError& e) {
      EXPECT_EQ(std::string(e.what()), c.Message);
    }
  }
}

TEST(KeyScript, EveryCodeIsWrittenAsANameThatReadsBack) {
  for (int code = 1; code < 256; ++code) {
    const std::string name = KeyName(static_cast<uint8_t>(code));
    EXPECT_EQ(KeyCode(name), code) << name;
  }
  EXPECT_EQ(KeyName(0x12), "MENU");
  EXPECT_EQ(KeyName(0x68), "NUMPAD8");
  EXPECT_EQ(KeyName(0x7B), "F12");
  EXPECT_EQ(KeyName(0xA5), "0xA5");
  EXPECT_EQ(KeyScriptLine({12, false, 0x74}), "12 up F5");
  EXPECT_EQ(ParseKeyScript(KeyScriptLine({7, true, 0x0D})),
            (std::vector<TKeyEvent>{{7, true, 0x0D}}));
}

TEST(KeyScript, FilesAreReadAndMissingOnesReported) {
  std::string path = std::string(ZELGORA_BUILD_DIR) + "/KeyScript_test.keys";
  {
    std::ofstream out(path);
    out << "2 down F1\n2 up F1\nbad\n";
  }
  try {
    LoadKeyScript(path);
    ADD_FAILURE();
  } catch (const EKeyScriptError& e) {
    EXPECT_EQ(std::string(e.what()), path + ": line 3: expected FRAME down|up KEY");
  }
  {
    std::ofstream out(path);
    out << "2 down F1\n2 up F1\n";
  }
  EXPECT_EQ(LoadKeyScript(path).Events.size(), 2u);
  std::remove(path.c_str());
  EXPECT_THROW(LoadKeyScript(path), EKeyScriptError);
}

}  // namespace
