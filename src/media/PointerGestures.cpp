#include "media/PointerGestures.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

TPointerGestures::TContact* TPointerGestures::Find(int32_t Id) {
  for (auto& c : FContacts)
    if (c.Id == Id) return &c;
  return nullptr;
}

void TPointerGestures::Pointer(const TPointerEvent& E) {
  if (!std::isfinite(E.X) || !std::isfinite(E.Y)) return;
  switch (E.Action) {
    case TPointerAction::Down:
      Down(E);
      break;
    case TPointerAction::Move:
      Move(E);
      break;
    case TPointerAction::Up:
      Up(E);
      break;
  }
}

void TPointerGestures::Down(const TPointerEvent& E) {
  if (TContact* c = Find(E.Id)) {
    *c = {E.Id, E.X, E.Y, E.X, E.Y, false};
  } else {
    if (Contacts() >= MaxContacts) return;
    FContacts.push_back({E.Id, E.X, E.Y, E.X, E.Y, false});
  }
  if (Contacts() >= 2) {
    FMulti = true;
    StartPinch();
  }
}

void TPointerGestures::Move(const TPointerEvent& E) {
  TContact* c = Find(E.Id);
  if (!c) return;
  c->X = E.X;
  c->Y = E.Y;
  if (std::hypot(c->X - c->StartX, c->Y - c->StartY) > TapSlop) c->Moved = true;
  if (!FMulti || Contacts() < 2) return;
  // Only the first two contacts pinch; a third finger changes nothing.
  if (c != &FContacts[0] && c != &FContacts[1]) return;
  const float d = PairDistance();
  int32_t steps = 0;
  while (d - FPinchBase >= PinchStep) FPinchBase += PinchStep, --steps;
  while (FPinchBase - d >= PinchStep) FPinchBase -= PinchStep, ++steps;
  if (steps != 0) FGestures.push_back({TGestureKind::Zoom, 0, 0, ' ', steps});
}

void TPointerGestures::Up(const TPointerEvent& E) {
  TContact* c = Find(E.Id);
  if (!c) return;
  c->X = E.X;
  c->Y = E.Y;
  const TContact done = *c;
  FContacts.erase(FContacts.begin() + (c - FContacts.data()));
  if (FMulti) {
    if (FContacts.empty()) FMulti = false;
    else if (Contacts() >= 2) StartPinch();
    return;
  }
  const float dx = done.X - done.StartX, dy = done.Y - done.StartY;
  if (!done.Moved && std::hypot(dx, dy) <= TapSlop) {
    FGestures.push_back({TGestureKind::Tap, done.StartX, done.StartY, ' ', 0});
    return;
  }
  // Where it went in the end decides; a contact that came back near its start is no gesture.
  if (std::max(std::abs(dx), std::abs(dy)) <= TapSlop) return;
  char dir = std::abs(dx) >= std::abs(dy) ? (dx > 0 ? 'R' : 'L') : (dy > 0 ? 'D' : 'U');
  FGestures.push_back({TGestureKind::Swipe, done.StartX, done.StartY, dir, 0});
}

float TPointerGestures::PairDistance() const {
  return std::hypot(FContacts[0].X - FContacts[1].X, FContacts[0].Y - FContacts[1].Y);
}

void TPointerGestures::StartPinch() {
  FPinchBase = PairDistance();
}

void TPointerGestures::Wheel(int32_t Steps) {
  if (Steps != 0) FGestures.push_back({TGestureKind::Zoom, 0, 0, ' ', Steps});
}

void TPointerGestures::Cancel() {
  FContacts.clear();
  FMulti = false;
}

std::vector<TGesture> TPointerGestures::TakeGestures() {
  std::vector<TGesture> taken;
  taken.swap(FGestures);
  return taken;
}
