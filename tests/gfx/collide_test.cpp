// Collision agrees with drawing: two frames collide exactly when some screen
// pixel is drawn opaque by both, over sweeps of placements that cross the
// point of first contact, with half-pixel handles, rotations and scales.
#include <cmath>

#include "gfx_fixture.h"

using namespace gfxtest;

namespace {

// A fork-like sprite (three tines on a shaft, black between them) and a
// turkey-like one (an ellipse with a hole), both masked, with the game's
// handles.
gfx::ImageRef make_fork() {
  std::vector<uint32_t> t(21 * 77, 0);
  for (int y = 0; y < 77; ++y)
    for (int x = 0; x < 21; ++x) {
      const bool tine = y < 25 && (x == 2 || x == 3 || x == 10 || x == 17 || x == 18);
      const bool bar = y >= 25 && y < 29;
      const bool shaft = y >= 29 && x >= 8 && x <= 12;
      if (tine || bar || shaft) t[size_t(y) * 21 + x] = 0xC0C0C0;
    }
  auto img = image_of(21, 77, t, gfx::IMG_MASKED);
  gfx::apply_mask(*img, 0);
  gfx::set_handle(*img, 10.5f, 38.5f);
  return img;
}

gfx::ImageRef make_turkey() {
  std::vector<uint32_t> t(78 * 58, 0);
  for (int y = 0; y < 58; ++y)
    for (int x = 0; x < 78; ++x) {
      const double ex = (x + 0.5 - 39) / 39, ey = (y + 0.5 - 29) / 29;
      const double hx = (x + 0.5 - 50) / 8, hy = (y + 0.5 - 30) / 6;
      if (ex * ex + ey * ey < 1 && hx * hx + hy * hy > 1) t[size_t(y) * 78 + x] = 0x8B5A2B;
    }
  auto img = image_of(78, 58, t, gfx::IMG_MASKED);
  gfx::apply_mask(*img, 0);
  gfx::set_handle(*img, 39, 29);
  return img;
}

// The screen pixels a frame draws, in mask mode.
std::vector<uint8_t> drawn(const gfx::Image& img, int x, int y) {
  gfx::clear();
  gfx::draw_image(img, float(x), float(y), 0);
  const uint32_t* bb = gfx::back_buffer();
  std::vector<uint8_t> lit(size_t(gfx::SCREEN_W) * gfx::SCREEN_H);
  for (size_t i = 0; i < lit.size(); ++i) lit[i] = bb[i] != 0;
  return lit;
}

// Whether a frame drawn now would light a pixel that `lit` has lit.
bool overlaps(const gfx::Image& img, int x, int y, const std::vector<uint8_t>& lit) {
  gfx::clear();
  gfx::draw_image(img, float(x), float(y), 0);
  const uint32_t* bb = gfx::back_buffer();
  const uint8_t* l = lit.data();
  for (size_t i = 0; i < lit.size(); ++i)
    if (l[i] && bb[i]) return true;
  return false;
}

struct Sweep {
  const char* what;
  float rot, scale;
  int tx, ty;        // turkey
  int fx, fy;        // first fork position
  int dx, dy, steps; // the fork moves this much per step
};

}  // namespace

class CollideSweep : public Gfx, public ::testing::WithParamInterface<Sweep> {};

TEST_P(CollideSweep, AgreesWithTheDrawnPixels) {
  const Sweep& s = GetParam();
  auto fork = make_fork(), turkey = make_turkey();
  gfx::set_rotation_scale(s.rot, s.scale, s.scale);
  const std::vector<uint8_t> t = drawn(*turkey, s.tx, s.ty);
  int hits = 0, misses = 0;
  for (int i = 0; i < s.steps; ++i) {
    const int fx = s.fx + i * s.dx, fy = s.fy + i * s.dy;
    const bool overlap = overlaps(*fork, fx, fy, t);
    ASSERT_EQ(gfx::images_collide(*turkey, s.tx, s.ty, 0, *fork, fx, fy, 0), overlap)
        << s.what << ": fork at " << fx << "," << fy;
    ASSERT_EQ(gfx::images_collide(*fork, fx, fy, 0, *turkey, s.tx, s.ty, 0), overlap) << "order";
    (overlap ? hits : misses)++;
  }
  // Each sweep must cross the point of contact to mean anything.
  EXPECT_GT(hits, 0) << s.what;
  EXPECT_GT(misses, 0) << s.what;
}

INSTANTIATE_TEST_SUITE_P(
    Placements, CollideSweep,
    ::testing::Values(
        // A riding turkey; the fork comes in from the left, then rises from below.
        Sweep{"upright, from the left", 0, 1, 200, 170, 140, 200, 1, 0, 30},
        Sweep{"upright, from below", 0, 1, 200, 170, 200, 260, 0, -1, 40},
        // Under the stab's spinning and shrinking transforms.
        Sweep{"rotated 30", 30, 1, 300, 200, 220, 230, 2, 0, 40},
        Sweep{"rotated -73, scaled", -73, 0.82f, 320, 240, 230, 245, 2, 0, 35},
        Sweep{"rotated 90, enlarged", 90, 1.7f, 320, 240, 150, 240, 2, 0, 40}));

TEST_F(Gfx, CollisionSeesTheGapsBetweenTheTines) {
  // The fork at (100, 100): texel column x lies on screen column 89 + x, its
  // tines (rows 61..85) on columns 91, 92, 99, 106, 107.
  auto fork = make_fork();
  auto dot = solid_image(1, 1, 0xFFFFFF);
  struct { int x; bool hit; } probes[] = {{90, false}, {91, true}, {92, true}, {93, false},
                                          {98, false}, {99, true}, {100, false}, {107, true}, {108, false}};
  for (auto p : probes) EXPECT_EQ(gfx::images_collide(*fork, 100, 100, 0, *dot, p.x, 70, 0), p.hit) << p.x;
  EXPECT_FALSE(gfx::images_collide(*fork, 100, 100, 0, *dot, 99, 60, 0));  // above the tine's tip
  EXPECT_TRUE(gfx::images_collide(*fork, 100, 100, 0, *dot, 99, 61, 0));
  EXPECT_FALSE(gfx::images_collide(*fork, 100, 100, 1, *dot, 99, 70, 0));  // no such frame
}
