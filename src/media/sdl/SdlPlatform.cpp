#include "media/sdl/SdlPlatform.h"

#include <SDL_image.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "media/DXClass.h"
#include "media/gl/GL.h"
#include "media/sdl/SdlDisplay.h"
#include "media/sdl/SdlWindow.h"

TSdlPlatform::TSdlPlatform(const TPlatformOptions& Options)
    : FOptions(Options), FKeys([this] { return FActive; }) {
  if (Options.Headless) {
    // The environment may name other drivers; hints at default priority give way to it.
    SDL_SetHint(SDL_HINT_AUDIODRIVER, "dummy");
#ifndef _WIN32
    // Windows' offscreen driver has no OpenGL: headless there is a window on its own driver.
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
#endif
  }
  SDL_SetHint("SDL_WINDOWS_DPI_AWARENESS", "permonitorv2");
  // Fingers and the mouse are told apart: no mouse events made up from touches (they would
  // count twice), no touches from the mouse.
  SDL_SetHint(SDL_HINT_TOUCH_MOUSE_EVENTS, "0");
  SDL_SetHint(SDL_HINT_MOUSE_TOUCH_EVENTS, "0");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    throw EDXDrawError("3D device not found",
                       Format("the video system cannot start (%s)", SDL_GetError()));
  }
  // No controllers is no error: the joystick then yields no states.
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0) FControllers.OpenAttached();

  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, GLContextMajor);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, GLContextMinor);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK,
                      GLContextES ? SDL_GL_CONTEXT_PROFILE_ES : SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
  // Headless, the window is made as the player would have left it: its client area the
  // screen's size given. (The offscreen driver's drawing area keeps the size it is made with.)
  const TScreen size = Options.Headless ? HeadlessScreen() : TScreen{640, 480};
  FWindow = SDL_CreateWindow(
      "Zelgora", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, size.Width, size.Height,
      SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_HIDDEN);
  if (!FWindow) {
    const std::string reason = SDL_GetError();
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    throw EDXDrawError("3D device not found",
                       Format("no OpenGL window can be made (%s)", reason.c_str()));
  }
  // Smaller, the picture would have no room for its texts.
  SDL_SetWindowMinimumSize(FWindow, 160, 120);
  SDL_StopTextInput();
}

TSdlPlatform::TScreen TSdlPlatform::HeadlessScreen() const {
  if (FOptions.ScreenWidth > 0 && FOptions.ScreenHeight > 0) {
    return {FOptions.ScreenWidth, FOptions.ScreenHeight};
  }
  return {640, 480};
}

