// Placements: where a frame lands on the pixel grid, as exact integer steppers.
// Drawing and collision both walk rows through row_span(), so a pixel is drawn
// exactly when it is also counted for collision.
#include <algorithm>
#include <cmath>

#include "platform/render_internal.h"
#include "platform/render_math.h"

namespace gfx {

namespace {

constexpr double ONE = 4294967296.0;  // 1.0 in 32.32
constexpr double MAX_POS = 65536.0;   // positions and handles beyond this place nothing
constexpr double MIN_SCALE = 1.0 / 1024, MAX_SCALE = 4096.0;

int64_t floor_div(int64_t a, int64_t b) {  // b > 0
  int64_t q = a / b;
  return (a % b != 0 && a < 0) ? q - 1 : q;
}
int64_t ceil_div(int64_t a, int64_t b) { return -floor_div(-a, b); }

// Narrows [kmin, kmax] to the k with 0 <= base + k * d < lim.
void constrain(int64_t base, int64_t d, int64_t lim, int64_t& kmin, int64_t& kmax) {
  if (d > 0) {
    kmin = std::max(kmin, ceil_div(-base, d));
    kmax = std::min(kmax, floor_div(lim - 1 - base, d));
  } else if (d < 0) {
    kmax = std::min(kmax, floor_div(base, -d));
    kmin = std::max(kmin, ceil_div(base - lim + 1, -d));
  } else if (base < 0 || base >= lim) {
    kmax = kmin - 1;
  }
}

int64_t fixed(double v) { return std::llround(v * ONE); }

}  // namespace

Placement place(double w, double h, double hx, double hy, double x, double y,
                double rotation, double sx, double sy) {
  Placement p;
  for (double v : {w, h, hx, hy, x, y, rotation, sx, sy})
    if (!std::isfinite(v)) return p;
  if (!(w > 0 && h > 0) || w > MAX_IMAGE_SIDE || h > MAX_IMAGE_SIDE) return p;
  if (std::fabs(x) > MAX_POS || std::fabs(y) > MAX_POS || std::fabs(hx) > MAX_POS || std::fabs(hy) > MAX_POS)
    return p;
  const double asx = std::fabs(sx), asy = std::fabs(sy);
  if (asx < MIN_SCALE || asy < MIN_SCALE || asx > MAX_SCALE || asy > MAX_SCALE) return p;

  double s, c;
  sin_cos_degrees(rotation, s, c);

  p.rx = int(std::floor(x));
  p.ry = int(std::floor(y));
  const double dx = p.rx + 0.5 - x, dy = p.ry + 0.5 - y;
  p.u0 = fixed(hx + (c * dx + s * dy) / sx);
  p.v0 = fixed(hy + (-s * dx + c * dy) / sy);
  p.dux = fixed(c / sx);
  p.duy = fixed(s / sx);
  p.dvx = fixed(-s / sy);
  p.dvy = fixed(c / sy);
  p.W = fixed(w);
  p.H = fixed(h);
  p.identity = p.dux == int64_t(1) << 32 && p.duy == 0 && p.dvx == 0 && p.dvy == int64_t(1) << 32;

  // Screen box of the frame's corners, one pixel wider each way; the spans
  // decide exactly which pixels inside it are covered.
  double minx = 1e300, maxx = -1e300, miny = 1e300, maxy = -1e300;
  for (int i = 0; i < 4; ++i) {
    const double u = ((i & 1) ? w : 0) - hx, v = ((i & 2) ? h : 0) - hy;
    const double X = x + c * sx * u - s * sy * v, Y = y + s * sx * u + c * sy * v;
    minx = std::min(minx, X);
    maxx = std::max(maxx, X);
    miny = std::min(miny, Y);
    maxy = std::max(maxy, Y);
  }
  p.x0 = int(std::floor(minx)) - 1;
  p.x1 = int(std::ceil(maxx)) + 2;
  p.y0 = int(std::floor(miny)) - 1;
  p.y1 = int(std::ceil(maxy)) + 2;

  if (p.identity) {
    // Every row has the same span: work the exact rectangle out once.
    int64_t kmin = p.x0 - p.rx, kmax = p.x1 - 1 - p.rx;
    constrain(p.u0, p.dux, p.W, kmin, kmax);
    int64_t jmin = p.y0 - p.ry, jmax = p.y1 - 1 - p.ry;
    constrain(p.v0, p.dvy, p.H, jmin, jmax);
    if (kmin > kmax || jmin > jmax) return p;
    p.x0 = int(kmin + p.rx);
    p.x1 = int(kmax + 1 + p.rx);
    p.y0 = int(jmin + p.ry);
    p.y1 = int(jmax + 1 + p.ry);
  }
  p.empty = false;
  return p;
}

bool row_span(const Placement& p, int py, int lo, int hi, int* l, int* r, int64_t* U, int64_t* V) {
  if (p.empty || py < p.y0 || py >= p.y1) return false;
  lo = std::max(lo, p.x0);
  hi = std::min(hi, p.x1);
  if (lo >= hi) return false;
  const int64_t j = py - p.ry;
  const int64_t Ur = p.u0 + j * p.duy, Vr = p.v0 + j * p.dvy;
  int64_t kmin = lo - p.rx, kmax = hi - 1 - p.rx;
  if (!p.identity) {  // an identity placement's box is already exact
    constrain(Ur, p.dux, p.W, kmin, kmax);
    constrain(Vr, p.dvx, p.H, kmin, kmax);
    if (kmin > kmax) return false;
  }
  *l = int(kmin + p.rx);
  *r = int(kmax + 1 + p.rx);
  *U = Ur + kmin * p.dux;
  *V = Vr + kmin * p.dvx;
  return true;
}

}  // namespace gfx
