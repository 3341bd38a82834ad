#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "DXMain.h"
#include "RecordingCanvas.h"
#include "RecordingDevice.h"
#include "media/CodePage.h"
#include "media/NullDisplay.h"
#include "ui/GestureNote.h"
#include "ui/LanguageTable.h"
#include "ui/OverlayLayout.h"

namespace {

// Writes down each picture draw with the blending state in force at that moment.
class TRecordingDrawer : public TPictureDrawer {
 public:
  struct TCall {
    std::string Kind, Name;
    int32_t X = 0, Y = 0, W = 0, H = 0, Pattern = 0, Alpha = 0;
    TD3DRect Rect;
    double CX = 0, CY = 0;
    int32_t Angle = 0;
    uint32_t Blend = 0;
  };
  TRecordingDevice* Device = nullptr;
  std::vector<TCall> Calls;

  void Draw(TPictureCollectionItem& Item, TDirectDrawSurface&, int32_t X, int32_t Y,
            int32_t Pattern) override {
    Calls.push_back({"Draw", Item.Name(), X, Y, 0, 0, Pattern, 0, {}, 0, 0, 0, Blend()});
  }
  void DrawAlpha(TPictureCollectionItem& Item, TDirectDrawSurface&, const TD3DRect& R,
                 int32_t Pattern, int32_t Alpha) override {
    Calls.push_back({"DrawAlpha", Item.Name(), 0, 0, 0, 0, Pattern, Alpha, R, 0, 0, 0, Blend()});
  }
  void DrawRotatedAdditive(TPictureCollectionItem& Item, TDirectDrawSurface&, int32_t X, int32_t Y,
                           int32_t W, int32_t H, int32_t Pattern, double CX, double CY,
                           int32_t Angle, int32_t Alpha) override {
    Calls.push_back({"DrawRotatedAdditive",
                     Item.Name(),
                     X,
                     Y,
                     W,
                     H,
                     Pattern,
                     Alpha,
                     {},
                     CX,
                     CY,
                     Angle,
                     Blend()});
  }
  std::vector<TCall> Of(const std::string& Kind) const {
    std::vector<TCall> out;
    for (const auto& c : Calls)
      if (c.Kind == Kind) out.push_back(c);
    return out;
  }

 private:
  uint32_t Blend() const {
    auto it = Device->RenderStates.find(D3DRENDERSTATE_ALPHABLENDENABLE);
    return it == Device->RenderStates.end() ? 0 : it->second;
  }
};

class TOverlayBackend : public TNullDisplayBackend {
 public:
  TOverlayBackend(TRecordingCanvas& Canvas, TRecordingDrawer& Drawer)
      : TNullDisplayBackend([&Drawer] {
          auto d = std::make_unique<TRecordingDevice>();
          Drawer.Device = d.get();
          return d;
        }),
        FCanvas(Canvas),
        FDrawer(Drawer) {}
  TCanvas* Canvas() override { return TNullDisplayBackend::Canvas() ? &FCanvas : nullptr; }
  TPictureDrawer* PictureDrawer() override { return &FDrawer; }

