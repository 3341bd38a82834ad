// zelgora-screens OUTDIR [DATADIR]: writes the README's screenshots as PNG files.
#include <cstdio>
#include <exception>
#include <string>

#include "Screens.h"
#include "media/sdl/SdlBasePath.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: zelgora-screens OUTDIR [DATADIR]\n");
    return 1;
  }
  const std::string out = argv[1];
  const std::string data = argc > 2 ? argv[2] : ZELGORA_DATA;
  try {
    for (int32_t edition : {0, 1}) {
      TakeScreenshots(data, edition, [&](const TScreenshot& Shot) {
        SavePng(Shot, out + "/" + Shot.Name + ".png");
        std::printf("%s/%s.png\n", out.c_str(), Shot.Name.c_str());
      });
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "zelgora-screens: %s\n", e.what());
    return 1;
  }
  return 0;
}
