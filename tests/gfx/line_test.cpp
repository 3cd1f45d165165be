// Lines: one pixel wide from the pixel holding the first point to the pixel
// holding the last, both included, in the current colour and blend.
#include <set>

#include "gfx_fixture.h"

using namespace gfxtest;

namespace {
std::set<std::pair<int, int>> lit_pixels() {
  std::set<std::pair<int, int>> lit;
  for (int y = 0; y < gfx::SCREEN_H; ++y)
    for (int x = 0; x < gfx::SCREEN_W; ++x)
      if (gfx::back_buffer()[y * gfx::SCREEN_W + x]) lit.insert({x, y});
  return lit;
}
}  // namespace

struct LineCase {
  float x1, y1, x2, y2;
  int count;                   // pixels lit
  std::pair<int, int> first, last;
};

class Lines : public Gfx, public ::testing::WithParamInterface<LineCase> {};

TEST_P(Lines, CoverBothEndsOnePixelPerStep) {
  const LineCase& c = GetParam();
  gfx::draw_line(c.x1, c.y1, c.x2, c.y2);
  const auto lit = lit_pixels();
  EXPECT_EQ(int(lit.size()), c.count);
  EXPECT_TRUE(lit.count(c.first));
  EXPECT_TRUE(lit.count(c.last));
  // One pixel per column (shallow) or per row (steep), no gaps.
  const bool steep = std::abs(c.last.second - c.first.second) > std::abs(c.last.first - c.first.first);
  std::set<int> steps;
  for (auto [x, y] : lit) steps.insert(steep ? y : x);
  EXPECT_EQ(int(steps.size()), c.count);
  EXPECT_EQ(*steps.rbegin() - *steps.begin() + 1, c.count);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Lines,
    ::testing::Values(LineCase{0, 7, 640, 7, 640, {0, 7}, {639, 7}},          // a scanline: all of row 7
                      LineCase{0.7f, 5.9f, 3.2f, 5.1f, 4, {0, 5}, {3, 5}},    // points inside pixels
                      LineCase{3, 3, 3, 7, 5, {3, 3}, {3, 7}},                // vertical, last included
                      LineCase{6, 4, 2, 2, 5, {6, 4}, {2, 2}},                // shallow, right to left
                      LineCase{10, 10, 13, 30, 21, {10, 10}, {13, 30}},       // steep
                      LineCase{5, 5, 5, 5, 1, {5, 5}, {5, 5}},                // a single point
                      LineCase{-20, 2, 5, 2, 6, {0, 2}, {5, 2}}));            // clipped at the edge

TEST_F(Gfx, ScanlinesReplaceEveryOddRowInSolidMode) {
  fill_screen(0xC08040);
  gfx::set_color(2, 2, 2);
  gfx::set_blend(gfx::BLEND_SOLID);
  for (int y = 1; y <= gfx::SCREEN_H; y += 2) gfx::draw_line(0, float(y), float(gfx::SCREEN_W), float(y));
  for (int y = 0; y < gfx::SCREEN_H; ++y)
    for (int x : {0, 333, 639}) ASSERT_EQ(at(x, y), (y % 2 ? RGB{2, 2, 2} : RGB{0xC0, 0x80, 0x40})) << x << "," << y;
  // Additive lines add the colour at the current alpha.
  gfx::set_blend(gfx::BLEND_ADD);
  gfx::set_alpha(0.6f);
  gfx::set_color(100, 0, 255);
  gfx::draw_line(10, 0, 20, 0);
  EXPECT_EQ(at(15, 0), (RGB{0xC0 + 60, 0x80, 0x40 + 153}));
}

TEST_F(Gfx, LinesTurnAboutTheirFirstPoint) {
  gfx::set_rotation(90);
  gfx::draw_line(100.5f, 100.5f, 110.5f, 100.5f);  // drawn pointing down
  const auto lit = lit_pixels();
  EXPECT_EQ(lit.size(), 11u);
  EXPECT_TRUE(lit.count({100, 100}));
  EXPECT_TRUE(lit.count({100, 110}));
}
