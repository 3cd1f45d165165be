// Pixel-exact collision: both frames are placed exactly as a draw would place
// them and their covered pixels are walked with the same row spans, so two
// frames collide exactly when some screen pixel would be drawn by an opaque
// texel of each.
#include <algorithm>

#include "platform/render_internal.h"

namespace gfx {

namespace {

bool frame_ok(const Image& img, int frame) {
  return frame >= 0 && frame < img.frames && img.width > 0 && img.height > 0 &&
         img.pixels.size() >= size_t(img.frames) * img.width * img.height;
}

Placement place_image(const Image& img, int x, int y) {
  return place(img.width, img.height, img.handle_x, img.handle_y, x, y, g_state.rotation, g_state.sx, g_state.sy);
}

}  // namespace

bool images_collide(const Image& a, int ax, int ay, int aframe, const Image& b, int bx, int by, int bframe) {
  if (!frame_ok(a, aframe) || !frame_ok(b, bframe)) return false;
  const Placement pa = place_image(a, ax, ay), pb = place_image(b, bx, by);
  if (pa.empty || pb.empty) return false;
  const int lo = std::max({pa.x0, pb.x0, 0}), hi = std::min({pa.x1, pb.x1, SCREEN_W});
  const int top = std::max({pa.y0, pb.y0, 0}), bottom = std::min({pa.y1, pb.y1, SCREEN_H});
  const uint32_t* ta = a.frame_pixels(aframe);
  const uint32_t* tb = b.frame_pixels(bframe);
  RowWalker rows_a(pa, top), rows_b(pb, top);
  for (int py = top; py < bottom; ++py) {
    int la, ra, lb, rb;
    int64_t Ua, Va, Ub, Vb;
    const bool in_a = rows_a.next(lo, hi, &la, &ra, &Ua, &Va);  // both walkers step every row
    const bool in_b = rows_b.next(lo, hi, &lb, &rb, &Ub, &Vb);
    if (!in_a || !in_b) continue;
    const int l = std::max(la, lb), r = std::min(ra, rb);
    if (l >= r) continue;
    Ua += (l - la) * pa.dux;
    Va += (l - la) * pa.dvx;
    Ub += (l - lb) * pb.dux;
    Vb += (l - lb) * pb.dvx;
    for (int px = l; px < r; ++px) {
      const uint32_t A = ta[(Va >> 32) * a.width + (Ua >> 32)], B = tb[(Vb >> 32) * b.width + (Ub >> 32)];
      if ((A & B) >> 31) return true;  // both alphas >= 128
      Ua += pa.dux;
      Va += pa.dvx;
      Ub += pb.dux;
      Vb += pb.dvx;
    }
  }
  return false;
}

}  // namespace gfx