 private:
  TRecordingCanvas& FCanvas;
  TRecordingDrawer& FDrawer;
};

TDIB Plain(int32_t W, int32_t H) {
  TDIB dib;
  dib.SetSize(W, H, 24);
  return dib;
}

struct TSized {
  std::string Name;
  int32_t W, H;
};

void WriteList(const std::filesystem::path& File, const std::vector<TSized>& Pictures) {
  TPictureCollection list;
  for (const auto& p : Pictures) {
    auto& item = list.Add();
    item.SetName(p.Name);
    TPicture picture;
    picture.SetGraphic("TDIB", Plain(p.W, p.H));
    item.SetPicture(picture);
  }
  std::filesystem::create_directories(File.parent_path());
  list.SaveToFile(File.string());
}

// Border pieces of different widths, so that the tiling shows in the positions.
std::filesystem::path Fixtures(bool WithGlass = true) {
  const auto dir = std::filesystem::path(ZELGORA_BUILD_DIR) / "fixtures" /
                   (WithGlass ? "overlays" : "overlays-noglass");
  if (!std::filesystem::exists(dir / "Bitmaps" / "FaceMask.dxg")) {
    std::vector<TSized> cubes{{"B0", 8, 8}};
    for (int i = 0; i < 6; ++i) {
      cubes.push_back({"C0" + std::to_string(i), 8, 8});
      cubes.push_back({"C1" + std::to_string(i), 8, 8});
    }
    for (const char* f : {"ZelgoraTobrin.dxg", "ZelgoraSorvane.dxg", "ZelgoraTB.dxg"})
      WriteList(dir / "Bitmaps" / f, cubes);
    WriteList(dir / "Bitmaps" / "SetupBars.dxg", {{"Bar", 64, 16}});
    std::vector<TSized> mask{{"TopMaskLeft", 40, 20},      {"TopMaskMiddle", 50, 20},
                             {"TopMaskRight", 30, 20},     {"BottomMaskLeft", 10, 30},
                             {"BottomMaskMiddle", 64, 30}, {"BottomMaskRight", 20, 30},
                             {"BlueBackground", 16, 16}};
    if (WithGlass) mask.push_back({"GlassHours", 33, 51});
    WriteList(dir / "Bitmaps" / "FaceMask.dxg", mask);
  }
  return dir;
}

struct TOverlayRig {
  THeldKeys Keys;
  TManualClock Clock{TLocalDateTime{2007, 3, 9, 14, 5, 7}};
  TRecordingCanvas Canvas;
  TRecordingDrawer Drawer;
  TNullFormWindow* Window = nullptr;
  std::unique_ptr<TMainForm> Form;

