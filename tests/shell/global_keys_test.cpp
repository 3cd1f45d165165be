// The keys that work on every screen, the pause grab and the suspension wait,
// called directly on a prepared world.
#include "shell/harness.h"

namespace {

class GlobalKeysTest : public GameTest {
 protected:
  std::vector<std::pair<int, int>> warps;

  void SetUp() override {
    GameTest::SetUp();
    dev.attach_joystick();
    ASSERT_TRUE(dev.open_display(gfx::SCREEN_W, gfx::SCREEN_H));
    dev.on_warp = [this](int x, int y) { warps.emplace_back(x, y); };
    make_world();
  }
};

TEST_F(GlobalKeysTest, StateTable) {
  struct Case {
    int state;
    bool escape, space, joy2, close;
    int want_state;
    int want_quit;
    bool want_pointer_moved;   // to (315, 245)
    bool want_factory_stopped;
    bool want_input_kept;      // a pending mouse press survives (no flush)
    int want_joy2_pending;     // a joystick press left for later
  };
  const Case cases[] = {
      // Escape
      {STATE_TITLE, true, false, false, false, STATE_TITLE, 1, false, false, true, 0},
      {STATE_PAUSED, true, false, false, false, STATE_TITLE, 0, true, true, false, 0},
      {STATE_PLAYING, true, false, false, false, STATE_PAUSED, 0, true, false, false, 0},
      {STATE_GAME_OVER, true, false, false, false, STATE_GAME_OVER, 0, false, false, true, 0},
      // Space
      {STATE_PLAYING, false, true, false, false, STATE_PAUSED, 0, true, false, false, 0},
      {STATE_PAUSED, false, true, false, false, STATE_PLAYING, 0, false, false, false, 0},
      {STATE_TITLE, false, true, false, false, STATE_TITLE, 0, false, false, true, 0},
      {STATE_GAME_OVER, false, true, false, false, STATE_GAME_OVER, 0, false, false, true, 0},
      // Joystick button 2, asked only when Space had nothing
      {STATE_PLAYING, false, false, true, false, STATE_PAUSED, 0, true, false, false, 0},
      {STATE_PAUSED, false, false, true, false, STATE_PLAYING, 0, false, false, false, 0},
      {STATE_TITLE, false, false, true, false, STATE_TITLE, 0, false, false, true, 0},
      {STATE_PAUSED, false, true, true, false, STATE_PLAYING, 0, false, false, false, 1},
      // The same frame: Escape pauses and flushes, so Space is lost
      {STATE_PLAYING, true, true, false, false, STATE_PAUSED, 0, true, false, false, 0},
      {STATE_PAUSED, true, true, false, false, STATE_TITLE, 0, true, true, false, 0},
      // Close request, in any state
      {STATE_TITLE, false, false, false, true, STATE_TITLE, 1, false, false, true, 0},
      {STATE_PLAYING, false, false, false, true, STATE_PLAYING, 1, false, false, true, 0},
      {STATE_PAUSED, false, false, false, true, STATE_PAUSED, 1, false, false, true, 0},
      {STATE_GAME_OVER, false, false, false, true, STATE_GAME_OVER, 1, false, false, true, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "state " << c.state << " esc " << c.escape << " space " << c.space
                                    << " joy2 " << c.joy2 << " close " << c.close);
    input::reset_all();
    app::reset_state();
    quit_requested = 0;
    game_state = c.state;
    warps.clear();
    ChannelLog log;
    audio::set_observer(&log);
    factory_channel = audio::idle_channel();

    dev.push_mouse_button(1, true);
    dev.push_mouse_button(1, false);
    if (c.escape) dev.push_key(input::VK_ESCAPE, true);
    if (c.space) dev.push_key(input::VK_SPACE, true);
    if (c.close) dev.push_close();
    dev.set_joy_button(2, c.joy2);

    global_keys();

    EXPECT_EQ(game_state, c.want_state);
    EXPECT_EQ(quit_requested, c.want_quit);
    EXPECT_EQ(warps == (std::vector<std::pair<int, int>>{{315, 245}}), c.want_pointer_moved);
    EXPECT_EQ(log.on(factory_channel.get()) == std::vector<std::string>{"stop"}, c.want_factory_stopped);
    EXPECT_EQ(input::mouse_hits(1), c.want_input_kept ? 1 : 0);
    EXPECT_EQ(input::joy_hits(2), c.want_joy2_pending);
    if (c.escape) {
      EXPECT_EQ(input::key_down(input::VK_ESCAPE), c.want_input_kept);
    }
    dev.push_key(input::VK_ESCAPE, false);
    dev.push_key(input::VK_SPACE, false);
    dev.set_joy_button(2, false);
    audio::set_observer(nullptr);
  }
}

TEST_F(GlobalKeysTest, PauseGrabsThePresentedFrameMasked) {
  gfx::clear();
  gfx::set_blend(gfx::BLEND_SOLID);
  gfx::set_color(200, 10, 10);
  gfx::draw_rect(0, 0, 320, 480);
  app::present(false);
  game_state = STATE_PLAYING;
  pause_game();
  EXPECT_EQ(game_state, STATE_PAUSED);
  const uint32_t* px = pause_image->frame_pixels(0);
  EXPECT_EQ(px[100 * 640 + 100], 0xFFC80A0Au);        // opaque red
  EXPECT_EQ(px[100 * 640 + 500] >> 24, 0u);           // black became transparent
  EXPECT_EQ(warps, (std::vector<std::pair<int, int>>{{315, 245}}));
}

TEST_F(GlobalKeysTest, SuspensionWaitsWithoutFramesAndForgetsInput) {
  struct Case {
    bool loop_playing;
  };
  install_sounds();
  for (const Case c : {Case{false}, Case{true}}) {
    SCOPED_TRACE(c.loop_playing ? "loop playing" : "loop idle");
    factory_channel = audio::idle_channel();
    if (c.loop_playing) start_factory_loop();
    ASSERT_EQ(audio::playing(*factory_channel), c.loop_playing);
    ChannelLog log;
    audio::set_observer(&log);

    dev.push_key(input::VK_SPACE, true);
    dev.push_focus(false);
    const uint32_t t0 = app::millisecs();
    const uint64_t presents = dev.presents();
    dev.schedule(t0 + 300, [this] { dev.push_focus(true); });

    check_suspend();

    EXPECT_GE(app::millisecs(), t0 + 300);
    EXPECT_LE(app::millisecs(), t0 + 300 + 20);   // woke soon after, without spinning the clock away
    EXPECT_EQ(dev.presents(), presents);
    EXPECT_EQ(input::key_hits(input::VK_SPACE), 0);
    EXPECT_EQ(log.on(factory_channel.get()),
              c.loop_playing ? (std::vector<std::string>{"pause", "resume"}) : std::vector<std::string>{});
    EXPECT_EQ(audio::playing(*factory_channel), c.loop_playing);
    audio::set_observer(nullptr);
    if (c.loop_playing) audio::stop(*factory_channel);
    dev.push_key(input::VK_SPACE, false);
  }
}

TEST_F(GlobalKeysTest, ActiveApplicationDoesNotWait) {
  const uint32_t t0 = app::millisecs();
  check_suspend();
  EXPECT_EQ(app::millisecs(), t0);
}

}  // namespace
