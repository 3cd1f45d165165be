// The rules of one game (clock, drop cadence, best score), starting a game,
// and the best-score file with its awkward cases.
#include <sys/stat.h>

#include "shell/harness.h"

namespace {

class GameRulesTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    ASSERT_TRUE(dev.open_display(gfx::SCREEN_W, gfx::SCREEN_H));
    make_world();
  }
};

TEST_F(GameRulesTest, AGameWithoutStabs) {
  ChannelLog log;
  start_new_game();
  EXPECT_EQ(game_state, STATE_PLAYING);
  const audio::Channel* loop = factory_channel.get();
  audio::set_observer(&log);

  std::vector<int> drops;
  int over_at = 0, level_at_59 = 0, level_at_60 = 0;
  for (int tick = 1; tick <= 3600 && over_at == 0; ++tick) {
    playing_tick();
    if (drop_counter == 0) drops.push_back(tick);   // only a release restarts the count
    if (tick == 59) level_at_59 = player->level;
    if (tick == 60) level_at_60 = player->level;
    if (game_state == STATE_GAME_OVER) over_at = tick;
  }
  audio::set_observer(nullptr);
  EXPECT_EQ(drops, (std::vector<int>{1, 402, 803, 1204, 1605, 2006, 2407, 2808, 3209}));
  EXPECT_EQ(level_at_59, 60);
  EXPECT_EQ(level_at_60, 59);
  EXPECT_EQ(over_at, 3600);
  EXPECT_EQ(player->level, 0);
  EXPECT_EQ(game_over_delay, 250);
  // The time-up frame stopped the loop.
  EXPECT_EQ(log.on(loop), std::vector<std::string>{"stop"});
}

TEST_F(GameRulesTest, NewGameRestartsTheRound) {
  turkey_tag::drop_one();
  player->score = 40;
  player->level = 3;
  const audio::Channel* old_loop = factory_channel.get();
  start_new_game();
  EXPECT_EQ(game_state, STATE_PLAYING);
  EXPECT_TRUE(turkey_list->empty());
  EXPECT_EQ(player->score, 0);
  EXPECT_EQ(player->level, 60);
  EXPECT_EQ(player->lives, 60);
  EXPECT_EQ(drop_counter, 400);
  EXPECT_NE(factory_channel.get(), old_loop);
  // The first tick releases a turkey at once.
  playing_tick();
  EXPECT_EQ(turkey_list->size(), 1u);
  EXPECT_EQ(drop_counter, 0);
}

TEST_F(GameRulesTest, BestScoreFollowsAPassingScore) {
  struct Case {
    int score, best, new_bs;
    int want_best, want_new_bs;
  };
  const Case cases[] = {
      {5, 5, 0, 5, 0},     // equalling changes nothing
      {6, 5, 0, 6, 1},     // passing: best follows in the same frame
      {4, 5, 0, 5, 0},
      {7, 5, 1, 7, 1},
      {0, -1, 0, 0, 1},    // a best of -1 from the file is passed by any game
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "score " << c.score << " best " << c.best);
    start_new_game();
    player->score = c.score;
    player->best_sc = c.best;
    player->new_bs = c.new_bs;
    playing_tick();
    EXPECT_EQ(player->best_sc, c.want_best);
    EXPECT_EQ(player->new_bs, c.want_new_bs);
  }
}

TEST_F(GameRulesTest, ReadingTheHiscoreFile) {
  enum Kind { BYTES, FOLDER, FIFO, DANGLING_LINK, NO_DATA_FOLDER, DATA_IS_A_FILE };
  struct Case {
    const char* name;
    Kind kind;
    std::vector<uint8_t> bytes;
    int want;
  };
  const Case cases[] = {
      {"two bytes", BYTES, {0x2C, 0x01}, 300},
      {"minus one", BYTES, {0xFF, 0xFF, 0xFF, 0xFF}, -1},
      {"empty", BYTES, {}, 0},
      {"one byte", BYTES, {0x07}, 7},
      {"long", BYTES, {0x10, 0x27, 0, 0, 0x99, 0x98}, 10000},
      {"folder", FOLDER, {}, 0},
      {"fifo", FIFO, {}, 0},
      {"dangling link", DANGLING_LINK, {}, 0},
      {"no data folder", NO_DATA_FOLDER, {}, 0},
      {"data is a file", DATA_IS_A_FILE, {}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all("data");
    switch (c.kind) {
      case BYTES: write_file("data/hiscore.dat", c.bytes); break;
      case FOLDER: fs::create_directories("data/hiscore.dat"); break;
      case FIFO:
        fs::create_directories("data");
        ASSERT_EQ(mkfifo("data/hiscore.dat", 0600), 0);
        break;
      case DANGLING_LINK:
        fs::create_directories("data");
        fs::create_symlink("nowhere.dat", "data/hiscore.dat");
        break;
      case NO_DATA_FOLDER: break;
      case DATA_IS_A_FILE: write_file("data", {1, 2, 3, 4}); break;
    }
    player->best_sc = 12345;
    best_score_file(0);
    EXPECT_EQ(player->best_sc, c.want);
  }
  fs::remove_all("data");
}

TEST_F(GameRulesTest, SavingTheHiscoreFile) {
  struct Case {
    const char* name;
    bool data_folder;
    std::vector<uint8_t> old_file;
    int best;
    std::vector<uint8_t> want;   // empty: nothing written
  };
  const Case cases[] = {
      {"new file", true, {}, 300, {0x2C, 0x01, 0, 0}},
      {"negative", true, {}, -1, {0xFF, 0xFF, 0xFF, 0xFF}},
      {"replaces a longer file", true, {9, 9, 9, 9, 9, 9, 9, 9}, 1, {1, 0, 0, 0}},
      {"no data folder", false, {}, 300, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all("data");
    if (c.data_folder) fs::create_directories("data");
    if (!c.old_file.empty()) write_file("data/hiscore.dat", c.old_file);
    player->best_sc = c.best;
    testing::internal::CaptureStderr();
    best_score_file(1);
    const std::string err = testing::internal::GetCapturedStderr();
    if (c.want.empty()) {
      EXPECT_FALSE(fs::exists("data"));
      EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    } else {
      EXPECT_EQ(read_file("data/hiscore.dat"), c.want);
      EXPECT_EQ(err, "");
      // Read back, it is the same number.
      player->best_sc = 0;
      best_score_file(0);
      EXPECT_EQ(player->best_sc, c.best);
    }
  }
}

}  // namespace
