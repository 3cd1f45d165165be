// The recorded frame drawn with pixman, the way a pixman-based renderer would
// draw it: every sprite is uploaded once as a premultiplied a8r8g8b8 image;
// an additive draw is one ADD composite with the tint (colour times alpha) as
// a solid source and the sprite as a component-alpha mask, turned and scaled
// by a nearest-sampling affine transform of the mask. A draw with an alpha
// below 1 takes two composites (the sprite tinted into a scratch image, then
// added under a solid alpha mask), because the drawing model multiplies by the
// colour and by the alpha one after the other, each product rounded. Clear
// and the scanlines are pixman fills.
#include <pixman.h>

#include <cmath>
#include <map>

#include "replay.h"

namespace bench {

namespace {

constexpr double PI = 3.14159265358979323846;

pixman_color_t color16(uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
  return pixman_color_t{uint16_t(r * 257), uint16_t(g * 257), uint16_t(b * 257), uint16_t(a * 257)};
}

struct Sprite {
  std::vector<uint32_t> px;   // premultiplied
  pixman_image_t* img = nullptr;
  int w = 0, h = 0;
};

// One step of the replay, everything but the pixel work worked out beforehand.
struct Step {
  enum Kind { FILL, COMPOSITE } kind = FILL;
  // FILL
  int x = 0, y = 0, w = 0, h = 0;
  uint32_t value = 0;
  // COMPOSITE: optionally a tint pass into `scratch` first
  pixman_op_t op = PIXMAN_OP_ADD;
  pixman_image_t *src = nullptr, *mask = nullptr;
  pixman_image_t* transformed = nullptr;   // src or mask; null for identity draws
  pixman_transform_t transform;
  int src_x = 0, src_y = 0, mask_x = 0, mask_y = 0;
  pixman_image_t *tint_src = nullptr, *tint_mask = nullptr, *scratch = nullptr;
  int tint_w = 0, tint_h = 0;
};

class PixmanReplay : public Replay {
 public:
  explicit PixmanReplay(const DrawList& calls) : bits_(size_t(W) * H) {
    dst_ = pixman_image_create_bits(PIXMAN_x8r8g8b8, W, H, bits_.data(), W * 4);
    for (const gfx::DrawCall& c : calls) add(c);
  }
  ~PixmanReplay() override {
    for (pixman_image_t* i : owned_) pixman_image_unref(i);
    for (auto& kv : sprites_) pixman_image_unref(kv.second.img);
    for (auto& kv : scratch_) pixman_image_unref(kv.second);
    pixman_image_unref(dst_);
  }

  void draw() override {
    for (const Step& s : steps_) {
      if (s.kind == Step::FILL) {
        pixman_fill(bits_.data(), W, 32, s.x, s.y, s.w, s.h, s.value);
        continue;
      }
      if (s.scratch)
        pixman_image_composite32(PIXMAN_OP_SRC, s.tint_src, s.tint_mask, s.scratch, 0, 0, 0, 0, 0, 0, s.tint_w,
                                 s.tint_h);
      if (s.transformed) pixman_image_set_transform(s.transformed, &s.transform);
      pixman_image_composite32(s.op, s.src, s.mask, dst_, s.src_x, s.src_y, s.mask_x, s.mask_y, s.x, s.y, s.w,
                               s.h);
      if (s.transformed) pixman_image_set_transform(s.transformed, nullptr);
    }
  }

  Picture picture() override {
    Picture p(bits_);
    for (uint32_t& v : p) v &= 0xFFFFFFu;
    return p;
  }

 private:
  std::vector<uint32_t> bits_;
  pixman_image_t* dst_;
  std::map<std::pair<const gfx::Image*, int>, Sprite> sprites_;
  std::map<std::pair<int, int>, pixman_image_t*> scratch_;
  std::vector<pixman_image_t*> owned_;
  std::vector<Step> steps_;

  pixman_image_t* keep(pixman_image_t* i) {
    owned_.push_back(i);
    return i;
  }

  pixman_image_t* solid(uint32_t r, uint32_t g, uint32_t b, uint32_t a, bool component_alpha) {
    const pixman_color_t c = color16(r, g, b, a);
    pixman_image_t* i = keep(pixman_image_create_solid_fill(&c));
    if (component_alpha) pixman_image_set_component_alpha(i, 1);
    return i;
  }

  Sprite& sprite(const gfx::Image& img, int frame) {
    Sprite& s = sprites_[{&img, frame}];
    if (s.img) return s;
    s.w = img.width;
    s.h = img.height;
    const uint32_t* t = img.frame_pixels(frame);
    s.px.resize(size_t(s.w) * s.h);
    for (size_t i = 0; i < s.px.size(); ++i) {
      const uint32_t a = t[i] >> 24;
      s.px[i] = a << 24 | mul255((t[i] >> 16) & 255, a) << 16 | mul255((t[i] >> 8) & 255, a) << 8 |
                mul255(t[i] & 255, a);
    }
    s.img = pixman_image_create_bits(PIXMAN_a8r8g8b8, s.w, s.h, s.px.data(), s.w * 4);
    pixman_image_set_filter(s.img, PIXMAN_FILTER_NEAREST, nullptr, 0);
    return s;
  }

