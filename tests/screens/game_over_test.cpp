// The game-over screen: the swallowed presses, the prompt and the way back.
#include "gameplay/world.h"

namespace {

class GameOver : public world::World {
 protected:
  void SetUp() override {
    World::SetUp();
    game_state = STATE_GAME_OVER;
    game_over_delay = 250;
    player->score = 49;
  }
  // Something is drawn where the prompt goes.
  static bool prompt_drawn() {
    for (int y = 318; y < 342; ++y)
      for (int x = 100; x < 540; ++x)
        if (pixel(x, y) != 0) return true;
    return false;
  }
  void frame() {
    gfx::clear();
    game_over_screen();
  }
};

TEST_F(GameOver, PressesDuringTheDelayAreLostAndThePromptComesInFrame250) {
  const std::function<void()> fire[] = {
      [&] { click(); }, [&] { tap_joy(0); }, [&] { tap_key(input::VK_LCONTROL); }};
  for (int n = 1; n <= 250; ++n) {
    fire[n % 3]();
    frame();
    ASSERT_EQ(game_state, STATE_GAME_OVER) << n;
    ASSERT_EQ(prompt_drawn(), n == 250) << n;
  }
  EXPECT_EQ(game_over_delay, 0);
  frame();
  EXPECT_EQ(game_state, STATE_GAME_OVER) << "nothing pressed since the prompt came";
  EXPECT_TRUE(prompt_drawn());
}

TEST_F(GameOver, OnlyTheFireInputsContinue) {
  struct Case {
    const char* what;
    std::function<void()> press;
    bool continues;
  };
  const Case cases[] = {
      {"left button", [&] { click(); }, true},
      {"joystick 0", [&] { tap_joy(0); }, true},
      {"left Control", [&] { tap_key(input::VK_LCONTROL); }, true},
      {"right button", [&] { dev.push_mouse_button(2, true); }, false},
      {"Space", [&] { tap_key(input::VK_SPACE); }, false},
      {"Return", [&] { tap_key(input::VK_RETURN); }, false},
      {"right Control", [&] { tap_key(input::VK_RCONTROL); }, false},
      {"joystick 1", [&] { tap_joy(1); }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    input::reset_all();
    game_state = STATE_GAME_OVER;
    game_over_delay = 0;
    warps.clear();
    c.press();
    frame();
    EXPECT_EQ(game_state, c.continues ? STATE_TITLE : STATE_GAME_OVER);
    if (c.continues) {
      EXPECT_EQ(warps, (std::vector<std::pair<int, int>>{{315, 245}}));
      EXPECT_EQ(input::mouse_x(), 315);
      EXPECT_EQ(input::mouse_y(), 245);
    }
  }
}

}  // namespace
