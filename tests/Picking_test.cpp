// Picking against the picture: a frame of the form is recorded, its draws are played again on
// the OpenGL device with every object in a flat colour of its own, and what the form finds
// under a point must be the object whose colour the picture has there.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "FormRig.h"
#include "GLContext.h"
#include "Solver.h"
#include "media/DIB.h"

namespace {

// What a pixel of the picture shows.
struct TShown {
  std::optional<TBoardCell> Cell;
  std::optional<int32_t> SetupRow;
  bool operator==(const TShown&) const = default;
};

std::string Describe(const TShown& S) {
  if (S.Cell) return "cell " + std::to_string(S.Cell->Row) + "," + std::to_string(S.Cell->Col);
  if (S.SetupRow) return "setup row " + std::to_string(*S.SetupRow);
  return "nothing";
}

// The colour of the object drawn k-th, as 0xRRGGBB; all differ and none is black.
uint32_t FlatColour(size_t K) {
  const uint32_t k = static_cast<uint32_t>(K);
  return (40 + 6 * k) << 16 | (250 - 7 * k) << 8 | ((k * 53 + 17) & 0xFF);
}

class Picking : public ::testing::Test {
 protected:
  static constexpr int32_t W = 640, H = 480;

  static void SetUpTestSuite() { Display = std::make_unique<TTestDisplay>(); }
  static void TearDownTestSuite() {
    FlatTextures.clear();
    Display.reset();
  }

  void SetUp() override {
    ASSERT_TRUE(Display->Ready());
    if (FlatTextures.empty()) {
      for (size_t k = 0; k < 40; ++k) {
        const uint32_t c = FlatColour(k);
        const std::vector<uint8_t> rgba{static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8),
                                        static_cast<uint8_t>(c), 255};
        FlatTextures.push_back(
            std::make_unique<TDirect3DTexture2>(*Display->Draw, TDIB::FromRGBA(1, 1, rgba, 32)));
      }
    }
    Rig.Show();
    // The device states the surface handler set.
    for (const auto& c : Rig.Device->Calls) {
      if (c.Op == TRecordingDevice::TOp::SetViewport) Viewport = c.Viewport;
      if (c.Op == TRecordingDevice::TOp::SetTransform &&
          c.State == static_cast<uint32_t>(TD3DTransformState::Projection))
        Projection = c.Matrix;
      if (c.Op == TRecordingDevice::TOp::SetTransform &&
          c.State == static_cast<uint32_t>(TD3DTransformState::World))
        World = c.Matrix;
    }
    Rig.Device->Recording = false;
  }

  // Runs one frame of the form and draws it again in flat colours; returns what each drawn
  // pixel shows, top row first.
  std::vector<TShown> FlatFrame() {
    auto& device = *Rig.Device;
    device.Calls.clear();
    device.Recording = true;
    Rig.Frame();
    device.Recording = false;
    std::vector<const TRecordingDevice::TCall*> draws;
    for (const auto& c : device.Calls) {
      if (c.Op == TRecordingDevice::TOp::SetTransform &&
          c.State == static_cast<uint32_t>(TD3DTransformState::World))
        World = c.Matrix;
      if (c.Op == TRecordingDevice::TOp::DrawPrimitive) draws.push_back(&c);
    }
    // The frame draws its objects in this order, a cube as six faces.
    std::vector<TShown> shows;
    std::vector<size_t> drawsOf;
    Rig.Form->ForEachSceneItem([&](const TSceneItem& Item) {
      TShown s;
      if (Item.Part == TSceneItem::BoardCube) s.Cell = TBoardCell{Item.Row, Item.Col};
      if (Item.Part == TSceneItem::SetupCube) s.SetupRow = Item.Row;
      shows.push_back(s);
      drawsOf.push_back(Item.Cube ? 6 : 1);
    });
    size_t expected = 0;
    for (size_t n : drawsOf) expected += n;
    EXPECT_GE(draws.size(), expected);
    EXPECT_LE(shows.size(), FlatTextures.size());
    if (draws.size() < expected || shows.size() > FlatTextures.size()) return {};

    TDirect3DDevice7& gl = *Display->Draw->D3DDevice7();
    gl.SetViewport(Viewport);
    TD3DMaterial m;
    m.Diffuse = {1, 1, 1, 0};
    m.Ambient = {1, 1, 1, 0};
    gl.SetMaterial(m);
    gl.SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 0);
    gl.SetRenderState(D3DRENDERSTATE_AMBIENT, 0xFFFFFFFF);
    gl.SetTransform(TD3DTransformState::Projection, Projection);
    gl.SetTransform(TD3DTransformState::World, World);
    gl.Clear({0, 0, W, H}, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    gl.BeginScene();
    size_t next = 0;
    std::map<uint32_t, TShown> byColour;
    for (size_t k = 0; k < shows.size(); ++k) {
      byColour[FlatColour(k)] = shows[k];
      gl.SetTexture(0, FlatTextures[k]->Surface());
      for (size_t d = 0; d < drawsOf[k]; ++d, ++next) {
        const auto& call = *draws[next];
        gl.DrawPrimitive(static_cast<TD3DPrimitiveType>(call.Value), call.Format, call.Vertices, 0);
      }
    }
    gl.EndScene();

    const TSurfacePixels pixels = Display->Backend->ReadSurface();
    EXPECT_EQ(pixels.Width, W);
    EXPECT_EQ(pixels.Height, H);
    std::vector<TShown> picture(static_cast<size_t>(W * H));
    for (size_t i = 0; i < picture.size() && 4 * i + 2 < pixels.RGBA.size(); ++i) {
      const uint32_t c = static_cast<uint32_t>(pixels.RGBA[4 * i]) << 16 |
                         static_cast<uint32_t>(pixels.RGBA[4 * i + 1]) << 8 |
                         pixels.RGBA[4 * i + 2];
      if (c == 0) continue;
      const auto it = byColour.find(c);
      if (it == byColour.end()) {
        ADD_FAILURE() << "colour " << std::hex << c << " belongs to no object";
        return {};
      }
      picture[i] = it->second;
    }
    return picture;
  }