  explicit TOverlayRig(int32_t Edition = 0, bool WithGlass = true) {
    TFormServices s;
    auto window = std::make_unique<TNullFormWindow>();
    Window = window.get();
    s.Window = std::move(window);
    s.Display = std::make_unique<TOverlayBackend>(Canvas, Drawer);
    s.Keys = &Keys;
    s.Clock = &Clock;
    s.DataDir = Fixtures(WithGlass).string();
    s.Edition = Edition;
    s.Seed = 7;
    Form = std::make_unique<TMainForm>(std::move(s));
    Form->DXDraw.WindowShown();
    // A window of outer size 648 x 514 around the 640 x 480 surface.
    Window->TitleHeight = 26;
  }
  // One overlay pass on fresh records.
  void Draw() {
    Canvas.Calls.clear();
    Drawer.Calls.clear();
    Form->DrawOverlays();
  }
  std::string Text(const char* Key) { return Form->Languages->GetString(Key); }
};

struct TPlace {
  std::string Name;
  int32_t X, Y;
  bool operator==(const TPlace&) const = default;
};

TEST(Overlays, BorderStripsTileFromBothEnds) {
  TOverlayRig rig;
  rig.Form->GameState = 4;
  rig.Draw();
  std::vector<TPlace> got;
  for (const auto& c : rig.Drawer.Of("Draw")) got.push_back({c.Name, c.X, c.Y});
  std::vector<TPlace> expected;
  // Top: T = 50 + 30 + 40 = 120; middles up to x < 520, then R L M from 520.
  expected.push_back({"TopMaskMiddle", 0, 0});
  expected.push_back({"TopMaskRight", 50, 0});
  expected.push_back({"TopMaskLeft", 80, 0});
  for (int x = 120; x < 520; x += 50) expected.push_back({"TopMaskMiddle", x, 0});
  expected.push_back({"TopMaskRight", 520, 0});
  expected.push_back({"TopMaskLeft", 550, 0});
  expected.push_back({"TopMaskMiddle", 590, 0});
  // Bottom: y = 480 - 30; T = 94; middles at 94 + 64k while below 546, then from 546.
  expected.push_back({"BottomMaskMiddle", 0, 450});
  expected.push_back({"BottomMaskRight", 64, 450});
  expected.push_back({"BottomMaskLeft", 84, 450});
  for (int x = 94; x < 546; x += 64) expected.push_back({"BottomMaskMiddle", x, 450});
  expected.push_back({"BottomMaskRight", 546, 450});
  expected.push_back({"BottomMaskLeft", 566, 450});
  expected.push_back({"BottomMaskMiddle", 576, 450});
  EXPECT_EQ(got, expected);
  for (const auto& c : rig.Drawer.Of("Draw")) EXPECT_EQ(c.Pattern, 0);
}

struct THud {
  int32_t Size;
  uint32_t Color;
  int32_t X, Y;
  std::string Text;
  bool operator==(const THud&) const = default;
};

std::vector<THud> HudTexts(const TRecordingCanvas& Canvas) {
  std::vector<THud> out;
  for (const auto& c : Canvas.Texts()) {
    if (c.Font.Bold) break;  // the panel's texts follow
    EXPECT_EQ(c.Brush, TBrushStyle::Clear);
    out.push_back({c.Font.Size, c.Font.Color, c.X1, c.Y1, c.Text});
  }
  return out;
}

TEST(Overlays, HudTextsOfEachEdition) {
  constexpr uint32_t Y = 0x00FFFF, W = 0xFFFFFF;
  for (int32_t edition : {0, 1, 2}) {
    SCOPED_TRACE(edition);
    TOverlayRig rig(edition);
    rig.Form->Credits = 123;
    rig.Form->Level = 3;
    rig.Canvas.Font.Bold = true;  // left over from an earlier panel
    rig.Draw();
    std::vector<THud> expected = {{10, Y, 20, 4, "Sk\xF3re"},
                                  {10, Y, 590, 4, "\xDArove\xF2"},
                                  {22, Y, 25, 13, "123"},
                                  {22, Y, 605, 13, "3"},
                                  {22, W, 180, 8, "Z E L G O R A"}};
    const char* line = edition == 1 ? "S O R V A N E" : edition == 2 ? "Tobrin" : nullptr;
    expected.push_back(
        {25, W, 220, 425, line ? std::string(line) : std::string(DeveloperWebAddress)});
    if (edition == 1) expected.push_back({15, W, 410, 438, "edition"});
    expected.push_back({10, Y, 15, 440, "2007"});
    expected.push_back({10, Y, 575, 433, "F1-POMOC"});
    expected.push_back({8, Y, 575, 449, "(zobraz/skry)"});
    EXPECT_EQ(HudTexts(rig.Canvas), expected);
  }
}

TEST(Overlays, HudFollowsTheLanguageAndTheCredits) {
  TOverlayRig rig;
  rig.Form->Languages->LanguageIndex = 0;
  struct Case {
    int32_t Credits, X;
  } cases[] = {{9, 45}, {10, 35}, {999, 25}, {1000, 15}, {10000, 5}, {123456, -5}};
  for (auto c : cases) {
    rig.Form->Credits = c.Credits;
    rig.Draw();
    auto hud = HudTexts(rig.Canvas);
    ASSERT_GE(hud.size(), 4u);
    EXPECT_EQ(hud[0].Text, "Credits");
    EXPECT_EQ(hud[1].Text, "Level");
    EXPECT_EQ(hud[2].Text, std::to_string(c.Credits));
    EXPECT_EQ(hud[2].X, c.X) << c.Credits;
    EXPECT_EQ(hud.back().Text, "(show/hide)");
  }
}

TEST(Overlays, HelpPanelOpensAndClosesFrameByFrame) {
  TOverlayRig rig;
  rig.Form->GameState = 2;
  rig.Form->HelpVisible = true;
  for (int frame = 1; frame <= 50; ++frame) {
    SCOPED_TRACE(frame);
    rig.Draw();
    auto panel = rig.Drawer.Of("DrawAlpha");
    ASSERT_EQ(panel.size(), 1u);
    const int32_t w = frame <= 32 ? 20 * frame : 640;
    const int32_t h = frame <= 32 ? 6 : 6 + 20 * (frame - 32);
    EXPECT_EQ(rig.Form->PanelWidth, w);
    EXPECT_EQ(rig.Form->PanelHeight, h);
    EXPECT_EQ(panel[0].Name, "BlueBackground");
    EXPECT_EQ(panel[0].Alpha, Rnd(h / 2.0));
    EXPECT_EQ(panel[0].Blend, 1u);
    EXPECT_EQ(panel[0].Rect.Left, Rnd(320 - w / 2.0));
    EXPECT_EQ(panel[0].Rect.Right, Rnd(320 + w / 2.0));
    EXPECT_EQ(panel[0].Rect.Top, Rnd(240 - h / 2.0));
    EXPECT_EQ(panel[0].Rect.Bottom, Rnd(240 + h / 2.0));
    const bool bold = !rig.Canvas.Texts().empty() && rig.Canvas.Texts().back().Font.Bold;
    EXPECT_EQ(bold, frame == 50);  // the texts come with the first fully open frame
    EXPECT_EQ(rig.Canvas.Calls.back().Op, TRecordingCanvas::TOp::Release);
  }
  EXPECT_EQ(rig.Drawer.Of("DrawAlpha")[0].Alpha, 183);

  rig.Form->HelpVisible = false;
  std::vector<std::pair<int32_t, int32_t>> drawn;  // width, alpha
  std::vector<int32_t> heights;
  for (int frame = 0; frame < 60; ++frame) {
    rig.Draw();
    for (const auto& c : rig.Drawer.Of("DrawAlpha")) {
      drawn.emplace_back(c.Rect.Right - c.Rect.Left, c.Alpha);
      heights.push_back(rig.Form->PanelHeight);
    }
    EXPECT_FALSE(rig.Canvas.Texts().back().Font.Bold);  // no panel text while closing
  }
  ASSERT_EQ(drawn.size(), 31u + 19u);
  for (int i = 0; i < 31; ++i) {
    EXPECT_EQ(drawn[i], std::make_pair(620 - 20 * i, 155 - 5 * i));
    EXPECT_EQ(heights[i], 366);
  }
  for (int i = 0; i < 19; ++i) {
    EXPECT_EQ(drawn[31 + i], std::make_pair(6, 2));
    EXPECT_EQ(heights[31 + i], 346 - 20 * i);
  }
  EXPECT_EQ(rig.Form->PanelWidth, 0);
  // Opening again starts from a 20 x 6 strip.
  rig.Form->HelpVisible = true;
  rig.Draw();
  EXPECT_EQ(rig.Form->PanelWidth, 20);
  EXPECT_EQ(rig.Form->PanelHeight, 6);
  EXPECT_EQ(rig.Drawer.Of("DrawAlpha")[0].Alpha, 3);
}

std::vector<TPlace> PanelTexts(const TRecordingCanvas& Canvas) {
  std::vector<TPlace> out;
  for (const auto& c : Canvas.Texts()) {
    if (!c.Font.Bold) continue;
    EXPECT_EQ(c.Font.Size, 12);
    EXPECT_EQ(c.Font.Color, 0x00FB2943u);
    EXPECT_EQ(c.Brush, TBrushStyle::Clear);
    out.push_back({c.Text, c.X1, c.Y1});
  }
  return out;
}

TEST(Overlays, HelpTextsPerStateAndEdition) {
  for (int32_t edition : {0, 1, 2}) {
    for (int32_t state : {4, 2, 3, 1}) {
      SCOPED_TRACE(std::to_string(edition) + "/" + std::to_string(state));
      TOverlayRig rig(edition);
      rig.Form->GameState = state;
      rig.Form->HelpVisible = true;
      rig.Form->PanelWidth = 640;  // open: texts at once
      rig.Form->PanelHeight = 366;
      rig.Draw();
      // x = rnd(320 - 320) + 75, title y = rnd(240 - 183) + 50.
      std::vector<TPlace> expected{
          {rig.Text(edition == 1 ? "Help0Sorvane" : "Help0Tobrin"), 75, 107}};
      int32_t y = 127;
      if (state == 4) {
        for (const char* k : {"HelpSetup1", "HelpSetup2", "HelpSetup3", "HelpSetup4"})
          expected.push_back({rig.Text(k), 75, y}), y += 20;
      } else {
        for (int i = 1; i <= 11; ++i)
          expected.push_back({rig.Text(("Help" + std::to_string(i)).c_str()), 75, y}), y += 20;
      }
      const char* last = edition == 2   ? "HelpDeveloperTB"
                         : edition == 1 ? "HelpDeveloperSorvane"
                                        : "HelpDeveloperTobrin";
      expected.push_back({rig.Text(last), 75, y});
      EXPECT_EQ(PanelTexts(rig.Canvas), expected);
      EXPECT_EQ(y - 107, state == 4 ? 100 : 240);
    }
  }
}

// The gestures' note: only once a pointer was used, below the help's own lines, inside the
// panel, in the current language.
TEST(Overlays, TheHelpShowsTheGesturesOnceAPointerWasUsed) {
  for (int32_t state : {4, 2}) {
    for (int32_t language : {1, 0}) {
      for (bool seen : {false, true}) {
        SCOPED_TRACE(std::to_string(state) + "/" + std::to_string(language) + "/" +
                     std::to_string(seen));
        TOverlayRig rig;
        rig.Form->GameState = state;
        rig.Form->Languages->LanguageIndex = language;
        rig.Form->TouchSeen = seen;
        rig.Form->HelpVisible = true;
        rig.Form->PanelWidth = 640;
        rig.Form->PanelHeight = 366;
        rig.Draw();
        std::vector<TPlace> note;
        for (const auto& c : rig.Canvas.Texts())
          if (!c.Font.Bold && c.X1 == 75) {
            EXPECT_EQ(c.Font.Size, 10);
            note.push_back({c.Text, c.X1, c.Y1});
          }
        const auto lines = GestureNote(language, state == 4);
        const std::vector<TPlace> expected =
            seen ? std::vector<TPlace>{{lines[0], 75, 423 - 42}, {lines[1], 75, 423 - 24}}
                 : std::vector<TPlace>{};
        EXPECT_EQ(note, expected);
        EXPECT_EQ(PanelTexts(rig.Canvas).size(), state == 4 ? 6u : 13u) << "the help's own lines";
        EXPECT_LT(PanelTexts(rig.Canvas).back().Y + 18, 423 - 42);
      }
    }
  }
  EXPECT_EQ(Cp1250ToUtf8(GestureNote(1, false)[1]),
            "dvoma prstami či kolieskom zväčšíte; po výhre ťuknutie ide ďalej.");
}

TEST(Overlays, HelpTitleInSlovakShowsItsLetters) {
  TOverlayRig rig;
  rig.Form->HelpVisible = true;
  rig.Form->PanelWidth = 640;
  rig.Form->PanelHeight = 366;
  rig.Draw();
  auto texts = PanelTexts(rig.Canvas);
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(Cp1250ToUtf8(texts[0].Name), " NÁPOVEDA - Zelgora - ");
}

TEST(Overlays, FullScreenLimitsWhateverTheScreen) {
  // The form is 640 x 480 in full screen on any desktop: limits 640 - 21 = 619 and
  // 480 - 130 = 350, reached after 31 + 18 frames, for the help and the game-over panel.
  for (const auto& [w, h] : {std::pair{640, 480}, {1024, 768}, {1920, 1080}, {2560, 1440}}) {
    for (int32_t state : {2, 5}) {
      SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h) + " state " + std::to_string(state));
      TOverlayRig rig;
      rig.Form->DXDraw.Options.Include(doFullScreen);
      rig.Window->Now = {w, h, TFormWindow::TBorderStyle::None};
      rig.Form->GameState = state;
      rig.Form->HelpVisible = true;
      int frames = 0;
      while (frames < 100) {
        rig.Draw();
        ++frames;
        if (!PanelTexts(rig.Canvas).empty()) break;
      }
      EXPECT_EQ(frames, 31 + 18);
      EXPECT_EQ(rig.Form->PanelWidth, 620);
      EXPECT_EQ(rig.Form->PanelHeight, 366);
      EXPECT_EQ(rig.Form->Width(), 640);
      EXPECT_EQ(rig.Form->Height(), 480);
    }
  }
}

