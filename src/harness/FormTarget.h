// The main form as the harness drives it.
#pragma once

#include "DXMain.h"
#include "harness/Harness.h"

TShiftState ToShiftState(const TModifiers& Modifiers);

class TFormTarget : public THarnessTarget {
 public:
  explicit TFormTarget(TMainForm& Form) : FForm(Form) {}
  void KeyDown(uint16_t Key, const TModifiers& Modifiers) override {
    FForm.FormKeyDown(Key, ToShiftState(Modifiers));
  }
  void KeyUp(uint16_t Key, const TModifiers& Modifiers) override {
    FForm.FormKeyUp(Key, ToShiftState(Modifiers));
  }
  void Pointer(const TPointerEvent& Event) override { FForm.FormPointer(Event); }
  void Wheel(int32_t Steps) override { FForm.FormWheel(Steps); }
  // One frame as the timer gives it, with no ticks missed.
  void Tick(bool Shown) override { FForm.DXTimerTimer(1, Shown); }
  bool Closed() const override { return FForm.Window().Closed(); }

 private:
  TMainForm& FForm;
};
