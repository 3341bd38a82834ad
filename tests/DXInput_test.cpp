#include "media/DXInput.h"

#include <gtest/gtest.h>

#include "media/DXClass.h"
#include "media/DXStream.h"

namespace {

class FakeJoystick : public TJoystickSource {
 public:
  TDXInputStates States;
  TDXInputStates ReadStates() override { return States; }
};

// Reports lost input for the next FailuresLeft reads.
class LosingKeys : public THeldKeys {
 public:
  int FailuresLeft = 0;
  int Acquires = 0;
  bool ReadKeys(std::array<uint8_t, 256>& Keys) override {
    if (FailuresLeft > 0) {
      --FailuresLeft;
      Keys.fill(0x80);  // garbage that must not count
      return false;
    }
    return THeldKeys::ReadKeys(Keys);
  }
  void Acquire() override { ++Acquires; }
};

struct InputFixture : ::testing::Test {
  THeldKeys Keys;
  TDXInput Input{&Keys};
  void SetUp() override { Input.Initialize(); }
};

TEST(DXInput, NoFormIsAnError) {
  try {
    TDXInput input(nullptr);
    FAIL();
  } catch (const EDXInputError& e) {
    EXPECT_STREQ(e.what(), "Form not found");
  }
}

TEST(DXInput, DefaultTableAndStoredForm) {
  THeldKeys keys;
  TDXInput input(&keys);
  auto bytes = input.Keyboard().SaveAssigns();
  ASSERT_EQ(bytes.size(), 432u);
  // Up: K, cursor up, keypad 8; little-endian int32 each.
  EXPECT_EQ(bytes[0], 0x4B);
  EXPECT_EQ(bytes[4], 0x26);
  EXPECT_EQ(bytes[8], 0x68);
  EXPECT_EQ(bytes[1] | bytes[2] | bytes[3], 0);
  // Button2 (state 5): X, return, none.
  EXPECT_EQ(bytes[5 * 12 + 0], 0x58);
  EXPECT_EQ(bytes[5 * 12 + 4], 0x0D);
  EXPECT_EQ(bytes[5 * 12 + 8], 0);
  // Button9 (state 12): F2 only.
  EXPECT_EQ(bytes[12 * 12], 0x71);
  int nonZero = 0;
  for (auto b : bytes) nonZero += b != 0;
  EXPECT_EQ(nonZero, 4 * 3 + 2 + 2 + 1);
}

TEST(DXInput, AssignsRoundTripAndAliasName) {
  THeldKeys keys;
  TDXInput source(&keys);
  source.Keyboard().KeyAssigns[isUp] = {0x41, -1, 256};
  TComponentWriter w;
  w.WriteStr("Keyboard.Aissgns");
  w.WriteBinary(source.Keyboard().SaveAssigns());
  w.WriteStr("Keyboard.Assigns");
  w.WriteBinary(source.Keyboard().SaveAssigns());
  auto data = w.Bytes().Data();

  for (int pass = 0; pass < 2; ++pass) {
    TDXInput target(&keys);
    TComponentReader r(data);
    if (pass == 1) {  // skip the alias: the proper name alone loads too
      r.ReadStr();
      r.SkipValue();
    }
    ASSERT_TRUE(target.ReadProperty(r, r.ReadStr()));
    EXPECT_EQ(target.Keyboard().KeyAssigns, source.Keyboard().KeyAssigns);
  }

  // The writer never uses the alias.
  TComponentWriter out;
  source.WriteProperties(out);
  TComponentReader r(out.Bytes().Data());
  EXPECT_EQ(r.ReadStr(), "Keyboard.Assigns");
  EXPECT_EQ(r.ReadBinary().size(), 432u);

  TComponentReader other(data);
  TDXInput target(&keys);
  EXPECT_FALSE(target.ReadProperty(other, "Keyboard.Enabled"));
}

TEST(DXInput, AssignsOfWrongSizeAreRejected) {
  THeldKeys keys;
  TDXInput input(&keys);
  std::vector<uint8_t> shortData(431, 0), longData(433, 0);
  EXPECT_THROW(input.Keyboard().LoadAssigns(shortData), EPropertyError);
  EXPECT_THROW(input.Keyboard().LoadAssigns(longData), EPropertyError);
  EXPECT_EQ(input.Keyboard().KeyAssigns, DefaultKeyAssigns());
}

TEST_F(InputFixture, KeysMapToStatesOncePerState) {
  Keys.SetKey(0x26, true);  // cursor up
  Keys.SetKey(0x4B, true);  // K
  Keys.SetKey(0x25, true);  // cursor left
  Keys.SetKey(0x27, true);  // cursor right
  Input.Update();
  EXPECT_EQ(Input.States, (TDXInputStates{isUp, isLeft, isRight}));
  EXPECT_EQ(Input.PressedStates, Input.States);
}

TEST_F(InputFixture, EveryKeyOfTheTableCounts) {
  struct Case {
    uint8_t Key;
    int32_t State;
  } cases[] = {{0x4B, isUp},      {0x68, isUp},      {0x4A, isDown},    {0x62, isDown},
               {0x48, isLeft},    {0x64, isLeft},    {0x4C, isRight},   {0x66, isRight},
               {0x5A, isButton1}, {0x20, isButton1}, {0x0D, isButton2}, {0x71, isButton9}};
  for (auto c : cases) {
    Keys.ReleaseAll();
    Keys.SetKey(c.Key, true);
    Input.Update();
    EXPECT_EQ(Input.States, TDXInputStates{c.State}) << int(c.Key);
  }
  Keys.ReleaseAll();
  Keys.SetKey(0x41, true);  // A: in no entry
  Input.Update();
  EXPECT_TRUE(Input.States.Empty());
}

TEST_F(InputFixture, CodesOutsideOneTo255NeverMatch) {
  auto& a = Input.Keyboard().KeyAssigns;
  a[isUp] = {256, -1, 0};
  a[isDown] = {256 + 0x28, 0, 0x28};
  Keys.SetKey(0x00, true);
  Keys.SetKey(0xFF, true);
  Keys.SetKey(0x28, true);
  Input.Update();
  EXPECT_EQ(Input.States, TDXInputStates{isDown});
  a[isUp] = {0xFF, 0, 0};
  Input.Update();
  EXPECT_EQ(Input.States, (TDXInputStates{isUp, isDown}));
}

TEST_F(InputFixture, EdgesFollowPressAndRelease) {
  Keys.SetKey(0x26, true);
  Input.Update();
  EXPECT_TRUE(Input.PressedStates.Contains(isUp));
  Input.Update();  // still held: stays in
  EXPECT_TRUE(Input.PressedStates.Contains(isUp));
  Keys.SetKey(0x26, false);
  Input.Update();
  EXPECT_FALSE(Input.PressedStates.Contains(isUp));
  // Pressed and released between two updates: never seen.
  Keys.SetKey(0x26, true);
  Keys.SetKey(0x26, false);
  Input.Update();
  EXPECT_TRUE(Input.PressedStates.Empty());
}

TEST_F(InputFixture, BackgroundWindowYieldsNothingWhenActiveOnly) {
  FakeJoystick stick;
  stick.States = {isButton2};
  Input.Joystick().Source = &stick;
  Keys.SetKey(0x26, true);
  Keys.IsForeground = false;
  Input.Update();
  EXPECT_TRUE(Input.States.Empty());
  EXPECT_TRUE(Input.PressedStates.Empty());
  EXPECT_EQ(Input.Keyboard().KeyStates()[0x26], 0);
  Input.SetActiveOnly(false);
  Input.Update();
  EXPECT_EQ(Input.States, (TDXInputStates{isUp, isButton2}));
}

TEST_F(InputFixture, JoystickJoinsTheMergeWhenBound) {
  FakeJoystick stick;
  Input.Joystick().Source = &stick;
  stick.States = {isLeft, isButton1};
  Keys.SetKey(0x26, true);
  Input.Update();
  EXPECT_EQ(Input.PressedStates, (TDXInputStates{isUp, isLeft, isButton1}));
  Input.Joystick().BindInputStates = false;
  Input.Update();
  EXPECT_EQ(Input.PressedStates, TDXInputStates{isUp});
  Input.Keyboard().BindInputStates = false;
  Input.Update();
  EXPECT_TRUE(Input.PressedStates.Empty());
}

TEST(DXInput, DisabledKeyboardGivesNoStates) {
  THeldKeys keys;
  TDXInput input(&keys);
  input.Keyboard().Enabled = false;
  input.Initialize();
  keys.SetKey(0x26, true);
  input.Update();
  EXPECT_TRUE(input.States.Empty());
  EXPECT_FALSE(input.Keyboard().Initialized());
}

TEST(DXInput, NotInitialisedGivesNoStates) {
  THeldKeys keys;
  TDXInput input(&keys);
  keys.SetKey(0x26, true);
  input.Update();
  EXPECT_TRUE(input.States.Empty());
  input.Initialize();  // runs one update itself
  EXPECT_EQ(input.States, TDXInputStates{isUp});
}

TEST(DXInput, LostInputIsRetriedOnce) {
  LosingKeys keys;
  TDXInput input(&keys);
  input.Initialize();
  keys.SetKey(0x26, true);
  int acquiresBefore = keys.Acquires;

  keys.FailuresLeft = 1;
  input.Update();
  EXPECT_EQ(input.States, TDXInputStates{isUp});
  EXPECT_EQ(keys.Acquires, acquiresBefore + 1);

  keys.FailuresLeft = 2;
  input.Update();
  EXPECT_TRUE(input.States.Empty());
  EXPECT_EQ(input.Keyboard().KeyStates()[0x10], 0);  // the failed read left nothing behind
}

TEST(HeldModifiers, EitherSideOfAModifierCounts) {
  struct Case {
    std::vector<uint8_t> Held;
    TModifiers Want;
  } cases[] = {
      {{}, {}},
      {{0x10}, {true, false, false}},
      {{0xA1}, {true, false, false}},
      {{0xA4}, {false, true, false}},
      {{0xA5}, {false, true, false}},  // right Alt, AltGr on some layouts
      {{0x12}, {false, true, false}},
      {{0xA2, 0xA5}, {false, true, true}},
      {{0xA1, 0xA4, 0xA3}, {true, true, true}},
      {{'A', 0x0D, 0x25}, {}},
  };
  for (const Case& c : cases) {
    THeldKeys keys;
    for (uint8_t k : c.Held) keys.SetKey(k, true);
    EXPECT_EQ(HeldModifiers(keys), c.Want) << c.Held.size();
  }
}

}  // namespace
