#include "media/DXDraws.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "CraftedFiles.h"
#include "media/DXStream.h"

namespace {

using Bytes = std::vector<uint8_t>;

std::string ErrorOf(const std::function<void()>& F) {
  try {
    F();
  } catch (const EDXError& e) {
    return e.what();
  }
  return "";
}

TDIB Gradient(int32_t W, int32_t H, int32_t Bits) {
  TDIB d;
  d.SetSize(W, H, Bits);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) d.SetPixel(x, y, static_cast<uint32_t>(x * 7 + y * 131));
  return d;
}

// An image-list file whose one item has the given property bytes (name, value pairs).
Bytes FileWithItem(const std::function<void(TComponentWriter&)>& Props) {
  return Crafted::ImageListOf(1, [&](TComponentWriter& W, size_t) { Props(W); }, "X");
}

Bytes PictureData(const std::string& Kind, const Bytes& Rest) {
  TByteWriter w;
  w.WriteU8(static_cast<uint8_t>(Kind.size()));
  w.WriteString(Kind);
  w.WriteBytes(Rest);
  return std::move(w).Data();
}

}  // namespace

TEST(PictureCollection, WriterAndReaderAgree) {
  TPictureCollection c;
  c.ColorTable[3] = {1, 2, 3, 4};
  auto& a = c.Add();
  a.SetName("tex1");
  TDIB eight = Gradient(4, 3, 8);
  eight.ColorTable()[5] = {0x10, 0x21, 0x21, 0};
  a.Picture().SetGraphic("TDIB", eight);
  a.SetTransparentColor(0x212110);
  auto& b = c.Add();
  b.SetName("Bar");
  b.Picture().SetGraphic("TBitmap", Gradient(5, 2, 24));
  b.PatternWidth = 30;
  b.PatternHeight = -1;
  b.SkipWidth = 300;
  b.SkipHeight = -70000;
  b.SystemMemory = true;
  b.Transparent = false;
  b.SetTransparentColor(0xFF00FF);         // written as its identifier
  c.Add().SetName(std::string(300, 'n'));  // long name, no picture

  const Bytes file = c.SaveToStream();
  ASSERT_GT(file.size(), 40u);
  EXPECT_EQ(file[0], 0xFF);
  const size_t start = ReadResourceHeader(file);
  EXPECT_EQ(std::string(file.begin() + 3, file.begin() + 30), "TPICTURECOLLECTIONCOMPONENT");
  EXPECT_EQ(file[start - 6] | file[start - 5] << 8, 0x1030);
  EXPECT_EQ(file[start - 4] | file[start - 3] << 8, static_cast<int>(file.size() - start));

  TPictureCollection d;
  d.LoadFromStream(file);
  ASSERT_EQ(d.Count(), 3);
  EXPECT_EQ(d.ColorTable[3], (TRGBQuad{1, 2, 3, 4}));
  const auto& a2 = d.Items(0);
  EXPECT_EQ(a2.Name(), "tex1");
  EXPECT_EQ(a2.Picture().Kind(), "TDIB");
  EXPECT_EQ(a2.Picture().DIB().WriteData(), eight.WriteData());
  EXPECT_EQ(a2.TransparentColor(), 0x212110u);
  EXPECT_TRUE(a2.Transparent);
  const auto& b2 = d.Items(1);
  EXPECT_EQ(b2.Picture().Kind(), "TBitmap");
  EXPECT_EQ(b2.Picture().DIB().ToRGBA(), b.Picture().DIB().ToRGBA());
  EXPECT_EQ(b2.PatternWidth, 30);
  EXPECT_EQ(b2.PatternHeight, -1);
  EXPECT_EQ(b2.SkipWidth, 300);
  EXPECT_EQ(b2.SkipHeight, -70000);
  EXPECT_TRUE(b2.SystemMemory);
  EXPECT_FALSE(b2.Transparent);
  EXPECT_EQ(b2.TransparentColor(), 0xFF00FFu);
  EXPECT_EQ(b2.Width(), 30);
  EXPECT_EQ(b2.Height(), 2);
  EXPECT_FALSE(d.Items(2).Picture().HasGraphic());
  EXPECT_EQ(d.SaveToStream(), file);
}

