// The game's 3D objects, which bake every move, turn and scale into their own vertices, and the
// two-language text table.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "Vectors.h"

class TDirect3DDevice7;
class TDirect3DTexture2;

// Unit normals of the six cube faces: front, back, top, bottom, right, left.
extern const std::array<TVector3, 6> FaceNormals;

// Answer of a face query when no face matches.
constexpr int32_t NoFace = 7;

// The 24-vertex cube of side 2 centred on the origin; face f owns vertices 4f..4f+3.
void BuildCubeVertices(std::span<TVertex, 24> Vertices);
std::array<TVertex, 24> CubeVertices();

class TD3DObject {
 public:
  // Copies the first VertexCount vertices; the textures are referred to, never owned.
  TD3DObject(int32_t VertexCount, std::span<const TVertex> Vertices,
             std::span<TDirect3DTexture2* const> Textures, uint8_t Brightness);

  std::vector<TVertex> Vertices;
  int32_t VertexCount = 0;
  std::vector<TDirect3DTexture2*> Textures;
  int32_t TextureIndex = 0;
  uint8_t Brightness = 0;
  uint32_t AmbientColor = 0;
  TVector3 Position;
  int32_t AngleX = 0, AngleY = 0, AngleZ = 0;
  TVector3 Scaling{1, 1, 1};

  void SetBrightness(uint8_t B);
  void SetTextures(std::span<TDirect3DTexture2* const> List);
  void SetTexture(int32_t Index, TDirect3DTexture2* T);

  void MoveBy(const TVector3& V);
  void MoveTo(const TVector3& P);
  void ScaleBy(const TVector3& F);
  void ScaleAll(float S);
  // Target angles in degrees; each is taken to the nearest integer (halves to even).
  void RotateTo(const TVector3& A);

  // One triangle strip of all vertices with texture TextureIndex.
  void Draw(TDirect3DDevice7& Device) const;

 protected:
  TDirect3DTexture2* TextureAt(int32_t Index) const;
};

class TD3DCube : public TD3DObject {
 public:
  TD3DCube(std::span<const TVertex> Vertices, std::span<TDirect3DTexture2* const> Textures,
           uint8_t Brightness);

  // Each face with its own texture, from TextureIndex on.
  void Draw(TDirect3DDevice7& Device) const;

  int32_t FrontFace() const;
  int32_t TopFace() const;
  int32_t LeftFace() const;
  // Every face shows its whole texture upright.
  void ResetFaceMapping();
};

struct THStrings {
  std::string Key;
  std::vector<std::string> Texts;  // [0] English, [1] Slovak
};
using THLStrings = std::vector<THStrings>;

// Key to two texts (Windows-1250); lookups give the text of the current language.
class THLanguages {
 public:
  THLanguages();
  virtual ~THLanguages() = default;

  int32_t LanguageIndex = 1;
  THLStrings Strings;

  void AddString(const std::string& Key, const std::string& Text0, const std::string& Text1);
  // The first entry with exactly this key; "." when there is none.
  const std::string& GetString(std::string_view Key) const;
};
