// What hours of running do to the numbers that only ever grow: the wheel
// angle, a pointer pushed against a stop, the headless device's clock; and a
// long stretch of virtual time in one go.
#include <climits>

#include "reliability/runner.h"
#include "shell/harness.h"

namespace {

class LongRun : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    make_world();
    load_assets();
  }
};

// Near the end of its range the angle loses whole turns, and the wheels are
// drawn exactly as from the same angle within the first turn.
TEST_F(LongRun, WheelAngleNearItsLimitsDrawsAsWithinTheFirstTurn) {
  for (int start : {(1 << 24) - 6, 1 << 24, (1 << 25) + 2, INT_MAX - 5, INT_MAX}) {
    SCOPED_TRACE(start);
    std::vector<std::vector<uint32_t>> frames[2];
    int last[2] = {0, 0};
    for (int run = 0; run < 2; run++) {
      player_tag::reset(1);
      belt_interval = 0;   // a step every frame
      belt_frame = 0;
      wheel_angle = run == 0 ? start : start % 360;
      for (int frame = 0; frame < 3; frame++) {
        gfx::clear();
        draw_factory();
        frames[run].push_back(screen());
      }
      last[run] = wheel_angle;
    }
    EXPECT_TRUE(frames[0] == frames[1]);
    EXPECT_EQ((last[0] - last[1]) % 360, 0);
    EXPECT_LE(last[0], (1 << 24) + 6);
  }
}

// A joystick held against its stop nudges the pointer a few pixels a frame,
// for as long as it is held: the pointer stays where the stop pushes it.
TEST_F(LongRun, PointerPushedPastAnyEdgeNeverWrapsAround) {
  dev.attach_joystick();
  ASSERT_TRUE(dev.open_display(640, 480));
  const struct {
    int x, y;
    float joy_x, joy_y;
  } cases[] = {{INT_MIN, INT_MAX, -1, 1}, {INT_MAX, INT_MIN, 1, -1}, {-5, 400, -1, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
    input::on_mouse_move(c.x, c.y);
    dev.set_joy_axis(0, c.joy_x);
    dev.set_joy_axis(1, c.joy_y);
    int x = input::mouse_x(), y = input::mouse_y();
    for (int frame = 0; frame < 3; frame++) {
      nudge_pointer();
      const int nx = input::mouse_x(), ny = input::mouse_y();
      EXPECT_TRUE(c.joy_x < 0 ? nx <= x : nx >= x) << nx << " after " << x;
      EXPECT_TRUE(c.joy_y < 0 ? ny <= y : ny >= y) << ny << " after " << y;
      x = nx;
      y = ny;
    }
    if (c.x == -5) {   // on a real screen's scale nothing changes
      EXPECT_EQ(x, -23);
      EXPECT_EQ(y, 418);
    }
  }
}

// The device's 32-bit millisecond reading wraps after 49.7 days; a timer set
// across the wrap still waits its time, and one set behind the clock runs at once.
TEST_F(LongRun, HeadlessTimersAcrossTheClockWrap) {
  dev.advance(UINT32_MAX - 10);
  const uint32_t now = dev.millisecs();
  bool later = false, behind = false;
  dev.schedule(now + 20, [&] { later = true; });   // 9 on the wrapped clock
  dev.schedule(now - 5, [&] { behind = true; });
  EXPECT_TRUE(behind);
  dev.advance(15);
  EXPECT_FALSE(later);
  dev.advance(5);
  EXPECT_TRUE(later);
}

using LongLag = rel::Scratch;

// Half an hour of virtual time in one frame: the sound of it is mixed in
// pieces, not held whole (over 300 MB at 44.1 kHz).
TEST_F(LongLag, IsMixedWithoutHoldingItAllAtOnce) {
  const rel::Outcome r = run("at 0\nkey tap 27\nat 2\nmouse click 1\nat 5\nlag 1800000\nat 7\nend\n");
  ASSERT_FALSE(r.hung);
  ASSERT_EQ(r.code, 3) << r.err;
  EXPECT_LT(r.max_rss_kb, 150 * 1024);
}

}  // namespace
