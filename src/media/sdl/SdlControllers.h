// Game controllers (attached and detached while the game runs) as the input's joystick:
// the d-pad and the left stick give the directions, the buttons Button1 onwards.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <map>

#include "media/DXInput.h"

// One controller's reading.
struct TControllerReading {
  bool Up = false, Down = false, Left = false, Right = false;  // d-pad
  int32_t StickX = 0, StickY = 0;                              // left stick, -32768..32767, y down
  // A, B, X, Y, left and right shoulder, back, start, left and right stick press.
  bool Buttons[10] = {};
};

// The input states of a reading: a stick beyond half way counts as a direction.
TDXInputStates ControllerStates(const TControllerReading& Reading);

class TSdlControllers : public TJoystickSource {
 public:
  TSdlControllers() = default;
  ~TSdlControllers() override;
  TSdlControllers(const TSdlControllers&) = delete;
  TSdlControllers& operator=(const TSdlControllers&) = delete;

  // Opens the controllers attached now.
  void OpenAttached();
  // Controller added and removed events.
  void HandleEvent(const SDL_Event& Event);
  int32_t Count() const { return static_cast<int32_t>(FControllers.size()); }

  // Every attached controller's states together.
  TDXInputStates ReadStates() override;

 private:
  void Open(int DeviceIndex);
  std::map<SDL_JoystickID, SDL_GameController*> FControllers;
};