  TShown PickAt(float X, float Y) const {
    return {Rig.Form->BoardCellAt(X, Y), Rig.Form->SetupRowAt(X, Y)};
  }

  struct TTally {
    int32_t Cells = 0;      // samples that show a board cube
    int32_t SetupRows = 0;  // samples that show a setup bar
    int32_t Ties = 0;       // mismatches within an eighth of a pixel of an edge
    int32_t Samples = 0;
  };

  // Every Step-th pixel's centre must pick what the picture shows there. Where the two differ
  // the centre must lie on an edge: a point an eighth of a pixel away picks what is shown.
  TTally ExpectPicksMatch(const std::vector<TShown>& Picture, int32_t Step = 8) {
    TTally t;
    if (Picture.empty()) return t;
    int32_t failures = 0;
    for (int32_t y = Step / 2; y < H; y += Step) {
      for (int32_t x = Step / 2; x < W; x += Step) {
        const TShown& shown = Picture[static_cast<size_t>(y * W + x)];
        ++t.Samples;
        if (shown.Cell) ++t.Cells;
        if (shown.SetupRow) ++t.SetupRows;
        const float cx = static_cast<float>(x) + 0.5f, cy = static_cast<float>(y) + 0.5f;
        const TShown picked = PickAt(cx, cy);
        if (picked == shown) continue;
        bool tie = false;
        for (float dx : {-0.125f, 0.0f, 0.125f})
          for (float dy : {-0.125f, 0.0f, 0.125f}) tie = tie || PickAt(cx + dx, cy + dy) == shown;
        if (tie) {
          ++t.Ties;
        } else if (++failures <= 5) {
          ADD_FAILURE() << "pixel " << x << "," << y << " shows " << Describe(shown)
                        << ", the pick finds " << Describe(picked);
        }
      }
    }
    EXPECT_EQ(failures, 0);
    // Ties are rare: a handful of pixel centres that fall on an edge.
    EXPECT_LT(t.Ties, t.Samples / 200 + 3);
    return t;
  }

  // Play on the board of the given level, assembled and at rest.
  void PlayLevel(int32_t Level) {
    auto& f = *Rig.Form;
    if (f.GameState == 3 || f.GameState == 4) {
      Rig.RunUntilState(4);
      Rig.Press(VK::Return);
    }
    if (f.Level != Level) {
      f.Level = Level - 1;
      f.GameState = 1;
      Rig.Key(0x12, true);
      Rig.Frame();
      Rig.Key(0x12, false);
    }
    Settle(Rig);
    ASSERT_EQ(f.GameState, 2);
    ASSERT_EQ(f.BoardRows, Level + 1);
  }

  static inline std::unique_ptr<TTestDisplay> Display;
  static inline std::vector<std::unique_ptr<TDirect3DTexture2>> FlatTextures;
  TFormRig Rig;
  TD3DViewport Viewport;
  TMatrix4 Projection, World;
};

