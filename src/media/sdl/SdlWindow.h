// The form's window on SDL: caption, client and outer size, border style, cursor, placement.
#pragma once

#include <SDL.h>

#include "media/DXDisplay.h"

class TSdlFormWindow : public TFormWindow {
 public:
  // The window stays the caller's. Headless runs count the window as active and its frame as
  // none, as on the offscreen driver: the panels' layout, which takes the outer size, is then
  // the same on every platform, where a real window's frame is the system's.
  TSdlFormWindow(SDL_Window* Window, bool Headless) : FWindow(Window), FHeadless(Headless) {}

  void SetCaption(const std::string& Caption) override;
  int32_t Width() const override;
  int32_t Height() const override;
  int32_t ClientWidth() const override;
  int32_t ClientHeight() const override;
  void SetBorderStyle(TBorderStyle Style) override;
  void ShowCursor(bool Show) override;
  bool SavePlacement() override;
  void RestorePlacement() override;
  void Close() override { FClosed = true; }
  bool Closed() const override { return FClosed; }
  bool Active() const override;

  SDL_Window* Handle() const { return FWindow; }

 private:
  struct TPlacement {
    int X = 0, Y = 0, W = 640, H = 480;
    bool Maximized = false;
  };
  SDL_Window* FWindow;
  bool FHeadless;
  bool FClosed = false;
  TPlacement FPlacement;
};
