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
  // Files that ask for far more than they hold: huge pictures, the whole pixel budget and
  // beyond it, and many bare items.
  const int32_t half = TDIB::MaxSide / 2;
  WriteSeedsIfAsked({c.SaveToStream(), one.SaveToStream(), TPictureCollection().SaveToStream(),
                     Crafted::EndOnlyPictures(3, 16384), Crafted::EndOnlyPictures(2, half),
                     Crafted::EndOnlyPictures(3, half), Crafted::BareItems(1 << 15)});
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
    // Expanded as a texture would be: the file's budget bounds what this costs.
    const TDIB& d = item.Picture().DIB();
    if (!d.Empty()) (void)d.ScanLine(0);
  }
  const auto once = c.SaveToStream();
  TPictureCollection d;
  d.LoadFromStream(once);
  if (d.SaveToStream() != once) std::abort();
  return 0;
}