TEST(Overlays, ResizedWindowKeepsTheLayoutOfTheDesignedWindow) {
  // Resized or maximised, the form keeps its 648 x 514 outer size: the panel opens as in the
  // 640 x 480 window.
  for (const auto& [w, h] : {std::pair{640, 480}, {1280, 960}, {1912, 1020}}) {
    SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
    TOverlayRig rig;
    rig.Window->Now.ClientWidth = w;
    rig.Window->Now.ClientHeight = h;
    rig.Form->GameState = 2;
    rig.Form->HelpVisible = true;
    for (int frame = 0; frame < 60; ++frame) rig.Draw();
    EXPECT_EQ(rig.Form->PanelWidth, 640);
    EXPECT_EQ(rig.Form->PanelHeight, 366);
    EXPECT_EQ(PanelTexts(rig.Canvas).size(), 13u);
    EXPECT_EQ(rig.Form->DXDraw.SurfaceWidth(), 640);
  }
}

TEST(Overlays, GameOverPanelOfTheSponsorEdition) {
  TOverlayRig rig(1);
  rig.Form->GameState = 5;
  rig.Form->HelpVisible = false;  // makes no difference here
  rig.Form->PanelWidth = 640;
  rig.Form->PanelHeight = 366;
  rig.Draw();
  auto panel = rig.Drawer.Of("DrawAlpha");
  ASSERT_EQ(panel.size(), 1u);
  EXPECT_EQ(panel[0].Alpha, 183 + 20);
  EXPECT_EQ(panel[0].Blend, 1u);
  ASSERT_EQ(rig.Form->TicketText.size(), 30u);
  const int32_t x = 80, t = 57;
  std::vector<TPlace> expected = {
      {rig.Text("GOver0Sorvane"), x, t + 50},  {rig.Text("GOver1Sorvane"), x, t + 80},
      {rig.Text("GOver2Sorvane"), x, t + 100}, {rig.Text("GOver3Sorvane"), x, t + 120},
      {rig.Text("GOver4Sorvane"), x, t + 140}, {rig.Form->TicketText, x, t + 180},
      {rig.Text("GOver5Sorvane"), x, t + 220}, {rig.Text("GOver6Sorvane"), x, t + 240},
      {rig.Text("GOver7Sorvane"), x, t + 260}, {rig.Text("GOver8Sorvane"), x, t + 280}};
  EXPECT_EQ(PanelTexts(rig.Canvas), expected);
  EXPECT_EQ(Cp1250ToUtf8(expected[2].Name), " K O N I E C   H R Y ");
  EXPECT_EQ(rig.Canvas.Calls.back().Op, TRecordingCanvas::TOp::Release);
}

