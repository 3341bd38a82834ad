// Keys as the game knows them: Windows virtual-key codes, taken from the physical key
// position (scancode) so that another keyboard layout keeps the controls in place.
#pragma once

#include <SDL.h>

#include <array>
#include <cstdint>
#include <functional>

#include "media/DXInput.h"

// The virtual-key code of a key position, 0 for none. Either side's Shift, Ctrl and Alt give
// the sided codes (0xA0..0xA5); key events use the plain ones (0x10..0x12) instead. Keypad
// keys with Num Lock off give the navigation keys.
uint8_t VirtualKeyOfScancode(SDL_Scancode Code, bool NumLock);
// The code a key event carries.
uint8_t EventVirtualKey(SDL_Scancode Code, bool NumLock);
// Either Alt key is Alt on every layout: SDL may report right Alt as Alt, as the AltGr mode
// key, or (as the original platform saw it) together with Ctrl.
TModifiers ModifiersOf(uint16_t SdlMods);

// The keyboard's state as a 256-entry table of virtual-key codes (bit 7 = down): both the
// sided and the plain codes of the modifiers are set.
class TSdlKeySource : public TKeySource {
 public:
  // Foreground answers whether the form's window has the focus.
  explicit TSdlKeySource(std::function<bool()> Foreground) : FForeground(std::move(Foreground)) {}
  bool ReadKeys(std::array<uint8_t, 256>& Keys) override;
  bool Foreground() const override { return FForeground ? FForeground() : true; }

  // The table of a keyboard state as SDL gives it (one byte a scancode).
  static void Translate(const uint8_t* State, int Count, bool NumLock,
                        std::array<uint8_t, 256>& Keys);

 private:
  std::function<bool()> FForeground;
};
