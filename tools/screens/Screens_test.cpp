// The screenshots show what each moment should: texts, hour-glasses, the cross-hair only while
// the view travels, the help panel, and the ticket text only in the sponsor edition.
#include "Screens.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <map>

#include "GLContext.h"

namespace {
std::map<std::string, TScreenshot> Take(int32_t Edition) {
  std::map<std::string, TScreenshot> shots;
  TakeScreenshots(ZELGORA_DATA, Edition, [&](const TScreenshot& S) { shots[S.Name] = S; });
  return shots;
}

// Pixels of exactly Color (0xRRGGBB) in the box.
int Count(const TScreenshot& S, int X0, int Y0, int X1, int Y1, uint32_t Color) {
  int n = 0;
  for (int y = Y0; y < Y1; ++y)
    for (int x = X0; x < X1; ++x) {
      const uint8_t* p = &S.RGBA[static_cast<size_t>((y * S.Width + x) * 4)];
      n += (static_cast<uint32_t>(p[0]) << 16 | p[1] << 8 | p[2]) == Color;
    }
  return n;
}

int Differing(const TScreenshot& A, const TScreenshot& B, int X0, int Y0, int X1, int Y1) {
  int n = 0;
  for (int y = Y0; y < Y1; ++y)
    for (int x = X0; x < X1; ++x) {
      const size_t i = static_cast<size_t>((y * A.Width + x) * 4);
      n += A.RGBA[i] != B.RGBA[i] || A.RGBA[i + 1] != B.RGBA[i + 1] ||
           A.RGBA[i + 2] != B.RGBA[i + 2];
    }
  return n;
}

constexpr uint32_t Yellow = 0xFFFF00, PanelText = 0x4329FB, Grey = 0x808080;

TEST(Screens, DeveloperEditionMoments) {
  auto shots = Take(0);
  for (const char* name :
       {"setup-slovak", "setup-change", "turn", "crosshair", "help-play", "game-over-edition0"}) {
    ASSERT_TRUE(shots.count(name)) << name;
    EXPECT_EQ(shots[name].Width, 640);
    EXPECT_EQ(shots[name].Height, 480);
  }
  const auto& setup = shots["setup-slovak"];
  EXPECT_GT(Count(setup, 15, 0, 80, 45, Yellow), 40);  // "Skóre" and the counter
  // Hour-glasses at both sides only while the bar turns.
  EXPECT_GT(Differing(setup, shots["setup-change"], 10, 150, 80, 330), 1000);
  EXPECT_GT(Differing(setup, shots["setup-change"], 560, 150, 630, 330), 1000);
  // The cross-hair while the view travels, not during a turn.
  EXPECT_EQ(Count(shots["turn"], 270, 239, 370, 242, Grey), 0);
  EXPECT_GT(Count(shots["crosshair"], 270, 239, 370, 242, Grey), 60);
  // The help panel's lines.
  EXPECT_GT(Count(shots["help-play"], 60, 100, 620, 380, PanelText), 1500);
  EXPECT_EQ(Count(setup, 60, 100, 620, 380, PanelText), 0);
  // The developer game-over panel has no ticket line.
  EXPECT_GT(Count(shots["game-over-edition0"], 60, 100, 620, 200, PanelText), 200);
  EXPECT_EQ(Count(shots["game-over-edition0"], 60, 230, 620, 270, PanelText), 0);
}

TEST(Screens, SponsorGameOverShowsTheTicket) {
  auto shots = Take(1);
  ASSERT_TRUE(shots.count("game-over-edition1"));
  EXPECT_GT(Count(shots["game-over-edition1"], 60, 230, 620, 270, PanelText), 200);
}
}  // namespace
