// The interface face shipped beside the game, measured on every text the game draws, at the
// place the layout gives it.
#include "media/sdl/SdlText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DXMain.h"
#include "FormRig.h"
#include "RecordingCanvas.h"
#include "media/CodePage.h"
#include "media/DXDraws.h"
#include "media/RecordingSoundOutput.h"
#include "ui/LanguageTable.h"
#include "ui/SetupCaption.h"

namespace {

constexpr int32_t PictureWidth = 640;

class TTextBackend : public TNullDisplayBackend {
 public:
  explicit TTextBackend(TRecordingCanvas& Canvas) : FCanvas(Canvas) {}
  TCanvas* Canvas() override { return TNullDisplayBackend::Canvas() ? &FCanvas : nullptr; }

 private:
  TRecordingCanvas& FCanvas;
};

struct TTextRig {
  THeldKeys Keys;
  TManualClock Clock{TLocalDateTime{2007, 3, 9, 14, 5, 7}};
  TRecordingCanvas Canvas;
  TNullFormWindow* Window = nullptr;
  std::unique_ptr<TMainForm> Form;

  TTextRig(int32_t Edition, int32_t Language, bool FullScreen) {
    TFormServices s;
    auto window = std::make_unique<TNullFormWindow>();
    Window = window.get();
    s.Window = std::move(window);
    s.Display = std::make_unique<TTextBackend>(Canvas);
    s.Keys = &Keys;
    s.Clock = &Clock;
    s.DataDir = FixtureFolder().string();
    s.Edition = Edition;
    s.Seed = 7;
    s.Sound = std::make_unique<TRecordingSoundOutput>(std::make_shared<TRecordingSoundOutput::TState>());
    Form = std::make_unique<TMainForm>(std::move(s));
    Form->DXDraw.WindowShown();
    Form->Languages->LanguageIndex = Language;
    if (FullScreen) {
      Form->DXDraw.Options.Include(doFullScreen);
      Window->Now = {640, 480, TFormWindow::TBorderStyle::None};
    } else {
      Window->Now.ClientHeight = 506;  // outer 648 x 514 around the 640 x 480 surface
    }
  }
  // Overlay passes until the panel shows its texts; the texts of the last pass.
  std::vector<TRecordingCanvas::TCall> OpenPanel() {
    for (int i = 0; i < 200; ++i) {
      Canvas.Calls.clear();
      Form->DrawOverlays();
      for (const auto& c : Canvas.Texts())
        if (c.Font.Bold) return Canvas.Texts();
    }
    ADD_FAILURE() << "the panel never showed its texts";
    return {};
  }
};

struct TMeasured {
  std::string Text;
  int32_t Left, Right;
};

class InterfaceFace : public ::testing::Test {
 protected:
  TTextRasterizer Face{ZELGORA_BUILD_DIR, ""};

