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
