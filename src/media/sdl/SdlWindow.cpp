#include "media/sdl/SdlWindow.h"

namespace {
struct TBorders {
  int Top = 0, Left = 0, Bottom = 0, Right = 0;
};
TBorders BordersOf(SDL_Window* W, bool Headless) {
  TBorders b;
  if (Headless) return b;
  if (SDL_GetWindowBordersSize(W, &b.Top, &b.Left, &b.Bottom, &b.Right) != 0) return {};
  return b;
}
}  // namespace

void TSdlFormWindow::SetCaption(const std::string& Caption) {
  SDL_SetWindowTitle(FWindow, Caption.c_str());
}

int32_t TSdlFormWindow::Width() const {
  const TBorders b = BordersOf(FWindow, FHeadless);
  return ClientWidth() + b.Left + b.Right;
}

int32_t TSdlFormWindow::Height() const {
  const TBorders b = BordersOf(FWindow, FHeadless);
  return ClientHeight() + b.Top + b.Bottom;
}

int32_t TSdlFormWindow::ClientWidth() const {
  int w = 0, h = 0;
  SDL_GetWindowSize(FWindow, &w, &h);
  return w;
}

int32_t TSdlFormWindow::ClientHeight() const {
  int w = 0, h = 0;
  SDL_GetWindowSize(FWindow, &w, &h);
  return h;
}

void TSdlFormWindow::SetBorderStyle(TBorderStyle Style) {
  SDL_SetWindowBordered(FWindow, Style == TBorderStyle::None ? SDL_FALSE : SDL_TRUE);
  SDL_SetWindowResizable(FWindow, Style == TBorderStyle::Sizeable ? SDL_TRUE : SDL_FALSE);
}

void TSdlFormWindow::ShowCursor(bool Show) {
  SDL_ShowCursor(Show ? SDL_ENABLE : SDL_DISABLE);
}

bool TSdlFormWindow::SavePlacement() {
  if ((SDL_GetWindowFlags(FWindow) & SDL_WINDOW_FULLSCREEN) != 0) return false;
  TPlacement p;
  SDL_GetWindowPosition(FWindow, &p.X, &p.Y);
  SDL_GetWindowSize(FWindow, &p.W, &p.H);
  p.Maximized = (SDL_GetWindowFlags(FWindow) & SDL_WINDOW_MAXIMIZED) != 0;
  FPlacement = p;
  return true;
}

void TSdlFormWindow::RestorePlacement() {
  // The window may still be full screen; it must be a window again before it can be placed.
  if ((SDL_GetWindowFlags(FWindow) & SDL_WINDOW_FULLSCREEN) != 0) {
    SDL_SetWindowFullscreen(FWindow, 0);
  }
  SDL_RestoreWindow(FWindow);
  SDL_SetWindowSize(FWindow, FPlacement.W, FPlacement.H);
  SDL_SetWindowPosition(FWindow, FPlacement.X, FPlacement.Y);
  if (FPlacement.Maximized) SDL_MaximizeWindow(FWindow);
}

bool TSdlFormWindow::Active() const {
  return FHeadless || (SDL_GetWindowFlags(FWindow) & SDL_WINDOW_INPUT_FOCUS) != 0;
}
