// Start-up, the frame loop over the game states, the keys that work on every
// screen, suspension, and the orderly shutdown.
#include <memory>

#include "audio/sounds.h"
#include "gameplay/player.h"
#include "gameplay/turkey.h"
#include "platform/app.h"
#include "platform/audio.h"
#include "platform/embedded_store.h"
#include "platform/image.h"
#include "platform/input.h"
#include "platform/render.h"
#include "render/scene.h"
#include "render/stereo_drawer.h"
#include "screens/screens.h"
#include "shell/game.h"

int game_state = STATE_STARTUP;
int quit_requested = 0;

namespace {
constexpr int MENU_POINTER_X = 315, MENU_POINTER_Y = 245;
constexpr int PAUSE_JOY_BUTTON = 2;
constexpr int SUSPEND_POLL_MS = 10;
constexpr int EXIT_SOUND_WAIT_MS = 500;

void flush_keys_and_mouse() {
  input::flush_keys();
  input::flush_mouse();
}

void run_state_handler() {
  switch (game_state) {
    case STATE_PLAYING: playing_tick(); break;
    case STATE_PAUSED:
    case STATE_TITLE: menu_screen(); break;
    case STATE_GAME_OVER: game_over_screen(); break;
    default: break;
  }
}
}  // namespace

int global_keys() {
  if (input::key_hits(input::VK_ESCAPE) != 0) {
    if (game_state == STATE_TITLE) {
      quit_requested = 1;
    } else if (game_state == STATE_PAUSED) {
      game_state = STATE_TITLE;
      input::move_mouse(MENU_POINTER_X, MENU_POINTER_Y);
      audio::stop(*factory_channel);
      flush_keys_and_mouse();
    } else if (game_state == STATE_PLAYING) {
      pause_game();
      flush_keys_and_mouse();
    }
  }
  // The joystick is asked only when Space had nothing, so its press waits.
  if (input::key_hits(input::VK_SPACE) != 0 || input::joy_hits(PAUSE_JOY_BUTTON, 0) != 0) {
    if (game_state == STATE_PLAYING) {
      pause_game();
      input::flush_mouse();
      input::flush_keys();
    } else if (game_state == STATE_PAUSED) {
      game_state = STATE_PLAYING;
      input::flush_mouse();
      input::flush_keys();
    }
  }
  if (app::close_requested()) quit_requested = 1;
  return 0;
}

int pause_game() {
  game_state = STATE_PAUSED;
  // The back buffer still holds the frame just presented.
  gfx::grab_image(*pause_image, 0, 0, 0);
  input::move_mouse(MENU_POINTER_X, MENU_POINTER_Y);
  return 0;
}

int check_suspend() {
  if (!app::suspended()) return 0;
  bool paused_here = false;
  if (audio::playing(*factory_channel)) {
    audio::pause(*factory_channel);
    paused_here = true;
  }
  // Sleep on the event queue rather than spin until we are active again.
  while (app::suspended()) app::wait_events(SUSPEND_POLL_MS);
  if (paused_here) audio::resume(*factory_channel);
  return 0;
}

int create_long_lived_objects() {
  gfx::set_mask_color(0, 0, 0);
  gfx::set_image_flags(gfx::IMG_MASKED | gfx::IMG_WRITABLE);

  stereo_drawer = std::make_shared<bqdraw_tag>();
  player = std::make_shared<player_tag>();
  turkey_list = std::make_shared<turkey_list_t>();
  effect_list = std::make_shared<effect_list_t>();

  create_images();
  build_menu_tables();
  factory_channel = audio::idle_channel();
  return 0;
}

int run_game() {
  store::register_builtin_files();
  app::set_title("Gobblestamp");
  if (!app::open_display(gfx::SCREEN_W, gfx::SCREEN_H)) return 1;
  app::open_audio();
  // A fresh display: first drawing state, black picture (a second run in one
  // process must start like the first).
  gfx::reset_draw_state();
  gfx::clear();
  choose_pacing();
  // The joysticks were enumerated by the display's opening.

  create_long_lived_objects();
  app::hide_pointer();
  load_assets();
  best_score_file(0);
  glasses_setup(1);
  logo_intro(-25);
  player_tag::reset(1);
  game_state = STATE_TITLE;
  input::move_mouse(MENU_POINTER_X, MENU_POINTER_Y);

  do {
    frame_begin();
    run_state_handler();
    draw_hud();
    draw_scanlines(2);
    present_frame();
    global_keys();
    check_suspend();
  } while (quit_requested == 0);

  if (audio::playing(*factory_channel)) {
    audio::stop(*factory_channel);
    app::delay(EXIT_SOUND_WAIT_MS);
  }
  glasses_setup(2);
  best_score_file(1);
  app::close_audio();
  app::close_display();
  return 0;
}
