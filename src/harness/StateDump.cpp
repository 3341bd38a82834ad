#include "harness/StateDump.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "DXMain.h"

namespace {

using json = nlohmann::ordered_json;

// The shortest decimal that reads back as the same Single, so 0.02 shows as 0.02. Nine
// digits always do. (Not to_chars: the browser build's library has none for floats.)
json Single(float F) {
  if (!std::isfinite(F)) return nullptr;
  char buf[32];
  for (int digits = 1; digits <= 9; ++digits) {
    std::snprintf(buf, sizeof buf, "%.*g", digits, static_cast<double>(F));
    if (std::strtof(buf, nullptr) == F) break;
  }
  return std::strtod(buf, nullptr);
}

json Vector(const TVector3& V) {
  return {{"X", Single(V.X)}, {"Y", Single(V.Y)}, {"Z", Single(V.Z)}};
}

json Angles(const TAngles3& A) {
  return json::array({A.X, A.Y, A.Z});
}

// A field of the record: its name and how it is written.
template <class T>
struct TField {
  const char* Name;
  json (*Value)(const T&);
};

template <auto Member, class T>
json Plain(const T& Owner) {
  return Owner.*Member;
}

// The fields every 3D object shows, then those only a cube has, then its texture.
constexpr TField<TD3DObject> ObjectFields[] = {
    {"AngleX", Plain<&TD3DObject::AngleX>},
    {"AngleY", Plain<&TD3DObject::AngleY>},
    {"AngleZ", Plain<&TD3DObject::AngleZ>},
    {"Brightness", Plain<&TD3DObject::Brightness>},
    {"Scaling", [](const TD3DObject& O) { return Vector(O.Scaling); }},
    {"Position", [](const TD3DObject& O) { return Vector(O.Position); }},
};
constexpr TField<TD3DCube> CubeFields[] = {
    {"FrontFace", [](const TD3DCube& C) { return json(C.FrontFace()); }},
    {"TopFace", [](const TD3DCube& C) { return json(C.TopFace()); }},
    {"LeftFace", [](const TD3DCube& C) { return json(C.LeftFace()); }},
};

json Object(const TD3DObject* O, const TD3DCube* AsCube = nullptr) {
  if (!O) return nullptr;
  json j;
  for (const auto& f : ObjectFields) j[f.Name] = f.Value(*O);
  if (AsCube)
    for (const auto& f : CubeFields) j[f.Name] = f.Value(*AsCube);
  j["TextureIndex"] = O->TextureIndex;
  return j;
}

json Cube(const TD3DCube* C) {
  return Object(C, C);
}

json Rows(const std::vector<std::vector<TAngles3>>& Table) {
  json rows = json::array();
  for (const auto& row : Table) {
    json r = json::array();
    for (const auto& a : row) r.push_back(Angles(a));
    rows.push_back(std::move(r));
  }
  return rows;
}

using F = TMainForm;

// The record's fields in the order the dump writes them.
constexpr TField<F> FormFields[] = {
    {"GameState", Plain<&F::GameState>},
    {"Level", Plain<&F::Level>},
    {"BoardRows", Plain<&F::BoardRows>},
    {"BoardCols", Plain<&F::BoardCols>},
    {"CursorRow", Plain<&F::CursorRow>},
    {"CursorCol", Plain<&F::CursorCol>},
    {"Credits", Plain<&F::Credits>},
    {"Camera",
     [](const F& M) {
       return Vector({M.Camera.X, M.Camera.Y, M.Camera.Z});
     }},
    {"SetupChoice", Plain<&F::SetupChoice>},
    {"SetupRow", Plain<&F::SetupRow>},
    {"SetupBusy", Plain<&F::SetupBusy>},
    {"HelpVisible", Plain<&F::HelpVisible>},
    {"BackgroundVisible", Plain<&F::BackgroundVisible>},
    {"Rotating", Plain<&F::Rotating>},
    {"Assembling", Plain<&F::Assembling>},
    {"CameraMoving", Plain<&F::CameraMoving>},
    {"SelectGrowing", Plain<&F::SelectGrowing>},
    {"RotateShrinking", Plain<&F::RotateShrinking>},
    {"RotateDir", [](const F& M) { return json(std::string(1, M.RotateDir)); }},
    {"RotateTarget", [](const F& M) { return Angles(M.RotateTarget); }},
    {"CubeScale", [](const F& M) { return Single(M.CubeScale); }},
    {"PanelWidth", Plain<&F::PanelWidth>},
    {"PanelHeight", Plain<&F::PanelHeight>},
    {"GlassAlpha", Plain<&F::GlassAlpha>},
    {"TicketText", Plain<&F::TicketText>},
    {"Edition", Plain<&F::Edition>},
    {"MaxLevel", Plain<&F::MaxLevel>},
    {"TargetAngles", [](const F& M) { return Rows(M.TargetAngles); }},
    {"LanguageIndex",
     [](const F& M) { return json(M.Languages ? M.Languages->LanguageIndex : 0); }},
};

}  // namespace

nlohmann::ordered_json DumpState(const TMainForm& Form, int64_t Frame) {
  json j;
  for (const auto& f : FormFields) j[f.Name] = f.Value(Form);
  j["Frame"] = Frame;
  json board = json::array();
  for (const auto& row : Form.Board) {
    json r = json::array();
    for (const auto& cube : row) r.push_back(Cube(cube.get()));
    board.push_back(std::move(r));
  }
  j["Board"] = std::move(board);
  json setup = json::array();
  for (const auto& cube : Form.SetupCubes) setup.push_back(Object(cube.get()));
  j["SetupCubes"] = std::move(setup);
  j["SetupPanel"] = Object(Form.SetupPanel.get());
  j["BackgroundCube"] = Object(Form.BackgroundCube.get());
  return j;
}

std::string DumpStateLine(const TMainForm& Form, int64_t Frame) {
  return DumpState(Form, Frame).dump(-1, ' ', false, json::error_handler_t::replace);
}