TSdlPlatform::~TSdlPlatform() {
  if (FDisplay && FNotifyHandle) FDisplay->UnregisterNotifyEvent(FNotifyHandle);
  SDL_ShowCursor(SDL_ENABLE);
  SDL_DestroyWindow(FWindow);
  SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

std::unique_ptr<TFormWindow> TSdlPlatform::MakeFormWindow() {
  auto window = std::make_unique<TSdlFormWindow>(FWindow, FOptions.Headless);
  FFormWindow = window.get();
  return window;
}

std::unique_ptr<TDisplayBackend> TSdlPlatform::MakeDisplay() {
  TSdlScreenOptions screen;
  screen.ModeSwitch = FOptions.DisplayModeSearch;
  if (FOptions.Headless) {
    const TScreen size = HeadlessScreen();
    screen.DesktopWidth = size.Width;
    screen.DesktopHeight = size.Height;
  }
  auto backend = std::make_unique<TSdlGLDisplay>(FWindow, FOptions.FontFolder, screen);
  FBackend = backend.get();
  return backend;
}

void TSdlPlatform::Attach(TDXDraw& Display) {
  FDisplay = &Display;
  // Each initialisation takes the window's place as the one in force, so that the window
  // events of the display's own changes (full screen and back) do not start another.
  FNotifyHandle = Display.RegisterNotifyEvent([this](TDXDrawNotifyType Type) {
    if (Type == TDXDrawNotifyType::Initialize) RememberPlacement();
    if (Type == TDXDrawNotifyType::Destroying) {
      FDisplay = nullptr;
      FBackend = nullptr;
      FNotifyHandle = 0;
    }
  });
}

void TSdlPlatform::RememberPlacement() {
  SDL_GetWindowPosition(FWindow, &FKnownX, &FKnownY);
  SDL_GetWindowSize(FWindow, &FKnownW, &FKnownH);
  FPlacementChanged = false;
}

void TSdlPlatform::Show() {
  SDL_ShowWindow(FWindow);
  RememberPlacement();
  if (FDisplay) FDisplay->WindowShown();
}

bool TSdlPlatform::Closed() const {
  return FQuit || (FFormWindow && FFormWindow->Closed());
}

int32_t TSdlPlatform::FingerSlot(SDL_FingerID Finger, bool Take) {
  for (const auto& [finger, slot] : FFingers)
    if (finger == Finger) return slot;
  if (!Take || FFingers.size() >= static_cast<size_t>(TPointerGestures::MaxContacts)) return 0;
  int32_t slot = 1;
  for (bool taken = true; taken; ++slot) {
    taken = false;
    for (const auto& f : FFingers) taken = taken || f.second == slot;
    if (!taken) break;
  }
  FFingers.emplace_back(Finger, slot);
  return slot;
}

void TSdlPlatform::SendPointer(TPlatformClient& Client, TPointerAction Action, int32_t Id,
                               float FractionX, float FractionY) {
  if (!FBackend) return;
  const auto p = FBackend->PicturePoint(FractionX, FractionY);
  if (p) Client.Pointer({Action, Id, p->X, p->Y});
}

bool TSdlPlatform::HandlePointer(const SDL_Event& E, TPlatformClient& Client) {
  // Mouse positions are in the window's points; a headless full screen stands for the
  // screen given, whatever size the driver keeps.
  int w = 0, h = 0;
  SDL_GetWindowSize(FWindow, &w, &h);
  if (FOptions.Headless && FDisplay && FDisplay->NowOptions().Contains(doFullScreen)) {
    const TScreen screen = HeadlessScreen();
    w = screen.Width;
    h = screen.Height;
  }
  const float ww = static_cast<float>(w > 0 ? w : 1), wh = static_cast<float>(h > 0 ? h : 1);
  switch (E.type) {
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      // Touches come as fingers; a browser's mouse events made up from them are left out too.
      if (E.button.which == SDL_TOUCH_MOUSEID || E.button.button != SDL_BUTTON_LEFT) return true;
      if (E.type == SDL_MOUSEBUTTONDOWN && FFingers.empty()) {
        FMouseDown = true;
        SendPointer(Client, TPointerAction::Down, 0, static_cast<float>(E.button.x) / ww,
                    static_cast<float>(E.button.y) / wh);
      } else if (E.type == SDL_MOUSEBUTTONUP && FMouseDown) {
        FMouseDown = false;
        SendPointer(Client, TPointerAction::Up, 0, static_cast<float>(E.button.x) / ww,
                    static_cast<float>(E.button.y) / wh);
      }
      return true;
    case SDL_MOUSEMOTION:
      if (E.motion.which == SDL_TOUCH_MOUSEID) return true;
      // In full screen the cursor stays hidden until the mouse is used.
      if (FDisplay && FDisplay->NowOptions().Contains(doFullScreen) && SDL_ShowCursor(-1) == 0 &&
          (E.motion.xrel != 0 || E.motion.yrel != 0))
        SDL_ShowCursor(SDL_ENABLE);
      if (FMouseDown)
        SendPointer(Client, TPointerAction::Move, 0, static_cast<float>(E.motion.x) / ww,
                    static_cast<float>(E.motion.y) / wh);
      return true;
    case SDL_MOUSEWHEEL: {
      if (E.wheel.which == SDL_TOUCH_MOUSEID) return true;
      const int32_t away = E.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -E.wheel.y : E.wheel.y;
      if (away != 0) Client.Wheel(std::clamp(-away, -1000, 1000));
      return true;
    }
    case SDL_FINGERDOWN:
    case SDL_FINGERMOTION:
    case SDL_FINGERUP: {
      const int32_t slot = FingerSlot(E.tfinger.fingerId, E.type == SDL_FINGERDOWN);
      if (slot == 0) return true;
      const TPointerAction action = E.type == SDL_FINGERDOWN   ? TPointerAction::Down
                                    : E.type == SDL_FINGERUP   ? TPointerAction::Up
                                                               : TPointerAction::Move;
      if (E.type == SDL_FINGERUP)
        std::erase_if(FFingers, [&](const auto& F) { return F.first == E.tfinger.fingerId; });
      SendPointer(Client, action, slot, E.tfinger.x, E.tfinger.y);
      return true;
    }
    default:
      return false;
  }
}

void TSdlPlatform::Handle(const SDL_Event& E, TPlatformClient& Client) {
  if (HandlePointer(E, Client)) return;
  switch (E.type) {
    case SDL_QUIT:
      // Closing the window closes the form, as ESC does.
      FQuit = true;
      if (FFormWindow) FFormWindow->Close();
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      const bool numLock = (E.key.keysym.mod & KMOD_NUM) != 0;
      const uint8_t vk = EventVirtualKey(E.key.keysym.scancode, numLock);
      if (vk == 0) break;
      const TModifiers mods = ModifiersOf(E.key.keysym.mod);
      if (E.type == SDL_KEYDOWN) {
        Client.KeyDown(vk, mods);
      } else {
        Client.KeyUp(vk, mods);
      }
      break;
    }
    case SDL_CONTROLLERDEVICEADDED:
    case SDL_CONTROLLERDEVICEREMOVED:
      FControllers.HandleEvent(E);
      break;
    case SDL_WINDOWEVENT:
      if (E.window.windowID != SDL_GetWindowID(FWindow)) break;
      switch (E.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
          if (!FActive) {
            FActive = true;
            Client.Activated(true);
          }
          break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
        case SDL_WINDOWEVENT_MINIMIZED:
        case SDL_WINDOWEVENT_HIDDEN:  // also a page whose tab or app is no longer in front
          if (FActive && !FOptions.Headless) {
            FActive = false;
            Client.Activated(false);
          }
          break;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_SHOWN:
          // Back from the taskbar (or in front again) with the focus, where no focus event
          // says so.
          if (!FActive && (SDL_GetWindowFlags(FWindow) & SDL_WINDOW_INPUT_FOCUS) != 0) {
            FActive = true;
            Client.Activated(true);
          }
          break;
        case SDL_WINDOWEVENT_MOVED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
          FPlacementChanged = true;
          break;
        case SDL_WINDOWEVENT_EXPOSED:
          // Uncovered: the last frame, still on the back surface, is presented as any other.
          if (FDisplay) FDisplay->Flip();
          break;
        case SDL_WINDOWEVENT_CLOSE:
          FQuit = true;
          if (FFormWindow) FFormWindow->Close();
          break;
        default:
          break;
      }
      break;
    default:
      break;
  }
}

