#include "DXHappy.h"

#include <cmath>

#include "media/DXDisplay.h"
#include "media/Direct3D.h"

const std::array<TVector3, 6> FaceNormals = {{
    {0, 0, -1},
    {0, 0, 1},
    {0, 1, 0},
    {0, -1, 0},
    {1, 0, 0},
    {-1, 0, 0},
}};

namespace {

struct TModelCorner {
  float X, Y, Z, TU, TV;
};

constexpr std::array<TModelCorner, 24> CubeModel = {{
    {-1, 1, -1, 0, 0}, {1, 1, -1, 1, 0},   {-1, -1, -1, 0, 1}, {1, -1, -1, 1, 1},  {-1, 1, 1, 1, 0},
    {-1, -1, 1, 1, 1}, {1, 1, 1, 0, 0},    {1, -1, 1, 0, 1},   {-1, 1, 1, 0, 0},   {1, 1, 1, 1, 0},
    {-1, 1, -1, 0, 1}, {1, 1, -1, 1, 1},   {-1, -1, 1, 0, 0},  {-1, -1, -1, 0, 1}, {1, -1, 1, 1, 0},
    {1, -1, -1, 1, 1}, {1, 1, -1, 0, 0},   {1, 1, 1, 1, 0},    {1, -1, -1, 0, 1},  {1, -1, 1, 1, 1},
    {-1, 1, -1, 1, 0}, {-1, -1, -1, 1, 1}, {-1, 1, 1, 0, 0},   {-1, -1, 1, 0, 1},
}};

// Nearest integer, halves to the even neighbour.
int32_t RoundEven(float V) {
  return static_cast<int32_t>(std::nearbyint(V));
}

int32_t WrapOnce(int32_t A) {
  if (A >= 360) A -= 360;
  if (A < 0) A += 360;
  return A;
}

// Turns (A, B) by the angle whose cosine and sine are given: A' = A c - B s, B' = A s + B c.
void Turn(float& A, float& B, double C, double S) {
  const double a = A, b = B;
  A = static_cast<float>(a * C - b * S);
  B = static_cast<float>(a * S + b * C);
}

}  // namespace

void BuildCubeVertices(std::span<TVertex, 24> Vertices) {
  for (size_t i = 0; i < Vertices.size(); ++i) {
    const auto& c = CubeModel[i];
    Vertices[i] = MakeVertex({c.X, c.Y, c.Z}, FaceNormals[i / 4], c.TU, c.TV);
  }
}

std::array<TVertex, 24> CubeVertices() {
  std::array<TVertex, 24> v;
  BuildCubeVertices(v);
  return v;
}

TD3DObject::TD3DObject(int32_t Count, std::span<const TVertex> Model,
                       std::span<TDirect3DTexture2* const> List, uint8_t B)
    : VertexCount(Count) {
  const size_t n = Count < 0 ? 0 : std::min(static_cast<size_t>(Count), Model.size());
  VertexCount = static_cast<int32_t>(n);
  Vertices.assign(Model.begin(), Model.begin() + static_cast<ptrdiff_t>(n));
  if (!List.empty()) SetTextures(List);
  SetBrightness(B);
}

void TD3DObject::SetBrightness(uint8_t B) {
  Brightness = B;
  AmbientColor = B * 0x01010101u;
}

void TD3DObject::SetTextures(std::span<TDirect3DTexture2* const> List) {
  Textures.clear();
  Textures.resize(List.size());
  for (size_t i = 0; i < List.size(); ++i) SetTexture(static_cast<int32_t>(i), List[i]);
}

void TD3DObject::SetTexture(int32_t Index, TDirect3DTexture2* T) {
  if (Index < 0) return;
  if (Index >= static_cast<int32_t>(Textures.size()) - 1)
    Textures.resize(static_cast<size_t>(Index) + 1);
  Textures[static_cast<size_t>(Index)] = T;
}

void TD3DObject::MoveBy(const TVector3& V) {
  MoveTo({Position.X + V.X, Position.Y + V.Y, Position.Z + V.Z});
}

void TD3DObject::MoveTo(const TVector3& P) {
  for (auto& v : Vertices) {
    v.X = (v.X - Position.X) + P.X;
    v.Y = (v.Y - Position.Y) + P.Y;
    v.Z = (v.Z - Position.Z) + P.Z;
  }
  Position = P;
}

void TD3DObject::ScaleBy(const TVector3& F) {
  Scaling = {Scaling.X * F.X, Scaling.Y * F.Y, Scaling.Z * F.Z};
  for (auto& v : Vertices) {
    v.X = (v.X - Position.X) * F.X + Position.X;
    v.Y = (v.Y - Position.Y) * F.Y + Position.Y;
    v.Z = (v.Z - Position.Z) * F.Z + Position.Z;
  }
}

void TD3DObject::ScaleAll(float S) {
  ScaleBy({S, S, S});
}

