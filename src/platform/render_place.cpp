// Placements: where a frame lands on the pixel grid, as exact integer steppers.
// Drawing and collision both walk rows with a RowWalker, so a pixel is drawn
// exactly when it is also counted for collision. A row's span edges follow
// from the previous row's by exact integer division steps (no division per
// row).
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
  const int64_t q = a / b;
  return (a % b != 0 && a < 0) ? q - 1 : q;
}

// Narrows [kmin, kmax] to the k with 0 <= base + k * d < lim.
void constrain(int64_t base, int64_t d, int64_t lim, int64_t& kmin, int64_t& kmax) {
  if (d > 0) {
    kmin = std::max(kmin, -floor_div(base, d));  // ceil(-base / d)
    kmax = std::min(kmax, floor_div(lim - 1 - base, d));
  } else if (d < 0) {
    kmin = std::max(kmin, -floor_div(lim - 1 - base, -d));
    kmax = std::min(kmax, floor_div(base, -d));
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

  // Consecutive draws mostly share one rotation.
  static double last_rotation = 0, last_s = 0, last_c = 1;
  if (rotation != last_rotation) {
    sin_cos_degrees(rotation, last_s, last_c);
    last_rotation = rotation;
  }
  const double s = last_s, c = last_c;

  p.rx = int(std::floor(x));
  p.ry = int(std::floor(y));
  const double dx = p.rx + 0.5 - x, dy = p.ry + 0.5 - y;
  p.u0 = fixed(hx + (product(c, dx) + product(s, dy)) / sx);
  p.v0 = fixed(hy + (product(c, dy) - product(s, dx)) / sy);
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

void FloorStep::start(int64_t n, int64_t step, int64_t d) {
  D = d;
  q = floor_div(n, d);
  r = n - q * d;
  sq = floor_div(step, d);
  sr = step - sq * d;
}

// One bound of a row's k range from 0 <= base + k * d < lim, base = b0 + j * db:
// a lower bound ceil(..) = floor(.. + |d| - 1) and an upper bound floor(..).
static void bounds(int64_t b0, int64_t db, int64_t d, int64_t lim, int64_t j, FloorStep& lo, FloorStep& hi) {
  if (d > 0) {
    lo.start(-b0 + d - 1 - j * db, -db, d);  // ceil(-base / d)
    hi.start(lim - 1 - b0 - j * db, -db, d); // floor((lim - 1 - base) / d)
  } else {
    lo.start(b0 - lim - d + j * db, db, -d); // ceil((base - lim + 1) / -d)
    hi.start(b0 + j * db, db, -d);           // floor(base / -d)
  }
}

RowWalker::RowWalker(const Placement& pl, int first_row) : p(pl), py(first_row) {
  const int64_t j = int64_t(first_row) - p.ry;
  Ur = p.u0 + j * p.duy;
  Vr = p.v0 + j * p.dvy;
  if (p.identity) return;
  if (p.dux) bounds(p.u0, p.duy, p.dux, p.W, j, ulo, uhi);
  if (p.dvx) bounds(p.v0, p.dvy, p.dvx, p.H, j, vlo, vhi);
}

bool RowWalker::next(int lo, int hi, int* l, int* r, int64_t* U, int64_t* V) {
  const int row = py++;
  const int64_t ur = Ur, vr = Vr;
  Ur += p.duy;
  Vr += p.dvy;
  int64_t kmin = int64_t(std::max(lo, p.x0)) - p.rx, kmax = int64_t(std::min(hi, p.x1)) - 1 - p.rx;
  bool ok = !p.empty && row >= p.y0 && row < p.y1;
  if (!p.identity) {
    if (p.dux) {
      kmin = std::max(kmin, ulo.q);
      kmax = std::min(kmax, uhi.q);
      ulo.next();
      uhi.next();
    } else {
      ok = ok && ur >= 0 && ur < p.W;
    }
    if (p.dvx) {
      kmin = std::max(kmin, vlo.q);
      kmax = std::min(kmax, vhi.q);
      vlo.next();
      vhi.next();
    } else {
      ok = ok && vr >= 0 && vr < p.H;
    }
  }
  if (!ok || kmin > kmax) return false;
  *l = int(kmin + p.rx);
  *r = int(kmax + 1 + p.rx);
  *U = ur + kmin * p.dux;
  *V = vr + kmin * p.dvx;
  return true;
}

}  // namespace gfx
