#include "harness/FormTarget.h"

TShiftState ToShiftState(const TModifiers& Modifiers) {
  TShiftState s;
  if (Modifiers.Shift) s.Include(ssShift);
  if (Modifiers.Alt) s.Include(ssAlt);
  if (Modifiers.Ctrl) s.Include(ssCtrl);
  return s;
}
