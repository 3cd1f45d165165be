// Images: masking with the neighbour fill, PNG loading, grabbing the screen.
#include <png.h>

#include "gfx_fixture.h"

using namespace gfxtest;

namespace {

constexpr uint32_t K = 0x000000, R = 0xC80000, G = 0x006400, W = 0x5B5B5B;  // W is (91, 91, 91)

// 6 x 3; columns 4 and 5 have no opaque neighbour at all.
const std::vector<uint32_t> kSprite = {
    K, R, K, K, K, K,
    G, K, W, K, K, K,
    K, K, K, K, K, K,
};

// After masking: opaque texels keep their colour; each transparent one holds
// the rounded average of its opaque neighbours among the eight around it.
const std::vector<uint32_t> kMasked = {
    argb(0, 100, 50, 0),  argb(255, 200, 0, 0), argb(0, 146, 46, 46), argb(0, 91, 91, 91), 0, 0,
    argb(255, 0, 100, 0), argb(0, 97, 64, 30),  argb(255, 91, 91, 91), argb(0, 91, 91, 91), 0, 0,
    argb(0, 0, 100, 0),   argb(0, 46, 96, 46),  argb(0, 91, 91, 91),  argb(0, 91, 91, 91), 0, 0,
};

std::vector<uint8_t> encode_rgb_png(int w, int h, const std::vector<uint32_t>& rgb) {
  std::vector<uint8_t> raw;
  for (uint32_t p : rgb) raw.insert(raw.end(), {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)});
  png_image img{};
  img.version = PNG_IMAGE_VERSION;
  img.width = png_uint_32(w);
  img.height = png_uint_32(h);
  img.format = PNG_FORMAT_RGB;
  png_alloc_size_t size = 0;
  EXPECT_TRUE(png_image_write_to_memory(&img, nullptr, &size, 0, raw.data(), 0, nullptr));
  std::vector<uint8_t> out(size);
  EXPECT_TRUE(png_image_write_to_memory(&img, out.data(), &size, 0, raw.data(), 0, nullptr));
  out.resize(size);
  return out;
}

}  // namespace

TEST_F(Gfx, LoadingAMaskedPngMakesBlackTransparentAndFillsItFromNeighbours) {
  const auto png = encode_rgb_png(6, 3, kSprite);
  gfx::set_image_flags(gfx::IMG_MASKED | gfx::IMG_WRITABLE);
  auto img = gfx::load_image_png(png.data(), png.size());
  ASSERT_TRUE(img);
  EXPECT_EQ(img->width, 6);
  EXPECT_EQ(img->height, 3);
  EXPECT_EQ(img->frames, 1);
  EXPECT_EQ(img->flags, gfx::IMG_MASKED | gfx::IMG_WRITABLE);
  EXPECT_EQ(img->pixels, kMasked);

  // Unmasked and auto-centred: every texel opaque as it was, handle at the centre.
  gfx::set_image_flags(0);
  gfx::set_auto_centre(true);
  auto plain = gfx::load_image_png(png.data(), png.size());
  ASSERT_TRUE(plain);
  for (size_t i = 0; i < kSprite.size(); ++i) EXPECT_EQ(plain->pixels[i], 0xFF000000u | kSprite[i]) << i;
  EXPECT_EQ(plain->handle_x, 3.0f);
  EXPECT_EQ(plain->handle_y, 1.5f);

  const uint8_t junk[] = {0x89, 'P', 'N', 'G', 1, 2, 3};
  EXPECT_EQ(gfx::load_image_png(junk, sizeof junk), nullptr);
  EXPECT_EQ(gfx::load_image_png(png.data(), png.size() / 2), nullptr);
}

