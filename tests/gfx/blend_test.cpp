// Colour arithmetic: the rounding rule, and every blend mode with worked numbers.
#include "gfx_fixture.h"
#include "platform/render_math.h"

using namespace gfxtest;

TEST(Mul255, RoundsEveryProductToNearest) {
  for (uint32_t a = 0; a < 256; ++a)
    for (uint32_t b = 0; b < 256; ++b) ASSERT_EQ(gfx::mul255(a, b), (2 * a * b + 255) / 510) << a << " * " << b;
  for (uint32_t x = 0; x <= 255 * 255; ++x) ASSERT_EQ(gfx::div255(x), (2 * x + 255) / 510) << x;
}

TEST(Mul255, AlphaByteRoundsHalvesUp) {
  EXPECT_EQ(gfx::alpha_byte(0.6f), 153u);
  EXPECT_EQ(gfx::alpha_byte(0.5f), 128u);
  EXPECT_EQ(gfx::alpha_byte(1.0f), 255u);
  EXPECT_EQ(gfx::alpha_byte(0.0f), 0u);
}

struct BlendCase {
  const char* what;
  RGB dst;
  uint32_t texel;
  RGB colour;
  float alpha;
  int blend;
  RGB want;
};

class Blend : public Gfx, public ::testing::WithParamInterface<BlendCase> {};

