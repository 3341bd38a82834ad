#include "media/DXStream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

}  // namespace

TEST(ComponentStream, EveryValueTagIsSkippedWhole) {
  // One value of each tag, then a marker byte that must be where the reader stops.
  const std::vector<Bytes> values = {
      {0},
      {1, 2, 5, 6, 1, 'x', 1, 0, 0},  // list: int8, string, empty nested list
      {2, 0xFF},
      {3, 1, 2},
      {4, 1, 2, 3, 4},
      {5, 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F},
      {6, 2, 'a', 'b'},
      {7, 3, 'c', 'l', 'X'},
      {8},
      {9},
      {10, 3, 0, 0, 0, 1, 2, 3},
      {11, 2, 'd', 'o', 1, 'x', 0},
      {12, 1, 0, 0, 0, 'z'},
      {13},
      {14, 2, 0, 1, 4, 'N', 'a', 'm', 'e', 6, 0, 0, 1, 0, 0},  // two items, one ordered
      {15, 0, 0, 0x80, 0x3F},
      {16, 1, 2, 3, 4, 5, 6, 7, 8},
      {17, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F},
      {18, 2, 0, 0, 0, 'h', 0, 'i', 0},
      {19, 1, 2, 3, 4, 5, 6, 7, 8},
      {20, 2, 0, 0, 0, 0xC3, 0xA1},
  };
  for (const Bytes& v : values) {
    SCOPED_TRACE(static_cast<int>(v[0]));
    Bytes b = v;
    b.push_back(0xAA);
    TComponentReader r(b);
    r.SkipValue();
    EXPECT_EQ(r.Bytes().ReadU8(), 0xAA);
  }
}

