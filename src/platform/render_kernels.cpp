// The inner loops: one span kernel per blend mode over prepared source texels,
// and the preparation of texels for a colour and alpha. SSE2 (the x86-64
// baseline) four pixels at a time, the same integer maths as mul255/div255.
#include <emmintrin.h>

#include <cstring>

#include "platform/render_internal.h"
#include "platform/render_math.h"

namespace gfx {

namespace {

const __m128i k_zero = _mm_setzero_si128();
inline __m128i k_rgb() { return _mm_set1_epi32(0x00FFFFFF); }
inline __m128i k_128() { return _mm_set1_epi16(128); }
inline __m128i k_255() { return _mm_set1_epi16(255); }

// round(x / 255) per 16-bit lane for x <= 65025.
inline __m128i div255_16(__m128i x) {
  x = _mm_add_epi16(x, k_128());
  return _mm_srli_epi16(_mm_add_epi16(x, _mm_srli_epi16(x, 8)), 8);
}
// mul255 per 16-bit lane.
inline __m128i mul255_16(__m128i a, __m128i b) { return div255_16(_mm_mullo_epi16(a, b)); }

// Each pixel's top byte (alpha) copied to its four 16-bit lanes.
inline __m128i alpha_lanes(__m128i px16) {
  px16 = _mm_shufflelo_epi16(px16, _MM_SHUFFLE(3, 3, 3, 3));
  return _mm_shufflehi_epi16(px16, _MM_SHUFFLE(3, 3, 3, 3));
}

inline __m128i load(const uint32_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline void store(uint32_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }

inline uint32_t rgb_of(uint32_t r, uint32_t g, uint32_t b) { return (r << 16) | (g << 8) | b; }

// The last 1..3 pixels of a span, loaded and stored without touching the
// pixels beyond it.
inline __m128i load_part(const uint32_t* p, int n) {
  if (n == 1) return _mm_cvtsi32_si128(int(p[0]));
  const __m128i two = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
  return n == 2 ? two : _mm_unpacklo_epi64(two, _mm_cvtsi32_si128(int(p[2])));
}
inline void store_part(uint32_t* p, __m128i v, int n) {
  if (n == 1) {
    p[0] = uint32_t(_mm_cvtsi128_si32(v));
    return;
  }
  _mm_storel_epi64(reinterpret_cast<__m128i*>(p), v);
  if (n == 3) p[2] = uint32_t(_mm_cvtsi128_si32(_mm_srli_si128(v, 8)));
}

// Runs op(dst, src) over a span four pixels at a time.
template <class Op>
inline void run(uint32_t* d, const uint32_t* s, int n, Op op) {
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    store(d + i, op(load(d + i), load(s + i)));
    store(d + i + 4, op(load(d + i + 4), load(s + i + 4)));
  }
  if (i + 4 <= n) {
    store(d + i, op(load(d + i), load(s + i)));
    i += 4;
  }
  if (i < n) store_part(d + i, op(load_part(d + i, n - i), load_part(s + i, n - i)), n - i);
}

// --- kernels ---
void k_mask(uint32_t* d, const uint32_t* s, int n) {
  run(d, s, n, [](__m128i dv, __m128i sv) {
    const __m128i on = _mm_srai_epi32(sv, 31);  // texel alpha >= 128
    return _mm_or_si128(_mm_and_si128(on, _mm_and_si128(sv, k_rgb())), _mm_andnot_si128(on, dv));
  });
}

void k_solid(uint32_t* d, const uint32_t* s, int n) {
  run(d, s, n, [](__m128i, __m128i sv) { return _mm_and_si128(sv, k_rgb()); });
}

inline __m128i alpha_half(__m128i s16, __m128i d16) {
  const __m128i a = alpha_lanes(s16);
  const __m128i ia = _mm_sub_epi16(k_255(), a);
  return div255_16(_mm_add_epi16(_mm_mullo_epi16(s16, a), _mm_mullo_epi16(d16, ia)));
}

void k_alpha(uint32_t* d, const uint32_t* s, int n) {
  run(d, s, n, [](__m128i dv, __m128i sv) {
    const __m128i lo = alpha_half(_mm_unpacklo_epi8(sv, k_zero), _mm_unpacklo_epi8(dv, k_zero));
    const __m128i hi = alpha_half(_mm_unpackhi_epi8(sv, k_zero), _mm_unpackhi_epi8(dv, k_zero));
    return _mm_and_si128(_mm_packus_epi16(lo, hi), k_rgb());
  });
}

void k_add(uint32_t* d, const uint32_t* s, int n) {
  run(d, s, n, [](__m128i dv, __m128i sv) { return _mm_adds_epu8(dv, sv); });
}

void k_multiply(uint32_t* d, const uint32_t* s, int n) {
  run(d, s, n, [](__m128i dv, __m128i sv) {
    const __m128i lo = mul255_16(_mm_unpacklo_epi8(sv, k_zero), _mm_unpacklo_epi8(dv, k_zero));
    const __m128i hi = mul255_16(_mm_unpackhi_epi8(sv, k_zero), _mm_unpackhi_epi8(dv, k_zero));
    return _mm_and_si128(_mm_packus_epi16(lo, hi), k_rgb());
  });
}

// --- preparation ---
inline uint32_t prep_one(const Tint& t, uint32_t px) {
  const uint32_t ta = px >> 24;
  uint32_t r = mul255((px >> 16) & 255, t.r), g = mul255((px >> 8) & 255, t.g), b = mul255(px & 255, t.b);
  if (t.cls == SRC_S) return (ta << 24) | rgb_of(r, g, b);
  const uint32_t a = mul255(ta, t.A);
  if (t.cls == SRC_A) return (a << 24) | rgb_of(r, g, b);
  return rgb_of(mul255(r, a), mul255(g, a), mul255(b, a));
}

}  // namespace

SpanKernel span_kernel(int blend) {
  switch (blend) {
    case BLEND_SOLID: return k_solid;
    case BLEND_ALPHA: return k_alpha;
    case BLEND_ADD: return k_add;
    case BLEND_MULTIPLY: return k_multiply;
    default: return k_mask;
  }
}

void prepare(const Tint& t, const uint32_t* in, uint32_t* out, int n) {
  // Colour per 16-bit lane (b, g, r, then 255 so that alpha passes through).
  const __m128i col = _mm_set_epi16(255, short(t.r), short(t.g), short(t.b), 255, short(t.r), short(t.g), short(t.b));
  const __m128i Av = _mm_set1_epi16(short(t.A));
  const __m128i alpha_lane = _mm_set_epi16(-1, 0, 0, 0, -1, 0, 0, 0);
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    const __m128i v = load(in + i);
    __m128i lo = mul255_16(_mm_unpacklo_epi8(v, k_zero), col);
    __m128i hi = mul255_16(_mm_unpackhi_epi8(v, k_zero), col);
    if (t.cls != SRC_S) {
      // a = mul255(texel alpha, A) in the alpha lane.
      const __m128i alo = mul255_16(alpha_lanes(lo), Av), ahi = mul255_16(alpha_lanes(hi), Av);
      if (t.cls == SRC_A) {
        lo = _mm_or_si128(_mm_andnot_si128(alpha_lane, lo), _mm_and_si128(alpha_lane, alo));
        hi = _mm_or_si128(_mm_andnot_si128(alpha_lane, hi), _mm_and_si128(alpha_lane, ahi));
      } else {
        lo = _mm_andnot_si128(alpha_lane, mul255_16(lo, alo));
        hi = _mm_andnot_si128(alpha_lane, mul255_16(hi, ahi));
      }
    }
    store(out + i, _mm_packus_epi16(lo, hi));
  }
  for (; i < n; ++i) out[i] = prep_one(t, in[i]);
}

}  // namespace gfx
