// Placing the 640 x 480 picture in a window and mapping the pointer.
#include <gtest/gtest.h>

#include "platform/sdl_layout.h"

namespace {

using plat::PictureRect;
using plat::Point;
constexpr int LW = 640, LH = 480;

TEST(SdlLayout, PictureFillsTheScreenAt4to3WithCentredBars) {
  const struct { int w, h; PictureRect r; } cases[] = {
      {1920, 1080, {240, 0, 1440, 1080}},
      {2560, 1440, {320, 0, 1920, 1440}},
      {3840, 2160, {480, 0, 2880, 2160}},
      {1366, 768, {171, 0, 1024, 768}},
      {1365, 768, {170, 0, 1024, 768}},    // odd bar: the extra pixel goes right
      {1280, 1024, {0, 32, 1280, 960}},    // taller than 4:3: bars top and bottom
      {1001, 1000, {0, 124, 1001, 751}},   // 750.75 rounds to 751
      {640, 480, {0, 0, 640, 480}},
      {320, 200, {26, 0, 267, 200}},       // smaller than the picture
      {0, 0, {0, 0, 0, 0}},
  };
  for (const auto& c : cases) EXPECT_EQ(plat::fit_picture(c.w, c.h, LW, LH), c.r) << c.w << "x" << c.h;
}

TEST(SdlLayout, ScalePlanIsWholeFactorThenSmoothUnlessExact) {
  const struct { int w, h, prescale; bool smooth; } cases[] = {
      {1920, 1080, 2, true},   // 2.25: 2x sharp, then a smooth 1.125 fit
      {2560, 1440, 3, false},  // exactly 3x
      {3840, 2160, 4, true},   // 4.5
      {1280, 960, 2, false},
      {1366, 768, 1, true},    // 1.6: smooth from 1x
      {640, 480, 1, false},
      {320, 240, 1, true},     // shrinking is smooth
  };
  for (const auto& c : cases) {
    plat::ScalePlan p = plat::plan_scale(plat::fit_picture(c.w, c.h, LW, LH), LW, LH);
    EXPECT_EQ(p.prescale, c.prescale) << c.w << "x" << c.h;
    EXPECT_EQ(p.smooth_fit, c.smooth) << c.w << "x" << c.h;
  }
}

TEST(SdlLayout, WindowPositionsTruncateAndClampToThePicture) {
  const PictureRect r = plat::fit_picture(1920, 1080, LW, LH);   // 2.25x at x 240
  const struct { int wx, wy; Point l; } cases[] = {
      {240, 0, {0, 0}},
      {242, 2, {0, 0}},            // 2.25 window pixels per logical pixel
      {243, 3, {1, 1}},
      {1679, 1079, {639, 479}},    // last pixel of the picture
      {0, 540, {0, 240}},          // left bar
      {1919, 540, {639, 240}},     // right bar
      {1680, 540, {639, 240}},     // first pixel of the right bar
      {-50, -50, {0, 0}},          // outside the window altogether
      {960, 5000, {320, 479}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(plat::window_to_logical(r, LW, LH, c.wx, c.wy), c.l) << c.wx << "," << c.wy;
}

// Every logical pixel warped to the window must read back as itself, on every
// screen where the picture is at least its own size, in both directions.
TEST(SdlLayout, WarpedPointerReadsBackAsTheSameLogicalPixel) {
  const int sizes[][2] = {{1920, 1080}, {2560, 1440}, {3840, 2160}, {1366, 768}, {1280, 1024},
                          {1001, 1000}, {641, 481}, {640, 480}, {5120, 1440}, {1080, 1920}};
  for (const auto& s : sizes) {
    const PictureRect r = plat::fit_picture(s[0], s[1], LW, LH);
    for (int l = 0; l < LW; ++l) {
      Point w = plat::logical_to_window(r, LW, LH, l, l % LH);
      ASSERT_GE(w.x, r.x);
      ASSERT_LT(w.x, r.x + r.w);
      ASSERT_EQ(plat::window_to_logical(r, LW, LH, w.x, w.y), (Point{l, l % LH})) << s[0] << "x" << s[1];
    }
  }
}

TEST(SdlLayout, WarpLandsMidSpanAndClampsOutsideTargets) {
  const PictureRect r = plat::fit_picture(2560, 1440, LW, LH);   // exactly 3x at x 320
  EXPECT_EQ(plat::logical_to_window(r, LW, LH, 0, 0), (Point{321, 1}));
  EXPECT_EQ(plat::logical_to_window(r, LW, LH, 315, 245), (Point{320 + 946, 736}));
  EXPECT_EQ(plat::logical_to_window(r, LW, LH, -6, 700), (Point{321, 1438}));
  // Below 1x several logical pixels share a window pixel: the warp still
  // lands inside the picture.
  const PictureRect small = plat::fit_picture(320, 240, LW, LH);
  EXPECT_EQ(plat::logical_to_window(small, LW, LH, 639, 479), (Point{319, 239}));
}

}  // namespace
