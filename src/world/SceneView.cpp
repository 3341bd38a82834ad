#include "world/SceneView.h"

TMatrix4 SceneProjection() {
  TMatrix4 m;
  m.M[0][0] = 2.0f;
  m.M[1][1] = 2.0f;
  m.M[2][2] = 1.0f;
  m.M[2][3] = 1.0f;
  m.M[3][2] = -1.0f;
  return m;
}

TMatrix4 CameraTransform(float X, float Y, float Z) {
  return MakeTranslation(-X, -Y, Z);
}

TD3DViewport SceneViewport(int32_t SurfaceWidth, int32_t SurfaceHeight) {
  return {0, 0, SurfaceWidth, SurfaceHeight, 0.0f, 1.0f};
}
