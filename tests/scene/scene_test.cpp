// The frame's backdrop, the factory's belt animation, the score line and the
// scanline overlay.
#include "shell/harness.h"

namespace {

class SceneTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    make_world();
    load_assets();
  }
  gfx::ImageRef filled(int w, int h, uint32_t argb) {
    gfx::ImageRef img = gfx::create_image(w, h, 1);
    std::fill(img->pixels.begin(), img->pixels.end(), argb);
    return img;
  }
  void white_screen() {
    gfx::reset_draw_state();
    gfx::set_blend(gfx::BLEND_SOLID);
    gfx::draw_rect(0, 0, 640, 480);
  }
};

TEST_F(SceneTest, FrameBeginBackdrops) {
  struct Case {
    const char* name;
    int state, mode;
    uint32_t backdrop;      // every texel of a stand-in backdrop
    uint32_t want;          // every pixel after frame_begin, away from the edges the eyes' shift leaves
  };
  const Case cases[] = {
      {"flat: 60 % over black", STATE_TITLE, 0, 0xFFFFFFFFu, rgb(153, 153, 153)},
      {"stereo floor alone where the backdrop is see-through", STATE_TITLE, 3, 0x00000000u, rgb(12, 12, 24)},
      {"stereo: floor plus two passes per eye", STATE_TITLE, 3, 0xFFFFFFFFu,
       rgb(12 + 2 * (2 + 84), 12 + 2 * (48 + 2), 24 + 2 * (36 + 6))},
      {"pause, flat", STATE_PAUSED, 0, 0, rgb(50, 50, 100)},
      {"pause, stereo: never drawn stereo", STATE_PAUSED, 3, 0, rgb(50, 50, 100)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    game_state = c.state;
    glasses_mode = c.mode;
    glasses_setup(0);
    backdrop_image = filled(640, 480, c.backdrop);
    if (c.state == STATE_PAUSED) {
      white_screen();
      gfx::grab_image(*pause_image, 0, 0, 0);
      stereo_drawer->sip(gfx::BLEND_ALPHA, 1.0f, 0.0f, 1.0f, 1.0f);   // as draw_hud leaves it
    }
    frame_begin();
    for (int y = 0; y < gfx::SCREEN_H; y += 7)
      for (int x = 8; x < gfx::SCREEN_W - 8; ++x) ASSERT_EQ(pixel(x, y), c.want) << x << "," << y;
  }
}

TEST_F(SceneTest, StereoFloorUnderTheRealBackdrop) {
  glasses_mode = 3;
  glasses_setup(0);
  game_state = STATE_TITLE;
  frame_begin();
  uint32_t darkest[3] = {255, 255, 255};
  for (uint32_t p : screen())
    for (int c = 0; c < 3; ++c) darkest[c] = std::min(darkest[c], (p >> (16 - 8 * c)) & 0xFF);
  EXPECT_GE(darkest[0], 12u);
  EXPECT_GE(darkest[1], 12u);
  EXPECT_GE(darkest[2], 24u);
}

TEST_F(SceneTest, BeltSteps) {
  constexpr int CALLS = 30;
  std::vector<int> every_call;
  for (int call = 1; call <= CALLS; ++call) every_call.push_back(call);
  struct Case {
    int interval;
    std::vector<int> step_frames;   // within the first CALLS calls after a reset
  };
  const Case cases[] = {{10, {1, 11, 21}}, {1, every_call}, {0, every_call}};
  int steps = 0;
  std::vector<int> belt_frames;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "interval " << c.interval);
    player_tag::reset(1);
    belt_interval = c.interval;
    std::vector<int> got;
    for (int call = 1; call <= CALLS; ++call) {
      const int angle = wheel_angle;
      draw_factory();
      if (wheel_angle != angle) {
        got.push_back(call);
        steps += 1;
        EXPECT_EQ(wheel_angle, angle + 6);
        belt_frames.push_back(belt_frame);
      }
    }
    EXPECT_EQ(got, c.step_frames);
    // The state draw_factory leaves behind.
    float sx, sy;
    gfx::get_scale(sx, sy);
    EXPECT_EQ(gfx::get_blend(), gfx::BLEND_MASK);
    EXPECT_EQ(gfx::get_alpha(), 1.0f);
    EXPECT_EQ(gfx::get_rotation(), 0.0f);
    EXPECT_EQ(sx, 1.0f);
    EXPECT_EQ(sy, 1.0f);
  }
  // Neither the frame nor the angle is reset between games.
  EXPECT_EQ(wheel_angle, 6 * steps);
  for (size_t i = 0; i < belt_frames.size(); ++i) EXPECT_EQ(belt_frames[i], int((i + 1) % 3)) << i;
  EXPECT_GT(wheel_angle, 360);
}

