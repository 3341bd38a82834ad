// Placeholder until the overlay drawing lands: the frame calls it after the 3D objects.
#include "DXMain.h"

void TMainForm::DrawOverlays() {}
