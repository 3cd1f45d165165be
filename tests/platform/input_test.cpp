#include <climits>
#include <vector>

#include "headless_fixture.h"

namespace {

using InputTest = HeadlessTest;

struct KeyEvent {
  bool down, repeat;
};
struct PressCase {
  const char* name;
  std::vector<KeyEvent> events;
  bool held;
  int hits;
};

TEST_F(InputTest, KeyPressesCountUpToDownTransitionsOnly) {
  const PressCase cases[] = {
      {"nothing", {}, false, 0},
      {"tap", {{true, false}, {false, false}}, false, 1},
      {"two taps", {{true, false}, {false, false}, {true, false}, {false, false}}, false, 2},
      {"held", {{true, false}}, true, 1},
      {"auto-repeat", {{true, false}, {true, true}, {true, true}, {true, true}}, true, 1},
      {"repeated down without up", {{true, false}, {true, false}}, true, 1},
      {"stray up", {{false, false}}, false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    input::reset_all();
    for (auto e : c.events) input::on_key(input::VK_SPACE, e.down, e.repeat);
    EXPECT_EQ(input::key_down(input::VK_SPACE), c.held);
    EXPECT_EQ(input::key_hits(input::VK_SPACE), c.hits);
    EXPECT_EQ(input::key_hits(input::VK_SPACE), 0) << "the query clears the count";
    EXPECT_EQ(input::key_hits(input::VK_ESCAPE), 0) << "other keys untouched";
  }
}

TEST_F(InputTest, EventsArriveThroughTheDeviceQueueInOrder) {
  dev.push_key(input::VK_LCONTROL, true);
  dev.push_key(input::VK_LCONTROL, false);
  dev.push_key(input::VK_LCONTROL, true);
  dev.push_mouse_button(1, true);
  dev.push_mouse_move(100, 200);
  dev.push_mouse_move(101, 202);
  EXPECT_TRUE(input::key_down(input::VK_LCONTROL));
  EXPECT_EQ(input::key_hits(input::VK_LCONTROL), 2);
  EXPECT_TRUE(input::mouse_down(1));
  EXPECT_FALSE(input::mouse_down(2));
  EXPECT_EQ(input::mouse_x(), 101);
  EXPECT_EQ(input::mouse_y(), 202);
}

TEST_F(InputTest, OutOfRangeCodesReadUp) {
  for (int vk : {-1, input::KEY_COUNT, INT_MIN, INT_MAX}) {
    input::on_key(vk, true, false);
    EXPECT_FALSE(input::key_down(vk));
    EXPECT_EQ(input::key_hits(vk), 0);
  }
  for (int b : {0, 4, -1}) {
    input::on_mouse_button(b, true);
    EXPECT_FALSE(input::mouse_down(b));
    EXPECT_EQ(input::mouse_hits(b), 0);
  }
}

// A key or button held through a discard reads up until it is pressed again.
TEST_F(InputTest, DiscardClearsHeldStatesAndCountsUntilPressedAgain) {
  dev.push_key('A', true);
  dev.push_mouse_button(1, true);
  EXPECT_TRUE(input::key_down('A'));
  EXPECT_TRUE(input::mouse_down(1));
  dev.push_key('B', true);   // still in the queue when the discard comes
  input::flush_keys();
  input::flush_mouse();
  EXPECT_FALSE(input::key_down('A'));
  EXPECT_FALSE(input::key_down('B'));
  EXPECT_EQ(input::key_hits('A'), 0);
  EXPECT_EQ(input::key_hits('B'), 0);
  EXPECT_FALSE(input::mouse_down(1));
  EXPECT_EQ(input::mouse_hits(1), 0);

  input::on_key('A', true, true);   // auto-repeat of the held key
  EXPECT_FALSE(input::key_down('A'));
  dev.push_key('A', false);
  dev.push_mouse_button(1, false);
  EXPECT_FALSE(input::key_down('A'));
  EXPECT_EQ(input::key_hits('A'), 0);
  EXPECT_EQ(input::mouse_hits(1), 0);

  dev.push_key('A', true);
  dev.push_mouse_button(1, true);
  EXPECT_TRUE(input::key_down('A'));
  EXPECT_EQ(input::key_hits('A'), 1);
  EXPECT_TRUE(input::mouse_down(1));
  EXPECT_EQ(input::mouse_hits(1), 1);
}

TEST_F(InputTest, DiscardingKeysLeavesTheMouseAndTheReverse) {
  dev.push_key('A', true);
  dev.push_mouse_button(1, true);
  input::flush_keys();
  EXPECT_EQ(input::mouse_hits(1), 1);
  dev.push_key('A', false);
  dev.push_key('A', true);
  input::flush_mouse();
  EXPECT_EQ(input::key_hits('A'), 1);
}

TEST_F(InputTest, MovingThePointerWinsOverEarlierUserMoves) {
  std::vector<std::pair<int, int>> warps;
  dev.on_warp = [&](int x, int y) { warps.push_back({x, y}); };
  dev.push_mouse_move(10, 20);
  input::move_mouse(315, 245);
  EXPECT_EQ(input::mouse_x(), 315);
  EXPECT_EQ(input::mouse_y(), 245);
  EXPECT_EQ(warps, (std::vector<std::pair<int, int>>{{315, 245}}));
  dev.push_mouse_move(7, 8);
  EXPECT_EQ(input::mouse_x(), 7);
  EXPECT_EQ(input::mouse_y(), 8);
}

TEST_F(InputTest, NoJoystickReadsUpAndCentred) {
  dev.set_joy_button(0, true);
  dev.set_joy_axis(0, 1.0f);
  ASSERT_TRUE(dev.open_display(640, 480));
  EXPECT_EQ(input::joystick_count(), 0);
  EXPECT_FALSE(input::joy_down(0));
  EXPECT_EQ(input::joy_hits(0), 0);
  EXPECT_EQ(input::joy_x(), 0.0f);
  EXPECT_EQ(input::joy_y(), 0.0f);
}

TEST_F(InputTest, JoystickAttachedLateIsNotSeen) {
  ASSERT_TRUE(dev.open_display(640, 480));
  dev.attach_joystick();
  dev.set_joy_button(0, true);
  EXPECT_EQ(input::joystick_count(), 0);
  EXPECT_FALSE(input::joy_down(0));
}

// Presses are what the samples see: a down after an up, whichever query sampled.
TEST_F(InputTest, JoystickPressesAreCountedBetweenSamples) {
  dev.attach_joystick();
  ASSERT_TRUE(dev.open_display(640, 480));
  EXPECT_EQ(input::joystick_count(), 1);

  dev.set_joy_button(0, true);
  EXPECT_TRUE(input::joy_down(0));
  EXPECT_TRUE(input::joy_down(0));   // still the same press
  dev.set_joy_button(0, false);
  EXPECT_FALSE(input::joy_down(2));  // any query samples every button
  dev.set_joy_button(0, true);
  dev.set_joy_button(0, false);      // down and up between samples: never seen
  EXPECT_EQ(input::joy_x(), 0.0f);
  dev.set_joy_button(0, true);
  EXPECT_EQ(input::joy_hits(0), 2);  // this query's own sample counts too
  EXPECT_EQ(input::joy_hits(0), 0);
  EXPECT_EQ(input::joy_hits(1), 0);

  dev.set_joy_button(3, true);
  dev.set_joy_axis(0, -1.0f);
  dev.set_joy_axis(1, 1.0f);
  EXPECT_EQ(input::joy_x(), -1.0f);
  EXPECT_EQ(input::joy_y(), 1.0f);
  EXPECT_TRUE(input::joy_down(3));
  EXPECT_EQ(input::joy_hits(3), 1);
  EXPECT_FALSE(input::joy_down(0, 1)) << "no second port";

  // A tap is down for exactly one sample, whichever query takes it.
  dev.tap_joy_button(1);
  EXPECT_EQ(input::joy_x(), -1.0f);
  EXPECT_FALSE(input::joy_down(1));
  EXPECT_EQ(input::joy_hits(1), 1);
  EXPECT_FALSE(input::joy_down(99));
}

}  // namespace
