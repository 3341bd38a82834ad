// The wave reader on any bytes: it raises or gives a wave that writes and reads back equal.
#include <cstdlib>
#include <span>

#include "Seeds.h"
#include "media/DXWave.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  TWave odd = TWave::FromPCM(2, 44100, 16, {1, 2, 3});
  auto ext = odd.Format();
  ext.insert(ext.end(), {2, 0, 7, 7});
  odd.SetFormat(ext);
  WriteSeedsIfAsked({TWave::FromPCM(1, 8000, 8, std::vector<uint8_t>(64, 0x80)).SaveToStream(),
                     TWave::FromPCM(1, 22255, 16, std::vector<uint8_t>(32, 7)).SaveToStream(),
                     odd.SaveToStream()});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TWave w;
  try {
    w.LoadFromStream(std::span<const uint8_t>(Data, Size));
  } catch (const EDXError&) {
    return 0;
  }
  (void)w.Channels();
  (void)w.BitsPerSample();
  std::vector<uint8_t> once;
  try {
    once = w.SaveToStream();
  } catch (const EWaveError&) {
    return 0;  // data without a format
  }
  TWave back;
  back.LoadFromStream(once);
  if (back.Format() != w.Format() || back.Data() != w.Data()) std::abort();
  return 0;
}
