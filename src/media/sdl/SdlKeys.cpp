#include "media/sdl/SdlKeys.h"

namespace {
constexpr uint8_t VK_SHIFT = 0x10, VK_CONTROL = 0x11, VK_MENU = 0x12;

// Keypad keys with Num Lock off act as the navigation keys.
uint8_t KeypadWithoutNumLock(SDL_Scancode Code) {
  switch (Code) {
    case SDL_SCANCODE_KP_0:
      return 0x2D;  // insert
    case SDL_SCANCODE_KP_1:
      return 0x23;  // end
    case SDL_SCANCODE_KP_2:
      return 0x28;  // down
    case SDL_SCANCODE_KP_3:
      return 0x22;  // page down
    case SDL_SCANCODE_KP_4:
      return 0x25;  // left
    case SDL_SCANCODE_KP_5:
      return 0x0C;  // clear
    case SDL_SCANCODE_KP_6:
      return 0x27;  // right
    case SDL_SCANCODE_KP_7:
      return 0x24;  // home
    case SDL_SCANCODE_KP_8:
      return 0x26;  // up
    case SDL_SCANCODE_KP_9:
      return 0x21;  // page up
    case SDL_SCANCODE_KP_PERIOD:
      return 0x2E;  // delete
    default:
      return 0;
  }
}
}  // namespace

uint8_t VirtualKeyOfScancode(SDL_Scancode Code, bool NumLock) {
  if (Code >= SDL_SCANCODE_A && Code <= SDL_SCANCODE_Z) {
    return static_cast<uint8_t>('A' + (Code - SDL_SCANCODE_A));
  }
  if (Code >= SDL_SCANCODE_1 && Code <= SDL_SCANCODE_9) {
    return static_cast<uint8_t>('1' + (Code - SDL_SCANCODE_1));
  }
  if (Code >= SDL_SCANCODE_F1 && Code <= SDL_SCANCODE_F12) {
    return static_cast<uint8_t>(0x70 + (Code - SDL_SCANCODE_F1));
  }
  if (Code >= SDL_SCANCODE_KP_1 && Code <= SDL_SCANCODE_KP_9) {
    return NumLock ? static_cast<uint8_t>(0x61 + (Code - SDL_SCANCODE_KP_1))
                   : KeypadWithoutNumLock(Code);
  }
  switch (Code) {
    case SDL_SCANCODE_0:
      return '0';
    case SDL_SCANCODE_KP_0:
      return NumLock ? 0x60 : KeypadWithoutNumLock(Code);
    case SDL_SCANCODE_KP_PERIOD:
      return NumLock ? 0x6E : KeypadWithoutNumLock(Code);
    case SDL_SCANCODE_RETURN:
      return 0x0D;
    case SDL_SCANCODE_KP_ENTER:
      return 0x0D;
    case SDL_SCANCODE_ESCAPE:
      return 0x1B;
    case SDL_SCANCODE_BACKSPACE:
      return 0x08;
    case SDL_SCANCODE_TAB:
      return 0x09;
    case SDL_SCANCODE_SPACE:
      return 0x20;
    case SDL_SCANCODE_MINUS:
      return 0xBD;
    case SDL_SCANCODE_EQUALS:
      return 0xBB;
    case SDL_SCANCODE_LEFTBRACKET:
      return 0xDB;
    case SDL_SCANCODE_RIGHTBRACKET:
      return 0xDD;
    case SDL_SCANCODE_BACKSLASH:
      return 0xDC;
    case SDL_SCANCODE_NONUSBACKSLASH:
      return 0xE2;
    case SDL_SCANCODE_SEMICOLON:
      return 0xBA;
    case SDL_SCANCODE_APOSTROPHE:
      return 0xDE;
    case SDL_SCANCODE_GRAVE:
      return 0xC0;
    case SDL_SCANCODE_COMMA:
      return 0xBC;
    case SDL_SCANCODE_PERIOD:
      return 0xBE;
    case SDL_SCANCODE_SLASH:
      return 0xBF;
    case SDL_SCANCODE_CAPSLOCK:
      return 0x14;
    case SDL_SCANCODE_PRINTSCREEN:
      return 0x2C;
    case SDL_SCANCODE_SCROLLLOCK:
      return 0x91;
    case SDL_SCANCODE_PAUSE:
      return 0x13;
    case SDL_SCANCODE_INSERT:
      return 0x2D;
    case SDL_SCANCODE_HOME:
      return 0x24;
    case SDL_SCANCODE_PAGEUP:
      return 0x21;
    case SDL_SCANCODE_DELETE:
      return 0x2E;
    case SDL_SCANCODE_END:
      return 0x23;
    case SDL_SCANCODE_PAGEDOWN:
      return 0x22;
    case SDL_SCANCODE_RIGHT:
      return 0x27;
    case SDL_SCANCODE_LEFT:
      return 0x25;
    case SDL_SCANCODE_DOWN:
      return 0x28;
    case SDL_SCANCODE_UP:
      return 0x26;
    case SDL_SCANCODE_NUMLOCKCLEAR:
      return 0x90;
    case SDL_SCANCODE_KP_DIVIDE:
      return 0x6F;
    case SDL_SCANCODE_KP_MULTIPLY:
      return 0x6A;
    case SDL_SCANCODE_KP_MINUS:
      return 0x6D;
    case SDL_SCANCODE_KP_PLUS:
      return 0x6B;
    case SDL_SCANCODE_APPLICATION:
      return 0x5D;
    case SDL_SCANCODE_LSHIFT:
      return 0xA0;
    case SDL_SCANCODE_RSHIFT:
      return 0xA1;
    case SDL_SCANCODE_LCTRL:
      return 0xA2;
    case SDL_SCANCODE_RCTRL:
      return 0xA3;
    case SDL_SCANCODE_LALT:
      return 0xA4;
    case SDL_SCANCODE_RALT:
    case SDL_SCANCODE_MODE:  // right Alt where the layout makes it AltGr
      return 0xA5;
    case SDL_SCANCODE_LGUI:
      return 0x5B;
    case SDL_SCANCODE_RGUI:
      return 0x5C;
    default:
      return 0;
  }
}