TEST(Overlays, GameOverPanelOfTheDeveloperEditions) {
  for (int32_t edition : {0, 2}) {
    TOverlayRig rig(edition);
    rig.Form->Languages->LanguageIndex = 0;
    rig.Form->GameState = 5;
    rig.Form->PanelWidth = 640;
    rig.Form->PanelHeight = 366;
    rig.Draw();
    std::vector<TPlace> expected = {{rig.Text("GOver0Tobrin"), 80, 107},
                                    {rig.Text("GOver1Tobrin"), 80, 137},
                                    {rig.Text("GOver2Tobrin"), 80, 157}};
    EXPECT_EQ(PanelTexts(rig.Canvas), expected);
    EXPECT_EQ(expected[2].Name, " Press ESC to quit Zelgora ");
  }
}

TEST(Overlays, GameOverPanelKeepsOpeningWhateverHelpSays) {
  TOverlayRig rig(1);
  rig.Form->GameState = 5;
  rig.Form->HelpVisible = false;
  std::vector<int32_t> alphas;
  int frames = 0;
  while (PanelTexts(rig.Canvas).empty() && frames < 100) {
    rig.Draw();
    ++frames;
    alphas.push_back(rig.Drawer.Of("DrawAlpha").at(0).Alpha);
  }
  EXPECT_EQ(frames, 50);
  EXPECT_EQ(alphas.front(), 3 + 20);
  EXPECT_EQ(alphas.back(), 183 + 20);
  EXPECT_EQ(PanelTexts(rig.Canvas)[5].Name, rig.Form->TicketText);
}

