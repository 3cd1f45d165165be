// Small helpers shared by the drawing tests: images from texel lists, reading
// back-buffer pixels as (r, g, b), and the test font from the assets folder.
#pragma once
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/image.h"
#include "platform/render.h"
#include "platform/text.h"

namespace gfxtest {

using RGB = std::array<int, 3>;

inline uint32_t argb(int a, int r, int g, int b) {
  return (uint32_t(a) << 24) | (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b);
}

inline RGB at(int x, int y) {
  const uint32_t p = gfx::back_buffer()[y * gfx::SCREEN_W + x];
  return {int((p >> 16) & 255), int((p >> 8) & 255), int(p & 255)};
}

inline void fill_screen(uint32_t rgb) {
  std::fill(gfx::back_buffer(), gfx::back_buffer() + gfx::SCREEN_W * gfx::SCREEN_H, rgb);
}

// An unmasked image whose texels are given row by row.
inline gfx::ImageRef image_of(int w, int h, const std::vector<uint32_t>& texels, int flags = 0) {
  auto img = std::make_shared<gfx::Image>();
  img->width = w;
  img->height = h;
  img->frames = 1;
  img->flags = flags;
  img->pixels = texels;
  img->pixels.resize(size_t(w) * h);
  return img;
}

// A solid opaque image of one colour.
inline gfx::ImageRef solid_image(int w, int h, uint32_t rgb, int flags = 0) {
  return image_of(w, h, std::vector<uint32_t>(size_t(w) * h, 0xFF000000u | rgb), flags);
}

inline std::vector<uint8_t> font_bytes() {
  std::ifstream f(std::string(GOBBLE_SOURCE_DIR) + "/assets/altamontenf.ttf", std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

// Every test starts from the initial state over a black screen, with the
// image defaults as a fresh program has them.
class Gfx : public ::testing::Test {
 protected:
  void SetUp() override {
    gfx::reset_draw_state();
    gfx::clear();
    gfx::set_mask_color(0, 0, 0);
    gfx::set_image_flags(0);
    gfx::set_auto_centre(false);
  }
};

}  // namespace gfxtest
