// The heaviest frame of play: the game's start-up objects and resources, a game
// started by the game's own reset, and then its records set to a moment seven
// stabs into a game, with every kind of turkey on screen at once. Each run
// starts from a copy of that moment, so every sample draws the same frame.
#include "heaviest_frame.h"

#include <memory>

#include "gameplay/player.h"
#include "gameplay/turkey.h"
#include "platform/app.h"
#include "platform/audio.h"
#include "platform/device.h"
#include "platform/embedded_store.h"
#include "platform/headless_device.h"
#include "platform/image.h"
#include "platform/input.h"
#include "platform/render.h"
#include "render/scene.h"
#include "render/stereo_drawer.h"
#include "screens/screens.h"
#include "shell/game.h"
#include "audio/sounds.h"

namespace bench {

namespace {

plat::HeadlessDevice g_device;

struct Moment {
  std::vector<std::shared_ptr<turkey_tag>> turkeys;  // the list's elements, oldest first
  std::vector<turkey_tag> values;
  player_tag player_values;
  int game_state = 0, drop_counter = 0, drop_interval = 0, game_over_delay = 0;
  int belt_countdown = 0, belt_interval = 0, belt_frame = 0, wheel_angle = 0, hit_value = 0;
  float belt_speed = 0;
};
Moment g_moment;

void keep_moment() {
  Moment& m = g_moment;
  m.turkeys.assign(turkey_list->begin(), turkey_list->end());
  m.values.clear();
  for (const auto& t : m.turkeys) m.values.push_back(*t);
  m.player_values = *player;
  m.game_state = game_state;
  m.drop_counter = drop_counter;
  m.drop_interval = drop_interval;
  m.game_over_delay = game_over_delay;
  m.belt_countdown = belt_countdown;
  m.belt_interval = belt_interval;
  m.belt_frame = belt_frame;
  m.wheel_angle = wheel_angle;
  m.hit_value = hit_value;
  m.belt_speed = belt_speed;
}

}  // namespace

void open_world() {
  plat::use_device(&g_device);
  input::reset_all();
  app::reset_state();
  reset_game_globals();
  gfx::reset_draw_state();
  gfx::clear();

  // As start-up makes them.
  store::register_builtin_files();
  create_long_lived_objects();
  load_assets();
}

void set_up_heaviest(int glasses) {
  glasses_mode = glasses;
  glasses_setup(0);
  retro_line_effect = 1;

  // A new game, as the title menu's "Start Game" runs it (the factory loop aside).
  game_state = STATE_PLAYING;
  player_tag::reset(1);
  turkey_tag::destroy_all();

  // Seven stabs, counted the way the turkeys count them.
  for (int stab = 0; stab < 7; ++stab) {
    player->score += hit_value;
    hit_value += 2;
    if (belt_interval >= 1) {
      belt_interval -= 1;
      belt_speed += 0.3f;
      drop_interval -= 25;
    }
  }
  player->best_sc = 121;
  player->level = 42;
  player->lives = 30;
  drop_counter = 100;        // no drop this frame
  belt_countdown = 1;        // the belt steps this frame
  belt_frame = 1;
  wheel_angle = 126;

  // The hand under a fork in flight, inside the stab window, between two riding turkeys.
  player->x = 360.0f;
  player->fork = 1;
  player->forkx = 360;
  player->forky = 226.0f;
  input::move_mouse(360, 442);

  struct Pose {
    int state;
    float x, y, xstp, ystp, rot, sc;
    int offs, frame;
  };
  // Oldest first. Riding turkeys keep clear of the fork (x 349.5 .. 370.5).
  const Pose poses[] = {
      {2, 574.0f, 330.0f, 0.70f, 2.80f, 270.0f, 0.920f, 2, 0},   // falling into the bin
      {2, 556.0f, 236.0f, 1.40f, 2.08f, 54.0f, 0.992f, 2, 0},    // just off the belt
      {1, 515.0f, 170.0f, 0, 0, 0.0f, 1.0f, 2, 0},              // riding
      {3, 470.0f, 118.0f, 1.0f, -2.2f, 150.0f, 0.880f, -8, 1},   // stabbed, rising
      {1, 420.0f, 170.0f, 0, 0, 0.0f, 1.0f, 2, 0},
      {1, 300.0f, 170.0f, 0, 0, 0.0f, 1.0f, 2, 0},
      {3, 190.0f, 300.0f, -1.0f, 3.1f, -400.0f, 0.600f, -8, 0},  // stabbed, falling away
      {1, 215.0f, 170.0f, 0, 0, 0.0f, 1.0f, 2, 0},
      {1, 120.0f, 170.0f, 0, 0, 0.0f, 1.0f, 2, 0},
      {0, 75.0f, 142.0f, 0, 4.0f, 192.0f, 0.660f, 2, 0},         // dropping out of the chute
  };
  for (const Pose& p : poses) {
    turkey_tag::drop_one();
    turkey_tag& t = *turkey_list->back();
    t.state = p.state;
    t.x = p.x;
    t.y = p.y;
    t.xstp = p.state == 1 ? belt_speed : p.xstp;
    t.ystp = p.ystp;
    t.rot = p.rot;
    t.sc = p.sc;
    t.offs = p.offs;
    t.frame = p.frame;
  }
  keep_moment();
  restore_frame();
}

void restore_frame() {
  const Moment& m = g_moment;
  bool same = turkey_list->size() == m.turkeys.size();
  if (same) {
    size_t i = 0;
    for (const auto& t : *turkey_list) same = same && t == m.turkeys[i++];
  }
  if (!same) turkey_list->assign(m.turkeys.begin(), m.turkeys.end());
  for (size_t i = 0; i < m.turkeys.size(); ++i) *m.turkeys[i] = m.values[i];
  *player = m.player_values;
  game_state = m.game_state;
  drop_counter = m.drop_counter;
  drop_interval = m.drop_interval;
  game_over_delay = m.game_over_delay;
  belt_countdown = m.belt_countdown;
  belt_interval = m.belt_interval;
  belt_frame = m.belt_frame;
  wheel_angle = m.wheel_angle;
  hit_value = m.hit_value;
  belt_speed = m.belt_speed;
  // What the previous frame's draw_hud and draw_scanlines leave.
  gfx::reset_draw_state();
}

void run_frame() {
  frame_begin();
  playing_tick();
  draw_hud();
  draw_scanlines(2);
}

std::vector<gfx::DrawCall> record_frame() {
  std::vector<gfx::DrawCall> calls;
  restore_frame();
  gfx::set_draw_recorder(&calls, true);
  run_frame();
  gfx::set_draw_recorder(nullptr);
  return calls;
}

std::vector<uint32_t> picture() {
  const uint32_t* bb = gfx::back_buffer();
  return std::vector<uint32_t>(bb, bb + gfx::SCREEN_W * gfx::SCREEN_H);
}

std::string frame_problem() {
  if (turkey_list->size() != g_moment.turkeys.size()) return "a turkey came or went";
  if (player->fork != 1) return "the fork came down or stabbed";
  if (player->score != g_moment.player_values.score) return "the score changed";
  if (game_state != STATE_PLAYING) return "the game left play";
  return "";
}

}  // namespace bench
