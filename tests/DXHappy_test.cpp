#include "DXHappy.h"

#include <gtest/gtest.h>

#include <cmath>

#include "RecordingDevice.h"

namespace {

TD3DCube NewCube() {
  const auto model = CubeVertices();
  return TD3DCube(model, {}, 192);
}

TEST(CubeModel, NewCubeShowsFaceZeroUprightInFront) {
  const auto c = NewCube();
  ASSERT_EQ(c.Vertices.size(), 24u);
  for (int k = 0; k < 4; ++k) EXPECT_EQ(c.Vertices[static_cast<size_t>(k)].Z, -1.0f);
  for (int k = 4; k < 8; ++k) EXPECT_EQ(c.Vertices[static_cast<size_t>(k)].Z, 1.0f);
  // Face 0: TU grows to the right, TV downwards.
  EXPECT_EQ(c.Vertices[0].X, -1.0f);
  EXPECT_EQ(c.Vertices[0].Y, 1.0f);
  EXPECT_EQ(c.Vertices[1].TU, 1.0f);
  EXPECT_EQ(c.Vertices[2].TV, 1.0f);
  EXPECT_EQ(c.FrontFace(), 0);
  EXPECT_EQ(c.TopFace(), 2);
  EXPECT_EQ(c.LeftFace(), 5);
  EXPECT_EQ(c.AmbientColor, 0xC0C0C0C0u);
  EXPECT_EQ(c.Scaling.X, 1.0f);
}

TEST(CubeModel, EveryFaceWindsClockwiseSeenFromOutside) {
  const auto v = CubeVertices();
  for (int f = 0; f < 6; ++f) {
    const auto& a = v[static_cast<size_t>(4 * f)];
    const auto& b = v[static_cast<size_t>(4 * f + 1)];
    const auto& c = v[static_cast<size_t>(4 * f + 2)];
    // In left-handed world space (b - a) x (c - a) points outwards for a clockwise triangle.
    const float ux = b.X - a.X, uy = b.Y - a.Y, uz = b.Z - a.Z;
    const float wx = c.X - a.X, wy = c.Y - a.Y, wz = c.Z - a.Z;
    const float nx = uy * wz - uz * wy, ny = uz * wx - ux * wz, nz = ux * wy - uy * wx;
    EXPECT_GT(nx * a.NX + ny * a.NY + nz * a.NZ, 0.0f) << "face " << f;
  }
}

TEST(RotateTo, QuarterTurnAboutYBringsTheLeftFaceToTheFront) {
  auto c = NewCube();
  c.RotateTo({0, 90, 0});
  EXPECT_NEAR(c.Vertices[0].NX, 1.0f, 1e-6);
  EXPECT_NEAR(c.Vertices[0].NZ, 0.0f, 1e-6);
  EXPECT_NEAR(c.Vertices[20].NZ, -1.0f, 1e-6);
  EXPECT_EQ(c.FrontFace(), 5);
  EXPECT_EQ(c.TopFace(), 2);
  EXPECT_EQ(c.LeftFace(), 1);
  EXPECT_EQ(c.AngleY, 90);
}

TEST(RotateTo, TurnsAboutTheCentreAndChangesNothingAtTheCurrentAngles) {
  auto c = NewCube();
  c.MoveTo({2, 1, 3});
  const auto before = c.Vertices;
  c.RotateTo({0, 0, 0});
  for (size_t i = 0; i < before.size(); ++i) {
    EXPECT_EQ(c.Vertices[i].X, before[i].X);
    EXPECT_EQ(c.Vertices[i].NZ, before[i].NZ);
  }
  c.RotateTo({90, 0, 0});
  float cx = 0, cy = 0, cz = 0;
  for (const auto& v : c.Vertices) cx += v.X, cy += v.Y, cz += v.Z;
  EXPECT_NEAR(cx / 24, 2.0f, 1e-5);
  EXPECT_NEAR(cy / 24, 1.0f, 1e-5);
  EXPECT_NEAR(cz / 24, 3.0f, 1e-5);
}

TEST(RotateTo, StoredAnglesAreCorrectedOnceAndRoundedHalfToEven) {
  struct {
    float Target;
    int32_t Stored;
  } cases[] = {{-90, 270}, {360, 0}, {720, 360}, {2.5f, 2}, {3.5f, 4}, {-0.5f, 0}};
  for (const auto& k : cases) {
    auto c = NewCube();
    c.RotateTo({0, k.Target, 0});
    EXPECT_EQ(c.AngleY, k.Stored) << k.Target;
  }
}

TEST(Objects, SetTextureGrowsTheListAndScaleByFlattensAQuad) {
  const auto model = CubeVertices();
  TD3DObject quad(4, model, {}, 240);
  ASSERT_EQ(quad.Vertices.size(), 4u);
  quad.SetTexture(5, nullptr);
  EXPECT_EQ(quad.Textures.size(), 6u);
  quad.ScaleBy({1, 1, 0.1f});
  EXPECT_EQ(quad.Vertices[0].X, -1.0f);
  EXPECT_EQ(quad.Vertices[3].Y, -1.0f);
  EXPECT_NEAR(quad.Vertices[0].Z, -0.1f, 1e-7);
  EXPECT_NEAR(quad.Scaling.Z, 0.1f, 1e-7);
  quad.SetBrightness(7);
  EXPECT_EQ(quad.AmbientColor, 0x07070707u);
}

TEST(Draw, CubeDrawsSixStripsUnderItsOwnAmbientAndRestoresIt) {
  TRecordingDevice d;
  d.SetRenderState(D3DRENDERSTATE_AMBIENT, 0x11111111);
  d.Calls.clear();
  auto c = NewCube();
  c.SetBrightness(200);
  c.Draw(d);
  const auto draws = d.Of(TRecordingDevice::TOp::DrawPrimitive);
  ASSERT_EQ(draws.size(), 6u);
  for (size_t f = 0; f < 6; ++f) {
    ASSERT_EQ(draws[f].Vertices.size(), 4u);
    EXPECT_EQ(draws[f].Vertices[0].NZ, c.Vertices[4 * f].NZ);
    EXPECT_EQ(draws[f].Format, 0x112u);
    EXPECT_EQ(draws[f].Value, 5u);
  }
  const auto states = d.Of(TRecordingDevice::TOp::SetRenderState);
  ASSERT_EQ(states.size(), 2u);
  EXPECT_EQ(states[0].Value, 200u * 0x01010101u);
  EXPECT_EQ(states[1].Value, 0x11111111u);
  EXPECT_EQ(d.Of(TRecordingDevice::TOp::SetTexture).size(), 6u);

  d.Calls.clear();
  const auto model = CubeVertices();
  TD3DObject quad(4, model, {}, 240);
  quad.Draw(d);
  ASSERT_EQ(d.Calls.size(), 5u);
  EXPECT_EQ(d.Calls[0].Op, TRecordingDevice::TOp::SetTexture);
  EXPECT_EQ(d.Calls[1].Op, TRecordingDevice::TOp::GetRenderState);
  EXPECT_EQ(d.Calls[3].Vertices.size(), 4u);
  EXPECT_EQ(d.Calls[4].Value, 0x11111111u);
}

TEST(Languages, LooksUpTheCurrentLanguageAndAnswersADotForAbsentKeys) {
  THLanguages l;
  EXPECT_EQ(l.GetString("Language"), "Slovansky jazyk");
  l.LanguageIndex = 0;
  EXPECT_EQ(l.GetString("Language"), "English language");
  l.AddString("Help1", "one ", " jeden");
  l.AddString("Help1", "other", "iny");
  EXPECT_EQ(l.GetString("Help1"), "one ");
  EXPECT_EQ(l.GetString("help1"), ".");
  EXPECT_EQ(l.GetString(""), ".");
}

}  // namespace
