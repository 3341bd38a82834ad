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
