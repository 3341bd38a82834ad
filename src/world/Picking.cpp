// Which object the picture shows at a point: every triangle the frame draws goes through the
// frame's own transforms, near-plane clipping, back-face culling and depth test, in software,
// for that one point.
#include <algorithm>
#include <array>
#include <cmath>
#include <span>

#include "DXMain.h"
#include "world/SceneView.h"

namespace {

// A clipped corner on the screen: normalised device X and Y (Y up), and depth.
struct TScreenPoint {
  double X = 0, Y = 0, Depth = 0;
};

// A triangle is clipped by at most two planes: up to five corners.
using TPolygon = std::array<TScreenPoint, 5>;

// Keeps the part of the polygon where Distance >= 0 (Sutherland-Hodgman).
template <class TDistance>
int32_t ClipByPlane(std::span<const TVector4> In, std::span<TVector4> Out, TDistance Distance) {
  int32_t n = 0;
  const size_t count = In.size();
  for (size_t i = 0; i < count; ++i) {
    const TVector4& a = In[i];
    const TVector4& b = In[(i + 1) % count];
    const float da = Distance(a), db = Distance(b);
    if (da >= 0) Out[static_cast<size_t>(n++)] = a;
    if ((da >= 0) != (db >= 0)) {
      const float t = da / (da - db);
      Out[static_cast<size_t>(n++)] = {a.X + (b.X - a.X) * t, a.Y + (b.Y - a.Y) * t,
                                       a.Z + (b.Z - a.Z) * t, a.W + (b.W - a.W) * t};
    }
  }
  return n;
}

// The part of a clip-space triangle between the near plane (Z >= 0) and the far one (Z <= W),
// divided by W. Returns the number of corners (0 when nothing is left).
int32_t ClipTriangle(const std::array<TVector4, 3>& Triangle, TPolygon& Out) {
  auto inside = [](const TVector4& V) { return V.Z >= 0 && V.W - V.Z >= 0 && V.W > 0; };
  if (inside(Triangle[0]) && inside(Triangle[1]) && inside(Triangle[2])) {
    for (size_t i = 0; i < 3; ++i) {
      const TVector4& v = Triangle[i];
      const double w = v.W;
      Out[i] = {v.X / w, v.Y / w, v.Z / w};
    }
    return 3;
  }
  std::array<TVector4, 4> nearClipped{};
  std::array<TVector4, 5> clipped{};
  const int32_t n1 = ClipByPlane(Triangle, nearClipped, [](const TVector4& V) { return V.Z; });
  if (n1 < 3) return 0;
  const int32_t n2 =
      ClipByPlane(std::span<const TVector4>(nearClipped.data(), static_cast<size_t>(n1)), clipped,
                  [](const TVector4& V) { return V.W - V.Z; });
  if (n2 < 3) return 0;
  for (int32_t i = 0; i < n2; ++i) {
    const TVector4& v = clipped[static_cast<size_t>(i)];
    if (!(v.W > 0)) return 0;
    const double w = v.W;
    Out[static_cast<size_t>(i)] = {v.X / w, v.Y / w, v.Z / w};
  }
  return n2;
}

double Cross(const TScreenPoint& A, const TScreenPoint& B, double X, double Y) {
  return (B.X - A.X) * (Y - A.Y) - (B.Y - A.Y) * (X - A.X);
}

// The depth at (X, Y) when the polygon faces the viewer (clockwise on the screen) and covers
// the point; otherwise none.
std::optional<double> DepthAt(const TPolygon& P, int32_t N, double X, double Y) {
  double area = 0;  // twice the signed area; negative is clockwise with Y up
  for (int32_t i = 0; i < N; ++i) {
    const TScreenPoint& a = P[static_cast<size_t>(i)];
    const TScreenPoint& b = P[static_cast<size_t>((i + 1) % N)];
    area += a.X * b.Y - b.X * a.Y;
  }
  if (!(area < 0)) return std::nullopt;  // a back face, or no area at all
  for (int32_t i = 0; i < N; ++i) {
    if (Cross(P[static_cast<size_t>(i)], P[static_cast<size_t>((i + 1) % N)], X, Y) > 0)
      return std::nullopt;
  }
  // Depth is linear over the screen across a flat polygon: any fan triangle that holds the
  // point gives it.
  for (int32_t k = 1; k + 1 < N; ++k) {
    const TScreenPoint &a = P[0], &b = P[static_cast<size_t>(k)],
                       &c = P[static_cast<size_t>(k + 1)];
    const double whole = Cross(a, b, c.X, c.Y);
    if (whole == 0) continue;
    const double wa = Cross(b, c, X, Y) / whole, wb = Cross(c, a, X, Y) / whole;
    const double wc = 1.0 - wa - wb;
    if (wa < 0 || wb < 0 || wc < 0) continue;
    return wa * a.Depth + wb * b.Depth + wc * c.Depth;
  }
  return std::nullopt;
}

// The nearest depth at (X, Y) of a triangle strip, as it is drawn: triangle i has corners
// i, i + 1, i + 2, every second one taken the other way round so that all wind alike.
std::optional<double> StripDepthAt(std::span<const TVertex> Strip, const TMatrix4& Transform,
                                   double X, double Y) {
  std::optional<double> nearest;
  if (Strip.size() < 3) return nearest;
  auto clip = [&](size_t k) {
    return TransformPoint({Strip[k].X, Strip[k].Y, Strip[k].Z}, Transform);
  };
  // Each corner is transformed once; the window holds the last three.
  std::array<TVector4, 3> window{clip(0), clip(1), {}};
  for (size_t i = 0; i + 2 < Strip.size(); ++i) {
    window[(i + 2) % 3] = clip(i + 2);
    const TVector4& a = window[i % 3];
    const TVector4& b = window[(i + 1) % 3];
    const TVector4& c = window[(i + 2) % 3];
    const bool even = i % 2 == 0;
    TPolygon polygon;
    const int32_t n = ClipTriangle({even ? a : b, even ? b : a, c}, polygon);
    if (n < 3) continue;
    const auto depth = DepthAt(polygon, n, X, Y);
    if (depth && (!nearest || *depth < *nearest)) nearest = depth;
  }
  return nearest;
}

// The object's depth at (X, Y): a cube draws its faces as six strips of four, a flat object
// all its vertices as one strip.
std::optional<double> ItemDepthAt(const TSceneItem& Item, const TMatrix4& Transform, double X,
                                  double Y) {
  const TD3DObject& o = *Item.Object;
  const size_t count = std::min(o.Vertices.size(), static_cast<size_t>(std::max(o.VertexCount, 0)));
  const std::span<const TVertex> vertices(o.Vertices.data(), count);
  if (!Item.Cube) return StripDepthAt(vertices, Transform, X, Y);
  std::optional<double> nearest;
  for (size_t f = 0; f + 4 <= std::min<size_t>(count, 24); f += 4) {
    const auto depth = StripDepthAt(vertices.subspan(f, 4), Transform, X, Y);
    if (depth && (!nearest || *depth < *nearest)) nearest = depth;
  }
  return nearest;
}

}  // namespace

