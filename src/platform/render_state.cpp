// The back buffer and the current drawing state, plus the optional draw log.
#include <algorithm>
#include <cmath>

#include "platform/render_internal.h"
#include "platform/render_math.h"

namespace gfx {

DrawState g_state;
std::vector<DrawCall>* g_recorder = nullptr;
bool g_record_glyphs = false;

namespace {
alignas(64) uint32_t g_back[SCREEN_W * SCREEN_H];

int clamp255(int v) { return std::clamp(v, 0, 255); }
// NaN reads as 0 so that it never reaches the fixed-point maths.
float finite_or_zero(float v) { return std::isfinite(v) ? v : 0.0f; }
}  // namespace

uint32_t* back_buffer() { return g_back; }

void set_color(int r, int g, int b) {
  g_state.r = clamp255(r);
  g_state.g = clamp255(g);
  g_state.b = clamp255(b);
}
void get_color(int& r, int& g, int& b) {
  r = g_state.r;
  g = g_state.g;
  b = g_state.b;
}

void set_alpha(float a) {
  if (!(a >= 0.0f)) a = 0.0f;  // also NaN
  if (a > 1.0f) a = 1.0f;
  g_state.alpha = a;
  g_state.A = alpha_byte(a);
}
float get_alpha() { return g_state.alpha; }

void set_blend(int mode) {
  if (mode >= BLEND_MASK && mode <= BLEND_MULTIPLY) g_state.blend = mode;
}
int get_blend() { return g_state.blend; }

void set_rotation(float degrees) { g_state.rotation = finite_or_zero(degrees); }
float get_rotation() { return g_state.rotation; }

void set_scale(float sx, float sy) {
  g_state.sx = finite_or_zero(sx);
  g_state.sy = finite_or_zero(sy);
}
void get_scale(float& sx, float& sy) {
  sx = g_state.sx;
  sy = g_state.sy;
}

void set_rotation_scale(float degrees, float sx, float sy) {
  set_rotation(degrees);
  set_scale(sx, sy);
}

void reset_draw_state() { g_state = DrawState(); }

Tint current_tint() {
  return Tint{uint32_t(g_state.r), uint32_t(g_state.g), uint32_t(g_state.b), g_state.A,
              source_class(g_state.blend)};
}

void set_draw_recorder(std::vector<DrawCall>* out, bool glyphs_as_images) {
  g_recorder = out;
  g_record_glyphs = glyphs_as_images;
}

DrawCall& record(DrawKind kind) {
  DrawCall& c = g_recorder->emplace_back();
  c.kind = kind;
  c.r = g_state.r;
  c.g = g_state.g;
  c.b = g_state.b;
  c.alpha = g_state.alpha;
  c.blend = g_state.blend;
  c.rotation = g_state.rotation;
  c.sx = g_state.sx;
  c.sy = g_state.sy;
  return c;
}

}  // namespace gfx
