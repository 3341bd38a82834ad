// The image-list reader on any bytes: it raises or gives a collection that writes and reads
// back equal.
#include <cstdlib>
#include <span>

#include "Seeds.h"
#include "media/DXDraws.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  TPictureCollection c;
  c.ColorTable[1] = {1, 2, 3, 4};
  int i = 0;
  for (const TDIB& d : SeedPictures()) {
    auto& item = c.Add();
    item.SetName("Item" + std::to_string(i));
    item.Picture().SetGraphic(i % 2 ? "TBitmap" : "TDIB", d);
    item.PatternWidth = i;
    item.SkipHeight = -i;
    item.Transparent = i % 3 == 0;
    item.SetTransparentColor(i % 2 ? 0xFF00FF : 0x123456);
    ++i;
  }
  c.Add().SetName("empty");
  TPictureCollection one;
  one.Add().SetName("tex1");
  WriteSeedsIfAsked({c.SaveToStream(), one.SaveToStream(), TPictureCollection().SaveToStream()});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TPictureCollection c;
  try {
    c.LoadFromStream(std::span<const uint8_t>(Data, Size));
  } catch (const EDXError&) {
    return 0;
  }
  for (int32_t i = 0; i < c.Count(); ++i) {
    auto& item = c.Items(i);
    (void)c.Find(item.Name());
    item.Initialize();
    item.Restore();
    if (item.PatternCount() > 0) (void)item.Patterns(item.PatternCount() - 1);
  }
  // Huge run-length pictures are fine to hold but slow to write out in every run.
  for (int32_t i = 0; i < c.Count(); ++i) {
    const TDIB& d = c.Items(i).Picture().DIB();
    if (int64_t{d.Width()} * d.Height() > (1 << 20)) return 0;
  }
  const auto once = c.SaveToStream();
  TPictureCollection d;
  d.LoadFromStream(once);
  if (d.SaveToStream() != once) std::abort();
  return 0;
}
