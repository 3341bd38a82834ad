#include "media/DXClass.h"

#include <gtest/gtest.h>

TEST(Format, FillsTheFixedMessageTexts) {
  EXPECT_EQ(Format("Image '%s' not found", "GlassHours"), "Image 'GlassHours' not found");
  EXPECT_EQ(Format("List index out of bounds (%d)", -1), "List index out of bounds (-1)");
  EXPECT_EQ(Format("Display mode cannot be changed (%dx%d %dbit)", 640, 480, 24),
            "Display mode cannot be changed (640x480 24bit)");
}

TEST(Format, ErrorsCarryTheirMessage) {
  try {
    throw EPictureCollectionError(Format("Image '%s' not found", "x"));
  } catch (const EDXError& e) {
    EXPECT_STREQ(e.what(), "Image 'x' not found");
  }
}

TEST(ByteReader, ReadsLittleEndianAndNeverPastItsSpan) {
  const std::vector<uint8_t> data = {0x01, 0x02, 0x03, 0x04, 0xFF, 0xFE, 0x7F};
  TByteReader r(data);
  EXPECT_EQ(r.ReadU16(), 0x0201);
  EXPECT_EQ(r.ReadI8(), 3);
  EXPECT_EQ(r.ReadU8(), 4);
  EXPECT_EQ(r.ReadI16(), -257);
  try {
    r.ReadU32();
    ADD_FAILURE();
  } catch (const EReadError& e) {
    EXPECT_STREQ(e.what(), "Stream read error");
  }
  EXPECT_EQ(r.Position(), 6u);  // a failed read consumes nothing
  EXPECT_THROW(r.ReadBytes(SIZE_MAX), EReadError);
  EXPECT_EQ(r.ReadU8(), 0x7F);
  EXPECT_TRUE(r.AtEnd());
}

TEST(ByteWriter, WritesWhatTheReaderReads) {
  TByteWriter w;
  w.WriteU32(0);
  w.WriteU16(0xBEEF);
  w.WriteI32(-2);
  w.WriteU64(0x0102030405060708ull);
  w.WriteString("ab");
  w.PatchU32(0, 0xCAFEBABE);
  TByteReader r(w.Data());
  EXPECT_EQ(r.ReadU32(), 0xCAFEBABEu);
  EXPECT_EQ(r.ReadU16(), 0xBEEF);
  EXPECT_EQ(r.ReadI32(), -2);
  EXPECT_EQ(r.ReadU64(), 0x0102030405060708ull);
  EXPECT_EQ(r.ReadU8(), 'a');
  EXPECT_EQ(r.Remaining(), 1u);
}

namespace {
class TNamed : public THashCollection {
 public:
  THashCollectionItem& Add(const std::string& Name) {
    auto& item = AddItem(std::make_unique<THashCollectionItem>(*this));
    item.SetName(Name);
    return item;
  }
};
}  // namespace

TEST(HashCollection, BucketOfAName) {
  EXPECT_EQ(THashCollection::HashName(""), 0);
  EXPECT_EQ(THashCollection::HashName("a"), 16);
  // "move": 4 x 16 + 'v' + 'm' = 64 + 118 + 109 = 291 -> 35
  EXPECT_EQ(THashCollection::HashName("Move"), 35);
  EXPECT_EQ(THashCollection::HashName("MOVE"), THashCollection::HashName("move"));
}

TEST(HashCollection, LatestNamedWinsAndIndicesStayCurrent) {
  TNamed c;
  c.Add("First");
  c.Add("GlassHours");
  c.Add("glasshours");
  EXPECT_EQ(c.IndexOf("GLASSHOURS"), 2);
  c.ItemAt(1).SetName("GlassHours");  // renamed last: found now
  EXPECT_EQ(c.IndexOf("glassHours"), 1);
  c.Delete(0);
  EXPECT_EQ(c.IndexOf("glasshours"), 0);
  EXPECT_EQ(c.ItemAt(1).Index(), 1);
  c.Delete(0);
  EXPECT_EQ(c.IndexOf("GlassHours"), 0);  // the other one of that name remains
  EXPECT_EQ(c.IndexOf("First"), -1);
  try {
    c.ItemAt(1);
    ADD_FAILURE();
  } catch (const EListError& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (1)");
  }
  c.Clear();
  EXPECT_EQ(c.Count(), 0);
  EXPECT_EQ(c.IndexOf("GlassHours"), -1);
}