std::optional<TSceneItem> TMainForm::SceneItemAt(float X, float Y) const {
  const TD3DViewport viewport = SceneViewport(DXDraw.SurfaceWidth(), DXDraw.SurfaceHeight());
  if (viewport.Width <= 0 || viewport.Height <= 0) return std::nullopt;
  const double px = static_cast<double>(X) - viewport.X, py = static_cast<double>(Y) - viewport.Y;
  // Written so that NaN falls outside too.
  if (!(px >= 0 && px <= viewport.Width && py >= 0 && py <= viewport.Height)) return std::nullopt;
  const double nx = px / viewport.Width * 2.0 - 1.0, ny = 1.0 - py / viewport.Height * 2.0;
  // The frame's transform: world, the identity view, projection.
  const TMatrix4 transform =
      MultiplyMatrix(CameraTransform(Camera.X, Camera.Y, Camera.Z), SceneProjection());
  std::optional<TSceneItem> nearest;
  double nearestDepth = 0;
  ForEachSceneItem([&](const TSceneItem& Item) {
    const auto depth = ItemDepthAt(Item, transform, nx, ny);
    // The depth test lets a later object through at equal depth, as drawing in order does.
    if (depth && (!nearest || *depth <= nearestDepth)) {
      nearest = Item;
      nearestDepth = *depth;
    }
  });
  return nearest;
}

std::optional<TBoardCell> TMainForm::BoardCellAt(float X, float Y) const {
  const auto item = SceneItemAt(X, Y);
  if (!item || item->Part != TSceneItem::BoardCube) return std::nullopt;
  return TBoardCell{item->Row, item->Col};
}

std::optional<int32_t> TMainForm::SetupRowAt(float X, float Y) const {
  const auto item = SceneItemAt(X, Y);
  if (!item || item->Part != TSceneItem::SetupCube) return std::nullopt;
  return item->Row;
}
