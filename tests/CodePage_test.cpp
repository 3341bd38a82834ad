#include "media/CodePage.h"

#include <gtest/gtest.h>

namespace {

TEST(CodePage, AsciiPassesThrough) {
  std::string ascii;
  for (int c = 1; c < 0x80; ++c) ascii.push_back(static_cast<char>(c));
  EXPECT_EQ(Cp1250ToUtf8(ascii), ascii);
  EXPECT_EQ(Cp1250ToUtf8(std::string_view("\0a", 2)), std::string("\0a", 2));
}

TEST(CodePage, CentralEuropeanLetters) {
  struct Case {
    uint8_t Byte;
    const char* Utf8;
  } cases[] = {
      {0x8A, "Š"}, {0x9A, "š"}, {0x8E, "Ž"}, {0x9E, "ž"}, {0x8D, "Ť"}, {0x9D, "ť"},
      {0xC8, "Č"}, {0xE8, "č"}, {0xF2, "ň"}, {0xD2, "Ň"}, {0xEF, "ď"}, {0xCF, "Ď"},
      {0xBE, "ľ"}, {0xBC, "Ľ"}, {0xE5, "ĺ"}, {0xC5, "Ĺ"}, {0xE0, "ŕ"}, {0xC0, "Ŕ"},
      {0xF4, "ô"}, {0xE4, "ä"}, {0xE1, "á"}, {0xC1, "Á"}, {0xE9, "é"}, {0xED, "í"},
      {0xF3, "ó"}, {0xFA, "ú"}, {0xDA, "Ú"}, {0xFD, "ý"}, {0xD9, "Ů"}, {0xA0, "\u00A0"},
      {0x80, "€"}, {0x84, "„"}, {0x93, "“"}, {0x96, "–"}, {0xFF, "˙"},
  };
  for (auto c : cases) {
    char byte = static_cast<char>(c.Byte);
    EXPECT_EQ(Cp1250ToUtf8(std::string_view(&byte, 1)), c.Utf8) << std::hex << int(c.Byte);
  }
}

TEST(CodePage, UnassignedBytesBecomeReplacementCharacters) {
  for (uint8_t b : {0x81, 0x83, 0x88, 0x90, 0x98}) EXPECT_EQ(Cp1250ToUnicode(b), U'\uFFFD');
  EXPECT_EQ(Cp1250ToUtf8("\x81"), "\xEF\xBF\xBD");
}

TEST(CodePage, EveryByteGivesOneWellFormedCharacter) {
  for (int b = 0; b < 256; ++b) {
    char32_t cp = Cp1250ToUnicode(static_cast<uint8_t>(b));
    EXPECT_TRUE(cp < 0xD800 || (cp > 0xDFFF && cp <= 0xFFFF)) << b;
    char byte = static_cast<char>(b);
    std::string u = Cp1250ToUtf8(std::string_view(&byte, 1));
    size_t expected = cp < 0x80 ? 1 : cp < 0x800 ? 2 : 3;
    EXPECT_EQ(u.size(), expected) << b;
  }
}

TEST(CodePage, MixedText) {
  EXPECT_EQ(Cp1250ToUtf8("\xDArove\xF2"), "Úroveň");
  EXPECT_EQ(Cp1250ToUtf8("Sk\xF3re"), "Skóre");
}

}  // namespace