TEST_F(Picking, EveryBoardSizeAtEveryZoomAndMidTravelPicksTheCubeDrawn) {
  auto& f = *Rig.Form;
  for (int32_t level = 1; level <= 4; ++level) {
    PlayLevel(level);
    const int32_t n = f.BoardRows;
    for (float zoom : {0.0f, 10.0f, 2.0f}) {
      SCOPED_TRACE(testing::Message() << n << " x " << n << " at zoom " << zoom);
      f.Camera.Z = zoom;
      const TTally t = ExpectPicksMatch(FlatFrame());
      EXPECT_GT(t.Cells, 0);
      // From zoom 10 every cube is in sight, its centre at depth 13.
      if (zoom == 10.0f) {
        for (int32_t i = 0; i < n; ++i)
          for (int32_t j = 0; j < n; ++j) {
            const float x = 320 + 320 * 2 * static_cast<float>(j - f.CursorCol) / 13;
            const float y = 240 - 240 * 2 * static_cast<float>(i - f.CursorRow) / 13;
            EXPECT_EQ(f.BoardCellAt(x, y), (TBoardCell{i, j})) << "centre of " << i << "," << j;
          }
      }
    }
    SCOPED_TRACE(testing::Message() << n << " x " << n << " mid travel");
    // On the way to another cell on both axes, half a cell or more still to go.
    f.CursorRow = f.CursorRow == 0 ? 1 : 0;
    f.CursorCol = f.CursorCol == 0 ? 1 : 0;
    Rig.Frames(24);
    const TTally t = ExpectPicksMatch(FlatFrame());
    EXPECT_TRUE(f.CameraMoving);
    EXPECT_NE(f.Camera.X, std::round(f.Camera.X));
    EXPECT_GT(t.Cells, 0);
    Settle(Rig);
  }
}

TEST_F(Picking, CubesStillTurningBehindTheDepartingSetupPicksWhatIsInFront) {
  auto& f = *Rig.Form;
  Rig.RunUntilState(4);
  Rig.Press(VK::Return);
  // Far enough into the departure that the panel no longer hides the whole board and the
  // spinning bars no longer cross each other in one plane, where the picture's own depth
  // test decides by rounding.
  Rig.Frames(30);
  ASSERT_EQ(f.GameState, 2);
  ASSERT_TRUE(f.Assembling);
  const TTally t = ExpectPicksMatch(FlatFrame());
  EXPECT_GT(t.Cells, 0);
  EXPECT_GT(t.SetupRows, 0);
}

TEST_F(Picking, SetupBarsMapToTheirRowsOnTheSetupScreen) {
  auto& f = *Rig.Form;
  Rig.RunUntilState(4);
  Rig.Press(VK::Down);  // another row forward than the start's
  Rig.Frames(30);
  ASSERT_EQ(f.GameState, 4);
  const std::vector<TShown> picture = FlatFrame();
  const TTally t = ExpectPicksMatch(picture, 4);
  EXPECT_EQ(t.Cells, 0);
  // Down the middle column, the rows from the top: 4, 3, 2, 1, 0, each once.
  std::vector<int32_t> seen;
  for (int32_t y = 0; y < H; ++y) {
    const auto row = f.SetupRowAt(320.5f, static_cast<float>(y) + 0.5f);
    if (row && (seen.empty() || seen.back() != *row)) seen.push_back(*row);
  }
  EXPECT_EQ(seen, (std::vector<int32_t>{4, 3, 2, 1, 0}));
}

TEST_F(Picking, PointsBetweenCubesAndOutsideThePictureFindNothing) {
  auto& f = *Rig.Form;
  PlayLevel(2);
  ASSERT_EQ(f.Camera.Z, 2.0f);
  const int32_t r = f.CursorRow, c = f.CursorCol;
  // Camera on the cursor: cube centres at depth 5, one cell apart is 2/5 of the half-width.
  struct Case {
    float X, Y;
    std::optional<TBoardCell> Want;
  } cases[] = {
      {320, 240, TBoardCell{r, c}},
      {448, 240, TBoardCell{r, c + 1}},
      {320, 144, TBoardCell{r + 1, c}},
      {192, 336, TBoardCell{r - 1, c - 1}},
      {384, 240, std::nullopt},  // half a cell right of the centre: the gap
      {320, 192, std::nullopt},  // half a cell up
      {384, 192, std::nullopt},  // where four cubes meet
      {-1, 240, std::nullopt},
      {641, 240, std::nullopt},
      {320, -0.5f, std::nullopt},
      {320, 1e30f, std::nullopt},
      {std::nanf(""), 240, std::nullopt},
      {320, -std::numeric_limits<float>::infinity(), std::nullopt},
  };
  for (const Case& k : cases) {
    EXPECT_EQ(f.BoardCellAt(k.X, k.Y), k.Want) << k.X << "," << k.Y;
    EXPECT_EQ(f.SetupRowAt(k.X, k.Y), std::nullopt) << k.X << "," << k.Y;
  }
}

}  // namespace