uint8_t EventVirtualKey(SDL_Scancode Code, bool NumLock) {
  const uint8_t vk = VirtualKeyOfScancode(Code, NumLock);
  switch (vk) {
    case 0xA0:
    case 0xA1:
      return VK_SHIFT;
    case 0xA2:
    case 0xA3:
      return VK_CONTROL;
    case 0xA4:
    case 0xA5:
      return VK_MENU;
    default:
      return vk;
  }
}

TModifiers ModifiersOf(uint16_t SdlMods) {
  TModifiers m;
  m.Shift = (SdlMods & KMOD_SHIFT) != 0;
  // AltGr layouts may report right Alt as the mode key only; it is still Alt to the game.
  m.Alt = (SdlMods & (KMOD_ALT | KMOD_MODE)) != 0;
  m.Ctrl = (SdlMods & KMOD_CTRL) != 0;
  return m;
}

void TSdlKeySource::Translate(const uint8_t* State, int Count, bool NumLock,
                              std::array<uint8_t, 256>& Keys) {
  Keys.fill(0);
  for (int code = 0; code < Count; ++code) {
    if (!State[code]) continue;
    const auto sc = static_cast<SDL_Scancode>(code);
    const uint8_t vk = VirtualKeyOfScancode(sc, NumLock);
    if (vk == 0) continue;
    Keys[vk] = 0x80;
    Keys[EventVirtualKey(sc, NumLock)] = 0x80;
  }
}

bool TSdlKeySource::ReadKeys(std::array<uint8_t, 256>& Keys) {
  int count = 0;
  const uint8_t* state = SDL_GetKeyboardState(&count);
  if (!state) {
    Keys.fill(0);
    return true;
  }
  Translate(state, count, (SDL_GetModState() & KMOD_NUM) != 0, Keys);
  return true;
}
