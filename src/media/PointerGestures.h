// Pointer input (the mouse's left button and fingers) turned into gestures: a tap, a swipe
// with its direction, a pinch and the wheel as zoom steps. Points are in the picture's pixels;
// nothing is timed, so the same events always give the same gestures.
#pragma once

#include <cstdint>
#include <vector>

enum class TPointerAction : uint8_t { Down, Move, Up };

struct TPointerEvent {
  TPointerAction Action = TPointerAction::Down;
  int32_t Id = 0;  // 0 the mouse's left button, 1 and up fingers
  float X = 0, Y = 0;
  bool operator==(const TPointerEvent&) const = default;
};

enum class TGestureKind : uint8_t { Tap, Swipe, Zoom };

struct TGesture {
  TGestureKind Kind = TGestureKind::Tap;
  float X = 0, Y = 0;  // where the tap or swipe began
  // A swipe's direction as the finger moved on the screen: 'L', 'R', 'U' (up) or 'D'.
  char Direction = ' ';
  // Zoom: positive steps back from the board, negative come closer (as the wheel towards the
  // player, and fingers pinched together).
  int32_t Steps = 0;
  bool operator==(const TGesture&) const = default;
};

class TPointerGestures {
 public:
  // Movement within this many pixels of the start still counts as a tap.
  static constexpr float TapSlop = 12;
  // Change of the distance between two fingers that makes one zoom step.
  static constexpr float PinchStep = 24;
  // More contacts at once than this are ignored until some are lifted.
  static constexpr int32_t MaxContacts = 10;

  // An up or move of a contact that is not down is ignored; a second down of a contact that
  // is down starts it again.
  void Pointer(const TPointerEvent& Event);
  void Wheel(int32_t Steps);
  // Forgets every contact (the window lost the input): no gesture comes of them.
  void Cancel();

  // The gestures recognised since the last call, oldest first.
  std::vector<TGesture> TakeGestures();
  int32_t Contacts() const { return static_cast<int32_t>(FContacts.size()); }

 private:
  struct TContact {
    int32_t Id = 0;
    float StartX = 0, StartY = 0, X = 0, Y = 0;
    bool Moved = false;  // left the tap's slop at some moment
  };
  TContact* Find(int32_t Id);
  void Down(const TPointerEvent& E);
  void Move(const TPointerEvent& E);
  void Up(const TPointerEvent& E);
  float PairDistance() const;
  void StartPinch();

  std::vector<TContact> FContacts;
  std::vector<TGesture> FGestures;
  // Set once a second contact came down: nothing of this touch is a tap or a swipe until
  // every contact is lifted.
  bool FMulti = false;
  float FPinchBase = 0;
};
