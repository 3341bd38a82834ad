#include "media/FontTables.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A table directory of the given tags (offsets and lengths left zero).
std::vector<uint8_t> Directory(const std::vector<std::string>& Tags, size_t Count) {
  std::vector<uint8_t> font{0, 1, 0, 0, static_cast<uint8_t>(Count >> 8),
                            static_cast<uint8_t>(Count), 0, 0, 0, 0, 0, 0};
  for (const auto& tag : Tags) {
    font.insert(font.end(), tag.begin(), tag.end());
    font.resize(font.size() + 12);
  }
  return font;
}

std::vector<std::string> Tags(const std::vector<uint8_t>& Font) {
  std::vector<std::string> tags;
  for (size_t at = 12; at + 16 <= Font.size(); at += 16)
    tags.emplace_back(Font.begin() + static_cast<std::ptrdiff_t>(at),
                      Font.begin() + static_cast<std::ptrdiff_t>(at + 4));
  return tags;
}

TEST(FontTables, BitmapStrikesAreHiddenAndOutlinesKept) {
  auto font = Directory({"EBDT", "EBLC", "EBSC", "bdat", "bloc", "glyf", "head", "OS/2"}, 8);
  HideBitmapStrikes(font);
  EXPECT_EQ(Tags(font), (std::vector<std::string>{"xBDT", "xBLC", "xBSC", "xdat", "xloc", "glyf",
                                                  "head", "OS/2"}));
}

TEST(FontTables, ShortOrLyingDirectoriesAreLeftAsFarAsTheyGo) {
  std::vector<uint8_t> tiny{0, 1, 0};
  HideBitmapStrikes(tiny);
  EXPECT_EQ(tiny, (std::vector<uint8_t>{0, 1, 0}));
  // It claims 300 tables and holds two, the second cut short.
  auto font = Directory({"EBDT", "EBLC"}, 300);
  font.resize(font.size() - 1);
  HideBitmapStrikes(font);
  EXPECT_EQ(font[12], 'x');
  EXPECT_EQ(font[28], 'E');
}

}  // namespace
