#include "media/Raster2D.h"

#include <algorithm>
#include <cstdlib>

std::vector<TPixelPoint> LinePixels(int32_t X0, int32_t Y0, int32_t X1, int32_t Y1) {
  std::vector<TPixelPoint> out;
  const int64_t dx = std::llabs(int64_t{X1} - X0), dy = -std::llabs(int64_t{Y1} - Y0);
  const int32_t sx = X0 < X1 ? 1 : -1, sy = Y0 < Y1 ? 1 : -1;
  int64_t err = dx + dy;
  int32_t x = X0, y = Y0;
  out.reserve(static_cast<size_t>(std::max(dx, -dy)));
  while (x != X1 || y != Y1) {
    out.push_back({x, y});
    const int64_t e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
  return out;
}

std::vector<TPixelPoint> EllipsePixels(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) {
  std::vector<TPixelPoint> out;
  if (X1 > X2) std::swap(X1, X2);
  if (Y1 > Y2) std::swap(Y1, Y2);
  if (X2 - X1 < 1 || Y2 - Y1 < 1) return out;
  // Midpoint ellipse over an inclusive box, for even and odd diameters alike.
  int64_t x0 = X1, y0 = Y1, x1 = int64_t{X2} - 1, y1 = int64_t{Y2} - 1;
  int64_t a = x1 - x0, b = y1 - y0, b1 = b & 1;
  int64_t dx = 4 * (1 - a) * b * b, dy = 4 * (b1 + 1) * a * a;
  int64_t err = dx + dy + b1 * a * a;
  y0 += (b + 1) / 2;
  y1 = y0 - b1;
  a *= 8 * a;
  b1 = 8 * b * b;
  auto plot = [&](int64_t x, int64_t y) {
    out.push_back({static_cast<int32_t>(x), static_cast<int32_t>(y)});
  };
  do {
    plot(x1, y0);
    plot(x0, y0);
    plot(x0, y1);
    plot(x1, y1);
    const int64_t e2 = 2 * err;
    if (e2 <= dy) {
      y0++;
      y1--;
      err += dy += a;
    }
    if (e2 >= dx || 2 * err > dy) {
      x0++;
      x1--;
      err += dx += b1;
    }
  } while (x0 <= x1);
  while (y0 - y1 <= b) {  // flat ellipses stop early: finish their tips
    plot(x0 - 1, y0);
    plot(x1 + 1, y0++);
    plot(x0 - 1, y1);
    plot(x1 + 1, y1--);
  }
  std::sort(out.begin(), out.end(), [](const TPixelPoint& p, const TPixelPoint& q) {
    return p.Y != q.Y ? p.Y < q.Y : p.X < q.X;
  });
  out.erase(std::unique(out.begin(), out.end()), out.end());
  return out;
}