  pixman_image_t* scratch(int w, int h) {
    pixman_image_t*& i = scratch_[{w, h}];
    if (!i) {
      i = pixman_image_create_bits(PIXMAN_a8r8g8b8, w, h, nullptr, w * 4);
      pixman_image_set_filter(i, PIXMAN_FILTER_NEAREST, nullptr, 0);
    }
    return i;
  }

  static void set_box(Step& s, const Box& b) {
    s.x = b.x0;
    s.y = b.y0;
    s.w = b.x1 - b.x0;
    s.h = b.y1 - b.y0;
  }

  // Screen (pixel-centre) coordinates to frame coordinates.
  static pixman_transform_t screen_to_frame(const gfx::DrawCall& c) {
    const double a = double(c.rotation) * PI / 180.0, s = std::sin(a), k = std::cos(a);
    const double hx = c.image->handle_x, hy = c.image->handle_y;
    pixman_f_transform f;
    f.m[0][0] = k / c.sx;
    f.m[0][1] = s / c.sx;
    f.m[0][2] = hx - (k * c.x + s * c.y) / c.sx;
    f.m[1][0] = -s / c.sy;
    f.m[1][1] = k / c.sy;
    f.m[1][2] = hy - (k * c.y - s * c.x) / c.sy;
    f.m[2][0] = 0;
    f.m[2][1] = 0;
    f.m[2][2] = 1;
    pixman_transform_t t;
    if (!pixman_transform_from_pixman_f_transform(&t, &f)) throw Unsupported("pixman: transform out of range");
    return t;
  }

  void add(const gfx::DrawCall& c) {
    Step s;
    switch (c.kind) {
      case gfx::DRAW_CLEAR:
        s.kind = Step::FILL;
        set_box(s, Box{0, 0, W, H});
        steps_.push_back(s);
        return;
      case gfx::DRAW_LINE: {
        if (c.blend != gfx::BLEND_SOLID) throw Unsupported("pixman: lines are replayed in solid blend only");
        s.kind = Step::FILL;
        set_box(s, line_box(c));
        s.value = uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | uint32_t(c.b);
        if (s.w > 0 && s.h > 0) steps_.push_back(s);
        return;
      }
      case gfx::DRAW_RECT: {
        if (c.blend != gfx::BLEND_ADD || !is_identity(c))
          throw Unsupported("pixman: rectangles are replayed unturned and additive only");
        const uint32_t A = alpha_byte(c);
        s.kind = Step::COMPOSITE;
        s.op = PIXMAN_OP_ADD;
        s.src = solid(mul255(uint32_t(c.r), A), mul255(uint32_t(c.g), A), mul255(uint32_t(c.b), A), A, false);
        set_box(s, draw_box(c));
        if (s.w > 0 && s.h > 0) steps_.push_back(s);
        return;
      }
      case gfx::DRAW_IMAGE: break;
      default: throw Unsupported("pixman: text entries and grabs are not replayed (record glyphs as images)");
    }
    if (c.blend != gfx::BLEND_ADD) throw Unsupported("pixman: images are replayed in additive blend only");
    if ((c.image->flags & gfx::IMG_FILTERED) && !is_identity(c))
      throw Unsupported("pixman: filtered images are replayed unturned only");
    const Box box = draw_box(c);
    if (box.empty()) return;
    Sprite& sp = sprite(*c.image, c.frame);
    const uint32_t A = alpha_byte(c);
    s.kind = Step::COMPOSITE;
    s.op = PIXMAN_OP_ADD;
    set_box(s, box);
    pixman_image_t* texels = sp.img;
    pixman_image_t** textured = &s.mask;
    if (A == 255) {
      s.src = solid(uint32_t(c.r), uint32_t(c.g), uint32_t(c.b), 255, false);
      s.mask = sp.img;
      pixman_image_set_component_alpha(sp.img, 1);
    } else {
      s.scratch = scratch(sp.w, sp.h);
      s.tint_src = sp.img;
      s.tint_mask = solid(uint32_t(c.r), uint32_t(c.g), uint32_t(c.b), 255, true);
      s.tint_w = sp.w;
      s.tint_h = sp.h;
      s.src = texels = s.scratch;
      s.mask = solid(0, 0, 0, A, false);
      textured = &s.src;
    }
    int& tx = textured == &s.mask ? s.mask_x : s.src_x;
    int& ty = textured == &s.mask ? s.mask_y : s.src_y;
    if (is_identity(c)) {
      int ox, oy;
      identity_offset(c, ox, oy);
      tx = s.x + ox;
      ty = s.y + oy;
    } else {
      // Texture coordinates equal screen coordinates; the transform does the rest.
      s.transformed = texels;
      s.transform = screen_to_frame(c);
      tx = s.x;
      ty = s.y;
    }
    steps_.push_back(s);
  }
};

}  // namespace

std::unique_ptr<Replay> pixman_replay(const DrawList& calls) { return std::make_unique<PixmanReplay>(calls); }

}  // namespace bench