TEST(PictureCollection, FindIsCaseInsensitiveAndLatestWins) {
  TPictureCollection c;
  c.Add().SetName("GlassHours");
  c.Add().SetName("GLASSHOURS");
  for (const char* n : {"GlassHours", "GLASSHOURS", "glasshours"}) EXPECT_EQ(c.Find(n).Index(), 1);
  EXPECT_EQ(ErrorOf([&] { c.Find("TopMaskLeft"); }), "Image 'TopMaskLeft' not found");
  EXPECT_THROW(c.Find("x"), EPictureCollectionError);
  EXPECT_EQ(ErrorOf([&] { c.Items(2); }), "List index out of bounds (2)");
  // Loaded files index their names too, in file order.
  TPictureCollection d;
  d.LoadFromStream(c.SaveToStream());
  EXPECT_EQ(d.Find("glassHOURS").Index(), 1);
}

TEST(PictureCollection, BadFilesRaiseAndKeepTheItems) {
  TPictureCollection good;
  good.Add().SetName("Keep");
  good.Items(0).Picture().SetGraphic("TDIB", Gradient(2, 2, 24));
  const Bytes file = good.SaveToStream();

  struct Case {
    const char* Name;
    Bytes Data;
    const char* Message;
  };
  Bytes badType = file;
  badType[1] = 0x0B;
  Bytes badSig = file;
  badSig[ReadResourceHeader(file) + 3] = '1';
  const std::string prefix = "Error reading TPictureCollectionComponent.List: ";
  const std::vector<Case> cases = {
      {"resource type", badType, "Invalid stream format"},
      {"signature", badSig, "Invalid stream format"},
      {"unknown property", FileWithItem([](TComponentWriter& W) {
         W.WriteStr("Colour");
         W.WriteInteger(1);
       }),
       "Property Colour does not exist"},
      {"wrong kind", FileWithItem([](TComponentWriter& W) {
         W.WriteStr("PatternWidth");
         W.WriteString("7");
       }),
       "Invalid property value"},
      {"unknown colour", FileWithItem([](TComponentWriter& W) {
         W.WriteStr("TransparentColor");
         W.WriteIdent("clChartreuse");
       }),
       "Invalid property value"},
      {"bitmap not BM", FileWithItem([](TComponentWriter& W) {
         W.WriteStr("Picture.Data");
         W.WriteBinary(PictureData(
             "TBitmap", {16, 0, 0, 0, 'X', 'X', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
       }),
       "Bitmap image is not valid"},
      {"bad DIB", FileWithItem([](TComponentWriter& W) {
         W.WriteStr("Picture.Data");
         W.WriteBinary(PictureData("TDIB", {41, 0, 0, 0}));
       }),
       "DIB is invalid"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TPictureCollection d;
    d.LoadFromStream(file);
    const std::string msg = ErrorOf([&] { d.LoadFromStream(c.Data); });
    if (std::string(c.Message) == "Invalid stream format") {
      EXPECT_EQ(msg, c.Message);
    } else {
      EXPECT_EQ(msg, prefix + c.Message);
    }
    ASSERT_EQ(d.Count(), 1);
    EXPECT_EQ(d.Find("keep").Picture().Width(), 2);
  }
  // Every truncation is an error, never a crash or a partial load.
  for (size_t n = 0; n < file.size(); ++n) {
    TPictureCollection d;
    EXPECT_NE(ErrorOf([&] { d.LoadFromStream(std::span(file).first(n)); }), "") << n;
    EXPECT_EQ(d.Count(), 0);
  }
}

// Files of a few kilobytes that would claim gigabytes: pictures larger than any texture, more
// pixels in all than a file may hold, and a great many items of two bytes each.
TEST(PictureCollection, CraftedFilesClaimNoMoreThanTheyHold) {
  const std::string invalid = "Error reading TPictureCollectionComponent.List: DIB is invalid";
  const int32_t half = TDIB::MaxSide / 2;  // two such pictures are the whole budget
  ASSERT_EQ(2 * int64_t{half} * half, TDIB::MaxPixels);
  struct Case {
    const char* Name;
    Crafted::TBytes File;
    const char* Error;
  };
  const Case cases[] = {
      {"one huge picture", Crafted::EndOnlyPictures(1, 16384), invalid.c_str()},
      {"three huge pictures", Crafted::EndOnlyPictures(3, 16384), invalid.c_str()},
      {"over the budget together", Crafted::EndOnlyPictures(3, half), invalid.c_str()},
      {"the whole budget", Crafted::EndOnlyPictures(2, half), ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_LT(c.File.size(), 4096u);
    TPictureCollection list;
    list.Add().SetName("Keep");
    EXPECT_EQ(ErrorOf([&] { list.LoadFromStream(c.File); }), c.Error);
    if (*c.Error) {
      EXPECT_EQ(list.Items(0).Name(), "Keep");
      continue;
    }
    ASSERT_EQ(list.Count(), 2);
    for (int32_t i = 0; i < 2; ++i) {
      EXPECT_EQ(list.Items(i).Picture().Width(), half);
      EXPECT_LT(list.Items(i).Picture().DIB().HeldBytes(), 2048u);  // still encoded
    }
  }

  // The budget counts the pictures an item ends with: one replaced is no longer counted.
  TByteWriter big;
  big.WriteU8(4);
  big.WriteString("TDIB");
  big.WriteBytes(Crafted::EndOnlyRLE8(half, half));
  TPictureCollection replaced;
  EXPECT_EQ(ErrorOf([&] {
              replaced.LoadFromStream(FileWithItem([&](TComponentWriter& W) {
                for (int i = 0; i < 4; ++i) {
                  W.WriteStr("Picture.Data");
                  W.WriteBinary(big.Data());
                }
              }));
            }),
            "");
  EXPECT_EQ(replaced.Count(), 1);

  const size_t many = TPictureCollection::MaxItems;
  TPictureCollection bare;
  bare.LoadFromStream(Crafted::BareItems(many));
  ASSERT_EQ(bare.Count(), static_cast<int32_t>(many));
  for (int32_t i = 0; i < bare.Count(); i += 997) {
    EXPECT_FALSE(bare.Items(i).Picture().HasGraphic());
    EXPECT_EQ(bare.Items(i).Picture().DIB().HeldBytes(), 0u);  // no colour table up front
  }
  EXPECT_EQ(ErrorOf([&] { bare.LoadFromStream(Crafted::BareItems(many + 1)); }),
            "Error reading TPictureCollectionComponent.List: Stream read error");
  EXPECT_EQ(bare.Count(), static_cast<int32_t>(many));
}

TEST(PictureCollection, PictureKindsAndColourIdentifiers) {
  auto load = [](const Bytes& Data, const std::function<void(TComponentWriter&)>& More = {}) {
    TPictureCollection c;
    c.LoadFromStream(FileWithItem([&](TComponentWriter& W) {
      W.WriteStr("Picture.Data");
      W.WriteBinary(Data);
      if (More) More(W);
    }));
    return c.Items(0).Picture();
  };
  EXPECT_FALSE(load(PictureData("TPngImage", {1, 2, 3})).HasGraphic());
  EXPECT_FALSE(load(PictureData("", {})).HasGraphic());
  const TPicture icon = load(PictureData("TIcon", {0, 0, 1, 0}));
  EXPECT_EQ(icon.Kind(), "TIcon");
  EXPECT_TRUE(icon.DIB().Empty());
  const TPicture none = load(PictureData("TBitmap", {0, 0, 0, 0}));
  EXPECT_EQ(none.Kind(), "TBitmap");
  EXPECT_TRUE(none.DIB().Empty());
  EXPECT_TRUE(load(PictureData("TDIB", {})).DIB().Empty());

  TPicture p = load(PictureData("TDIB", Gradient(2, 2, 24).WriteData()));
  EXPECT_EQ(p.Width(), 2);
  p.Bitmap();  // not a bitmap: replaced by an empty one
  EXPECT_EQ(p.Kind(), "TBitmap");
  EXPECT_TRUE(p.DIB().Empty());

  struct Ident {
    const char* Name;
    uint32_t Color;
  };
  for (const Ident& i : {Ident{"clFuchsia", 0xFF00FF}, Ident{"clnavy", 0x800000},
                         Ident{"clSkyBlue", 0xF0CAA6}, Ident{"clNone", 0x1FFFFFFF},
                         Ident{"clBtnFace", 0xFF00000F}, Ident{"clScrollBar", 0xFF000000}}) {
    TPictureCollection c;
    c.LoadFromStream(FileWithItem([&](TComponentWriter& W) {
      W.WriteStr("TransparentColor");
      W.WriteIdent(i.Name);
    }));
    EXPECT_EQ(c.Items(0).TransparentColor(), i.Color) << i.Name;
  }
  EXPECT_EQ(ColorToIdent(0xFF00000F), "clBtnFace");
  EXPECT_EQ(ColorToIdent(0x123456), std::nullopt);
}

TEST(PictureCollection, PatternGrid) {
  TPictureCollection c;
  auto& item = c.Add();
  item.Picture().SetGraphic("TDIB", Gradient(100, 50, 8));
  EXPECT_EQ(item.PatternCount(), 0);  // not initialised

  struct Case {
    int32_t PW, PH, SW, SH;
    int32_t Count;
    TD3DRect Last;
  };
  const std::vector<Case> cases = {
      {0, 0, 0, 0, 1, {0, 0, 100, 50}},
      {30, 50, 5, 0, 3, {70, 0, 100, 50}},  // columns (100 + 5) div 35
      {50, 25, 0, 0, 4, {50, 25, 100, 50}},
      {10, 10, -10, 0, 0, {}},  // step 0: no grid rather than a division by 0
      {200, 0, 0, 0, 0, {}},    // larger than the picture
      {1, 1, 0, 0, 5000, {99, 49, 100, 50}},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.PW);
    item.PatternWidth = k.PW;
    item.PatternHeight = k.PH;
    item.SkipWidth = k.SW;
    item.SkipHeight = k.SH;
    item.Initialize();
    item.Restore();
    ASSERT_EQ(item.PatternCount(), k.Count);
    if (k.Count > 0) {
      const TD3DRect r = item.Patterns(k.Count - 1).Rect;
      EXPECT_EQ((std::array{r.Left, r.Top, r.Right, r.Bottom}),
                (std::array{k.Last.Left, k.Last.Top, k.Last.Right, k.Last.Bottom}));
    }
    EXPECT_THROW(item.Patterns(k.Count), EListError);
  }
  item.PatternWidth = 30;
  item.SkipWidth = 5;
  item.PatternHeight = 50;
  item.Restore();
  EXPECT_EQ(item.Patterns(1).Rect.Left, 35);
  item.Finalize();
  EXPECT_EQ(item.PatternCount(), 0);
}

namespace {
struct TCountingDrawer : TPictureDrawer {
  int Calls = 0;
  void Draw(TPictureCollectionItem&, TDirectDrawSurface&, int32_t, int32_t, int32_t) override {
    ++Calls;
  }
  void DrawAlpha(TPictureCollectionItem&, TDirectDrawSurface&, const TD3DRect&, int32_t,
                 int32_t) override {
    ++Calls;
  }
  void DrawRotatedAdditive(TPictureCollectionItem&, TDirectDrawSurface&, int32_t, int32_t, int32_t,
                           int32_t, int32_t, double, double, int32_t, int32_t) override {
    ++Calls;
  }
};
}  // namespace

TEST(PictureCollection, DrawCallsReachTheDrawerOnlyForValidPatterns) {
  TPictureCollection c;
  TCountingDrawer drawer;
  c.SetDrawer(&drawer);
  auto& item = c.Add();
  item.Picture().SetGraphic("TDIB", Gradient(4, 4, 24));
  // No surface is touched by a drawer that counts, so any reference does.
  auto& dest = *reinterpret_cast<TDirectDrawSurface*>(&drawer);
  item.Draw(dest, 0, 0, 0);  // not initialised
  EXPECT_EQ(drawer.Calls, 0);
  item.Initialize();
  item.Restore();
  item.Draw(dest, 0, 0, 1);  // index equal to PatternCount
  item.DrawAlpha(dest, {}, -1, 255);
  EXPECT_EQ(drawer.Calls, 0);
  item.Draw(dest, 0, 0, 0);
  item.DrawAlpha(dest, {0, 0, 4, 4}, 0, 128);
  item.DrawRotatedAdditive(dest, 0, 0, 4, 4, 0, 0, 0, 0, 255);
  EXPECT_EQ(drawer.Calls, 3);
}

TEST(PictureCollection, FilesOnDisk) {
  const auto dir = std::filesystem::temp_directory_path() / "zelgora_dxdraws_test";
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "list.dxg").string();
  TPictureCollection c;
  c.Add().SetName("A0");
  c.SaveToFile(path);
  TPictureCollection d;
  d.Add().SetName("Old");
  const std::string missing = (dir / "missing.dxg").string();
  EXPECT_EQ(ErrorOf([&] { d.LoadFromFile(missing); }),
            "Cannot open file \"" + missing + "\". No such file or directory");
  EXPECT_EQ(ErrorOf([&] { d.LoadFromFile(dir.string()); }),
            "Cannot open file \"" + dir.string() + "\". Is a directory");
  EXPECT_EQ(d.Items(0).Name(), "Old");
  d.LoadFromFile(path);
  EXPECT_EQ(d.Items(0).Name(), "A0");
  std::filesystem::remove_all(dir);
}