void TD3DObject::RotateTo(const TVector3& A) {
  const int32_t ax = RoundEven(A.X), ay = RoundEven(A.Y), az = RoundEven(A.Z);
  // The angle is a Single; its sine and cosine are taken at full precision.
  const double tx = DegToRad(AngleX - ax), ty = DegToRad(AngleY - ay), tz = DegToRad(AngleZ - az);
  const double cx = std::cos(tx), sx = std::sin(tx);
  const double cy = std::cos(ty), sy = std::sin(ty);
  const double cz = std::cos(tz), sz = std::sin(tz);
  for (auto& v : Vertices) {
    v.X -= Position.X;
    v.Y -= Position.Y;
    v.Z -= Position.Z;
    Turn(v.Y, v.Z, cx, sx);
    Turn(v.NY, v.NZ, cx, sx);
    // About Y: X' = X c + Z s, Z' = -X s + Z c, i.e. (Z, X) turned by the same angle.
    Turn(v.Z, v.X, cy, sy);
    Turn(v.NZ, v.NX, cy, sy);
    Turn(v.X, v.Y, cz, sz);
    Turn(v.NX, v.NY, cz, sz);
    v.X += Position.X;
    v.Y += Position.Y;
    v.Z += Position.Z;
  }
  AngleX = WrapOnce(ax);
  AngleY = WrapOnce(ay);
  AngleZ = WrapOnce(az);
}

TDirect3DTexture2* TD3DObject::TextureAt(int32_t Index) const {
  if (Index < 0 || Index >= static_cast<int32_t>(Textures.size())) return nullptr;
  return Textures[static_cast<size_t>(Index)];
}

namespace {
TDeviceTexture* DeviceTexture(TDirect3DTexture2* T) {
  return T ? T->Surface() : nullptr;
}
}  // namespace

void TD3DObject::Draw(TDirect3DDevice7& Device) const {
  Device.SetTexture(0, DeviceTexture(TextureAt(TextureIndex)));
  const uint32_t saved = Device.GetRenderState(D3DRENDERSTATE_AMBIENT);
  Device.SetRenderState(D3DRENDERSTATE_AMBIENT, AmbientColor);
  Device.DrawPrimitive(TD3DPrimitiveType::TriangleStrip, D3DFVF_VERTEX,
                       std::span<const TVertex>(Vertices.data(), Vertices.size()), 0);
  Device.SetRenderState(D3DRENDERSTATE_AMBIENT, saved);
}

TD3DCube::TD3DCube(std::span<const TVertex> Model, std::span<TDirect3DTexture2* const> List,
                   uint8_t B)
    : TD3DObject(24, Model, List, B) {}

void TD3DCube::Draw(TDirect3DDevice7& Device) const {
  const uint32_t saved = Device.GetRenderState(D3DRENDERSTATE_AMBIENT);
  Device.SetRenderState(D3DRENDERSTATE_AMBIENT, AmbientColor);
  const std::span<const TVertex> all(Vertices.data(), Vertices.size());
  for (int32_t f = 0; f < 6 && 4 * f + 4 <= static_cast<int32_t>(all.size()); ++f) {
    Device.SetTexture(0, DeviceTexture(TextureAt(TextureIndex + f)));
    Device.DrawPrimitive(TD3DPrimitiveType::TriangleStrip, D3DFVF_VERTEX,
                         all.subspan(static_cast<size_t>(4 * f), 4), 0);
  }
  Device.SetRenderState(D3DRENDERSTATE_AMBIENT, saved);
}

int32_t TD3DCube::FrontFace() const {
  for (int32_t f = 0; f < 6; ++f)
    if (RoundEven(Vertices[static_cast<size_t>(4 * f)].NZ) < 0) return f;
  return NoFace;
}

int32_t TD3DCube::TopFace() const {
  for (int32_t f = 0; f < 6; ++f)
    if (RoundEven(Vertices[static_cast<size_t>(4 * f)].NY) > 0) return f;
  return NoFace;
}

int32_t TD3DCube::LeftFace() const {
  for (int32_t f = 0; f < 6; ++f)
    if (RoundEven(Vertices[static_cast<size_t>(4 * f)].NX) < 0) return f;
  return NoFace;
}

void TD3DCube::ResetFaceMapping() {
  static constexpr float Corner[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
  for (size_t i = 0; i < Vertices.size(); ++i) {
    Vertices[i].TU = Corner[i % 4][0];
    Vertices[i].TV = Corner[i % 4][1];
  }
}

THLanguages::THLanguages() {
  AddString("Language", "English language", "Slovansky jazyk");
}

void THLanguages::AddString(const std::string& Key, const std::string& Text0,
                            const std::string& Text1) {
  Strings.push_back({Key, {Text0, Text1}});
}

const std::string& THLanguages::GetString(std::string_view Key) const {
  static const std::string Absent = ".";
  for (const auto& s : Strings)
    if (s.Key == Key) return s.Texts[LanguageIndex == 0 ? 0 : 1];
  return Absent;
}
