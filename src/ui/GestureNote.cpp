#include "ui/GestureNote.h"

std::array<const char*, 2> GestureNote(int32_t Language, bool Setup) {
  if (Language == 0) {
    if (Setup)
      return {"Mouse or touch: tap a bar to change it, tap GO PLAY ! to start.",
              "Tap HELP in the corner to show or hide this help."};
    return {"Mouse or touch: tap a cube to select it, swipe a cube to turn it,",
            "pinch or the wheel to zoom; once solved, a tap goes on."};
  }
  if (Setup)
    return {"My\x9A alebo dotyk: \x9Duknut\xEDm na li\x9Atu ju zmen\xEDte, GO PLAY ! za\xE8ne hru.",
            "\x8Duknut\xEDm na HELP v rohu pomoc uk\xE1\x9E" "ete alebo skryjete."};
  return {"My\x9A alebo dotyk: \x9Duknut\xEDm vyberiete kocku, potiahnut\xEDm ju oto\xE8\xEDte,",
          "dvoma prstami \xE8i kolieskom zv\xE4\xE8\x9A\xEDte; po v\xFDhre \x9Duknutie ide \xEF" "alej."};
}
