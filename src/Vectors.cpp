#include "Vectors.h"

#include <numbers>

TVector3 MakeVector(float X, float Y, float Z) {
  return {X, Y, Z};
}

TVertex MakeVertex(const TVector3& Position, const TVector3& Normal, float TU, float TV) {
  return {Position.X, Position.Y, Position.Z, Normal.X, Normal.Y, Normal.Z, TU, TV};
}

TMatrix4 MakeTranslation(float DX, float DY, float DZ) {
  TMatrix4 m;
  for (int i = 0; i < 4; ++i) m.M[i][i] = 1.0f;
  m.M[3][0] = DX;
  m.M[3][1] = DY;
  m.M[3][2] = DZ;
  return m;
}

float DegToRad(int32_t Degrees) {
  return static_cast<float>(Degrees * std::numbers::pi / 180.0);
}

TMatrix4 MultiplyMatrix(const TMatrix4& A, const TMatrix4& B) {
  TMatrix4 r;
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      float s = 0;
      for (int k = 0; k < 4; ++k) s += A.M[i][k] * B.M[k][j];
      r.M[i][j] = s;
    }
  }
  return r;
}

TVector4 TransformPoint(const TVector3& P, const TMatrix4& M) {
  auto column = [&](int c) {
    return P.X * M.M[0][c] + P.Y * M.M[1][c] + P.Z * M.M[2][c] + M.M[3][c];
  };
  return {column(0), column(1), column(2), column(3)};
}
