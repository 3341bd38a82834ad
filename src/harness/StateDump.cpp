#include "harness/StateDump.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "DXMain.h"

namespace {

using json = nlohmann::ordered_json;

// The shortest decimal that reads back as the same Single, so 0.02 shows as 0.02.
json Single(float F) {
  if (!std::isfinite(F)) return nullptr;
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf - 1, F);
  *end = '\0';
  return std::strtod(buf, nullptr);
}

json Vector(const TVector3& V) {
  return {{"X", Single(V.X)}, {"Y", Single(V.Y)}, {"Z", Single(V.Z)}};
}

json Angles(const TAngles3& A) {
  return json::array({A.X, A.Y, A.Z});
}

json Object(const TD3DObject* O) {
  if (!O) return nullptr;
  json j;
  j["AngleX"] = O->AngleX;
  j["AngleY"] = O->AngleY;
  j["AngleZ"] = O->AngleZ;
  j["Brightness"] = O->Brightness;
  j["Scaling"] = Vector(O->Scaling);
  j["Position"] = Vector(O->Position);
  j["TextureIndex"] = O->TextureIndex;
  return j;
}

json Cube(const TD3DCube* C) {
  if (!C) return nullptr;
  json j;
  j["AngleX"] = C->AngleX;
  j["AngleY"] = C->AngleY;
  j["AngleZ"] = C->AngleZ;
  j["Brightness"] = C->Brightness;
  j["Scaling"] = Vector(C->Scaling);
  j["Position"] = Vector(C->Position);
  j["FrontFace"] = C->FrontFace();
  j["TopFace"] = C->TopFace();
  j["LeftFace"] = C->LeftFace();
  j["TextureIndex"] = C->TextureIndex;
  return j;
}

}  // namespace

nlohmann::ordered_json DumpState(const TMainForm& F, int64_t Frame) {
  json j;
  j["GameState"] = F.GameState;
  j["Level"] = F.Level;
  j["BoardRows"] = F.BoardRows;
  j["BoardCols"] = F.BoardCols;
  j["CursorRow"] = F.CursorRow;
  j["CursorCol"] = F.CursorCol;
  j["Credits"] = F.Credits;
  j["Camera"] = {{"X", Single(F.Camera.X)}, {"Y", Single(F.Camera.Y)}, {"Z", Single(F.Camera.Z)}};
  j["SetupChoice"] = F.SetupChoice;
  j["SetupRow"] = F.SetupRow;
  j["SetupBusy"] = F.SetupBusy;
  j["HelpVisible"] = F.HelpVisible;
  j["BackgroundVisible"] = F.BackgroundVisible;
  j["Rotating"] = F.Rotating;
  j["Assembling"] = F.Assembling;
  j["CameraMoving"] = F.CameraMoving;
  j["SelectGrowing"] = F.SelectGrowing;
  j["RotateShrinking"] = F.RotateShrinking;
  j["RotateDir"] = std::string(1, F.RotateDir);
  j["RotateTarget"] = Angles(F.RotateTarget);
  j["CubeScale"] = Single(F.CubeScale);
  j["PanelWidth"] = F.PanelWidth;
  j["PanelHeight"] = F.PanelHeight;
  j["GlassAlpha"] = F.GlassAlpha;
  j["TicketText"] = F.TicketText;
  j["Edition"] = F.Edition;
  j["MaxLevel"] = F.MaxLevel;
  json target = json::array();
  for (const auto& row : F.TargetAngles) {
    json r = json::array();
    for (const auto& a : row) r.push_back(Angles(a));
    target.push_back(std::move(r));
  }
  j["TargetAngles"] = std::move(target);
  j["LanguageIndex"] = F.Languages ? F.Languages->LanguageIndex : 0;
  j["Frame"] = Frame;
  json board = json::array();
  for (const auto& row : F.Board) {
    json r = json::array();
    for (const auto& cube : row) r.push_back(Cube(cube.get()));
    board.push_back(std::move(r));
  }
  j["Board"] = std::move(board);
  json setup = json::array();
  for (const auto& cube : F.SetupCubes) setup.push_back(Object(cube.get()));
  j["SetupCubes"] = std::move(setup);
  j["SetupPanel"] = Object(F.SetupPanel.get());
  j["BackgroundCube"] = Object(F.BackgroundCube.get());
  return j;
}

std::string DumpStateLine(const TMainForm& Form, int64_t Frame) {
  return DumpState(Form, Frame).dump(-1, ' ', false, json::error_handler_t::replace);
}
