#include "harness/StateDump.h"

#include <gtest/gtest.h>

#include "FormRig.h"

namespace {

using json = nlohmann::ordered_json;

void ExpectObject(const json& O, bool IsCube) {
  ASSERT_TRUE(O.is_object());
  std::vector<std::string> keys = {"AngleX",     "AngleY",  "AngleZ",
                                   "Brightness", "Scaling", "Position"};
  if (IsCube) keys.insert(keys.end(), {"FrontFace", "TopFace", "LeftFace"});
  keys.push_back("TextureIndex");
  std::vector<std::string> got;
  for (const auto& [k, v] : O.items()) got.push_back(k);
  EXPECT_EQ(got, keys);
  for (const char* k : {"AngleX", "AngleY", "AngleZ", "Brightness", "TextureIndex"})
    EXPECT_TRUE(O[k].is_number_integer()) << k;
  for (const char* k : {"Scaling", "Position"}) {
    ASSERT_TRUE(O[k].is_object());
    for (const char* c : {"X", "Y", "Z"}) EXPECT_TRUE(O[k][c].is_number()) << k << c;
  }
  if (IsCube) {
    for (const char* k : {"FrontFace", "TopFace", "LeftFace"})
      EXPECT_TRUE(O[k].is_number_integer());
  }
}

TEST(StateDump, FieldNamesAndTypes) {
  TFormRig rig(3);
  rig.Show();
  rig.Frames(5);
  auto& f = *rig.Form;
  f.RotateDir = 'L';
  f.RotateTarget = {90, 180, 270};
  json j = DumpState(f, 5);

  const char* integers[] = {"GameState",  "Level",   "BoardRows", "BoardCols",     "CursorRow",
                            "CursorCol",  "Credits", "SetupRow",  "PanelWidth",    "PanelHeight",
                            "GlassAlpha", "Edition", "MaxLevel",  "LanguageIndex", "Frame"};
  for (const char* k : integers) EXPECT_TRUE(j.at(k).is_number_integer()) << k;
  // The record's order, as tools read it.
  const std::vector<std::string> order = {
      "GameState",         "Level",           "BoardRows",   "BoardCols",
      "CursorRow",         "CursorCol",       "Credits",     "Camera",
      "SetupChoice",       "SetupRow",        "SetupBusy",   "HelpVisible",
      "BackgroundVisible", "Rotating",        "Assembling",  "CameraMoving",
      "SelectGrowing",     "RotateShrinking", "RotateDir",   "RotateTarget",
      "CubeScale",         "PanelWidth",      "PanelHeight", "GlassAlpha",
      "TicketText",        "Edition",         "MaxLevel",    "TargetAngles",
      "LanguageIndex",     "Frame",           "Board",       "SetupCubes",
      "SetupPanel",        "BackgroundCube"};
  std::vector<std::string> keys;
  for (const auto& [k, v] : j.items()) keys.push_back(k);
  EXPECT_EQ(keys, order);
  const char* booleans[] = {"SetupBusy",  "HelpVisible",  "BackgroundVisible", "Rotating",
                            "Assembling", "CameraMoving", "SelectGrowing",     "RotateShrinking"};
  for (const char* k : booleans) EXPECT_TRUE(j.at(k).is_boolean()) << k;
  EXPECT_TRUE(j.at("CubeScale").is_number());
  EXPECT_EQ(j.at("RotateDir"), "L");
  EXPECT_EQ(j.at("RotateTarget"), json::array({90, 180, 270}));
  EXPECT_EQ(j.at("Camera").size(), 3u);
  EXPECT_EQ(j.at("Camera").at("Z"), 2.0);
  EXPECT_EQ(j.at("SetupChoice"), json::array({0, 1, 0, 0, 0}));
  EXPECT_EQ(j.at("TicketText"), f.TicketText);
  EXPECT_EQ(j.at("Frame"), 5);
  EXPECT_EQ(j.at("LanguageIndex"), 1);

  ASSERT_EQ(j.at("TargetAngles").size(), 2u);
  for (const auto& row : j.at("TargetAngles")) {
    ASSERT_EQ(row.size(), 2u);
    for (const auto& a : row) {
      ASSERT_EQ(a.size(), 3u);
      for (const auto& v : a) EXPECT_TRUE(v.is_number_integer());
    }
  }
  ASSERT_EQ(j.at("Board").size(), 2u);
  for (const auto& row : j.at("Board")) {
    ASSERT_EQ(row.size(), 2u);
    for (const auto& cube : row) ExpectObject(cube, true);
  }
  // Row 0 first, column 0 first: cell (row 1, column 0) stands at X 0, Y 1.
  EXPECT_EQ(j["Board"][1][0]["FrontFace"], f.Board[1][0]->FrontFace());
  EXPECT_EQ(j["Board"][1][0]["Position"]["Y"].get<double>(), f.Board[1][0]->Position.Y);
  ASSERT_EQ(j.at("SetupCubes").size(), 5u);
  for (const auto& cube : j.at("SetupCubes")) ExpectObject(cube, false);
  ExpectObject(j.at("SetupPanel"), false);
  ExpectObject(j.at("BackgroundCube"), false);
}

TEST(StateDump, SinglesShowTheirShortestForm) {
  TFormRig rig;
  rig.Form->CubeScale = 0.02f;
  rig.Form->Camera = {0.1f, -2.5f, 1e-7f};
  json j = DumpState(*rig.Form, 0);
  EXPECT_EQ(j["CubeScale"].dump(), "0.02");
  EXPECT_EQ(j["Camera"].dump(), R"({"X":0.1,"Y":-2.5,"Z":1e-07})");
  EXPECT_EQ(static_cast<float>(j["CubeScale"].get<double>()), 0.02f);
}

TEST(StateDump, OneLineForTheTrace) {
  TFormRig rig;
  std::string line = DumpStateLine(*rig.Form, 7);
  EXPECT_EQ(line.find('\n'), std::string::npos);
  EXPECT_EQ(json::parse(line), DumpState(*rig.Form, 7));
  EXPECT_EQ(line.rfind("{\"GameState\":3,", 0), 0u);
}

}  // namespace
