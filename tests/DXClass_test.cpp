#include "media/DXClass.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

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

TEST(Format, ThePlayerReadsTheReasonWhereThereIsOne) {
  const EDirectSoundError withReason("DirectSound cannot be initialized",
                                     "no sound device can be opened (busy)");
  const EDXDrawError plain("3D device not found");
  const std::runtime_error other("disk full");
  EXPECT_STREQ(withReason.what(), "DirectSound cannot be initialized");
  EXPECT_EQ(PlayerReport(withReason), "no sound device can be opened (busy)");
  EXPECT_EQ(PlayerReport(plain), "3D device not found");
  EXPECT_EQ(PlayerReport(other), "disk full");
  // Copies keep it, as a catch by value or a rethrow makes them.
  const EDXError copy = withReason;
  EXPECT_EQ(copy.Reason(), "no sound device can be opened (busy)");
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

// Names of one length with the same first and second-to-last letters share a bucket: a load
// whose items set their names twice puts every item through it twice.
TEST(HashCollection, ManyItemsInOneBucketRenamedTwiceAreFoundByTheirLastNames) {
  constexpr int n = 3000;
  auto name = [](char Tag, int I) {
    char s[16];
    std::snprintf(s, sizeof s, "k%c%05d0z", Tag, I);
    return std::string(s);
  };
  ASSERT_EQ(THashCollection::HashName(name('t', 1)), THashCollection::HashName(name('f', 2999)));
  TNamed c;
  for (int i = 0; i < n; ++i) c.Add(name('t', i)).SetName(name('f', i));
  for (int i = 0; i < n; ++i) {
    ASSERT_EQ(c.IndexOf(name('f', i)), i);
    ASSERT_EQ(c.IndexOf(name('t', i)), -1);
  }
  c.Delete(n / 2);
  EXPECT_EQ(c.IndexOf(name('f', n / 2)), -1);
  EXPECT_EQ(c.IndexOf(name('F', n - 1)), n - 2);
  EXPECT_EQ(c.IndexOf(name('f', n / 2 - 1)), n / 2 - 1);
  // The latest named of two equal names wins, whichever came first in the list.
  c.ItemAt(0).SetName(name('f', 5));
  EXPECT_EQ(c.IndexOf(name('f', 5)), 0);
  c.ItemAt(5).SetName(name('f', 5));
  EXPECT_EQ(c.IndexOf(name('f', 5)), 5);
  c.Delete(5);
  EXPECT_EQ(c.IndexOf(name('f', 5)), 0);
  c.Clear();
  EXPECT_EQ(c.IndexOf(name('f', 5)), -1);
}