bool TSdlPlatform::PumpEvents(TPlatformClient& Client) {
  SDL_Event e;
  while (!Closed() && SDL_PollEvent(&e)) Handle(e, Client);
  if (Closed()) return false;
  // A finished move or resize of the window re-initialises the display, once per pass; so
  // does a window or screen whose pixel size changed otherwise (the full screen settling,
  // the window moved to a screen of another density).
  if (FDisplay && FDisplay->Initialized()) {
    bool moved = false;
    if (FPlacementChanged && !FDisplay->NowOptions().Contains(doFullScreen)) {
      int x = 0, y = 0, w = 0, h = 0;
      SDL_GetWindowPosition(FWindow, &x, &y);
      SDL_GetWindowSize(FWindow, &w, &h);
      moved = x != FKnownX || y != FKnownY || w != FKnownW || h != FKnownH;
    }
    if (moved || (FBackend && FBackend->OutputChanged())) FDisplay->WindowMovedOrSized();
  }
  FPlacementChanged = false;
  return !Closed();
}

void TSdlPlatform::Run(TPlatformClient& Client) {
  while (PumpEvents(Client)) {
    if (Client.WantsIdle() && FActive) {
      // Without a due frame the loop rests a little rather than spin.
      if (!Client.Idle()) SDL_Delay(1);
    } else {
      SDL_WaitEventTimeout(nullptr, 50);
    }
  }
}

void TSdlPlatform::PresentAgain() {
  if (FBackend && FDisplay && FDisplay->CanDraw()) FBackend->Repaint();
}

double TSdlPlatform::RefreshRate() const {
  SDL_DisplayMode mode{};
  const int display = SDL_GetWindowDisplayIndex(FWindow);
  if (display < 0 || SDL_GetCurrentDisplayMode(display, &mode) != 0) return 0;
  return mode.refresh_rate;
}

bool TSdlPlatform::SaveScreenshot(const std::string& File, std::string& Error) {
  if (!FBackend) {
    Error = "no picture to save";
    return false;
  }
  TSurfacePixels pixels = FBackend->ReadWindow();
  if (pixels.RGBA.empty()) {
    Error = "no picture to save";
    return false;
  }
  SDL_Surface* surface =
      SDL_CreateRGBSurfaceWithFormatFrom(pixels.RGBA.data(), pixels.Width, pixels.Height, 32,
                                         pixels.Width * 4, SDL_PIXELFORMAT_RGBA32);
  if (!surface) {
    Error = SDL_GetError();
    return false;
  }
  const int result = IMG_SavePNG(surface, File.c_str());
  SDL_FreeSurface(surface);
  if (result != 0) {
    Error = Format("%s cannot be written (%s)", File.c_str(), SDL_GetError());
    return false;
  }
  return true;
}

void TSdlPlatform::KeepGLLibraryLoaded() {
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) SDL_GL_LoadLibrary(nullptr);
}

void TSdlPlatform::ReportError(const std::string& Message, bool Headless) {
  std::fprintf(stderr, "%s\n", Message.c_str());
  if (!Headless)
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Zelgora", Message.c_str(), nullptr);
}
