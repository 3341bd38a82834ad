// Small image-list files that ask for far more memory than they hold, made in code for the
// tests and the fuzz seeds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "media/DXClass.h"
#include "media/DXStream.h"

namespace Crafted {

using TBytes = std::vector<uint8_t>;

// The stored form of an 8-bit RLE picture whose encoded data is only the end-of-picture code:
// a kilobyte, mostly colour table, for any size the header names.
inline TBytes EndOnlyRLE8(int32_t Width, int32_t Height) {
  TByteWriter w;
  for (uint32_t v : {40u, static_cast<uint32_t>(Width), static_cast<uint32_t>(Height)})
    w.WriteU32(v);
  w.WriteU16(1);
  w.WriteU16(8);
  for (uint32_t v : {1u, 2u, 0u, 0u, 0u, 0u}) w.WriteU32(v);  // RLE8, two bytes of data
  for (int i = 0; i < 256 * 4; ++i) w.WriteU8(0);
  w.WriteU8(0);
  w.WriteU8(1);
  return std::move(w).Data();
}

// An image-list file of Count items, each with the properties Item(writer, index) writes.
inline TBytes ImageListOf(size_t Count,
                          const std::function<void(TComponentWriter&, size_t)>& Item,
                          const std::string& Resource = "TPictureCollectionComponent") {
  TComponentWriter w;
  w.WriteSignature();
  w.WriteStr("TPictureCollectionComponent");
  w.WriteStr("");
  w.WriteStr("List");
  w.WriteValue(TValueType::vaCollection);
  for (size_t i = 0; i < Count; ++i) {
    w.WriteValue(TValueType::vaList);
    Item(w, i);
    w.WriteListEnd();
  }
  w.WriteListEnd();  // collection
  w.WriteListEnd();  // properties
  w.WriteListEnd();  // children
  return WriteResource(Resource, w.Bytes().Data());
}

// An image-list file of named "TDIB" items, each with the given stored picture.
inline TBytes ImageList(const std::vector<std::pair<std::string, TBytes>>& Items) {
  return ImageListOf(Items.size(), [&](TComponentWriter& W, size_t I) {
    W.WriteStr("Name");
    W.WriteString(Items[I].first);
    TByteWriter data;
    data.WriteU8(4);
    data.WriteString("TDIB");
    data.WriteBytes(Items[I].second);
    W.WriteStr("Picture.Data");
    W.WriteBinary(data.Data());
  });
}

// Count pictures of Side x Side, each only an end-of-picture code, named "A0", "A1", ...
inline TBytes EndOnlyPictures(int Count, int32_t Side) {
  std::vector<std::pair<std::string, TBytes>> items;
  for (int i = 0; i < Count; ++i)
    items.emplace_back("A" + std::to_string(i), EndOnlyRLE8(Side, Side));
  return ImageList(items);
}

// Count items of two bytes each (an empty property list): no name, no picture.
inline TBytes BareItems(size_t Count) {
  return ImageListOf(Count, [](TComponentWriter&, size_t) {});
}

}  // namespace Crafted
