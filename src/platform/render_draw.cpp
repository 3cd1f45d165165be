// Drawing images, rectangles and lines into the back buffer, and clearing it.
// Each draw works out its placement once, then walks the covered rows:
// unrotated scale-1 draws copy texel runs at an integer offset; others step
// through the frame in fixed point. Texels are prepared for the colour and
// alpha (or taken ready-made from the image's cache) and handed to the blend
// mode's span kernel.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/render_internal.h"
#include "platform/render_math.h"

namespace gfx {

namespace {

alignas(16) uint32_t g_row[SCREEN_W];    // one row of gathered or prepared texels
alignas(16) uint32_t g_fill[SCREEN_W];   // a constant source for rectangles and lines

bool uses_runs(int blend) { return blend == BLEND_MASK || blend == BLEND_ALPHA || blend == BLEND_ADD; }

bool frame_ok(const Image& img, int frame) {
  return frame >= 0 && frame < img.frames && img.width > 0 && img.height > 0 &&
         img.pixels.size() >= size_t(img.frames) * img.width * img.height;
}

// Filtered frames are sampled between the four nearest texel centres with
// weights in 1/256 steps, edges clamped. (U, V) is the pixel centre in 32.32.
inline uint32_t bilinear(const uint32_t* px, int w, int h, int64_t U, int64_t V) {
  const int64_t Us = U - (int64_t(1) << 31), Vs = V - (int64_t(1) << 31);
  int i0 = int(Us >> 32), j0 = int(Vs >> 32);
  const uint32_t fu = uint32_t(Us >> 24) & 255, fv = uint32_t(Vs >> 24) & 255;
  int i1 = std::min(i0 + 1, w - 1), j1 = std::min(j0 + 1, h - 1);
  i0 = std::max(i0, 0);
  j0 = std::max(j0, 0);
  const uint32_t t00 = px[j0 * w + i0], t10 = px[j0 * w + i1], t01 = px[j1 * w + i0], t11 = px[j1 * w + i1];
  uint32_t out = 0;
  for (int sh = 0; sh < 32; sh += 8) {
    const uint32_t top = ((t00 >> sh) & 255) * (256 - fu) + ((t10 >> sh) & 255) * fu;
    const uint32_t bot = ((t01 >> sh) & 255) * (256 - fu) + ((t11 >> sh) & 255) * fu;
    out |= ((top * (256 - fv) + bot * fv + 32768) >> 16) << sh;
  }
  return out;
}

// A filtered draw whose pixel centres all fall on texel centres samples
// exactly the nearest texels.
bool on_texel_centres(const Placement& p) {
  if (!p.identity) return false;
  const uint32_t fu = uint32_t(p.u0), fv = uint32_t(p.v0);
  return fu - 0x80000000u < 0x01000000u && fv - 0x80000000u < 0x01000000u;
}

void draw_identity(const Image& img, int frame, const Placement& p, const Tint& t, SpanKernel kernel, int blend) {
  const int cl = std::max(p.x0, 0), cr = std::min(p.x1, SCREEN_W);
  const int rt = std::max(p.y0, 0), rb = std::min(p.y1, SCREEN_H);
  if (cl >= cr || rt >= rb) return;
  const uint32_t* raw = img.frame_pixels(frame);
  const uint32_t* src = tinted_frame(img, frame, t);
  const int w = img.width;
  const int tu0 = int(p.u0 >> 32) + (cl - p.rx), tu1 = tu0 + (cr - cl);
  const int tv0 = int(p.v0 >> 32) - p.ry;
  uint32_t* bb = back_buffer();

  auto piece = [&](uint32_t* dst, size_t texel, int n) {
    if (src) {
      kernel(dst, src + texel, n);
    } else {
      prepare(t, raw + texel, g_row, n);
      kernel(dst, g_row, n);
    }
  };

  if (uses_runs(blend)) {
    const FrameRuns& fr = frame_runs(img, frame);
    for (int py = rt; py < rb; ++py) {
      const int tv = tv0 + py;
      uint32_t* dst = bb + py * SCREEN_W + cl;  // pixel of texel column tu0
      const Run* run = fr.runs.data() + fr.row_first[size_t(tv)];
      const Run* end = fr.runs.data() + fr.row_first[size_t(tv) + 1];
      for (; run != end; ++run) {
        const int s = std::max<int>(run->start, tu0), e = std::min<int>(run->end, tu1);
        if (s < e) piece(dst + (s - tu0), size_t(tv) * w + s, e - s);
      }
    }
  } else {
    for (int py = rt; py < rb; ++py) {
      const int tv = tv0 + py;
      piece(bb + py * SCREEN_W + cl, size_t(tv) * w + tu0, cr - cl);
    }
  }
}

void draw_stepped(const Image& img, int frame, const Placement& p, const Tint& t, SpanKernel kernel, bool filtered) {
  const int rt = std::max(p.y0, 0), rb = std::min(p.y1, SCREEN_H);
  const int w = img.width, h = img.height;
  const uint32_t* raw = img.frame_pixels(frame);
  const uint32_t* src = filtered ? nullptr : tinted_frame(img, frame, t);
  const bool prep = src == nullptr && !t.identity();
  if (!src) src = raw;
  uint32_t* bb = back_buffer();
  RowWalker rows(p, rt);
  for (int py = rt; py < rb; ++py) {
    int l, r;
    int64_t U, V;
    if (!rows.next(0, SCREEN_W, &l, &r, &U, &V)) continue;
    const int n = r - l;
    if (filtered) {
      for (int i = 0; i < n; ++i, U += p.dux, V += p.dvx) g_row[i] = bilinear(src, w, h, U, V);
    } else {
      for (int i = 0; i < n; ++i, U += p.dux, V += p.dvx) g_row[i] = src[(V >> 32) * w + (U >> 32)];
    }
    if (prep) prepare(t, g_row, g_row, n);
    kernel(bb + py * SCREEN_W + l, g_row, n);
  }
}

// Fills pixels [l, r) of row py with the prepared constant in g_fill.
inline void fill_span(SpanKernel kernel, int py, int l, int r) {
  kernel(back_buffer() + py * SCREEN_W + l, g_fill, r - l);
}

void prepare_fill(const Tint& t) {
  static bool filled = false;
  const uint32_t white = 0xFFFFFFFFu;
  uint32_t c;
  prepare(t, &white, &c, 1);
  if (!filled || g_fill[0] != c) std::fill(g_fill, g_fill + SCREEN_W, c);
  filled = true;
}

}  // namespace

void draw_frame_at(const Image& img, int frame, double x, double y) {
  if (!frame_ok(img, frame)) return;
  const Placement p = place(img.width, img.height, img.handle_x, img.handle_y, x, y, g_state.rotation,
                            g_state.sx, g_state.sy);
  if (p.empty) return;
  const int blend = g_state.blend;
  const Tint t = current_tint();
  const SpanKernel kernel = span_kernel(blend);
  const bool filtered = (img.flags & IMG_FILTERED) != 0;
  if (p.identity && (!filtered || on_texel_centres(p)))
    draw_identity(img, frame, p, t, kernel, blend);
  else
    draw_stepped(img, frame, p, t, kernel, filtered);
}

void draw_image(const Image& img, float x, float y, int frame) {
  if (g_recorder) {
    DrawCall& c = record(DRAW_IMAGE);
    c.image = &img;
    c.frame = frame;
    c.x = x;
    c.y = y;
  }
  draw_frame_at(img, frame, x, y);
}

void draw_rect(float x, float y, float w, float h) {
  if (g_recorder) {
    DrawCall& c = record(DRAW_RECT);
    c.x = x;
    c.y = y;
    c.x2 = w;
    c.y2 = h;
  }
  const Placement p = place(w, h, 0, 0, x, y, g_state.rotation, g_state.sx, g_state.sy);
  if (p.empty) return;
  const SpanKernel kernel = span_kernel(g_state.blend);
  prepare_fill(current_tint());
  const int rt = std::max(p.y0, 0), rb = std::min(p.y1, SCREEN_H);
  RowWalker rows(p, rt);
  for (int py = rt; py < rb; ++py) {
    int l, r;
    int64_t U, V;
    if (rows.next(0, SCREEN_W, &l, &r, &U, &V)) fill_span(kernel, py, l, r);
  }
}

// The line runs from the pixel that contains the first point to the pixel
// that contains the second, both included; it is turned and scaled about its
// first point, like an image with its handle there.
void draw_line(float x1, float y1, float x2, float y2) {
  if (g_recorder) {
    DrawCall& c = record(DRAW_LINE);
    c.x = x1;
    c.y = y1;
    c.x2 = x2;
    c.y2 = y2;
  }
  double ex = x2, ey = y2;
  if (g_state.rotation != 0.0f || g_state.sx != 1.0f || g_state.sy != 1.0f) {
    double s, c;
    sin_cos_degrees(g_state.rotation, s, c);
    const double dx = (double(x2) - x1) * g_state.sx, dy = (double(y2) - y1) * g_state.sy;
    ex = x1 + product(c, dx) - product(s, dy);
    ey = y1 + product(s, dx) + product(c, dy);
  }
  constexpr double LIMIT = 65536.0;
  for (double v : {double(x1), double(y1), ex, ey})
    if (!(std::fabs(v) <= LIMIT)) return;
  int ax = int(std::floor(double(x1))), ay = int(std::floor(double(y1)));
  const int bx = int(std::floor(ex)), by = int(std::floor(ey));
  const SpanKernel kernel = span_kernel(g_state.blend);
  prepare_fill(current_tint());
  if (ay == by) {
    if (ay < 0 || ay >= SCREEN_H) return;
    const int l = std::max(std::min(ax, bx), 0), r = std::min(std::max(ax, bx) + 1, SCREEN_W);
    if (l < r) fill_span(kernel, ay, l, r);
    return;
  }
  // Bresenham, every step one pixel.
  const int dx = std::abs(bx - ax), dy = -std::abs(by - ay);
  const int stx = ax < bx ? 1 : -1, sty = ay < by ? 1 : -1;
  int err = dx + dy;
  for (;;) {
    if (ax >= 0 && ax < SCREEN_W && ay >= 0 && ay < SCREEN_H) fill_span(kernel, ay, ax, ax + 1);
    if (ax == bx && ay == by) break;
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      ax += stx;
    }
    if (e2 <= dx) {
      err += dx;
      ay += sty;
    }
  }
}

void clear() {
  if (g_recorder) record(DRAW_CLEAR);
  std::memset(back_buffer(), 0, sizeof(uint32_t) * SCREEN_W * SCREEN_H);
}

}  // namespace gfx
