// The whole program on the headless device: start-up, the frame loop driven by
// injected input, and the shutdown with its two files.
#include "shell/harness.h"

namespace {

struct FrameRecord {
  uint64_t frame;
  int state;
  int lives;
  uint32_t at_ms;
};

class RunGameTest : public GameTest {
 protected:
  std::vector<FrameRecord> frames;
  std::vector<std::pair<int, int>> warps;

  void SetUp() override {
    GameTest::SetUp();
    fs::create_directories("data");   // where the game keeps its files
  }

  // Runs the game; `at` maps a frame number to what to do right after it was
  // presented (before that frame's global keys). Every frame is recorded first.
  int run(std::map<uint64_t, std::function<void()>> at) {
    dev.on_warp = [this](int x, int y) { warps.emplace_back(x, y); };
    frame_presented_hook = [] {};   // replaced below; the script needs access to `this`
    script_ = std::move(at);
    self() = this;
    frame_presented_hook = [] {
      RunGameTest* t = self();
      t->frames.push_back({frames_presented, game_state, player ? player->lives : 0, app::millisecs()});
      auto it = t->script_.find(frames_presented);
      if (it != t->script_.end()) it->second();
      if (frames_presented > 5000) t->dev.push_close();   // never run away
    };
    return run_game();
  }
  // Skips the logo intro: a key press read after its first frame.
  static constexpr uint64_t INTRO_FRAME = 1;
  void skip_intro(std::map<uint64_t, std::function<void()>>& at) {
    at[INTRO_FRAME] = [this] { dev.push_key(input::VK_SPACE, true); };
  }
  std::function<void()> press(int vk) {
    return [this, vk] {
      dev.push_key(vk, true);
      dev.push_key(vk, false);
    };
  }
  const FrameRecord& frame(uint64_t n) {
    for (const FrameRecord& f : frames)
      if (f.frame == n) return f;
    ADD_FAILURE() << "frame " << n << " never presented";
    return frames.front();
  }
  std::vector<std::string> written_names() {
    std::vector<std::string> names;
    for (const WrittenFile& w : written_files()) names.push_back(w.path);
    return names;
  }