TEST_F(Gfx, TheAssetPicturesDecodeAtTheirSizes) {
  struct { const char* name; int w, h; } files[] = {{"plonk_bg1.png", 640, 480}, {"plonk_sf1.png", 571, 315},
                                                    {"mpointer.png", 28, 25}, {"bqlogo.png", 420, 236}};
  for (auto f : files) {
    std::ifstream in(std::string(GOBBLE_SOURCE_DIR) + "/assets/" + f.name, std::ios::binary);
    const std::vector<uint8_t> bytes(std::istreambuf_iterator<char>(in), {});
    auto img = gfx::load_image_png(bytes.data(), bytes.size());
    ASSERT_TRUE(img) << f.name;
    EXPECT_EQ(img->width, f.w) << f.name;
    EXPECT_EQ(img->height, f.h) << f.name;
  }
}

TEST_F(Gfx, GrabCopiesTheScreenAndMasksIt) {
  // Draw the unmasked sprite at the bottom-right corner so that the grab
  // reaches two columns and one row past the screen's edges.
  auto src = image_of(6, 3, kSprite);
  for (auto& p : src->pixels) p |= 0xFF000000u;
  gfx::draw_image(*src, 636, 478, 0);  // columns 636..639, rows 478..479 on screen
  gfx::set_image_flags(gfx::IMG_MASKED | gfx::IMG_WRITABLE);
  auto grabbed = gfx::create_image(6, 3, 2);
  ASSERT_TRUE(grabbed);
  gfx::grab_image(*grabbed, 636, 478, 1);
  // Frame 0 untouched; frame 1 = the visible part masked, off-screen texels black, so transparent.
  for (int i = 0; i < 18; ++i) EXPECT_EQ(grabbed->frame_pixels(0)[i], 0u);
  std::vector<uint32_t> visible = kSprite;
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 6; ++x)
      if (x >= 4 || y >= 2) visible[size_t(y) * 6 + x] = K;
  auto expect = image_of(6, 3, visible, gfx::IMG_MASKED);
  gfx::apply_mask(*expect, 0);
  for (int i = 0; i < 18; ++i) EXPECT_EQ(grabbed->frame_pixels(1)[i], expect->pixels[size_t(i)]) << i;

  // A grab fully above-left of the screen is all black; unmasked it stays opaque.
  gfx::set_image_flags(0);
  auto plain = gfx::create_image(3, 2, 1);
  gfx::grab_image(*plain, -10, -10, 0);
  for (uint32_t p : plain->pixels) EXPECT_EQ(p, 0xFF000000u);
  // A grab of a frame that does not exist changes nothing.
  gfx::grab_image(*plain, 0, 0, 1);
  gfx::grab_image(*plain, 0, 0, -1);
}

TEST_F(Gfx, RedrawingAGrabbedFrameReproducesTheScreen) {
  // The pause picture: grab the whole screen, then draw it back in mask mode.
  for (int i = 0; i < gfx::SCREEN_W * gfx::SCREEN_H; ++i) gfx::back_buffer()[i] = uint32_t(i * 2654435761u) & 0xFFFFFF;
  gfx::back_buffer()[5] = 0;  // a black pixel: transparent after the grab
  const std::vector<uint32_t> before(gfx::back_buffer(), gfx::back_buffer() + gfx::SCREEN_W * gfx::SCREEN_H);
  gfx::set_image_flags(gfx::IMG_MASKED | gfx::IMG_WRITABLE);
  auto pause = gfx::create_image(640, 480, 1);
  gfx::grab_image(*pause, 0, 0, 0);
  EXPECT_EQ(pause->pixels[5] >> 24, 0u);
  fill_screen(0x010203);
  gfx::draw_image(*pause, 0, 0, 0);
  for (int i = 0; i < gfx::SCREEN_W * gfx::SCREEN_H; ++i)
    ASSERT_EQ(gfx::back_buffer()[i], before[size_t(i)] == 0 ? 0x010203u : before[size_t(i)]) << i;
  // Darkened as the pause menu shows it: a white pixel becomes (50, 50, 100).
  gfx::back_buffer()[7] = 0xFFFFFF;
  gfx::grab_image(*pause, 0, 0, 0);
  gfx::set_color(50, 50, 100);
  gfx::draw_image(*pause, 0, 0, 0);
  gfx::draw_image(*pause, 0, 0, 0);  // the second draw comes from the tinted copy
  EXPECT_EQ(at(7, 0), (RGB{50, 50, 100}));
}
