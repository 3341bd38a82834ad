// The pointer's side of the main form: the gestures of the mouse and a touch screen become the
// game's own inputs. Setup gestures become the setup keys' events at once; play gestures wait
// for the frames in which the game takes input, and then give the direction states and the
// modifiers that the keys would, one step of the way at a time, so every rule of the keys holds.
#include "DXMain.h"

#include <algorithm>

namespace {

// The head-up display's "HELP (show/hide)" corner: a tap there is F1.
bool OnHelpText(float X, float Y, int32_t SW, int32_t SH) {
  return X >= static_cast<float>(SW - 70) && X < static_cast<float>(SW) &&
         Y >= static_cast<float>(SH - 50) && Y < static_cast<float>(SH);
}

TDXInputState TurnState(char Dir) {
  switch (Dir) {
    case 'U':
      return isUp;
    case 'D':
      return isDown;
    case 'L':
      return isLeft;
    default:
      return isRight;
  }
}

constexpr int32_t ZoomPending = 50;  // the zoom's whole range in steps

}  // namespace

void TMainForm::FormPointer(const TPointerEvent& Event) {
  if (Event.Action == TPointerAction::Down) TouchSeen = true;
  DXInput1.Mouse().Gestures.Pointer(Event);
  for (const TGesture& g : DXInput1.Mouse().Gestures.TakeGestures()) Gesture(g);
}

void TMainForm::FormWheel(int32_t Steps) {
  DXInput1.Mouse().Gestures.Wheel(Steps);
  for (const TGesture& g : DXInput1.Mouse().Gestures.TakeGestures()) Gesture(g);
}

void TMainForm::Gesture(const TGesture& G) {
  if (G.Kind == TGestureKind::Zoom) {
    if (GameState == 2)
      FPointerPlan.Zoom = std::clamp(FPointerPlan.Zoom + G.Steps, -ZoomPending, ZoomPending);
    return;
  }
  if (G.Kind == TGestureKind::Tap && OnHelpText(G.X, G.Y, Width(), Height())) {
    FormKeyDown(VK::F1, ShiftState);
    return;
  }
  switch (GameState) {
    case 4:
      if (G.Kind == TGestureKind::Tap)
        SetupGesture(G, VK::Space);
      else if (G.Direction == 'L' || G.Direction == 'R')
        SetupGesture(G, G.Direction == 'L' ? VK::Left : VK::Right);
      break;
    case 2:
      if (auto cell = BoardCellAt(G.X, G.Y)) {
        FPointerPlan.Row = cell->Row;
        FPointerPlan.Col = cell->Col;
        FPointerPlan.Turn = G.Kind == TGestureKind::Swipe ? G.Direction : ' ';
      } else if (G.Kind == TGestureKind::Swipe) {
        // Off the board: the selected cube, or the one the selection is on its way to.
        FPointerPlan.Turn = G.Direction;
      }
      break;
    case 1:
      if (G.Kind == TGestureKind::Tap) FPointerPlan.GoOn = true;
      break;
    default:
      break;
  }
}

// The bar's row is reached with Up or Down, then changed with Key, as the keys would do it.
void TMainForm::SetupGesture(const TGesture& G, uint16_t Key) {
  if (SetupBusy) return;
  const auto row = SetupRowAt(G.X, G.Y);
  if (!row) return;
  while (GameState == 4 && !SetupBusy && SetupRow != *row)
    FormKeyDown(*row > SetupRow ? VK::Up : VK::Down, ShiftState);
  if (GameState == 4 && !SetupBusy && SetupRow == *row) FormKeyDown(Key, ShiftState);
}

void TMainForm::PointerStep() {
  FPointerShift = {};
  FPointerActive = false;
  TDXInputStates states;
  TPointerPlan& plan = FPointerPlan;
  if (GameState != 2) {
    const bool goOn = plan.GoOn && GameState == 1;
    plan = {};
    if (goOn) {
      FPointerShift.Include(ssAlt);
      FPointerActive = true;
    }
  } else if (!InputBlocked) {
    if (plan.Zoom != 0) {
      FPointerShift.Include(ssCtrl);
      states.Include(plan.Zoom > 0 ? isDown : isUp);
      plan.Zoom += plan.Zoom > 0 ? -1 : 1;
      FPointerActive = true;
    } else if (plan.Row >= 0 && (plan.Row != CursorRow || plan.Col != CursorCol)) {
      if (plan.Row < CursorRow) states.Include(isDown);
      if (plan.Row > CursorRow) states.Include(isUp);
      if (plan.Col < CursorCol) states.Include(isLeft);
      if (plan.Col > CursorCol) states.Include(isRight);
      FPointerActive = true;
    } else {
      plan.Row = plan.Col = -1;
      if (plan.Turn != ' ') {
        FPointerShift.Include(ssShift);
        states.Include(TurnState(plan.Turn));
        plan.Turn = ' ';
        FPointerActive = true;
      }
    }
  }
  DXInput1.Mouse().Hold(states);
}

TShiftState TMainForm::InputShift() const {
  return FPointerActive ? FPointerShift : ShiftState;
}
