// The hand, the throw, the flight, the joystick nudge and the input flush.
#include "gameplay/world.h"

namespace {

using Warps = std::vector<std::pair<int, int>>;

class Player : public world::World {};

TEST_F(Player, ResetGivesTheNewGameValuesAndKeepsTheBestScore) {
  player->score = 81;
  player->best_sc = 99;
  player->new_bs = 1;
  player->level = 3;
  player->lives = 7;
  player->x = 455;
  player->fork = 1;
  hit_value = 19;
  belt_speed = 3.4f;
  belt_interval = 0;
  belt_countdown = 4;
  drop_counter = 12;
  drop_interval = 150;

  player_tag::reset(1);

  EXPECT_EQ(player->score, 0);
  EXPECT_EQ(player->best_sc, 99);
  EXPECT_EQ(player->new_bs, 0);
  EXPECT_EQ(player->level, 60);
  EXPECT_EQ(player->lives, 60);
  EXPECT_EQ(player->x, 320.0f);
  EXPECT_EQ(player->y, 442.0f);
  EXPECT_EQ(player->fork, 0);
  EXPECT_EQ(hit_value, 1);
  EXPECT_EQ(belt_speed, 0.4f);
  EXPECT_EQ(belt_interval, 10);
  EXPECT_EQ(belt_countdown, 0);
  EXPECT_EQ(drop_counter, 400);
  EXPECT_EQ(drop_interval, 400);
  EXPECT_EQ(warps, (Warps{{320, 442}}));
}

TEST_F(Player, HandFollowsThePointerArrowsAndClamp) {
  struct Case {
    int pointer_x;
    bool left, right;
    float hand_x;
    Warps warps;
  };
  const Case cases[] = {
      {200, false, false, 200, {}},
      {300, true, false, 294, {{294, 442}}},
      {300, false, true, 306, {{306, 442}}},
      {300, true, true, 300, {{294, 442}, {300, 442}}},
      {498, false, true, 500, {{504, 442}, {500, 442}}},
      {124, true, false, 120, {{118, 442}, {120, 442}}},
      {60, false, false, 120, {{120, 442}}},
      {630, false, false, 500, {{500, 442}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pointer_x);
    input::reset_all();
    point_at(c.pointer_x, 100);  // the pointer's height plays no part
    if (c.left) dev.push_key(input::VK_LEFT, true);
    if (c.right) dev.push_key(input::VK_RIGHT, true);
    warps.clear();
    player->get_inputs();
    EXPECT_EQ(player->x, c.hand_x);
    EXPECT_EQ(player->y, 442.0f);
    EXPECT_EQ(warps, c.warps);
    EXPECT_EQ(input::mouse_x(), int(c.hand_x));
  }
}

TEST_F(Player, EachFireInputThrowsFromTheHand) {
  const std::function<void()> fire[] = {
      [&] { tap_key(input::VK_LCONTROL); }, [&] { tap_joy(0); }, [&] { click(); }};
  for (const auto& press : fire) {
    player_tag::reset(1);
    sounds.plays.clear();
    point_at(250, 300);
    press();
    player->get_inputs();
    EXPECT_EQ(player->fork, 1);
    EXPECT_EQ(player->forkx, 250);
    EXPECT_EQ(player->forky, 412.0f);
    EXPECT_EQ(sounds.names(), std::vector<std::string>{"throw.ogg"});
  }
}

TEST_F(Player, OtherInputsDoNotThrow) {
  tap_key(input::VK_RCONTROL);
  tap_key(input::VK_SPACE);
  dev.push_mouse_button(2, true);
  tap_joy(1);
  player->get_inputs();
  EXPECT_EQ(player->fork, 0);
  EXPECT_TRUE(sounds.plays.empty());
}

TEST_F(Player, SimultaneousFirePressesThrowOneForkEach) {
  // Control, joystick and mouse pressed together: one is read per free hand,
  // the others wait for the next flights.
  point_at(300, 442);
  tap_key(input::VK_LCONTROL);
  tap_joy(0);
  click();
  int throws = 0;
  for (int frame = 0; frame < 4 * 177; ++frame) {
    const int before = player->fork;
    player->get_inputs();
    if (before == 0 && player->fork == 1) ++throws;
    player->update();
  }
  EXPECT_EQ(throws, 3);
}

TEST_F(Player, PressDuringAFlightThrowsTheNextFork) {
  point_at(300, 442);
  click();
  player->get_inputs();
  player->update();
  ASSERT_EQ(player->fork, 1);
  click();  // mid-air: not read now
  for (int frame = 2; frame <= 177; ++frame) {
    player->get_inputs();
    player->update();
  }
  EXPECT_EQ(player->fork, 0);
  player->get_inputs();
  EXPECT_EQ(player->fork, 1) << "the press waited for the free hand";
  EXPECT_EQ(player->forky, 412.0f);
}

TEST_F(Player, AFlightLasts177FramesAndIsDrawn) {
  point_at(200, 442);
  click();
  player->get_inputs();
  for (int frame = 1; frame <= 177; ++frame) {
    gfx::clear();
    player->update();
    const float drawn_at = 412.0f - 2.0f * frame;
    ASSERT_EQ(player->forky, drawn_at);
    ASSERT_EQ(player->fork, frame < 177 ? 1 : 0) << frame;
    // The empty hand while the fork flies; the fork drawn also in the last frame.
    ASSERT_EQ(pixel(225, 470), 0x00ff00u) << frame;
    ASSERT_EQ(pixel(200, int(drawn_at)), 0x0000ffu) << frame;
  }
  gfx::clear();
  player->update();
  EXPECT_EQ(pixel(225, 470), 0xff0000u) << "the hand holds a fork again";
  EXPECT_EQ(pixel(200, 56), 0u);
}

TEST_F(Player, AThrowBeyondTheEdgeStartsThere) {
  point_at(60, 442);
  click();
  player->get_inputs();
  EXPECT_EQ(player->forkx, 60);
  EXPECT_EQ(player->x, 120.0f);
  EXPECT_EQ(warps.back(), (std::pair<int, int>{120, 442}));
}

TEST_F(Player, NudgeMovesOnlyAtTheEndStops) {
  struct Case {
    float ax, ay;
    int dx, dy;
  };
  const Case cases[] = {
      {-1.0f, 0, -6, 0}, {1.0f, 0, 6, 0},   {0, -1.0f, 0, -6},     {0, 1.0f, 0, 6},
      {1.0f, 1.0f, 6, 6}, {0.99f, 0, 0, 0}, {-0.99f, -1.0f, 0, -6}, {0.5f, -0.999f, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.ax << "," << c.ay);
    point_at(300, 200);
    dev.set_joy_axis(0, c.ax);
    dev.set_joy_axis(1, c.ay);
    nudge_pointer();
    EXPECT_EQ(input::mouse_x(), 300 + c.dx);
    EXPECT_EQ(input::mouse_y(), 200 + c.dy);
  }
}

TEST_F(Player, HeldStickMovesTheHandEveryFrame) {
  point_at(300, 442);
  dev.set_joy_axis(0, -1.0f);
  for (int frame = 1; frame <= 3; ++frame) {
    player->get_inputs();
    EXPECT_EQ(player->x, 300.0f - 6 * frame);
  }
}

TEST_F(Player, FlushWaitsForJoystickButtonsZeroAndOne) {
  for (int button : {0, 1}) {
    SCOPED_TRACE(button);
    dev.set_joy_button(button, true);
    const uint32_t release_at = app::millisecs() + 250;
    dev.schedule(release_at, [this, button] { dev.set_joy_button(button, false); });
    tap_key(input::VK_LCONTROL);
    dev.push_mouse_button(1, true);
    player->flush_inputs();
    EXPECT_GE(app::millisecs(), release_at);
    EXPECT_FALSE(input::joy_down(button));
    EXPECT_EQ(input::key_hits(input::VK_LCONTROL), 0);
    EXPECT_FALSE(input::mouse_down(1)) << "a held button reads up after the flush";
    EXPECT_EQ(input::mouse_hits(1), 0);
    EXPECT_EQ(input::joy_hits(0) + input::joy_hits(1), 0);
  }
}

TEST_F(Player, FlushDoesNotWaitForOtherButtons) {
  dev.set_joy_button(2, true);
  const uint32_t start = app::millisecs();
  player->flush_inputs();
  EXPECT_EQ(app::millisecs(), start);
}

}  // namespace
