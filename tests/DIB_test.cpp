#include "media/DIB.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "CraftedFiles.h"
#include "media/DXClass.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Put32(Bytes& B, uint32_t V) {
  for (int i = 0; i < 4; ++i) B.push_back(static_cast<uint8_t>(V >> (8 * i)));
}
void Put16(Bytes& B, uint16_t V) {
  B.push_back(static_cast<uint8_t>(V));
  B.push_back(static_cast<uint8_t>(V >> 8));
}

// A 40-byte header as a hand-made file would carry it.
Bytes Header(int32_t W, int32_t H, uint16_t Bits, uint32_t Compression = 0, uint32_t ImageSize = 0,
             uint32_t ColorsUsed = 0) {
  Bytes b;
  Put32(b, 40);
  Put32(b, static_cast<uint32_t>(W));
  Put32(b, static_cast<uint32_t>(H));
  Put16(b, 1);
  Put16(b, Bits);
  Put32(b, Compression);
  Put32(b, ImageSize);
  Put32(b, 0);
  Put32(b, 0);
  Put32(b, ColorsUsed);
  Put32(b, 0);
  return b;
}

void Append(Bytes& B, const Bytes& More) {
  B.insert(B.end(), More.begin(), More.end());
}

std::string ErrorOf(const Bytes& B) {
  TDIB d;
  try {
    d.ReadData(B);
  } catch (const EDXError& e) {
    return e.what();
  }
  return "";
}

uint32_t U32At(const Bytes& B, size_t At) {
  return B[At] | (B[At + 1] << 8) | (B[At + 2] << 16) | (static_cast<uint32_t>(B[At + 3]) << 24);
}

}  // namespace

TEST(DIB, EmptyStreamGivesEmptyPictureAndShortHeadersAreInvalid) {
  TDIB d;
  d.SetSize(2, 2, 8);
  EXPECT_EQ(d.ReadData({}), 0u);
  EXPECT_TRUE(d.Empty());
  EXPECT_TRUE(d.WriteData().empty());
  EXPECT_EQ(ErrorOf({40, 0, 0}), "DIB is invalid");
  Bytes odd = Header(1, 1, 24);
  odd[0] = 41;
  EXPECT_EQ(ErrorOf(odd), "DIB is invalid");
  // Width or height 0: empty, not an error.
  EXPECT_EQ(ErrorOf(Header(0, 5, 24)), "");
}

TEST(DIB, EveryBitCountRoundTripsThroughTheStoredForm) {
  for (int bits : {1, 4, 8, 16, 24, 32}) {
    SCOPED_TRACE(bits);
    TDIB d;
    d.SetSize(5, 3, bits);
    const uint32_t mask = bits == 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) d.SetPixel(x, y, (0x9E3779B9u * (y * 5 + x + 1)) & mask);
    d.ColorTable()[1] = {10, 20, 30, 0};
    const Bytes data = d.WriteData();
    EXPECT_EQ(U32At(data, 16), bits == 16 || bits == 32 ? 3u : 0u);  // compression
    const size_t table = bits <= 8 ? (4u << bits) : 0;
    const size_t masks = bits == 16 || bits == 32 ? 12 : 0;
    EXPECT_EQ(data.size(), 40 + masks + table + static_cast<size_t>(d.Stride()) * 3);
    TDIB e;
    EXPECT_EQ(e.ReadData(data), data.size());
    ASSERT_EQ(e.BitCount(), bits);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) EXPECT_EQ(e.Pixels(x, y), d.Pixels(x, y)) << x << "," << y;
    if (bits <= 8) {
      EXPECT_EQ(e.ColorTable()[1], (TRGBQuad{10, 20, 30, 0}));
    }
  }
}

TEST(DIB, StrideAndThirtyTwoBitMasks) {
  TDIB d;
  d.SetSize(3, 1, 24);
  EXPECT_EQ(d.Stride(), 12);
  d.SetSize(1, 1, 32);
  const Bytes data = d.WriteData();
  EXPECT_EQ(U32At(data, 16), 3u);
  EXPECT_EQ(U32At(data, 40), 0xFF0000u);
  EXPECT_EQ(U32At(data, 44), 0xFF00u);
  EXPECT_EQ(U32At(data, 48), 0xFFu);
}

