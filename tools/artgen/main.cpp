// zelgora-artgen: draws every picture of the game and writes the image-list files, or a
// contact sheet of all pictures for people to look through.
#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <filesystem>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "Artwork.h"
#include "Icon.h"
#include "media/DXClass.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() != 2 || (args[0] != "--out" && args[0] != "--sheet" && args[0] != "--icons")) {
    std::cerr << "usage: zelgora-artgen --out BITMAPS_FOLDER | --sheet FILE.png | --icons FOLDER\n";
    return 2;
  }
  try {
    if (args[0] == "--out")
      art::WriteImageLists(args[1]);
    else if (args[0] == "--sheet")
      art::WriteContactSheet(args[1]);
    else
      art::WriteIcons(args[1]);
  } catch (const std::exception& e) {
    std::cerr << "zelgora-artgen: " << e.what() << "\n";
    return 1;
  }
  // Let go of the font caches, so that leak checks see a clean exit.
  cairo_debug_reset_static_data();
  FcFini();
  return 0;
}
