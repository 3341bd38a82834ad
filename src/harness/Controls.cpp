#include "harness/Controls.h"

std::string ControlsText() {
  return "Controls:\n"
         "  Up, Down                          setup screen: choose a row\n"
         "  Left, Right, Space, Return        setup screen: change the row's choice\n"
         "  arrows, H J K L, keypad 8 2 4 6   in play: move over the board\n"
         "  Shift + a direction               turn the selected cube a quarter turn\n"
         "  Ctrl + Up, Ctrl + Down            come closer, step back\n"
         "  Alt (hold)                        next level once the board is solved\n"
         "  F1 help, F2 background, F3 Beginner/Profi, F4 sound, F5 language\n"
         "  Alt+Return                        window or full screen\n"
         "  Escape                            quit\n"
         "  game controller                   d-pad and left stick as the direction keys\n"
         "Touch and mouse (a click is a tap, a drag a swipe):\n"
         "  tap a bar, swipe it left or right setup screen: choose and change it\n"
         "  tap a cube                        in play: the selection travels there\n"
         "  swipe on a cube, or beside        turn that cube, or the selected one, that way\n"
         "  pinch, mouse wheel                come closer, step back\n"
         "  tap                               next level once the board is solved\n"
         "  tap HELP (bottom right)           help panel, with the gestures\n";
}
