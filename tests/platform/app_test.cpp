#include "headless_fixture.h"

namespace {

using AppTest = HeadlessTest;

TEST_F(AppTest, SuspensionAndReactivationDiscardKeyAndMouseInput) {
  dev.push_key(input::VK_ESCAPE, true);
  dev.push_mouse_button(1, true);
  dev.push_focus(false);
  EXPECT_TRUE(app::suspended());
  EXPECT_FALSE(input::key_down(input::VK_ESCAPE));
  EXPECT_EQ(input::key_hits(input::VK_ESCAPE), 0);
  EXPECT_EQ(input::mouse_hits(1), 0);

  // Pressed while away: lost when the application comes back.
  dev.push_key(input::VK_ESCAPE, false);
  dev.push_key(input::VK_SPACE, true);
  dev.push_focus(true);
  EXPECT_FALSE(app::suspended());
  EXPECT_FALSE(input::key_down(input::VK_SPACE));
  EXPECT_EQ(input::key_hits(input::VK_SPACE), 0);

  dev.push_key(input::VK_SPACE, false);
  dev.push_key(input::VK_SPACE, true);
  EXPECT_EQ(input::key_hits(input::VK_SPACE), 1);
}

TEST_F(AppTest, OnlyAChangeOfActivationDiscards) {
  dev.push_key('A', true);
  dev.push_focus(true);   // already active
  EXPECT_FALSE(app::suspended());
  EXPECT_EQ(input::key_hits('A'), 1);
  EXPECT_TRUE(input::key_down('A'));
}

TEST_F(AppTest, CloseRequestIsClearedWhenRead) {
  EXPECT_FALSE(app::close_requested());
  dev.push_close();
  dev.push_close();
  EXPECT_TRUE(app::close_requested());
  EXPECT_FALSE(app::close_requested());
  dev.push_close();
  EXPECT_FALSE(app::suspended());   // another query delivers it; it stays pending
  EXPECT_TRUE(app::close_requested());
}

TEST_F(AppTest, ClockAndDisplayGoToTheDevice) {
  app::set_title("Gobblestamp");
  EXPECT_EQ(dev.title, "Gobblestamp");
  EXPECT_TRUE(app::open_display(640, 480));
  app::hide_pointer();
  EXPECT_FALSE(dev.pointer_visible);
  app::delay(250);
  EXPECT_EQ(app::millisecs(), 250u);
  app::wait_events(40);
  EXPECT_EQ(app::millisecs(), 290u);
}

TEST_F(AppTest, NoDisplayFailsToOpen) {
  dev.display_available = false;
  testing::internal::CaptureStderr();
  EXPECT_FALSE(app::open_display(640, 480));
  EXPECT_FALSE(testing::internal::GetCapturedStderr().empty());
}

}  // namespace
