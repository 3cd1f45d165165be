// The memory floor of the recorded frame: the same pixels touched with the
// cheapest operations there are, and no sampling, blending maths or logic.
// The clear is a memset; a scanline a memset of its row; an additive draw a
// saturating add (SSE2) over exactly the pixels its non-transparent texels
// cover, reading ready-tinted texels (one copy per image frame and tint, made
// beforehand); a constant additive rectangle a saturating add of a constant;
// any other image draw a memcpy of those pixels. The picture is not meant to
// be right, only the traffic.
#include <emmintrin.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <tuple>

#include "replay.h"

namespace bench {

namespace {

enum Op : uint8_t { SET, ADD, ADD_CONST, COPY };

struct Span {
  uint32_t* dst;
  const uint32_t* src;   // ADD, COPY
  int n;
  Op op;
  uint32_t value;        // SET, ADD_CONST
};

inline void add_span(uint32_t* d, const uint32_t* s, int n) {
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm_adds_epu8(a, b));
  }
  for (; i < n; ++i) {
    const __m128i a = _mm_cvtsi32_si128(int(d[i])), b = _mm_cvtsi32_si128(int(s[i]));
    d[i] = uint32_t(_mm_cvtsi128_si32(_mm_adds_epu8(a, b)));
  }
}

inline void add_const(uint32_t* d, uint32_t v, int n) {
  const __m128i c = _mm_set1_epi32(int(v));
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm_adds_epu8(a, c));
  }
  for (; i < n; ++i) d[i] = uint32_t(_mm_cvtsi128_si32(_mm_adds_epu8(_mm_cvtsi32_si128(int(d[i])), c)));
}

class FloorReplay : public Replay {
 public:
  explicit FloorReplay(const DrawList& calls) : bits_(size_t(W) * H) {
    for (const gfx::DrawCall& c : calls) add(c);
  }

  void draw() override {
    for (const Span& s : spans_) {
      switch (s.op) {
        case SET: std::memset(s.dst, int(s.value & 255), size_t(s.n) * 4); break;
        case ADD: add_span(s.dst, s.src, s.n); break;
        case ADD_CONST: add_const(s.dst, s.value, s.n); break;
        case COPY: std::memcpy(s.dst, s.src, size_t(s.n) * 4); break;
      }
    }
  }

  Picture picture() override { return bits_; }

  size_t pixels() const {
    size_t n = 0;
    for (const Span& s : spans_) n += size_t(s.n);
    return n;
  }

 private:
  Picture bits_;
  std::map<std::tuple<const gfx::Image*, int, int, int, int, uint32_t>, std::vector<uint32_t>> tinted_;
  std::vector<Span> spans_;

  uint32_t* at(int x, int y) { return bits_.data() + size_t(y) * W + x; }

  const std::vector<uint32_t>& tinted(const gfx::DrawCall& c) {
    const uint32_t A = alpha_byte(c);
    std::vector<uint32_t>& t = tinted_[{c.image, c.frame, c.r, c.g, c.b, A}];
    if (!t.empty()) return t;
    const uint32_t* px = c.image->frame_pixels(c.frame);
    t.resize(size_t(c.image->width) * c.image->height);
    for (size_t i = 0; i < t.size(); ++i) {
      const uint32_t a = mul255(px[i] >> 24, A);
      t[i] = mul255(mul255((px[i] >> 16) & 255, uint32_t(c.r)), a) << 16 |
             mul255(mul255((px[i] >> 8) & 255, uint32_t(c.g)), a) << 8 | mul255(mul255(px[i] & 255, uint32_t(c.b)), a);
    }
    return t;
  }

  void whole_rows(const Box& b, Op op, uint32_t value) {
    for (int y = b.y0; y < b.y1; ++y) spans_.push_back(Span{at(b.x0, y), nullptr, b.x1 - b.x0, op, value});
  }

  void add(const gfx::DrawCall& c) {
    switch (c.kind) {
      case gfx::DRAW_CLEAR: spans_.push_back(Span{bits_.data(), nullptr, W * H, SET, 0}); return;
      case gfx::DRAW_LINE: whole_rows(line_box(c), SET, uint32_t(c.b)); return;
      case gfx::DRAW_RECT: {
        const uint32_t A = alpha_byte(c);
        const uint32_t v = mul255(uint32_t(c.r), A) << 16 | mul255(uint32_t(c.g), A) << 8 | mul255(uint32_t(c.b), A);
        whole_rows(draw_box(c), c.blend == gfx::BLEND_ADD ? ADD_CONST : SET, v);
        return;
      }
      case gfx::DRAW_IMAGE: break;
      default: throw Unsupported("floor: text entries and grabs are not replayed (record glyphs as images)");
    }
    const Op op = c.blend == gfx::BLEND_ADD ? ADD : COPY;
    const std::vector<uint32_t>& src = tinted(c);
    const uint32_t* texels = c.image->frame_pixels(c.frame);
    const int w = c.image->width, h = c.image->height;
    const Box b = draw_box(c);
    const bool identity = is_identity(c);
    int ox = 0, oy = 0;
    if (identity) identity_offset(c, ox, oy);
    // Runs of covered pixels whose texel is not transparent.
    for (int y = b.y0; y < b.y1; ++y) {
      int run_start = -1, first_texel = 0;
      for (int x = b.x0; x <= b.x1; ++x) {
        int texel = -1;
        if (x < b.x1) {
          int tu, tv;
          if (identity) {
            tu = x + ox;
            tv = y + oy;
          } else {
            double u, v;
            frame_point(c, x + 0.5, y + 0.5, u, v);
            tu = int(std::floor(u));
            tv = int(std::floor(v));
          }
          if (tu >= 0 && tu < w && tv >= 0 && tv < h && (texels[size_t(tv) * w + tu] >> 24) != 0)
            texel = tv * w + tu;
        }
        if (texel >= 0 && run_start < 0) {
          run_start = x;
          first_texel = texel;
        } else if (texel < 0 && run_start >= 0) {
          const int n = x - run_start;
          // Turned draws read their texels in a row too: the floor does no gathering.
          const size_t from = src.size() >= size_t(n) ? std::min(size_t(first_texel), src.size() - size_t(n)) : 0;
          if (src.size() < size_t(n)) throw Unsupported("floor: a span longer than its frame");
          spans_.push_back(Span{at(run_start, y), src.data() + from, n, op, 0});
          run_start = -1;
        }
      }
    }
  }
};

}  // namespace

std::unique_ptr<Replay> floor_replay(const DrawList& calls) { return std::make_unique<FloorReplay>(calls); }

}  // namespace bench
