// Seed corpus for the fuzz targets, made by the project's own writers. A target started with
// ZELGORA_FUZZ_SEEDS=DIR writes its seeds there and exits; scripts/fuzz does so before fuzzing.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using TSeeds = std::vector<std::vector<uint8_t>>;

inline void WriteSeedsIfAsked(const TSeeds& Seeds) {
  const char* dir = std::getenv("ZELGORA_FUZZ_SEEDS");
  if (!dir) return;
  for (size_t i = 0; i < Seeds.size(); ++i) {
    const std::string path = std::string(dir) + "/seed" + std::to_string(i);
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
      std::fwrite(Seeds[i].data(), 1, Seeds[i].size(), f);
      std::fclose(f);
    }
  }
  std::exit(0);
}

// A small picture of every bit count, filled so that every pixel differs.
#include "CraftedFiles.h"
#include "media/DIB.h"

inline std::vector<TDIB> SeedPictures() {
  std::vector<TDIB> out;
  for (int bits : {1, 4, 8, 16, 24, 32}) {
    TDIB d;
    d.SetSize(5, 3, bits);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) d.SetPixel(x, y, 0x9E3779B9u * static_cast<uint32_t>(y * 5 + x));
    d.ColorTable()[1] = {1, 2, 3, 0};
    out.push_back(d);
  }
  return out;
}
