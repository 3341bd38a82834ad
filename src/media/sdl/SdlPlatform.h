// The game's platform on SDL: the window, the display backend on it, the keyboard and game
// controllers, and the main loop that turns SDL's events into the form's key events, window
// events for the display and idle passes for the frame timer.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "media/DXDisplay.h"
#include "media/DXInput.h"
#include "media/sdl/SdlControllers.h"
#include "media/sdl/SdlKeys.h"

class TSdlFormWindow;
class TSdlGLDisplay;

// What the main loop drives: the form's key handlers, its frame timer and activation.
class TPlatformClient {
 public:
  virtual ~TPlatformClient() = default;
  // Virtual-key code and the modifiers held; key repeats arrive as further key-downs.
  virtual void KeyDown(uint16_t Key, const TModifiers& Modifiers) = 0;
  virtual void KeyUp(uint16_t Key, const TModifiers& Modifiers) = 0;
  // The mouse's left button and the fingers, in the picture's pixels; wheel steps, positive
  // towards the player.
  virtual void Pointer(const TPointerEvent& /*Event*/) {}
  virtual void Wheel(int32_t /*Steps*/) {}
  // The application gained or lost the focus.
  virtual void Activated(bool Active) = 0;
  // Whether the loop should run idle passes (the frame timer is hooked) or wait for events.
  virtual bool WantsIdle() const = 0;
  // One idle pass; true when a frame ran.
  virtual bool Idle() = 0;
};

struct TPlatformOptions {
  bool Headless = false;   // SDL's offscreen video on the software rasterizer, dummy audio
  std::string FontFolder;  // where the canvas's faces lie (the game's data folder)
  // Headless runs: the desktop's size that full screen fills and the window's client size,
  // as if the player had resized it (0 x 0: 640 x 480, whatever the driver pretends).
  int32_t ScreenWidth = 0, ScreenHeight = 0;
  // Full screen switches the monitor's display mode instead of filling the desktop.
  bool DisplayModeSearch = false;
};

class TSdlPlatform {
 public:
  // Starts SDL's video and game controllers and makes the (hidden) window of 640 x 480.
  // Raises EDXDrawError with the reason when there is no video or no OpenGL.
  explicit TSdlPlatform(const TPlatformOptions& Options);
  ~TSdlPlatform();
  TSdlPlatform(const TSdlPlatform&) = delete;
  TSdlPlatform& operator=(const TSdlPlatform&) = delete;

  // The pieces the form is made of; the platform must outlive them.
  std::unique_ptr<TFormWindow> MakeFormWindow();
  std::unique_ptr<TDisplayBackend> MakeDisplay();
  TKeySource& Keys() { return FKeys; }
  TJoystickSource& Joystick() { return FControllers; }

  // The display made on MakeDisplay's backend: it hears of the window's showing, moves and
  // resizes. Call before Show.
  void Attach(TDXDraw& Display);
  // Shows the window; the display starts itself then (when it initialises automatically).
  void Show();

  // Handles the waiting events; false once the window was closed.
  bool PumpEvents(TPlatformClient& Client);
  // The main loop: until the form's window is closed.
  void Run(TPlatformClient& Client);
  bool Closed() const;
  SDL_Window* Window() const { return FWindow; }

  // Presents the last picture again (when the display can draw).
  void PresentAgain();
  // The refresh rate of the window's display in Hz; 0 when unknown.
  double RefreshRate() const;

  // What the window shows, at its full pixel size, as a PNG file; false with the reason in
  // Error.
  bool SaveScreenshot(const std::string& File, std::string& Error);

  // The application's error report: standard error, and a message box unless headless.
  static void ReportError(const std::string& Message, bool Headless);

  // Takes one more hold on SDL's video and the OpenGL library and never lets go: the driver
  // stays mapped until the process ends, so that leak reports at exit can name its own
  // allocations. Call once the platform is made (it chose the driver).
  static void KeepGLLibraryLoaded();

 private:
  struct TScreen {
    int32_t Width = 0, Height = 0;
  };
  TScreen HeadlessScreen() const;
  void Handle(const SDL_Event& Event, TPlatformClient& Client);
  // Mouse and finger events to the client's pointer; false for any other event.
  bool HandlePointer(const SDL_Event& Event, TPlatformClient& Client);
  // A finger's pointer number: the lowest free from 1 (none when too many are down).
  int32_t FingerSlot(SDL_FingerID Finger, bool Take);
  void SendPointer(TPlatformClient& Client, TPointerAction Action, int32_t Id, float FractionX,
                   float FractionY);
  void RememberPlacement();

  TPlatformOptions FOptions;
  SDL_Window* FWindow = nullptr;
  TSdlFormWindow* FFormWindow = nullptr;  // owned by the form
  TSdlGLDisplay* FBackend = nullptr;      // owned by the display
  TDXDraw* FDisplay = nullptr;
  int FNotifyHandle = 0;
  TSdlKeySource FKeys;
  TSdlControllers FControllers;
  bool FMouseDown = false;
  std::vector<std::pair<SDL_FingerID, int32_t>> FFingers;
  bool FActive = true;
  bool FQuit = false;
  bool FPlacementChanged = false;
  int FKnownX = 0, FKnownY = 0, FKnownW = 0, FKnownH = 0;
};
