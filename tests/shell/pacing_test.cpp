// Frame pacing: the choice between vsync and the clock, and the timer pacer's
// arithmetic on the virtual clock.
#include "shell/harness.h"

namespace {

class PacingTest : public GameTest {
 protected:
  std::vector<uint32_t> present_times;
  void SetUp() override {
    GameTest::SetUp();
    ASSERT_TRUE(dev.open_display(gfx::SCREEN_W, gfx::SCREEN_H));
    frame_presented_hook = nullptr;
  }
  void record_presents() {
    dev.on_present = [this] { present_times.push_back(app::millisecs()); };
  }
};

TEST_F(PacingTest, ModeChoice) {
  struct Case {
    bool vsync_display;
    int want_mode;
    uint32_t min_ms, max_ms;   // time the measurement took
  };
  // A refresh every 16 or 17 ms: three matching presents end it at once.
  // Presents that do not wait: the full second runs out.
  const Case cases[] = {{true, PACING_VSYNC, 33, 70}, {false, PACING_TIMER, 1000, 1001}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.vsync_display ? "vsync display" : "no vsync");
    dev.vsync_display = c.vsync_display;
    const uint32_t t0 = app::millisecs();
    choose_pacing();
    const uint32_t took = app::millisecs() - t0;
    EXPECT_EQ(pacing_mode, c.want_mode);
    EXPECT_GE(took, c.min_ms);
    EXPECT_LE(took, c.max_ms);
    EXPECT_EQ(frames_presented, 0u);   // measuring presents are not frames
  }
}

TEST_F(PacingTest, TimerSixtyEarlyFramesTakeOneSecond) {
  dev.vsync_display = false;
  choose_pacing();
  ASSERT_EQ(pacing_mode, PACING_TIMER);
  const uint32_t start = app::millisecs();
  record_presents();
  for (int i = 0; i < 120; ++i) present_frame();
  ASSERT_EQ(present_times.size(), 120u);
  EXPECT_EQ(present_times[59] - start, 1000u + 1);   // each present itself costs the device 1 ms
  EXPECT_EQ(present_times[119] - present_times[59], 1000u);
  // Steps of 16 ms with the extra millisecond on two frames of every three.
  for (size_t i = 1; i < 6; ++i) EXPECT_EQ(present_times[i] - present_times[i - 1], i % 3 == 0 ? 16u : 17u);
  EXPECT_EQ(frames_presented, 120u);
}

TEST_F(PacingTest, LateFrameIsNotCaughtUp) {
  dev.vsync_display = false;
  choose_pacing();
  record_presents();
  for (int i = 0; i < 3; ++i) present_frame();
  dev.advance(50);   // a frame whose work took 50 ms
  present_frame();
  present_frame();
  present_frame();
  ASSERT_EQ(present_times.size(), 6u);
  EXPECT_EQ(present_times[3] - present_times[2], 50u + 1);   // shown at once, late
  // Then paced normally from the new due time, not shortened to make up.
  EXPECT_EQ(present_times[4] - present_times[3], 17u);
  EXPECT_EQ(present_times[5] - present_times[4], 17u);
}

TEST_F(PacingTest, VsyncFramesWaitForTheRefreshOnly) {
  choose_pacing();
  ASSERT_EQ(pacing_mode, PACING_VSYNC);
  record_presents();
  for (int i = 0; i < 60; ++i) present_frame();
  for (size_t i = 1; i < present_times.size(); ++i) {
    EXPECT_GE(present_times[i] - present_times[i - 1], 16u);
    EXPECT_LE(present_times[i] - present_times[i - 1], 17u);
  }
  const uint32_t span = present_times[59] - present_times[0];   // 59 refreshes of 16.7 ms
  EXPECT_TRUE(span == 983u || span == 984u) << span;
}

}  // namespace
