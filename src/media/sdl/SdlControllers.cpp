#include "media/sdl/SdlControllers.h"

namespace {
constexpr int32_t StickThreshold = 16384;

constexpr SDL_GameControllerButton ButtonOrder[10] = {SDL_CONTROLLER_BUTTON_A,
                                                      SDL_CONTROLLER_BUTTON_B,
                                                      SDL_CONTROLLER_BUTTON_X,
                                                      SDL_CONTROLLER_BUTTON_Y,
                                                      SDL_CONTROLLER_BUTTON_LEFTSHOULDER,
                                                      SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
                                                      SDL_CONTROLLER_BUTTON_BACK,
                                                      SDL_CONTROLLER_BUTTON_START,
                                                      SDL_CONTROLLER_BUTTON_LEFTSTICK,
                                                      SDL_CONTROLLER_BUTTON_RIGHTSTICK};
}  // namespace

TDXInputStates ControllerStates(const TControllerReading& R) {
  TDXInputStates s;
  if (R.Up || R.StickY <= -StickThreshold) s.Include(isUp);
  if (R.Down || R.StickY >= StickThreshold) s.Include(isDown);
  if (R.Left || R.StickX <= -StickThreshold) s.Include(isLeft);
  if (R.Right || R.StickX >= StickThreshold) s.Include(isRight);
  for (int i = 0; i < 10; ++i) {
    if (R.Buttons[i]) s.Include(isButton1 + i);
  }
  return s;
}

TSdlControllers::~TSdlControllers() {
  for (auto& [id, c] : FControllers) SDL_GameControllerClose(c);
}

void TSdlControllers::Open(int DeviceIndex) {
  if (!SDL_IsGameController(DeviceIndex)) return;
  const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(DeviceIndex);
  if (id < 0 || FControllers.count(id)) return;
  if (SDL_GameController* c = SDL_GameControllerOpen(DeviceIndex)) FControllers[id] = c;
}

void TSdlControllers::OpenAttached() {
  for (int i = 0; i < SDL_NumJoysticks(); ++i) Open(i);
}

void TSdlControllers::HandleEvent(const SDL_Event& Event) {
  if (Event.type == SDL_CONTROLLERDEVICEADDED) {
    Open(Event.cdevice.which);
  } else if (Event.type == SDL_CONTROLLERDEVICEREMOVED) {
    auto it = FControllers.find(Event.cdevice.which);
    if (it != FControllers.end()) {
      SDL_GameControllerClose(it->second);
      FControllers.erase(it);
    }
  }
}

TDXInputStates TSdlControllers::ReadStates() {
  TDXInputStates all;
  for (auto& [id, c] : FControllers) {
    TControllerReading r;
    r.Up = SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_UP) != 0;
    r.Down = SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_DOWN) != 0;
    r.Left = SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_LEFT) != 0;
    r.Right = SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_RIGHT) != 0;
    r.StickX = SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTX);
    r.StickY = SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTY);
    for (int i = 0; i < 10; ++i) r.Buttons[i] = SDL_GameControllerGetButton(c, ButtonOrder[i]) != 0;
    all |= ControllerStates(r);
  }
  return all;
}
