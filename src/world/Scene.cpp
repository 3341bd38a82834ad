// The scene: device states at surface initialisation, the camera, and the order of drawing.
#include <cmath>

#include "DXMain.h"
#include "world/SceneView.h"

namespace {

// To the nearest 0.001 (halves to even), so that repeated steps of 0.02 land on whole numbers.
float Thousandths(float V) {
  return static_cast<float>(std::nearbyint(static_cast<double>(V) * 1000.0) * 0.001);
}

}  // namespace

void TMainForm::DXDrawInitializeSurface() {
  if (auto* device = DXDraw.D3DDevice7()) {
    device->SetViewport(SceneViewport(DXDraw.SurfaceWidth(), DXDraw.SurfaceHeight()));
    TD3DMaterial material;
    material.Diffuse = {1.0f, 1.0f, 1.0f, 0.0f};
    material.Ambient = {1.0f, 1.0f, 1.0f, 0.0f};
    device->SetMaterial(material);
    device->SetRenderState(D3DRENDERSTATE_AMBIENT, 192u * 0x01010101u);
    device->SetTransform(TD3DTransformState::Projection, SceneProjection());
  }
  if (GameState == 0 || GameState == 3) {
    BuildScene();
    UpdateGame();
  }
}

void TMainForm::FollowCamera() {
  CameraMoving = false;
  const float col = static_cast<float>(CursorCol), row = static_cast<float>(CursorRow);
  if (col < Camera.X) Camera.X -= CameraStep, CameraMoving = true;
  if (col > Camera.X) Camera.X += CameraStep, CameraMoving = true;
  if (row < Camera.Y) Camera.Y -= CameraStep, CameraMoving = true;
  if (row > Camera.Y) Camera.Y += CameraStep, CameraMoving = true;
  if (CameraMoving) {
    ShrinkToRest(CubeScale);
    Camera.X = Thousandths(Camera.X);
    Camera.Y = Thousandths(Camera.Y);
  }
  if (auto* device = DXDraw.D3DDevice7())
    device->SetTransform(TD3DTransformState::World, CameraTransform(Camera.X, Camera.Y, Camera.Z));
}

void TMainForm::ShrinkToRest(float Scale) {
  for (auto& row : Board)
    for (auto& cube : row)
      if (cube && cube->Scaling.X > Scale) cube->ScaleAll(0.995f);
}

void TMainForm::RenderFrame() {
  if (!DXDraw.CanDraw()) return;
  auto* device = DXDraw.D3DDevice7();
  if (!device) return;
  device->BeginScene();
  ForEachSceneItem([device](const TSceneItem& Item) {
    if (Item.Cube)
      Item.Cube->Draw(*device);
    else
      Item.Object->Draw(*device);
  });
  DrawOverlays();
  device->EndScene();
  DXDraw.Flip();
}