TEST(DIB, NegativeHeightStoresRowsTopDown) {
  Bytes b = Header(1, -2, 24);
  Append(b, {1, 2, 3, 0, 4, 5, 6, 0});
  TDIB d;
  d.ReadData(b);
  EXPECT_EQ(d.Height(), 2);
  EXPECT_EQ(d.Pixels(0, 0), 0x030201u);
  EXPECT_EQ(d.Pixels(0, 1), 0x060504u);
  // Written back bottom-up with a positive height.
  const Bytes out = d.WriteData();
  EXPECT_EQ(U32At(out, 8), 2u);
  EXPECT_EQ(out[40], 4);
}

TEST(DIB, ColourTableEntriesAndTheTwelveByteHeader) {
  Bytes b = Header(1, 1, 8, 0, 0, 16);
  for (int i = 0; i < 16; ++i) Append(b, {static_cast<uint8_t>(i + 1), 0, 0, 0});
  Append(b, {15, 0, 0, 0});
  TDIB d;
  EXPECT_EQ(d.ReadData(b), b.size());
  EXPECT_EQ(d.ColorTable()[15].Blue, 16);
  EXPECT_EQ(d.ColorTable()[16], TRGBQuad{});
  EXPECT_EQ(d.ToRGBA(), (Bytes{0, 0, 16, 255}));

  Bytes c;
  Put32(c, 12);
  Put16(c, 2);
  Put16(c, 1);
  Put16(c, 1);
  Put16(c, 1);
  Append(c, {1, 2, 3, 4, 5, 6});  // two 3-byte entries
  Append(c, {0x40, 0, 0, 0});     // pixels 0, 1
  TDIB e;
  EXPECT_EQ(e.ReadData(c), c.size());
  EXPECT_EQ(e.ColorTable()[1], (TRGBQuad{4, 5, 6, 0}));
  EXPECT_EQ(e.Pixels(0, 0), 0u);
  EXPECT_EQ(e.Pixels(1, 0), 1u);
}

TEST(DIB, SixteenBitPixelFormats) {
  auto with = [](uint32_t R, uint32_t G, uint32_t B) {
    Bytes b = Header(1, 1, 16, 3, 4);
    Put32(b, R);
    Put32(b, G);
    Put32(b, B);
    Put32(b, 0xF800);  // one pixel: full red in either layout's top bits
    return b;
  };
  TDIB d;
  Bytes plain = Header(1, 1, 16);
  Put32(plain, 0x7C00);
  d.ReadData(plain);
  EXPECT_EQ(d.PixelFormat(), (TPixelFormat{0x7C00, 0x03E0, 0x001F}));
  EXPECT_EQ(d.ToRGBA(), (Bytes{255, 0, 0, 255}));
  d.ReadData(with(0xF800, 0x07E0, 0x001F));
  EXPECT_EQ(d.PixelFormat(), (TPixelFormat{0xF800, 0x07E0, 0x001F}));
  EXPECT_EQ(d.ToRGBA(), (Bytes{255, 0, 0, 255}));
  EXPECT_EQ(d.WriteData(), with(0xF800, 0x07E0, 0x001F));
  for (auto m : {std::array<uint32_t, 3>{0x001F, 0x07E0, 0xF800}, {0xF000, 0x0F00, 0x00F0}}) {
    EXPECT_EQ(ErrorOf(with(m[0], m[1], m[2])), "PixelFormat in invalid");
  }
}

