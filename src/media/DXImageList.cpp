// Binding of image lists to the display.
#include "media/DXDisplay.h"
#include "media/DXDraws.h"

TDXImageList::~TDXImageList() {
  SetDXDraw(nullptr);
}

void TDXImageList::SetDXDraw(TDXDraw* Display) {
  if (Display == FDXDraw) return;
  if (FDXDraw) {
    const int handle = FNotifyHandle;
    FNotifyHandle = 0;
    FDXDraw->UnregisterNotifyEvent(handle);  // an initialised display sends finalize first
    FItems.Finalize();
    FItems.SetDrawer(nullptr);
  }
  FDXDraw = Display;
  if (!FDXDraw) return;
  FNotifyHandle = FDXDraw->RegisterNotifyEvent([this](TDXDrawNotifyType Type) {
    switch (Type) {
      case TDXDrawNotifyType::Initialize:
        FItems.Initialize(*FDXDraw);
        FItems.SetDrawer(FDXDraw->Backend().PictureDrawer());
        break;
      case TDXDrawNotifyType::Restore:
        FItems.Restore();
        break;
      case TDXDrawNotifyType::Finalize:
        FItems.Finalize();
        FItems.SetDrawer(nullptr);
        break;
      case TDXDrawNotifyType::Destroying:
        // The display is going: forget it without unregistering from its list.
        FItems.Finalize();
        FItems.SetDrawer(nullptr);
        FDXDraw = nullptr;
        FNotifyHandle = 0;
        break;
      default:
        break;
    }
  });
}