  TMeasured Measure(const TRecordingCanvas::TCall& Call) {
    const TTextImage image = Face.Render(Call.Text, Call.Font.Size, Call.Font.Bold);
    return {Cp1250ToUtf8(Call.Text), Call.X1, Call.X1 + image.Width};
  }
  // Every text drawn lies inside the picture, in letters the face has.
  void ExpectInside(const std::vector<TRecordingCanvas::TCall>& Texts, int32_t Width) {
    ASSERT_FALSE(Texts.empty());
    for (const auto& t : Texts) {
      const TMeasured m = Measure(t);
      SCOPED_TRACE(m.Text);
      EXPECT_TRUE(Face.Covers(t.Text, t.Font.Bold));
      EXPECT_GE(m.Left, 0);
      EXPECT_LE(m.Right, Width) << "at x " << m.Left << ", " << t.Font.Size << " points";
    }
  }
};

TEST_F(InterfaceFace, HeadUpTextsOfEveryEditionLanguageAndCount) {
  for (int32_t edition : {0, 1, 2})
    for (int32_t language : {0, 1})
      for (int32_t credits : {0, 999, 9999}) {
        SCOPED_TRACE(std::to_string(edition) + "/" + std::to_string(language) + "/" +
                     std::to_string(credits));
        TTextRig rig(edition, language, false);
        rig.Form->Credits = credits;
        rig.Form->Level = 4;
        rig.Canvas.Calls.clear();
        rig.Form->DrawHud();
        ExpectInside(rig.Canvas.Texts(), PictureWidth);
      }
}

// The texts the players saw cut: the help hint at the right edge, in Slovak.
TEST_F(InterfaceFace, HelpHintEndsClearOfTheRightEdge) {
  TTextRig rig(0, 1, false);
  rig.Canvas.Calls.clear();
  rig.Form->DrawHud();
  const auto texts = rig.Canvas.Texts();
  ASSERT_GE(texts.size(), 2u);
  const TMeasured help = Measure(texts[texts.size() - 2]);
  const TMeasured hint = Measure(texts.back());
  EXPECT_EQ(help.Text, "F1-POMOC");
  EXPECT_EQ(hint.Text, "(zobraz/skry)");
  EXPECT_LE(help.Right, 637);
  EXPECT_LE(hint.Right, 639);
}

TEST_F(InterfaceFace, HelpPanelInEveryStateEditionLanguageAndScreen) {
  for (bool fullScreen : {false, true})
    for (int32_t edition : {0, 1, 2})
      for (int32_t language : {0, 1})
        for (int32_t state : {4, 2}) {
          SCOPED_TRACE(std::to_string(fullScreen) + "/" + std::to_string(edition) + "/" +
                       std::to_string(language) + "/" + std::to_string(state));
          TTextRig rig(edition, language, fullScreen);
          rig.Form->GameState = state;
          rig.Form->HelpVisible = true;
          ExpectInside(rig.OpenPanel(), PictureWidth);
        }
}

TEST_F(InterfaceFace, GameOverPanelOfEveryEditionLanguageAndScreen) {
  for (bool fullScreen : {false, true})
    for (int32_t edition : {0, 1, 2})
      for (int32_t language : {0, 1}) {
        SCOPED_TRACE(std::to_string(fullScreen) + "/" + std::to_string(edition) + "/" +
                     std::to_string(language));
        TTextRig rig(edition, language, fullScreen);
        rig.Form->GameState = 5;
        ExpectInside(rig.OpenPanel(), PictureWidth);
      }
}

// Every text of the head-up display, the help panel and the game-over panel, once each.
std::vector<TRecordingCanvas::TCall> EveryOverlayText() {
  std::vector<TRecordingCanvas::TCall> all;
  for (int32_t edition : {0, 1, 2})
    for (int32_t language : {0, 1}) {
      TTextRig hud(edition, language, false);
      hud.Form->Credits = 9999;
      hud.Form->Level = 4;
      hud.Canvas.Calls.clear();
      hud.Form->DrawHud();
      const auto texts = hud.Canvas.Texts();
      all.insert(all.end(), texts.begin(), texts.end());
      for (int32_t state : {4, 2, 5}) {
        TTextRig panel(edition, language, false);
        panel.Form->GameState = state;
        panel.Form->HelpVisible = state != 5;
        const auto shown = panel.OpenPanel();
        all.insert(all.end(), shown.begin(), shown.end());
      }
    }
  return all;
}

int64_t Ink(const TTextImage& Image, int32_t FromColumn = 0) {
  int64_t sum = 0;
  for (int32_t y = 0; y < Image.Height; ++y)
    for (int32_t x = FromColumn; x < Image.Width; ++x)
      sum += Image.Coverage[static_cast<size_t>(y * Image.Width + x)];
  return sum;
}

// Shown larger than its own size, a text's image holds all of its ink: the same text with a
// space after it (room to spare on the right) shows the same pixels and nothing more, and with
// a space before it (room on the left) the same ink.
TEST_F(InterfaceFace, ScaledTextsHoldAllTheirInk) {
  const auto texts = EveryOverlayText();
  ASSERT_FALSE(texts.empty());
  for (double scale : {1.5, 2.25, 3.0, 1.7375}) {
    for (const auto& t : texts) {
      SCOPED_TRACE(Cp1250ToUtf8(t.Text) + " at " + std::to_string(scale));
      const TTextImage image = Face.Render(t.Text, t.Font.Size, t.Font.Bold, scale);
      const TTextImage right = Face.Render(t.Text + " ", t.Font.Size, t.Font.Bold, scale);
      const TTextImage left = Face.Render(" " + t.Text, t.Font.Size, t.Font.Bold, scale);
      ASSERT_GT(image.Width, 0);
      ASSERT_EQ(right.Height, image.Height);
      ASSERT_EQ(right.OriginX, image.OriginX);
      ASSERT_EQ(right.OriginY, image.OriginY);
      ASSERT_GE(right.Width, image.Width);
      EXPECT_EQ(Ink(right, image.Width), 0) << "ink beyond the image's right edge";
      int32_t differing = 0;
      for (int32_t y = 0; y < image.Height; ++y)
        for (int32_t x = 0; x < image.Width; ++x)
          differing += image.Coverage[static_cast<size_t>(y * image.Width + x)] !=
                       right.Coverage[static_cast<size_t>(y * right.Width + x)];
      EXPECT_EQ(differing, 0);
      EXPECT_EQ(Ink(left), Ink(image)) << "ink left of the image's left edge";
    }
  }
}

// The captions are painted on the bar picture: they must end on the bar, clear of its knob.
TEST_F(InterfaceFace, SetupCaptionsEndOnTheBar) {
  TPictureCollection bars;
  bars.LoadFromFile(std::string(ZELGORA_BUILD_DIR) + "/Bitmaps/SetupBars.dxg");
  ASSERT_GT(bars.Count(), 0);
  const int32_t width = bars.Items(0).Width(), height = bars.Items(0).Height();
  constexpr int32_t Knob = 33;  // the artwork's knob at the right end
  THLanguages languages;
  for (const auto& e : LanguageTableEntries())
    languages.AddString(std::string(e.Key), std::string(e.Text0), std::string(e.Text1));
  for (const char* word : {"Sorvane", "Tobrin"})
    for (int32_t r = 0; r < 5; ++r)
      for (int32_t f = 0; f < 2; ++f)
        for (int32_t language : {0, 1}) {
          languages.LanguageIndex = language;
          const std::string key =
              "Setup" + std::to_string(r) + "_" + std::to_string(f) + word;
          TRecordingCanvas canvas;
          PaintSetupCaption(canvas, height, languages.GetString(key));
          SCOPED_TRACE(key);
          ExpectInside(canvas.Texts(), width - Knob);
        }
}

}  // namespace