 private:
  static RunGameTest*& self() {
    static RunGameTest* s = nullptr;
    return s;
  }
  std::map<uint64_t, std::function<void()>> script_;
};

const std::vector<std::string> BOTH_FILES = {"Data\\anaglyph3d.dat", "data\\hiscore.dat"};
const std::vector<uint8_t> ZERO4 = {0, 0, 0, 0};

TEST_F(RunGameTest, StartUpOrderAndResources) {
  write_file("data/hiscore.dat", {0x2C, 0x01});
  write_file("data/anaglyph3d.dat", {4, 0, 0, 0});
  struct Seen {
    int state = -1, mode = -1, best = -1;
    bool drawer_colours = false, idle_channel = false, pointer_hidden = false;
    uint32_t darkest[3] = {255, 255, 255};
  } seen;
  std::map<uint64_t, std::function<void()>> at;
  at[INTRO_FRAME] = [&] {
    // Inside the logo intro: settings already loaded, the intro drawn in stereo.
    seen.state = game_state;
    seen.mode = glasses_mode;
    seen.best = player->best_sc;
    seen.drawer_colours = stereo_drawer->leye_b == 140 && stereo_drawer->reye_r == 140;
    seen.idle_channel = factory_channel && !audio::playing(*factory_channel);
    seen.pointer_hidden = !dev.pointer_visible;
    for (uint32_t p : dev.last_frame())
      for (int c = 0; c < 3; ++c) seen.darkest[c] = std::min(seen.darkest[c], (p >> (16 - 8 * c)) & 0xFF);
    dev.push_close();
  };
  EXPECT_EQ(run(at), 0);

  EXPECT_EQ(dev.title, "Gobblestamp");
  EXPECT_EQ(seen.state, STATE_STARTUP);
  EXPECT_EQ(seen.mode, 4);
  EXPECT_EQ(seen.best, 300);
  EXPECT_TRUE(seen.drawer_colours);
  EXPECT_TRUE(seen.idle_channel);
  EXPECT_TRUE(seen.pointer_hidden);
  EXPECT_GE(seen.darkest[0], 12u);
  EXPECT_GE(seen.darkest[1], 12u);
  EXPECT_GE(seen.darkest[2], 24u);
  // reset(1) puts the pointer on the hand, then the title menu centres it.
  ASSERT_GE(warps.size(), 2u);
  EXPECT_EQ(warps[0], std::make_pair(320, 442));
  EXPECT_EQ(warps[1], std::make_pair(315, 245));
  EXPECT_EQ(pacing_mode, PACING_VSYNC);

  struct Handle {
    const char* name;
    gfx::ImageRef img;
    float hx, hy;
    int w, h, frames;
  };
  const Handle handles[] = {
      {"fork", fork_image, 10.5f, 38.5f, 21, 77, 1},   {"belt", belt_image, 11.5f, 22.0f, 23, 44, 5},
      {"chute", chute_image, 61.0f, 43.5f, 122, 87, 1}, {"stabbed", stabbed_turkey_image, 45.0f, 37.5f, 90, 75, 2},
      {"pause", pause_image, 0.0f, 0.0f, 640, 480, 1},  {"backdrop", backdrop_image, 0.0f, 0.0f, 640, 480, 1},
      {"pointer", pointer_image, 0.0f, 0.0f, 28, 25, 1},
  };
  for (const Handle& h : handles) {
    SCOPED_TRACE(h.name);
    ASSERT_TRUE(h.img);
    EXPECT_EQ(h.img->handle_x, h.hx);
    EXPECT_EQ(h.img->handle_y, h.hy);
    EXPECT_EQ(h.img->width, h.w);
    EXPECT_EQ(h.img->height, h.h);
    EXPECT_EQ(h.img->frames, h.frames);
    EXPECT_EQ(h.img->flags, gfx::IMG_MASKED | gfx::IMG_WRITABLE);
  }
  ASSERT_TRUE(game_font);
  // The sprites were cut from the sheet: the turkey has opaque pixels.
  int opaque = 0;
  for (uint32_t p : turkey_image->pixels) opaque += (p >> 24) != 0;
  EXPECT_GT(opaque, 78 * 58 / 4);
}

TEST_F(RunGameTest, CloseDuringIntroStillDrawsOneTitleFrame) {
  dev.push_close();
  EXPECT_EQ(run({}), 0);
  EXPECT_EQ(frames_presented, 2u);
  EXPECT_EQ(frame(2).state, STATE_TITLE);
  ASSERT_EQ(written_names(), BOTH_FILES);
  EXPECT_EQ(written_files()[0].bytes, ZERO4);
  EXPECT_EQ(written_files()[1].bytes, ZERO4);
  EXPECT_EQ(written_files()[0].at_ms, frame(2).at_ms);   // no wait: the loop never played
}

TEST_F(RunGameTest, DisplayMissingEndsWithFailureAndWritesNothing) {
  dev.display_available = false;
  EXPECT_NE(run({}), 0);
  EXPECT_EQ(frames_presented, 0u);
  EXPECT_TRUE(written_files().empty());
}

TEST_F(RunGameTest, KeysTourThroughPlayPauseTitleAndOut) {
  std::map<uint64_t, std::function<void()>> at;
  skip_intro(at);
  at[2] = [] { start_new_game(); };
  at[4] = press(input::VK_SPACE);    // pause
  at[7] = press(input::VK_SPACE);    // resume
  at[9] = press(input::VK_ESCAPE);   // pause
  at[11] = press(input::VK_ESCAPE);  // title, loop stopped
  at[13] = press(input::VK_ESCAPE);  // out
  EXPECT_EQ(run(at), 0);
  EXPECT_EQ(frames_presented, 13u);
  struct Want {
    uint64_t frame;
    int state, lives;
  };
  // The recorded state is the one the frame was drawn in; the clock runs only
  // in playing frames and resumes where it stopped.
  const Want want[] = {{3, STATE_PLAYING, 59},  {4, STATE_PLAYING, 58}, {5, STATE_PAUSED, 58},
                       {7, STATE_PAUSED, 58},   {8, STATE_PLAYING, 57}, {9, STATE_PLAYING, 56},
                       {10, STATE_PAUSED, 56},  {12, STATE_TITLE, 56},  {13, STATE_TITLE, 56}};
  for (const Want& w : want) {
    SCOPED_TRACE(testing::Message() << "frame " << w.frame);
    EXPECT_EQ(frame(w.frame).state, w.state);
    EXPECT_EQ(frame(w.frame).lives, w.lives);
  }
  ASSERT_EQ(written_names(), BOTH_FILES);
  EXPECT_EQ(written_files()[0].at_ms, frame(13).at_ms);
}

TEST_F(RunGameTest, ExitWaitsHalfASecondOnlyWhenTheLoopPlays) {
  install_sounds();
  struct Case {
    const char* name;
    bool start_game, pause;
    uint32_t want_wait;
  };
  const Case cases[] = {
      {"title", false, false, 0},
      {"playing", true, false, 500},
      {"pause menu", true, true, 500},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    reset_game_globals();
    input::reset_all();
    app::reset_state();
    frames.clear();
    written_files().clear();
    std::map<uint64_t, std::function<void()>> at;
    skip_intro(at);
    if (c.start_game) at[2] = [] { start_new_game(); };
    if (c.pause) at[3] = press(input::VK_ESCAPE);
    at[5] = [this] { dev.push_close(); };
    EXPECT_EQ(run(at), 0);
    ASSERT_EQ(written_names(), BOTH_FILES);
    EXPECT_EQ(written_files()[0].at_ms - frame(5).at_ms, c.want_wait);
    EXPECT_FALSE(audio::playing(*factory_channel));
  }
}

TEST_F(RunGameTest, SuspensionFreezesPlayAndDelaysAClose) {
  std::map<uint64_t, std::function<void()>> at;
  skip_intro(at);
  at[2] = [] { start_new_game(); };
  at[4] = [this] {
    dev.push_focus(false);
    const uint32_t now = app::millisecs();
    dev.schedule(now + 1000, [this] { dev.push_close(); });
    dev.schedule(now + 2000, [this] { dev.push_focus(true); });
  };
  EXPECT_EQ(run(at), 0);
  // Frame 5 is the first after the suspension; the close takes effect after it.
  EXPECT_EQ(frames_presented, 5u);
  EXPECT_GE(frame(5).at_ms - frame(4).at_ms, 2000u);
  EXPECT_EQ(frame(4).lives, 58);
  EXPECT_EQ(frame(5).lives, 57);
}

TEST_F(RunGameTest, BestScoreOfAnAbandonedGameIsSaved) {
  write_file("data/hiscore.dat", {5, 0, 0, 0});
  std::map<uint64_t, std::function<void()>> at;
  skip_intro(at);
  at[2] = [] {
    start_new_game();
    player->score = 9;
  };
  at[3] = press(input::VK_ESCAPE);   // pause, after frame 3's tick raised the best score
  at[4] = press(input::VK_ESCAPE);   // pause menu -> title
  at[5] = press(input::VK_ESCAPE);   // out
  EXPECT_EQ(run(at), 0);
  ASSERT_EQ(written_names(), BOTH_FILES);
  EXPECT_EQ(written_files()[1].bytes, (std::vector<uint8_t>{9, 0, 0, 0}));
  EXPECT_EQ(read_file("data/hiscore.dat"), (std::vector<uint8_t>{9, 0, 0, 0}));
}

}  // namespace