TEST(ComponentStream, TypedValuesAndTheirErrors) {
  TComponentWriter w;
  w.WriteInteger(-5);
  w.WriteInteger(300);
  w.WriteInteger(-70000);
  w.WriteBoolean(true);
  w.WriteString("short");
  w.WriteString(std::string(300, 'L'));
  w.WriteIdent("clRed");
  w.WriteBinary(Bytes{9, 8});
  const Bytes b = w.Bytes().Data();
  EXPECT_EQ(b[0], 2);  // smallest tags
  EXPECT_EQ(b[2], 3);
  EXPECT_EQ(b[5], 4);
  TComponentReader r(b);
  EXPECT_EQ(r.ReadInteger(), -5);
  EXPECT_EQ(r.ReadInteger(), 300);
  EXPECT_EQ(r.ReadInteger(), -70000);
  EXPECT_TRUE(r.ReadBoolean());
  EXPECT_EQ(r.ReadString(), "short");
  EXPECT_EQ(r.ReadString(), std::string(300, 'L'));
  EXPECT_EQ(r.ReadIdent(), "clRed");
  EXPECT_EQ(r.ReadBinary().size(), 2u);

  const Bytes wide = {18, 3, 0, 0, 0, 'O', 0, 'K', 0, 0x0C, 0x01};
  EXPECT_EQ(TComponentReader(wide).ReadString(), "OK?");
  const Bytes utf8 = {20, 3, 0, 0, 0, 'a', 0xC4, 0x8D};
  EXPECT_EQ(TComponentReader(utf8).ReadString(), "a?");

  const Bytes str = {6, 1, 'x'};
  EXPECT_EQ(ErrorOf([&] { TComponentReader(str).ReadInteger(); }), "Invalid property value");
  EXPECT_EQ(ErrorOf([&] { TComponentReader(str).ReadBoolean(); }), "Invalid property value");
  const Bytes cut = {12, 0xFF, 0xFF, 0xFF, 0x7F, 'x'};
  EXPECT_EQ(ErrorOf([&] { TComponentReader(cut).ReadString(); }), "Stream read error");
  const Bytes wideCut = {18, 0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(ErrorOf([&] { TComponentReader(wideCut).SkipValue(); }), "Stream read error");
  EXPECT_EQ(ErrorOf([&] { TComponentReader(Bytes{21}).SkipValue(); }), "Invalid property value");
}

TEST(ComponentStream, DeepNestingIsAnErrorNotACrash) {
  Bytes b(100000, 1);  // lists in lists
  EXPECT_EQ(ErrorOf([&] { TComponentReader(b).SkipValue(); }), "Invalid stream format");
}

TEST(ComponentStream, RootObjectPropertiesAndErrors) {
  auto root = [](const Bytes& Props, const std::string& Name = "") {
    TComponentWriter w;
    w.WriteSignature();
    w.Bytes().WriteU8(0xF2);  // prefix with a child position
    w.WriteInteger(7);
    w.WriteStr("TThing");
    w.WriteStr(Name);
    w.Bytes().WriteBytes(Props);
    return std::move(w.Bytes()).Data();
  };
  Bytes props = {4, 'S', 'i', 'z', 'e', 2, 42, 0};
  // One child object with a property and no children, then the end of the children.
  const Bytes child = {5, 'T', 'K', 'i', 'd', 's', 0, 1, 'A', 8, 0, 0, 0};
  Bytes ok = root(props);
  ok.insert(ok.end(), child.begin(), child.end());
  TComponentReader r(ok);
  r.ReadSignature();
  int size = 0;
  r.ReadRootObject([&](TComponentReader& R, const std::string& Path) {
    ASSERT_EQ(Path, "Size");
    size = R.ReadInteger();
  });
  EXPECT_EQ(size, 42);
  EXPECT_TRUE(r.Bytes().AtEnd());

  auto fail = [](const Bytes& B) {
    return ErrorOf([&] {
      TComponentReader r(B);
      r.ReadSignature();
      r.ReadRootObject([](TComponentReader& R, const std::string& Path) {
        if (Path != "Size") throw EPropertyError("Property " + Path + " does not exist");
        R.ReadInteger();
      });
    });
  };
  EXPECT_EQ(fail(root({5, 'O', 't', 'h', 'e', 'r', 2, 1, 0, 0})),
            "Error reading TThing.Other: Property Other does not exist");
  Bytes named = root({4, 'S', 'i', 'z', 'e', 6, 0, 0, 0}, "Box");
  EXPECT_EQ(fail(named), "Error reading Box.Size: Invalid property value");
  EXPECT_EQ(fail(root({4, 'S', 'i', 'z', 'e', 4, 1})),
            "Error reading TThing.Size: Stream read error");
  EXPECT_EQ(fail({'T', 'P', 'F', '1', 0}), "Invalid stream format");
  EXPECT_EQ(fail({'T', 'P'}), "Invalid stream format");
}

TEST(ResourceHeader, WrittenUpperCaseAndReadBack) {
  const Bytes stream = {'T', 'P', 'F', '0'};
  const Bytes res = WriteResource("Abc", stream);
  const Bytes head = {0xFF, 10, 0, 'A', 'B', 'C', 0, 0x30, 0x10, 4, 0, 0, 0};
  EXPECT_EQ(Bytes(res.begin(), res.begin() + 13), head);
  EXPECT_EQ(ReadResourceHeader(res), 13u);
  EXPECT_EQ(WriteResource(std::string(80, 'n'), stream).size(), 10 + 63 + 4u);

  for (const Bytes& bad : {Bytes{}, Bytes{0xFF, 10}, Bytes{0xFF, 0x0B, 0, 0}, Bytes{0xFF, 10, 1, 0},
                           Bytes{0xFE, 10, 0, 0}, Bytes(100, 0xFF)}) {
    EXPECT_EQ(ErrorOf([&] { ReadResourceHeader(bad); }), "Invalid stream format");
  }
  EXPECT_EQ(ErrorOf([&] { ReadResourceHeader(Bytes{0xFF, 10, 0, 0, 1}); }), "Stream read error");
}