TEST_F(SceneTest, ScoreLine) {
  struct Case {
    int score, best, level;
    std::string score_text, best_text, seconds;
  };
  const Case cases[] = {
      {7, 0, 9, "Score: 07", "Best: 00", "09"},
      {0, 10, 60, "Score: 00", "Best: 10", "60"},
      {10, 123, 0, "Score: 10", "Best: 123", "00"},
      {123, 4567, 59, "Score: 123", "Best: 4567", "59"},
      {0, -1, 1, "Score: 00", "Best: 0-1", "01"},
  };
  const std::string time_label = "Time:        ";
  ASSERT_EQ(time_label.size(), 13u);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.score_text + " / " + c.best_text);
    player->score = c.score;
    player->best_sc = c.best;
    player->level = c.level;
    gfx::clear();
    draw_hud();
    const std::vector<uint32_t> got = screen();

    gfx::clear();
    gfx::reset_draw_state();
    gfx::set_blend(gfx::BLEND_ALPHA);
    gfx::set_color(60, 180, 240);
    gfx::draw_text(c.score_text, 4, 0);
    gfx::set_color(180, 180, 10);
    gfx::draw_text(c.best_text, float(320 - gfx::text_width(c.best_text) / 2), 0);
    gfx::set_color(60, 180, 240);
    gfx::draw_text(time_label, float(636 - gfx::text_width(time_label)), 0);
    gfx::draw_text(c.seconds, 607, 0);
    EXPECT_TRUE(got == screen());
  }
}

TEST_F(SceneTest, Scanlines) {
  for (int effect : {1, 0}) {
    SCOPED_TRACE(effect ? "on" : "off");
    retro_line_effect = effect;
    white_screen();
    stereo_drawer->sip(gfx::BLEND_ALPHA, 0.5f, 0.0f, 2.0f, 2.0f);
    gfx::set_color(9, 9, 9);
    draw_scanlines(2);
    for (int y = 0; y < gfx::SCREEN_H; ++y)
      for (int x = 0; x < gfx::SCREEN_W; x += 91)
        ASSERT_EQ(pixel(x, y), effect && y % 2 == 1 ? rgb(2, 2, 2) : rgb(255, 255, 255)) << x << "," << y;
    ASSERT_EQ(pixel(639, 479), effect ? rgb(2, 2, 2) : rgb(255, 255, 255));
    int r, g, b;
    gfx::get_color(r, g, b);
    float sx, sy;
    gfx::get_scale(sx, sy);
    EXPECT_EQ(rgb(r, g, b), effect ? rgb(255, 255, 255) : rgb(9, 9, 9));
    EXPECT_EQ(gfx::get_blend(), effect ? gfx::BLEND_MASK : gfx::BLEND_ALPHA);
    EXPECT_EQ(sx, effect ? 1.0f : 2.0f);
    EXPECT_EQ(gfx::get_alpha(), 0.5f);
    EXPECT_EQ(stereo_drawer->txt_xs, 2.0f);   // set directly, not through the drawer
  }
}

}  // namespace