TEST(Overlays, CrosshairWhileTheCameraTravels) {
  TOverlayRig rig;
  rig.Form->CameraMoving = false;
  rig.Draw();
  for (const auto& c : rig.Canvas.Calls) EXPECT_NE(c.Op, TRecordingCanvas::TOp::Ellipse);
  rig.Form->CameraMoving = true;
  rig.Draw();
  using Op = TRecordingCanvas::TOp;
  std::vector<std::tuple<Op, int32_t, int32_t, int32_t, int32_t>> got;
  for (const auto& c : rig.Canvas.Calls) {
    if (c.Op == Op::MoveTo || c.Op == Op::LineTo || c.Op == Op::Ellipse) {
      EXPECT_EQ(c.Pen.Color, 0x808080u);
      EXPECT_EQ(c.Pen.Width, 1);
      EXPECT_EQ(c.Brush, TBrushStyle::Clear);
      got.emplace_back(c.Op, c.X1, c.Y1, c.X2, c.Y2);
    }
  }
  decltype(got) expected = {{Op::MoveTo, 275, 240, 0, 0},      {Op::LineTo, 365, 240, 0, 0},
                            {Op::MoveTo, 320, 195, 0, 0},      {Op::LineTo, 320, 285, 0, 0},
                            {Op::Ellipse, 280, 200, 360, 280}, {Op::Ellipse, 300, 220, 340, 260},
                            {Op::Ellipse, 315, 235, 325, 245}};
  EXPECT_EQ(got, expected);
  EXPECT_EQ(rig.Canvas.Calls.back().Op, Op::Release);
}

