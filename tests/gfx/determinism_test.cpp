// The same calls give the same pixels in every build: a scene that touches
// every path (runs, tinted copies, steppers, bilinear sampling, each blend
// mode, lines, grabs) must hash to one constant, optimised or sanitised.
#include "gfx_fixture.h"

using namespace gfxtest;

namespace {

uint64_t fnv(const uint32_t* p, size_t n, uint64_t h = 1469598103934665603ull) {
  for (size_t i = 0; i < n; ++i) {
    h ^= p[i];
    h *= 1099511628211ull;
  }
  return h;
}

// A w x h masked sprite: a ring with coloured texels; big enough (> 4096
// texels) to take the large-image paths as well when `big`.
gfx::ImageRef sprite(int w, int h, int flags, uint32_t seed) {
  std::vector<uint32_t> t(size_t(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      // Integer ring test (no floating point that a build could fuse).
      const int64_t ex = 2 * x + 1 - w, ey = 2 * y + 1 - h;
      const int64_t q = ex * ex * h * h + ey * ey * w * w, full = int64_t(w) * w * h * h;
      const uint32_t v = (uint32_t(x * 37 + y * 91) * seed) & 0xFFFFFF;
      t[size_t(y) * w + x] = (q < full && 25 * q > 4 * full) ? (v | 0x010101) : 0;
    }
  auto img = image_of(w, h, t, flags);
  gfx::apply_mask(*img, 0);
  gfx::centre_handle(*img);
  return img;
}

}  // namespace

TEST_F(Gfx, ASceneHashesTheSameInEveryBuild) {
  auto small = sprite(21, 77, gfx::IMG_MASKED, 2654435761u);
  auto large = sprite(160, 120, gfx::IMG_MASKED, 40503u);
  auto smooth = sprite(33, 17, gfx::IMG_MASKED | gfx::IMG_FILTERED, 977u);
  auto back = sprite(640, 480, gfx::IMG_MASKED, 69069u);
  gfx::set_handle(*back, 0, 0);
  uint64_t h = 0;
  for (int frame = 0; frame < 3; ++frame) {
    gfx::clear();
    gfx::reset_draw_state();
    gfx::set_blend(gfx::BLEND_ADD);
    gfx::set_alpha(0.6f);
    gfx::set_color(20, 20, 40);
    gfx::draw_rect(0, 0, 640, 480);
    for (int pass = 0; pass < 2; ++pass) {
      gfx::set_color(4, 80, 60);
      gfx::draw_image(*back, 8, 0, 0);
      gfx::set_color(140, 4, 10);
      gfx::draw_image(*back, -8, 0, 0);
    }
    gfx::set_alpha(1);
    const int blends[] = {1, 2, 3, 4, 5};
    for (int i = 0; i < 25; ++i) {
      gfx::set_blend(blends[i % 5]);
      gfx::set_color(255 - i * 7, 100 + i * 5, 30 + i * 9);
      // Inputs from quotients of integers, so that no build fuses their arithmetic.
      gfx::set_alpha(float(300 + 28 * i) / 1000.0f);
      gfx::set_rotation_scale(i % 3 ? float(frame * 130 + i * 297) / 10.0f : 0.0f, float(40 + 7 * i) / 100.0f,
                              float(50 + 5 * i) / 100.0f);
      const gfx::Image& img = i % 3 == 0 ? *small : i % 3 == 1 ? *large : *smooth;
      gfx::draw_image(img, float(253 * i + 10 * frame) / 10.0f, float(179 * i + 35) / 10.0f, 0);
    }
    gfx::set_rotation_scale(0, 1, 1);
    gfx::set_blend(gfx::BLEND_ALPHA);
    gfx::set_alpha(0.45f);
    gfx::draw_image(*large, 300.5f, 200.25f, 0);  // unrotated: the integer-offset path
    gfx::set_blend(gfx::BLEND_SOLID);
    gfx::set_color(2, 2, 2);
    for (int y = 1; y <= 480; y += 2) gfx::draw_line(0, float(y), 640, float(y));
    gfx::draw_line(3.5f, 470.2f, 630.1f, 12.9f);
    h = fnv(gfx::back_buffer(), size_t(gfx::SCREEN_W) * gfx::SCREEN_H, h);
    auto grabbed = gfx::create_image(50, 40, 1);
    gfx::grab_image(*grabbed, 600, 450, 0);
    h = fnv(grabbed->pixels.data(), grabbed->pixels.size(), h);
    gfx::set_rotation_scale(float(frame * 31), 1.25f, 0.8f);
    h = h * 31 + gfx::images_collide(*small, 100 + frame * 20, 100, 0, *large, 160, 110, 0);
  }
  EXPECT_EQ(h, 11126796406256934502u);
}
