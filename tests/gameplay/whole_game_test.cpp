// A whole game with the real art, played by a script that aims under the
// oldest riding turkey and throws with Control whenever the hand is free.
#include <cmath>

#include "gameplay/world.h"

namespace {

class WholeGame : public world::World {};

TEST_F(WholeGame, AScriptedPlayerScoresAndTheGameEndsAfter3600Frames) {
  gfx::set_image_flags(gfx::IMG_MASKED | gfx::IMG_WRITABLE);
  create_images();
  load_assets();
  start_new_game();
  ASSERT_EQ(game_state, STATE_PLAYING);

  int stabs = 0;
  int frames = 0;
  while (game_state == STATE_PLAYING && frames < 4000) {
    // The fork needs about 88 frames to climb to the riders' row.
    for (const auto& t : *turkey_list) {
      if (t->state != 1) continue;
      const float aim = t->x + belt_speed * 88.0f;
      if (aim >= 120.0f && aim <= 500.0f) {
        point_at(int(aim), 442);
        if (player->fork == 0) tap_key(input::VK_LCONTROL);
        break;
      }
    }
    std::vector<std::shared_ptr<turkey_tag>> riding;
    for (const auto& t : *turkey_list)
      if (t->state == 1) riding.push_back(t);
    playing_tick();  // the backdrop and score line play no part here
    present_frame();
    ++frames;
    for (const auto& t : riding) stabs += t->state == 3;
  }

  EXPECT_EQ(frames, 3600);
  EXPECT_EQ(game_state, STATE_GAME_OVER);
  EXPECT_EQ(player->level, 0);
  EXPECT_GE(stabs, 20);
  EXPECT_EQ(player->score, stabs * stabs);
  EXPECT_EQ(player->best_sc, player->score);
  EXPECT_EQ(hit_value, 2 * stabs + 1);
  EXPECT_NEAR(belt_speed, 3.4f, 1e-4f);
  EXPECT_EQ(drop_interval, 150);
}

}  // namespace
