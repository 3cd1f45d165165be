// Shared inside the renderer: the drawing state, placements (how a frame lands
// on the screen grid), the per-mode span kernels and the image cache.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/image.h"
#include "platform/render.h"
#include "platform/render_record.h"

namespace gfx {

// ---------------------------------------------------------------- state ----
struct DrawState {
  int r = 255, g = 255, b = 255;
  float alpha = 1.0f;
  uint32_t A = 255;         // round(alpha * 255)
  int blend = BLEND_MASK;
  float rotation = 0.0f;
  float sx = 1.0f, sy = 1.0f;
};
extern DrawState g_state;

// ------------------------------------------------------------ placement ----
// A frame placed on the screen grid. For the centre of pixel (px, py) the frame
// point in 32.32 fixed point is
//   U = u0 + (px - rx) * dux + (py - ry) * duy,  V = v0 + (px - rx) * dvx + (py - ry) * dvy
// and the pixel is covered when 0 <= U < W and 0 <= V < H; its texel is
// (U >> 32, V >> 32). The numbers are worked out in double once per placement
// and rounded to integers; from then on drawing and collision share only
// integer steps, so they agree on every pixel and every build gives the same
// bits.
struct Placement {
  int64_t u0 = 0, v0 = 0, dux = 0, duy = 0, dvx = 0, dvy = 0;
  int64_t W = 0, H = 0;
  int rx = 0, ry = 0;
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // pixels that may be covered: [x0, x1) x [y0, y1)
  bool identity = false;               // unrotated, scale 1: texel = pixel + integer offset
  bool empty = true;
};

// Places a w x h area (w, h may be fractional for rectangles) with its handle
// at (x, y) under rotation and scale. Scales below 1/1024 in size, positions
// beyond 2^20 and non-finite values place nothing.
Placement place(double w, double h, double hx, double hy, double x, double y,
                double rotation, double sx, double sy);

// floor(n / D) for n growing by a fixed step, kept exact without dividing.
struct FloorStep {
  int64_t q = 0, r = 0, D = 1, sq = 0, sr = 0;
  void start(int64_t n, int64_t step, int64_t d);  // d > 0
  void next() {
    q += sq;
    r += sr;
    if (r >= D) {
      r -= D;
      ++q;
    }
  }
};

// Walks a placement's rows downwards from first_row: each next() gives the
// covered pixels [*l, *r) of the row within [lo, hi) and U, V at *l (false
// when there are none), then moves one row down.
class RowWalker {
 public:
  RowWalker(const Placement& p, int first_row);
  bool next(int lo, int hi, int* l, int* r, int64_t* U, int64_t* V);

 private:
  const Placement& p;
  int py;
  int64_t Ur, Vr;
  FloorStep ulo, uhi, vlo, vhi;
};

// --------------------------------------------------------------- kernels ---
// Prepared source texels, per blend mode, for one colour and alpha:
//   S (mask, solid, multiply): rgb = mul255(texel, colour), top byte = texel alpha
//   A (alpha):                 rgb as S, top byte = a = mul255(texel alpha, A)
//   P (additive):              rgb = mul255(S rgb, a), top byte 0
enum SourceClass { SRC_S = 0, SRC_A = 1, SRC_P = 2 };
inline SourceClass source_class(int blend) {
  return blend == BLEND_ALPHA ? SRC_A : blend == BLEND_ADD ? SRC_P : SRC_S;
}

struct Tint {
  uint32_t r, g, b, A;
  SourceClass cls;
  bool identity() const { return cls != SRC_P && r == 255 && g == 255 && b == 255 && (cls == SRC_S || A == 255); }
};
Tint current_tint();

// out[i] = the prepared form of texel in[i]; in and out may be the same.
void prepare(const Tint& t, const uint32_t* in, uint32_t* out, int n);

// dst[i] = blend(dst[i], src[i]) for prepared sources; one function per mode.
using SpanKernel = void (*)(uint32_t* dst, const uint32_t* src, int n);
SpanKernel span_kernel(int blend);

// ------------------------------------------------------------ the cache ----
struct Run { uint16_t start, end; };
struct FrameRuns {
  std::vector<uint32_t> row_first;  // height + 1 indices into runs
  std::vector<Run> runs;            // texels with alpha != 0, small gaps merged
};
// Opaque runs of a frame, built when first needed.
const FrameRuns& frame_runs(const Image& img, int frame);
// The frame's texels prepared for tint t; null when the draw should prepare
// them itself (a tint not seen recently on a large image).
const uint32_t* tinted_frame(const Image& img, int frame, const Tint& t);

// ------------------------------------------------------------- recorder ----
extern std::vector<DrawCall>* g_recorder;
extern bool g_record_glyphs;
// An entry with the current state filled in.
DrawCall& record(DrawKind kind);

// ------------------------------------------------------------ internals ----
// Draws a frame with its handle at (x, y) under the current state; positions
// in double so that text can place glyphs without rounding.
void draw_frame_at(const Image& img, int frame, double x, double y);

}  // namespace gfx
