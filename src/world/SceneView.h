// How the scene is seen: the fixed perspective, the camera as the world transform and the
// viewport over the whole surface. The frame sets these on the device; picking maps points
// through the very same values.
#pragma once

#include <cstdint>

#include "Vectors.h"
#include "media/Direct3D.h"

// Perspective for row vectors: (x, y, z) maps to (2x/z, 2y/z, (z - 1)/z); no far plane.
TMatrix4 SceneProjection();
// The world moves by (-X, -Y, +Z): the camera looks at (X, Y) from Z further back.
TMatrix4 CameraTransform(float X, float Y, float Z);
TD3DViewport SceneViewport(int32_t SurfaceWidth, int32_t SurfaceHeight);
