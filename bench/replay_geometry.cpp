// Where recorded draws land, from the drawing model alone: a draw at (x, y)
// scales each frame point about the handle, turns it clockwise by the
// rotation and moves the handle onto (x, y); a pixel belongs to the draw when
// its centre, mapped back, falls inside the frame.
#include <algorithm>
#include <cmath>

#include "replay.h"

namespace bench {

namespace {

constexpr double PI = 3.14159265358979323846;

double handle_x(const gfx::DrawCall& c) { return c.kind == gfx::DRAW_IMAGE ? c.image->handle_x : 0.0; }
double handle_y(const gfx::DrawCall& c) { return c.kind == gfx::DRAW_IMAGE ? c.image->handle_y : 0.0; }
double width_of(const gfx::DrawCall& c) { return c.kind == gfx::DRAW_IMAGE ? c.image->width : c.x2; }
double height_of(const gfx::DrawCall& c) { return c.kind == gfx::DRAW_IMAGE ? c.image->height : c.y2; }

Box clip(int x0, int y0, int x1, int y1) {
  return Box{std::max(x0, 0), std::max(y0, 0), std::min(x1, W), std::min(y1, H)};
}

}  // namespace

uint32_t alpha_byte(const gfx::DrawCall& c) { return uint32_t(double(c.alpha) * 255.0 + 0.5); }

bool is_identity(const gfx::DrawCall& c) { return c.rotation == 0.0f && c.sx == 1.0f && c.sy == 1.0f; }

void identity_offset(const gfx::DrawCall& c, int& ox, int& oy) {
  ox = int(std::floor(handle_x(c) - c.x + 0.5));
  oy = int(std::floor(handle_y(c) - c.y + 0.5));
}

void frame_point(const gfx::DrawCall& c, double X, double Y, double& u, double& v) {
  const double a = double(c.rotation) * PI / 180.0, s = std::sin(a), k = std::cos(a);
  const double dx = X - c.x, dy = Y - c.y;
  u = handle_x(c) + (k * dx + s * dy) / c.sx;
  v = handle_y(c) + (k * dy - s * dx) / c.sy;
}

Box draw_box(const gfx::DrawCall& c) {
  const double w = width_of(c), h = height_of(c), hx = handle_x(c), hy = handle_y(c);
  if (is_identity(c)) {
    // Pixel centres px + 0.5 with x - hx <= px + 0.5 < x - hx + w.
    const int x0 = int(std::ceil(c.x - hx - 0.5)), y0 = int(std::ceil(c.y - hy - 0.5));
    const int x1 = int(std::ceil(c.x - hx + w - 0.5)), y1 = int(std::ceil(c.y - hy + h - 0.5));
    return clip(x0, y0, x1, y1);
  }
  const double a = double(c.rotation) * PI / 180.0, s = std::sin(a), k = std::cos(a);
  double minx = 1e300, maxx = -1e300, miny = 1e300, maxy = -1e300;
  for (int i = 0; i < 4; ++i) {
    const double u = ((i & 1) ? w : 0) - hx, v = ((i & 2) ? h : 0) - hy;
    const double X = c.x + k * c.sx * u - s * c.sy * v, Y = c.y + s * c.sx * u + k * c.sy * v;
    minx = std::min(minx, X);
    maxx = std::max(maxx, X);
    miny = std::min(miny, Y);
    maxy = std::max(maxy, Y);
  }
  return clip(int(std::floor(minx)) - 1, int(std::floor(miny)) - 1, int(std::ceil(maxx)) + 1,
              int(std::ceil(maxy)) + 1);
}

Box line_box(const gfx::DrawCall& c) {
  if (!is_identity(c) || std::floor(c.y) != std::floor(c.y2))
    throw Unsupported("only unturned horizontal lines are replayed");
  const int y = int(std::floor(c.y));
  const int a = int(std::floor(c.x)), b = int(std::floor(c.x2));
  return clip(std::min(a, b), y, std::max(a, b) + 1, y + 1);
}

}  // namespace bench