TEST(DIB, FaultyInputRaisesAndKeepsThePreviousPicture) {
  struct Case {
    const char* Name;
    Bytes Data;
    const char* Message;
  };
  auto pixels = [](Bytes B, size_t N) {
    B.resize(B.size() + N);
    return B;
  };
  auto rle8 = [](int32_t W, int32_t H, const Bytes& Enc) {
    Bytes b = Header(W, H, 8, 1, static_cast<uint32_t>(Enc.size()));
    b.resize(b.size() + 1024);
    Append(b, Enc);
    return b;
  };
  const std::vector<Case> cases = {
      {"bit count", Header(1, 1, 7), "Bitcount in invalid (7)"},
      {"compression", pixels(Header(1, 1, 24, 4), 4), "DIB is invalid"},
      {"truncated header", Bytes{40, 0, 0, 0, 1, 0}, "Stream read error"},
      {"truncated table", pixels(Header(1, 1, 8), 1000), "Stream read error"},
      {"truncated pixels", pixels(Header(2, 2, 24), 15), "Stream read error"},
      {"huge sides", Header(0x7FFFFFFF, 0x7FFFFFFF, 32), "DIB is invalid"},
      {"beyond the bound", Header(16385, 1, 8), "DIB is invalid"},
      {"large but short", pixels(Header(2048, 2048, 32), 64), "Stream read error"},
      {"RLE on 24 bits", pixels(Header(1, 1, 24, 1, 2), 2), "DIB is invalid"},
      {"RLE data past input", Header(2, 2, 8, 1, 100), "Stream read error"},
      {"run past the row", rle8(2, 2, {3, 7, 0, 1}), "DIB is invalid"},
      {"run past the picture", rle8(2, 1, {2, 7, 0, 0, 2, 7, 0, 1}), "DIB is invalid"},
      {"delta out", rle8(2, 2, {0, 2, 0, 3, 0, 1}), "DIB is invalid"},
      {"delta past the row", rle8(2, 2, {0, 2, 3, 0, 0, 1}), "DIB is invalid"},
      {"literal past input", rle8(4, 1, {0, 4, 1, 2}), "DIB is invalid"},
      {"cut escape", rle8(4, 1, {0, 2, 1}), "DIB is invalid"},
      {"top-down RLE", rle8(2, -2, {0, 1}), "DIB is invalid"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TDIB d;
    d.SetSize(1, 1, 24);
    d.SetPixel(0, 0, 0x123456);
    try {
      d.ReadData(c.Data);
      ADD_FAILURE() << "no error";
    } catch (const EDXError& e) {
      EXPECT_EQ(std::string(e.what()), c.Message);
    }
    EXPECT_EQ(d.Width(), 1);
    EXPECT_EQ(d.Pixels(0, 0), 0x123456u);
  }
}

// A picture no larger than a texture: sides up to MaxSide, pixels up to MaxPixels, whatever
// little data claims them.
TEST(DIB, SizeBoundsHoldForStoredAndMadePictures) {
  constexpr int32_t side = TDIB::MaxSide;
  constexpr int32_t tall = static_cast<int32_t>(TDIB::MaxPixels / side);
  struct Case {
    int32_t Width, Height;
    bool Valid;
  };
  const Case cases[] = {
      {side, tall, true},      {tall, side, true},  {side + 1, 1, false},  {1, side + 1, false},
      {side, tall + 1, false}, {side, side, false}, {16384, 16384, false}, {1, -(side + 1), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Width << " x " << c.Height);
    const Bytes rle = Crafted::EndOnlyRLE8(c.Width, std::abs(c.Height));
    EXPECT_EQ(ErrorOf(rle), c.Valid ? "" : "DIB is invalid");
    Bytes plain = Header(c.Width, c.Height, 1);
    plain.resize(plain.size() + 8);
    if (!c.Valid) {
      EXPECT_EQ(ErrorOf(plain), "DIB is invalid");  // before any pixel is read
    }
    TDIB made;
    if (c.Valid) {
      made.SetSize(c.Width, c.Height, 32);
      EXPECT_EQ(made.HeldBytes(), 0u);
    } else {
      EXPECT_THROW(made.SetSize(c.Width, c.Height, 32), EInvalidGraphic);
    }
  }
}

// Memory follows what the picture has, not what it might: an empty picture, a made one not
// yet touched and a run-length one not yet expanded hold no pixel store, and only pictures of
// 8 bits or fewer hold a colour table.
TEST(DIB, HoldsOnlyWhatItHas) {
  constexpr size_t table = 256 * sizeof(TRGBQuad);
  EXPECT_EQ(TDIB().HeldBytes(), 0u);

  TDIB made;
  made.SetSize(64, 32, 8);
  EXPECT_EQ(made.HeldBytes(), 0u);
  EXPECT_EQ(made.Pixels(5, 5), 0u);
  EXPECT_EQ(made.ColorTable()[3], TRGBQuad{});
  EXPECT_GE(made.HeldBytes(), 64u * 32u + table);

  Bytes rgb = Header(3, 2, 24);
  rgb.resize(rgb.size() + 2 * 12);
  TDIB plain;
  plain.ReadData(rgb);
  EXPECT_EQ(plain.HeldBytes(), 24u);  // the rows only, no colour table
  EXPECT_EQ(std::as_const(plain).ColorTable()[0], TRGBQuad{});
  EXPECT_EQ(plain.HeldBytes(), 24u);

  const Bytes rle = Crafted::EndOnlyRLE8(TDIB::MaxSide, 16);
  TDIB coded;
  coded.ReadData(rle);
  EXPECT_EQ(coded.HeldBytes(), 2u + table);  // encoded form and table: nothing expanded
  const TDIB shared = coded;
  EXPECT_EQ(shared.Pixels(100, 3), 0u);  // first use expands, once, for every copy
  EXPECT_EQ(coded.HeldBytes(), 2u + table + size_t{TDIB::MaxSide} * 16u);
  EXPECT_EQ(coded.WriteData(), rle);  // and it still writes back encoded
}

// A move hands the store over without allocating, so it cannot fail; the source is empty.
TEST(DIB, MovesHandOverTheStore) {
  static_assert(std::is_nothrow_move_constructible_v<TDIB>);
  static_assert(std::is_nothrow_move_assignable_v<TDIB>);
  TDIB a;
  a.SetSize(2, 2, 24);
  a.SetPixel(1, 1, 0xABCDEF);
  const uint8_t* store = a.ScanLine(0);
  TDIB b = std::move(a);
  EXPECT_EQ(b.ScanLine(0), store);
  EXPECT_TRUE(a.Empty());  // NOLINT(bugprone-use-after-move): moved-from state is specified
  EXPECT_EQ(a.HeldBytes(), 0u);
  TDIB c;
  c = std::move(b);
  EXPECT_EQ(c.Pixels(1, 1), 0xABCDEFu);
  EXPECT_TRUE(b.Empty());
  a.SetSize(1, 1, 8);  // a moved-from picture is usable
  EXPECT_EQ(a.Width(), 1);
}

TEST(DIB, RunLengthPicturesDecodeAndWriteBackEncoded) {
  // 4 x 3, bottom row first: run, end of line, literal (odd, padded), delta, run, end.
  const Bytes enc8 = {3, 9, 0, 0, 0, 3, 1, 2, 3, 0, 0, 2, 0, 1, 1, 5, 0, 1};
  Bytes b = Header(4, 3, 8, 1, static_cast<uint32_t>(enc8.size()));
  b.resize(b.size() + 1024);
  Append(b, enc8);
  TDIB d;
  EXPECT_EQ(d.ReadData(b), b.size());
  const uint32_t want[3][4] = {{0, 0, 0, 5}, {1, 2, 3, 0}, {9, 9, 9, 0}};  // top row first
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(d.Pixels(x, y), want[y][x]) << x << "," << y;
  EXPECT_EQ(d.WriteData(), b);  // still encoded
  TDIB copy = d;
  copy.SetPixel(3, 0, 6);  // a changed copy is no longer that data; the original still is
  EXPECT_EQ(U32At(copy.WriteData(), 16), 0u);
  EXPECT_EQ(d.WriteData(), b);
  EXPECT_EQ(d.Pixels(3, 0), 5u);
  d.SetPixel(0, 0, 4);
  const Bytes plain = d.WriteData();
  EXPECT_EQ(U32At(plain, 16), 0u);
  EXPECT_EQ(U32At(plain, 20), 12u);

  // RLE4: a run alternates nibbles; a literal of three pixels takes two bytes.
  const Bytes enc4 = {5, 0x12, 0, 0, 0, 3, 0x34, 0x50, 0, 1};
  Bytes c = Header(5, 2, 4, 2, static_cast<uint32_t>(enc4.size()));
  c.resize(c.size() + 64);
  Append(c, enc4);
  TDIB e;
  e.ReadData(c);
  const uint32_t top[5] = {3, 4, 5, 0, 0}, bottom[5] = {1, 2, 1, 2, 1};
  for (int x = 0; x < 5; ++x) {
    EXPECT_EQ(e.Pixels(x, 0), top[x]);
    EXPECT_EQ(e.Pixels(x, 1), bottom[x]);
  }
}

TEST(DIB, BitmapFileForm) {
  TDIB d;
  d.SetSize(2, 1, 24);
  d.SetPixel(1, 0, 0xABCDEF);
  const Bytes bmp = d.SaveToBMP();
  ASSERT_GE(bmp.size(), 14u);
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(U32At(bmp, 2), bmp.size());
  EXPECT_EQ(U32At(bmp, 10), 54u);
  TDIB e;
  EXPECT_EQ(e.LoadFromBMP(bmp), bmp.size());
  EXPECT_EQ(e.Pixels(1, 0), 0xABCDEFu);
  EXPECT_EQ(e.LoadFromBMP({}), 0u);
  EXPECT_TRUE(e.Empty());
  for (const Bytes& bad : {Bytes{'B', 'M', 0}, Bytes(bmp.begin(), bmp.begin() + 13)}) {
    EXPECT_THROW(e.LoadFromBMP(bad), EInvalidGraphic);
  }
  Bytes wrong = bmp;
  wrong[1] = 'N';
  try {
    e.LoadFromBMP(wrong);
    ADD_FAILURE();
  } catch (const EInvalidGraphic& x) {
    EXPECT_STREQ(x.what(), "DIB is invalid");
  }
}

TEST(DIB, RowAccessAlphaAndSharedCopies) {
  TDIB d;
  d.SetSize(2, 2, 32);
  try {
    d.ScanLine(2);
    ADD_FAILURE();
  } catch (const EDXError& e) {
    EXPECT_STREQ(e.what(), "Index of the scanning line exceeded the range. (2)");
  }
  EXPECT_EQ(d.Pixels(-1, 0), 0u);
  EXPECT_EQ(d.Pixels(0, 2), 0u);
  EXPECT_FALSE(d.HasAlphaChannel());
  d.ScanLine(0)[0] = 0x11;  // top row, first pixel's blue
  EXPECT_EQ(d.Pixels(0, 0), 0x11u);

  const TDIB copy = d;
  EXPECT_EQ(copy.ScanLine(0), std::as_const(d).ScanLine(0));  // one store
  d.SetPixel(1, 1, 0x80000000);
  EXPECT_TRUE(d.HasAlphaChannel());
  EXPECT_FALSE(copy.HasAlphaChannel());
  EXPECT_EQ(copy.Pixels(0, 0), 0x11u);
  const Bytes rgba = d.ToRGBA();
  EXPECT_EQ(rgba[3], 0);
  EXPECT_EQ(rgba[15], 0x80);
}

TEST(DIB, RGBABridge) {
  const Bytes rgba = {1, 2, 3, 255, 4, 5, 6, 255, 7, 8, 9, 255};
  for (int bits : {24, 32}) {
    const TDIB d = TDIB::FromRGBA(3, 1, rgba, bits);
    EXPECT_EQ(d.Pixels(0, 0) & 0xFFFFFF, 0x010203u);
    Bytes back = d.ToRGBA();
    EXPECT_EQ(back, rgba);
  }
  EXPECT_THROW(TDIB::FromRGBA(2, 2, rgba), EInvalidGraphic);
}
