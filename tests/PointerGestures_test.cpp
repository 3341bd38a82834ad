#include "media/PointerGestures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "media/DXInput.h"

namespace {

using A = TPointerAction;

std::vector<TGesture> Play(const std::vector<TPointerEvent>& Events) {
  TPointerGestures g;
  for (const auto& e : Events) g.Pointer(e);
  EXPECT_EQ(g.Contacts(), 0);
  return g.TakeGestures();
}

TGesture Tap(float X, float Y) { return {TGestureKind::Tap, X, Y, ' ', 0}; }
TGesture Swipe(float X, float Y, char D) { return {TGestureKind::Swipe, X, Y, D, 0}; }
TGesture Zoom(int32_t S) { return {TGestureKind::Zoom, 0, 0, ' ', S}; }

TEST(PointerGestures, OneContactIsATapOrASwipeByWhereItWent) {
  struct Case {
    const char* What;
    std::vector<TPointerEvent> Events;
    std::vector<TGesture> Expected;
  } cases[] = {
      {"still", {{A::Down, 0, 100, 200}, {A::Up, 0, 100, 200}}, {Tap(100, 200)}},
      {"a wobble within the slop taps where it began",
       {{A::Down, 1, 100, 200}, {A::Move, 1, 108, 205}, {A::Up, 1, 109, 206}},
       {Tap(100, 200)}},
      {"right", {{A::Down, 1, 100, 200}, {A::Move, 1, 150, 210}, {A::Up, 1, 180, 215}},
       {Swipe(100, 200, 'R')}},
      {"left, by the up's point alone", {{A::Down, 0, 100, 200}, {A::Up, 0, 60, 190}},
       {Swipe(100, 200, 'L')}},
      {"up the screen is smaller y", {{A::Down, 2, 300, 300}, {A::Up, 2, 310, 240}},
       {Swipe(300, 300, 'U')}},
      {"down", {{A::Down, 2, 300, 300}, {A::Up, 2, 290, 380}}, {Swipe(300, 300, 'D')}},
      {"out and back again is nothing",
       {{A::Down, 1, 100, 100}, {A::Move, 1, 160, 100}, {A::Up, 1, 104, 100}},
       {}},
      {"off the picture is still a gesture", {{A::Down, 0, -500, 900}, {A::Up, 0, -500, 900}},
       {Tap(-500, 900)}},
  };
  for (const auto& c : cases) EXPECT_EQ(Play(c.Events), c.Expected) << c.What;
}

TEST(PointerGestures, TwoFingersPinchInStepsAndNeverTapOrSwipe) {
  TPointerGestures g;
  g.Pointer({A::Down, 1, 300, 240});
  g.Pointer({A::Down, 2, 340, 240});  // 40 apart
  g.Pointer({A::Move, 2, 363, 240});  // 63: not yet a step
  EXPECT_TRUE(g.TakeGestures().empty());
  g.Pointer({A::Move, 2, 388, 240});  // 88: two steps closer
  g.Pointer({A::Move, 1, 300, 240});
  EXPECT_EQ(g.TakeGestures(), (std::vector<TGesture>{Zoom(-2)}));
  g.Pointer({A::Move, 2, 316, 240});  // 16: three steps back out
  EXPECT_EQ(g.TakeGestures(), (std::vector<TGesture>{Zoom(3)}));
  // Lifting the fingers one after the other is no swipe, though each moved far.
  g.Pointer({A::Up, 2, 316, 240});
  g.Pointer({A::Move, 1, 500, 240});
  g.Pointer({A::Up, 1, 500, 240});
  EXPECT_TRUE(g.TakeGestures().empty());
  // The next touch is a gesture of its own again.
  g.Pointer({A::Down, 1, 10, 10});
  g.Pointer({A::Up, 1, 10, 10});
  EXPECT_EQ(g.TakeGestures(), (std::vector<TGesture>{Tap(10, 10)}));
}

TEST(PointerGestures, TheWheelZoomsByItsSteps) {
  TPointerGestures g;
  g.Wheel(2);
  g.Wheel(0);
  g.Wheel(-1);
  EXPECT_EQ(g.TakeGestures(), (std::vector<TGesture>{Zoom(2), Zoom(-1)}));
  EXPECT_TRUE(g.TakeGestures().empty());
}

TEST(PointerGestures, StrayAndExcessContactsEndCleanly) {
  TPointerGestures g;
  // An up and a move of contacts never put down.
  g.Pointer({A::Up, 3, 10, 10});
  g.Pointer({A::Move, 4, 10, 10});
  EXPECT_EQ(g.Contacts(), 0);
  // Not numbers are no contact.
  const float nan = std::numeric_limits<float>::quiet_NaN();
  g.Pointer({A::Down, 5, nan, 10});
  g.Pointer({A::Down, 5, 10, std::numeric_limits<float>::infinity()});
  EXPECT_EQ(g.Contacts(), 0);
  // Twelve fingers: ten are held, the rest ignored, and lifting all of them gives nothing.
  for (int32_t id = 1; id <= 12; ++id) g.Pointer({A::Down, id, 10.0f * id, 10});
  EXPECT_EQ(g.Contacts(), TPointerGestures::MaxContacts);
  for (int32_t id = 1; id <= 12; ++id) g.Pointer({A::Move, id, 10.0f * id + 5, 300});
  for (int32_t id = 12; id >= 1; --id) g.Pointer({A::Up, id, 10.0f * id + 5, 300});
  EXPECT_EQ(g.Contacts(), 0);
  for (const auto& gesture : g.TakeGestures()) EXPECT_EQ(gesture.Kind, TGestureKind::Zoom);
  // A second down of a held contact starts it again from there; cancelling forgets it.
  g.Pointer({A::Down, 1, 100, 100});
  g.Pointer({A::Down, 1, 200, 100});
  g.Pointer({A::Up, 1, 200, 100});
  EXPECT_EQ(g.TakeGestures(), (std::vector<TGesture>{Tap(200, 100)}));
  g.Pointer({A::Down, 1, 100, 100});
  g.Cancel();
  g.Pointer({A::Up, 1, 300, 100});
  EXPECT_TRUE(g.TakeGestures().empty());
}

TEST(PointerGestures, TheMouseDeviceGivesTheStatesItIsToldOnlyWhenBoundAndActive) {
  THeldKeys keys;
  TDXInput input(&keys);
  input.Initialize();
  input.Mouse().Hold({isUp, isLeft});
  input.Update();
  EXPECT_TRUE(input.States.Empty()) << "off, as the form's stored values have it";
  input.Mouse().BindInputStates = true;
  input.Mouse().Enabled = true;
  input.Initialize();
  input.Mouse().Hold({isUp, isLeft});
  keys.SetKey(0x27, true);
  input.Update();
  EXPECT_EQ(input.PressedStates, (TDXInputStates{isUp, isLeft, isRight}));
  keys.IsForeground = false;
  input.Update();
  EXPECT_TRUE(input.PressedStates.Empty());
  keys.IsForeground = true;
  input.Mouse().Hold({});
  input.Update();
  EXPECT_EQ(input.PressedStates, (TDXInputStates{isRight}));
}

}  // namespace
