// zelgora-dxg: lists, extracts and packs image-list files for people who make artwork.
#include <SDL.h>
#include <SDL_image.h>

#include <CLI/CLI.hpp>
#include <iostream>

#include "Dxg.h"
#include "Version.h"

int main(int argc, char** argv) {
  CLI::App app{"List, extract and pack Zelgora image-list files (.dxg)", "zelgora-dxg"};
  app.set_version_flag("--version", std::string("zelgora-dxg " ZELGORA_VERSION));
  app.require_subcommand(1);
  std::string file, dir, out, manifest;
  auto* list = app.add_subcommand("list", "print every item of FILE.dxg");
  list->add_option("FILE", file, "image-list file")->required();
  auto* extract = app.add_subcommand("extract", "write every picture as DIR/<name>.png");
  extract->add_option("FILE", file, "image-list file")->required();
  extract->add_option("DIR", dir, "output folder")->required();
  auto* pack = app.add_subcommand("pack", "build OUT.dxg from a JSON manifest of PNG files");
  pack->add_option("OUT", out, "image-list file to write")->required();
  pack->add_option("MANIFEST", manifest, "JSON manifest")->required();
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e);
    return code == 0 ? 0 : 1;
  }
  try {
    IMG_Init(IMG_INIT_PNG);
    if (*list) ListImages(file, std::cout);
    if (*extract) ExtractImages(file, dir);
    if (*pack) PackImages(out, manifest);
    IMG_Quit();
  } catch (const std::exception& e) {
    std::cerr << "zelgora-dxg: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
