// The logo intro's own frame loop: its course, the skips, the close request
// and the suspension.
#include "gameplay/world.h"

namespace {

class Intro : public world::World {
 protected:
  struct Shown {
    float alpha, scale;
    uint32_t ms;
  };
  std::vector<Shown> shown;  // the drawing state each presented frame was drawn with
  std::function<void(int)> after_frame;

  void SetUp() override {
    World::SetUp();
    game_state = STATE_STARTUP;
    dev.on_present = [this] {
      float sx, sy;
      gfx::get_scale(sx, sy);
      shown.push_back({gfx::get_alpha(), sx, app::millisecs()});
      if (after_frame) after_frame(int(shown.size()));
    };
  }
  // Some of the logo is on screen around its centre (320, 215).
  static bool logo_visible() {
    for (int y = 195; y < 235; ++y)
      for (int x = 300; x < 340; ++x)
        if (pixel(x, y) != 0) return true;
    return false;
  }
};

TEST_F(Intro, RunsItsCourseFlatAndInStereo) {
  struct Case {
    int mode;
    size_t frames;
    size_t last_full;  // the frame after it is the first one faded
    float first_scale;
  };
  const Case cases[] = {{0, 326, 226, 1.0f}, {3, 351, 251, 0.1f}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    glasses_mode = c.mode;
    glasses_setup(0);
    shown.clear();
    logo_intro(-25);
    ASSERT_EQ(shown.size(), c.frames);
    EXPECT_EQ(shown[0].scale, c.first_scale);
    EXPECT_EQ(shown[c.last_full - 1].alpha, 1.0f);
    EXPECT_NEAR(shown[c.last_full].alpha, 0.99f, 1e-5f);
    EXPECT_GT(shown.back().alpha, 0.0f);
    EXPECT_LT(shown.back().alpha, 0.011f);
    if (c.mode != 0) {
      EXPECT_NEAR(shown.back().scale, 1.5f, 1e-3f);
    }
    EXPECT_EQ(quit_requested, 0);
  }
  // It leaves a plain drawing state behind.
  float sx, sy;
  gfx::get_scale(sx, sy);
  int r, g, b;
  gfx::get_color(r, g, b);
  EXPECT_EQ(gfx::get_blend(), gfx::BLEND_MASK);
  EXPECT_EQ(gfx::get_alpha(), 1.0f);
  EXPECT_EQ(gfx::get_rotation(), 0.0f);
  EXPECT_EQ(sx * sy, 1.0f);
  EXPECT_EQ(r + g + b, 3 * 255);
}

TEST_F(Intro, SkippedInItsFirstFrameWhichStillShows) {
  const std::function<void()> skips[] = {
      [&] { tap_key(input::VK_ESCAPE); }, [&] { tap_key(input::VK_SPACE); }, [&] { click(); },
      [&] { tap_joy(0); }};
  for (const auto& skip : skips) {
    shown.clear();
    skip();
    // Other presses made meanwhile are discarded with the skipping one.
    tap_key(input::VK_SPACE);
    dev.push_mouse_button(1, true);
    bool visible = false;
    after_frame = [&](int) { visible = logo_visible(); };
    logo_intro(-25);
    EXPECT_EQ(shown.size(), 1u);
    EXPECT_TRUE(visible);
    EXPECT_EQ(input::key_hits(input::VK_SPACE), 0);
    EXPECT_EQ(input::mouse_hits(1), 0);
    EXPECT_FALSE(input::mouse_down(1));
  }
}

TEST_F(Intro, OtherInputsDoNotSkip) {
  tap_key(input::VK_RETURN);
  tap_key(input::VK_LCONTROL);
  dev.push_mouse_button(2, true);
  tap_joy(1);
  after_frame = [&](int frame) {
    if (frame == 3) tap_key(input::VK_ESCAPE);
  };
  logo_intro(-25);
  EXPECT_EQ(shown.size(), 3u);
}

TEST_F(Intro, CloseRequestEndsIt) {
  dev.push_close();
  logo_intro(-25);
  EXPECT_EQ(shown.size(), 1u);
  EXPECT_EQ(quit_requested, 1);
}

TEST_F(Intro, FreezesWhileSuspended) {
  glasses_mode = 1;
  glasses_setup(0);
  uint32_t back_at = 0;
  after_frame = [&](int frame) {
    if (frame == 2) {
      dev.push_focus(false);
      back_at = app::millisecs() + 3000;
      dev.schedule(back_at, [this] { dev.push_focus(true); });
    }
    if (frame == 3) tap_key(input::VK_ESCAPE);
  };
  logo_intro(-25);
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_GE(shown[2].ms, back_at);
  EXPECT_NEAR(shown[2].scale, 0.1f + 2 * 0.004f, 1e-6f) << "the zoom resumes where it stopped";
}

}  // namespace
