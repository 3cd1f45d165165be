#include <vector>

#include "headless_fixture.h"
#include "platform/audio.h"

namespace {

using HeadlessDeviceTest = HeadlessTest;

// Refresh k of the virtual display is at floor(k * 1000 / 60) ms; a vsync
// present waits for the first refresh after the clock.
TEST_F(HeadlessDeviceTest, VsyncPresentWaitsForTheNextRefresh) {
  const struct { uint32_t before, after; } cases[] = {
      {0, 16}, {15, 16}, {16, 33}, {17, 33}, {33, 50}, {49, 50}, {50, 66}, {983, 1000}, {1000, 1016},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.before);
    plat::HeadlessDevice d;
    ASSERT_TRUE(d.open_display(640, 480));
    d.advance(c.before);
    d.present(nullptr, true);
    EXPECT_EQ(d.millisecs(), c.after);
  }
}

TEST_F(HeadlessDeviceTest, SixtyVsyncPresentsTakeOneSecond) {
  ASSERT_TRUE(dev.open_display(640, 480));
  int presented = 0;
  dev.on_present = [&] { presented++; };
  for (int i = 0; i < 60; i++) dev.present(nullptr, true);
  EXPECT_EQ(dev.millisecs(), 1000u);
  EXPECT_EQ(presented, 60);
  EXPECT_EQ(dev.presents(), 60u);
}

TEST_F(HeadlessDeviceTest, PresentWithoutVsyncCostsOneMillisecond) {
  ASSERT_TRUE(dev.open_display(640, 480));
  dev.delay(5);
  dev.present(nullptr, false);
  EXPECT_EQ(dev.millisecs(), 6u);
  dev.vsync_display = false;
  dev.present(nullptr, true);
  EXPECT_EQ(dev.millisecs(), 7u);
}

TEST_F(HeadlessDeviceTest, PresentKeepsTheFrame) {
  ASSERT_TRUE(dev.open_display(640, 480));
  std::vector<uint32_t> pixels(640 * 480, 0x123456);
  pixels[640 * 479 + 639] = 0xabcdef;
  dev.present(pixels.data(), true);
  EXPECT_EQ(dev.last_frame(), pixels);
}

TEST_F(HeadlessDeviceTest, TimersRunInOrderWhenTheClockReachesThem) {
  std::vector<std::pair<int, uint32_t>> ran;   // (timer, clock when it ran)
  dev.schedule(30, [&] { ran.push_back({30, dev.millisecs()}); });
  dev.schedule(10, [&] { ran.push_back({10, dev.millisecs()}); });
  dev.schedule(10, [&] { ran.push_back({11, dev.millisecs()}); });
  dev.delay(9);
  EXPECT_TRUE(ran.empty());
  dev.delay(25);
  EXPECT_EQ(ran, (std::vector<std::pair<int, uint32_t>>{{10, 10}, {11, 10}, {30, 30}}));
  dev.schedule(5, [&] { ran.push_back({5, dev.millisecs()}); });   // already due
  EXPECT_EQ(ran.back(), (std::pair<int, uint32_t>{5, 34}));
}

TEST_F(HeadlessDeviceTest, WaitingStopsAtTheTimeoutTheNextTimerOrAPendingEvent) {
  dev.wait_events(100);
  EXPECT_EQ(dev.millisecs(), 100u);
  // A timer that queues an event ends the wait at its time.
  dev.schedule(130, [&] { dev.push_focus(false); });
  dev.wait_events(100);
  EXPECT_EQ(dev.millisecs(), 130u);
  EXPECT_TRUE(app::suspended());
  dev.push_key('A', true);
  dev.wait_events(100);
  EXPECT_EQ(dev.millisecs(), 130u);
  EXPECT_TRUE(input::key_down('A'));
}

TEST_F(HeadlessDeviceTest, AudioIsMixedForTheTimeThatPassed) {
  dev.capture_audio = true;
  dev.audio_rate = 44100;
  dev.open_audio();
  EXPECT_EQ(audio::output_rate(), 44100);
  for (int i = 0; i < 999; i++) dev.delay(1);   // 44.1 frames each: the fractions carry
  dev.delay(1001);
  EXPECT_EQ(dev.audio_out.size(), size_t(2 * 88200));
  dev.close_audio();
  dev.delay(100);
  EXPECT_EQ(dev.audio_out.size(), size_t(2 * 88200));
}

}  // namespace