// A 13-texel row exercises the wide loops and the scalar ends of each kernel.
TEST_P(Blend, GivesTheWorkedNumbers) {
  const BlendCase& c = GetParam();
  fill_screen(argb(0, c.dst[0], c.dst[1], c.dst[2]));
  auto img = image_of(13, 1, std::vector<uint32_t>(13, c.texel));
  gfx::set_color(c.colour[0], c.colour[1], c.colour[2]);
  gfx::set_alpha(c.alpha);
  gfx::set_blend(c.blend);
  for (int pass = 0; pass < 2; ++pass) {  // second pass: the image's tinted copy
    fill_screen(argb(0, c.dst[0], c.dst[1], c.dst[2]));
    gfx::draw_image(*img, 10, 20, 0);
    for (int x = 10; x < 23; ++x) ASSERT_EQ(at(x, 20), c.want) << c.what << " at x " << x << " pass " << pass;
    EXPECT_EQ(at(9, 20), c.dst);
    EXPECT_EQ(at(23, 20), c.dst);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, Blend,
    ::testing::Values(
        BlendCase{"mask: colour multiplies white", {7, 7, 7}, 0xFFFFFFFF, {50, 50, 100}, 1, 1, {50, 50, 100}},
        BlendCase{"mask: alpha 127 is not drawn", {7, 8, 9}, argb(127, 200, 200, 200), {255, 255, 255}, 1, 1, {7, 8, 9}},
        BlendCase{"mask: alpha 128 is drawn, current alpha ignored", {7, 8, 9}, argb(128, 200, 100, 50), {255, 255, 255}, 0.2f, 1, {200, 100, 50}},
        BlendCase{"solid: replaces even where transparent", {7, 7, 7}, argb(0, 90, 60, 30), {255, 128, 0}, 1, 2, {90, 30, 0}},
        BlendCase{"alpha: backdrop at 0.6 over black", {0, 0, 0}, argb(255, 200, 100, 50), {255, 255, 255}, 0.6f, 3, {120, 60, 30}},
        BlendCase{"alpha: 0.5 is 128 of 255", {10, 20, 30}, argb(255, 200, 100, 51), {255, 255, 255}, 0.5f, 3, {105, 60, 41}},
        BlendCase{"alpha: texel coverage as alpha", {0, 0, 0}, argb(100, 255, 255, 255), {60, 180, 240}, 1, 3, {24, 71, 94}},
        BlendCase{"alpha: transparent texel leaves dst", {9, 8, 7}, argb(0, 255, 255, 255), {255, 255, 255}, 1, 3, {9, 8, 7}},
        BlendCase{"additive: white at 0.6 is 153", {0, 0, 0}, 0xFFFFFFFF, {255, 255, 255}, 0.6f, 4, {153, 153, 153}},
        BlendCase{"additive: colour then alpha, each rounded", {0, 0, 0}, argb(255, 100, 50, 200), {140, 4, 10}, 0.6f, 4, {33, 1, 5}},
        BlendCase{"additive: saturates", {200, 10, 250}, argb(255, 100, 100, 100), {255, 255, 255}, 1, 4, {255, 110, 255}},
        BlendCase{"additive: transparent texel adds nothing", {5, 5, 5}, argb(0, 90, 90, 90), {255, 255, 255}, 1, 4, {5, 5, 5}},
        BlendCase{"multiply: colour times dst", {200, 100, 50}, 0xFFFFFFFF, {128, 255, 0}, 1, 5, {100, 100, 0}}));

TEST_F(Gfx, AdditiveStereoPairOfAWhiteTexelSumsTheEyeColours) {
  auto img = solid_image(1, 1, 0xFFFFFF);
  gfx::set_blend(gfx::BLEND_ADD);
  gfx::set_color(140, 4, 10);
  gfx::draw_image(*img, 5, 5, 0);
  gfx::set_color(4, 80, 60);
  gfx::draw_image(*img, 5, 5, 0);
  EXPECT_EQ(at(5, 5), (RGB{144, 84, 70}));
}

TEST_F(Gfx, StateClampsAndReadsBack) {
  gfx::set_color(-5, 300, 128);
  int r, g, b;
  gfx::get_color(r, g, b);
  EXPECT_EQ((RGB{r, g, b}), (RGB{0, 255, 128}));
  gfx::set_alpha(1.5f);
  EXPECT_EQ(gfx::get_alpha(), 1.0f);
  gfx::set_alpha(-1.0f);
  EXPECT_EQ(gfx::get_alpha(), 0.0f);
  gfx::set_blend(3);
  gfx::set_blend(0);
  gfx::set_blend(6);
  EXPECT_EQ(gfx::get_blend(), 3);
  gfx::set_rotation_scale(30.7f, 2.0f, 0.5f);
  float sx, sy;
  gfx::get_scale(sx, sy);
  EXPECT_EQ(gfx::get_rotation(), 30.7f);
  EXPECT_EQ(sx, 2.0f);
  EXPECT_EQ(sy, 0.5f);
  gfx::reset_draw_state();
  gfx::get_color(r, g, b);
  EXPECT_EQ((RGB{r, g, b}), (RGB{255, 255, 255}));
  EXPECT_EQ(gfx::get_blend(), gfx::BLEND_MASK);
  EXPECT_EQ(gfx::get_alpha(), 1.0f);
  EXPECT_EQ(gfx::get_rotation(), 0.0f);
}

TEST_F(Gfx, RectangleIsAnUntexturedImageInTheCurrentColour) {
  // The stereo backdrop lift: (20, 20, 40) additive at 0.6 over black.
  gfx::set_blend(gfx::BLEND_ADD);
  gfx::set_alpha(0.6f);
  gfx::set_color(20, 20, 40);
  gfx::draw_rect(0, 0, 640, 480);
  for (auto [x, y] : {std::pair{0, 0}, {639, 479}, {320, 240}}) EXPECT_EQ(at(x, y), (RGB{12, 12, 24}));
  // Fractional corners follow the pixel-centre rule: centres 2.5..4.5 lie in [2.4, 4.9).
  gfx::clear();
  gfx::reset_draw_state();
  gfx::set_color(9, 9, 9);
  gfx::draw_rect(2.4f, 1.0f, 2.5f, 1.0f);
  EXPECT_EQ(at(1, 1), (RGB{0, 0, 0}));
  EXPECT_EQ(at(2, 1), (RGB{9, 9, 9}));
  EXPECT_EQ(at(4, 1), (RGB{9, 9, 9}));
  EXPECT_EQ(at(5, 1), (RGB{0, 0, 0}));
  EXPECT_EQ(at(2, 0), (RGB{0, 0, 0}));
  EXPECT_EQ(at(2, 2), (RGB{0, 0, 0}));
}
