// Vector, vertex and matrix types shared by the cube world and the 3D device.
#pragma once

#include <cstdint>

struct TVector3 {
  float X = 0, Y = 0, Z = 0;
};

// Position, normal and one texture coordinate pair: vertex format 0x112, 32 bytes.
struct TVertex {
  float X = 0, Y = 0, Z = 0;
  float NX = 0, NY = 0, NZ = 0;
  float TU = 0, TV = 0;
};
static_assert(sizeof(TVertex) == 32);

// Row-major, for row vectors: M[r][c] is element (r+1)(c+1); translation in row 3.
struct TMatrix4 {
  float M[4][4] = {};
};

TVector3 MakeVector(float X, float Y, float Z);
TVertex MakeVertex(const TVector3& Position, const TVector3& Normal, float TU, float TV);
TMatrix4 MakeTranslation(float DX, float DY, float DZ);
float DegToRad(int32_t Degrees);
