// Puts every game global back to its value before start-up, so that one
// process can run the game several times (tools, tests).
#include "audio/sounds.h"
#include "gameplay/player.h"
#include "gameplay/turkey.h"
#include "render/scene.h"
#include "render/stereo_drawer.h"
#include "screens/screens.h"
#include "shell/game.h"

void reset_game_globals() {
  game_state = STATE_STARTUP;
  quit_requested = 0;
  drop_counter = 0;
  drop_interval = 0;
  game_over_delay = 0;

  pause_image = title_image = stabbed_turkey_image = turkey_image = wheel_image = belt_image = nullptr;
  chute_image = bin_image = hand_image = fork_image = backdrop_image = pointer_image = nullptr;
  game_font = nullptr;
  throw_sound = dropout_sound = stab_sound = trash_sound = gameover_sound = nullptr;

  pacing_mode = PACING_VSYNC;
  frames_presented = 0;   // the hook stays: it belongs to whoever set it

  factory_channel = nullptr;
  stereo_drawer = nullptr;
  glasses_mode = 0;
  belt_countdown = belt_interval = belt_frame = wheel_angle = 0;

  player = nullptr;
  turkey_list = nullptr;
  effect_list = nullptr;
  belt_speed = 0.0f;
  hit_value = 0;

  retro_line_effect = 0;
  sound_volume_step = 10;
  sound_volume = 1.0f;
  factory_volume_step = 5;
  factory_volume = 0.5f;
  menu_items.clear();
  glasses_labels.clear();
  onoff_labels.clear();
  volume_labels.clear();
}
