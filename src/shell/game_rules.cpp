// The rules of one game: the 60-second clock counted in playing frames, the
// steady release of turkeys, the best score, and starting a game; and the
// best-score file.
#include <cstdio>

#include "audio/sounds.h"
#include "gameplay/player.h"
#include "gameplay/turkey.h"
#include "platform/audio.h"
#include "platform/files.h"
#include "render/scene.h"
#include "shell/game.h"

int drop_counter = 0, drop_interval = 0;
int game_over_delay = 0;

namespace {
const char* const HISCORE_PATH = "data\\hiscore.dat";
constexpr int FRAMES_PER_SECOND = 60;
constexpr int GAME_OVER_FRAMES = 250;
}  // namespace

int playing_tick() {
  draw_factory();
  player->get_inputs();
  player->update();

  player->lives -= 1;
  if (player->lives <= 0) {
    player->lives = FRAMES_PER_SECOND;
    player->level -= 1;
  }

  if (player->level <= 0) {
    // Time is up; the rest of this tick still runs, drop included.
    game_over_delay = GAME_OVER_FRAMES;
    game_state = STATE_GAME_OVER;
    play_sound(gameover_sound);
    player->flush_inputs();
    audio::stop(*factory_channel);
  }

  drop_counter += 1;
  if (drop_counter > drop_interval) {
    drop_counter = 0;
    turkey_tag::drop_one();
    play_sound(dropout_sound);
  }

  if (player->score > player->best_sc) {
    if (player->new_bs != 1) player->new_bs = 1;
    player->best_sc = player->score;
  }
  return 0;
}

int start_new_game() {
  game_state = STATE_PLAYING;
  player_tag::reset(1);
  turkey_tag::destroy_all();
  start_factory_loop();
  return 0;
}

int best_score_file(int save) {
  if (save != 0) {
    // The platform writes beside the old file and renames over it, so a failed
    // save leaves the best score already on disk as it was.
    files::FileRef f = files::open_write(HISCORE_PATH);
    if (!f) {
      std::fprintf(stderr, "gobblestamp: best score not saved: cannot write %s\n", HISCORE_PATH);
      return 0;
    }
    files::write_int(*f, player->best_sc);
    if (!files::close(std::move(f)))
      std::fprintf(stderr, "gobblestamp: best score not saved: writing %s failed\n", HISCORE_PATH);
    return 0;
  }
  player->best_sc = 0;
  // Only a regular file is read: a folder, FIFO or device of that name is as good as none.
  if (files::path_type(HISCORE_PATH) != files::PATH_FILE) return 0;
  files::FileRef f = files::open_read(HISCORE_PATH);
  if (!f) return 0;
  player->best_sc = files::read_int(*f);
  files::close(std::move(f));
  return 0;
}
