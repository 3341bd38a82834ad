// The DIB reader on any bytes: it raises or gives a picture that writes and reads back equal.
#include <cstdlib>
#include <span>

#include "Seeds.h"
#include "media/DIB.h"
#include "media/DXClass.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  TSeeds seeds;
  for (const TDIB& d : SeedPictures()) {
    seeds.push_back(d.WriteData());
    seeds.push_back(d.SaveToBMP());
  }
  // RLE8 and RLE4 pictures: runs, end of line, literal, delta, end.
  const std::vector<uint8_t> rle8 = {40, 0, 0, 0,  4, 0, 0, 0, 3, 0, 0, 0, 1, 0, 8, 0, 1,
                                     0,  0, 0, 18, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0,
                                     0,  0, 0, 0,  0, 0, 0, 0, 0, 0, 9, 9, 9, 0, 3, 9, 0,
                                     0,  0, 3, 1,  2, 3, 0, 0, 2, 0, 1, 1, 5, 0, 1};
  std::vector<uint8_t> rle4 = rle8;
  rle4[14] = 4;
  rle4[16] = 2;
  seeds.push_back(rle8);
  seeds.push_back(rle4);
  // The largest picture a few bytes may name, and one beyond every bound.
  seeds.push_back(Crafted::EndOnlyRLE8(TDIB::MaxSide, TDIB::MaxPixels / TDIB::MaxSide));
  seeds.push_back(Crafted::EndOnlyRLE8(16384, 16384));
  WriteSeedsIfAsked(seeds);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const std::span<const uint8_t> in(Data, Size);
  for (int bmp = 0; bmp < 2; ++bmp) {
    TDIB d;
    try {
      if (bmp) {
        d.LoadFromBMP(in);
      } else {
        d.ReadData(in);
      }
    } catch (const EDXError&) {
      continue;
    }
    const auto once = d.WriteData();
    TDIB e;
    e.ReadData(once);
    if (e.WriteData() != once || e.ToRGBA() != d.ToRGBA()) std::abort();
    (void)d.HasAlphaChannel();
  }
  return 0;
}
