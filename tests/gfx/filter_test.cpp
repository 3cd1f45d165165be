// Filtered images are sampled bilinearly between texel centres.
#include "gfx_fixture.h"

using namespace gfxtest;

TEST_F(Gfx, FilteredImagesBlendBetweenTexelCentres) {
  // Two texels, black and (200, 100, 40), enlarged 4 times: pixel centres sit
  // at 1/8, 3/8, ... of the texels; between the two texel centres the red
  // rises linearly, beyond them it stays at the edge texel.
  auto img = image_of(2, 1, {argb(255, 0, 0, 0), argb(255, 200, 100, 40)}, gfx::IMG_FILTERED);
  gfx::set_blend(gfx::BLEND_SOLID);
  gfx::set_scale(4, 4);
  gfx::draw_image(*img, 20, 10, 0);
  const int red[] = {0, 0, 25, 75, 125, 175, 200, 200};
  for (int i = 0; i < 8; ++i)
    for (int y = 10; y < 14; ++y) EXPECT_EQ(at(20 + i, y)[0], red[i]) << i << "," << y;
  EXPECT_EQ(at(28, 10), (RGB{0, 0, 0}));
  EXPECT_EQ(at(20, 14), (RGB{0, 0, 0}));

  // Half a pixel off at scale 1: each pixel is the mean of two texels.
  gfx::set_scale(1, 1);
  gfx::draw_image(*img, 40.5f, 10, 0);
  EXPECT_EQ(at(40, 10), (RGB{0, 0, 0}));
  EXPECT_EQ(at(41, 10), (RGB{100, 50, 20}));

  // On whole pixels the texels come through unchanged, as unfiltered.
  gfx::draw_image(*img, 50, 10, 0);
  EXPECT_EQ(at(50, 10), (RGB{0, 0, 0}));
  EXPECT_EQ(at(51, 10), (RGB{200, 100, 40}));
}

TEST_F(Gfx, FilteringBlendsAlphaToo) {
  // White texels, transparent then opaque, half a pixel off: alpha 128 added.
  auto img = image_of(2, 1, {argb(0, 255, 255, 255), argb(255, 255, 255, 255)}, gfx::IMG_FILTERED);
  gfx::set_blend(gfx::BLEND_ADD);
  gfx::draw_image(*img, 10.5f, 5, 0);
  EXPECT_EQ(at(10, 5), (RGB{0, 0, 0}));
  EXPECT_EQ(at(11, 5), (RGB{128, 128, 128}));
}
