// Picture placement and pointer mapping; integer arithmetic throughout so the
// results are exact at every window size.
#include "platform/sdl_layout.h"

#include <algorithm>
#include <cstdint>

namespace plat {
namespace {

// floor(a / b) for b > 0, also for negative a (pointer left of the picture).
int64_t floor_div(int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
int64_t ceil_div(int64_t a, int64_t b) { return -floor_div(-a, b); }

// The window pixel in the middle of the span that shows logical pixel l.
int span_middle(int l, int logical, int size) {
  int64_t first = ceil_div(int64_t(l) * size, logical);
  int64_t next = ceil_div(int64_t(l + 1) * size, logical);
  return int(std::min<int64_t>(first + std::max<int64_t>(0, next - 1 - first) / 2, size - 1));
}

int to_logical(int v, int logical, int size) {
  if (size <= 0) return 0;
  int64_t l = floor_div(int64_t(v) * logical, size);
  return int(std::clamp<int64_t>(l, 0, logical - 1));
}

}  // namespace

PictureRect fit_picture(int window_w, int window_h, int logical_w, int logical_h) {
  PictureRect r;
  if (window_w <= 0 || window_h <= 0 || logical_w <= 0 || logical_h <= 0) return r;
  if (int64_t(window_w) * logical_h >= int64_t(window_h) * logical_w) {
    // Wider than the picture: full height, bars left and right.
    r.h = window_h;
    r.w = int((int64_t(window_h) * logical_w * 2 + logical_h) / (2 * logical_h));
    r.w = std::min(r.w, window_w);
  } else {
    r.w = window_w;
    r.h = int((int64_t(window_w) * logical_h * 2 + logical_w) / (2 * logical_w));
    r.h = std::min(r.h, window_h);
  }
  r.x = (window_w - r.w) / 2;
  r.y = (window_h - r.h) / 2;
  return r;
}

Point window_to_logical(const PictureRect& r, int logical_w, int logical_h, int wx, int wy) {
  return {to_logical(wx - r.x, logical_w, r.w), to_logical(wy - r.y, logical_h, r.h)};
}

Point logical_to_window(const PictureRect& r, int logical_w, int logical_h, int lx, int ly) {
  lx = std::clamp(lx, 0, logical_w - 1);
  ly = std::clamp(ly, 0, logical_h - 1);
  return {r.x + span_middle(lx, logical_w, r.w), r.y + span_middle(ly, logical_h, r.h)};
}

ScalePlan plan_scale(const PictureRect& r, int logical_w, int logical_h) {
  ScalePlan p;
  if (logical_w <= 0 || logical_h <= 0) return p;
  int k = std::max(1, std::min(r.w / logical_w, r.h / logical_h));
  p.prescale = k;
  p.smooth_fit = !(r.w == k * logical_w && r.h == k * logical_h);
  return p;
}

}  // namespace plat