TEST(Overlays, HourGlassesWhileASetupChangeShows) {
  TOverlayRig rig;
  rig.Form->SetupBusy = false;
  rig.Draw();
  EXPECT_TRUE(rig.Drawer.Of("DrawRotatedAdditive").empty());
  rig.Form->SetupBusy = true;
  rig.Form->GlassAlpha = 77;
  rig.Draw();
  auto glass = rig.Drawer.Of("DrawRotatedAdditive");
  ASSERT_EQ(glass.size(), 2u);
  const int32_t y = 240 - 51 / 2;  // 215
  EXPECT_EQ(glass[0].X, 10);
  EXPECT_EQ(glass[1].X, 640 - 33 - 10);
  for (const auto& g : glass) {
    EXPECT_EQ(g.Name, "GlassHours");
    EXPECT_EQ(g.Y, y);
    EXPECT_EQ(g.W, 33);
    EXPECT_EQ(g.H, 51);
    EXPECT_EQ(g.CX, 0.0);
    EXPECT_EQ(g.CY, 0.0);
    EXPECT_EQ(g.Angle, 0);
    EXPECT_EQ(g.Alpha, 77);
    EXPECT_EQ(g.Blend, 1u);
  }
}

TEST(Overlays, BlendingIsOffAroundPlainDrawsAndAfterwards) {
  TOverlayRig rig;
  rig.Form->SetupBusy = true;
  rig.Form->HelpVisible = true;
  rig.Draw();
  for (const auto& c : rig.Drawer.Of("Draw")) EXPECT_EQ(c.Blend, 0u) << c.Name;
  EXPECT_EQ(rig.Drawer.Device->RenderStates[D3DRENDERSTATE_ALPHABLENDENABLE], 0u);
}

TEST(Overlays, AMissingPictureStopsTheFramesOverlays) {
  TOverlayRig rig(0, /*WithGlass=*/false);
  rig.Form->SetupBusy = true;
  try {
    rig.Draw();
    FAIL();
  } catch (const EPictureCollectionError& e) {
    EXPECT_STREQ(e.what(), "Image 'GlassHours' not found");
  }
  EXPECT_EQ(rig.Drawer.Device->RenderStates[D3DRENDERSTATE_ALPHABLENDENABLE], 0u);
}

}  // namespace
