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

// A point after a 4 x 4 transform, before the division by W.
struct TVector4 {
  float X = 0, Y = 0, Z = 0, W = 0;
};

TVector3 MakeVector(float X, float Y, float Z);
TVertex MakeVertex(const TVector3& Position, const TVector3& Normal, float TU, float TV);
TMatrix4 MakeTranslation(float DX, float DY, float DZ);
float DegToRad(int32_t Degrees);
// Row-vector product: A applied first, then B.
TMatrix4 MultiplyMatrix(const TMatrix4& A, const TMatrix4& B);
// The row vector (P, 1) times M.
TVector4 TransformPoint(const TVector3& P, const TMatrix4& M);
