// The player's hand and fork: input, throwing, the flight, and the input flush
// used between screens.
#include "gameplay/player.h"

#include "audio/sounds.h"
#include "gameplay/turkey.h"
#include "platform/app.h"
#include "platform/input.h"
#include "platform/render.h"
#include "render/scene.h"
#include "render/stereo_drawer.h"
#include "shell/game.h"

std::shared_ptr<player_tag> player;

namespace {
constexpr float START_X = 320.0f, HAND_Y = 442.0f;
constexpr int POINTER_ROW = 442;
constexpr float ARROW_STEP = 6.0f;
constexpr float MIN_X = 120.0f, MAX_X = 500.0f;
constexpr float FORK_SPEED = 2.0f, FORK_TOP = 60.0f;
constexpr int NUDGE = 6;
}  // namespace

int player_tag::reset(int full) {
  player_tag& p = *player;
  if (full) {
    p.score = 0;
    p.level = 60;
    p.lives = 60;
    p.new_bs = 0;
  }
  hit_value = 1;
  belt_interval = 10;
  belt_countdown = 0;
  p.x = START_X;
  p.y = HAND_Y;
  drop_counter = 400;
  drop_interval = 400;
  p.fork = 0;
  belt_speed = 0.4f;
  input::move_mouse(int(p.x), int(p.y));
  return 0;
}

int player_tag::get_inputs() {
  nudge_pointer();
  int mx = input::mouse_x();
  if (float(mx) != x) x = float(mx);
  if (input::key_down(input::VK_LEFT)) {
    x = x - ARROW_STEP;
    input::move_mouse(int(x), POINTER_ROW);
  }
  if (input::key_down(input::VK_RIGHT)) {
    x = x + ARROW_STEP;
    input::move_mouse(int(x), POINTER_ROW);
  }
  if (fork == 0) {
    // Control first; the other fire inputs are asked only when it had nothing,
    // so their presses stay pending for the next throw.
    int hits = input::key_hits(input::VK_LCONTROL);
    if (hits == 0) hits = input::joy_hits(0, 0);
    if (hits == 0) hits = input::mouse_hits(1);
    if (hits != 0) {
      play_sound(throw_sound);
      fork = 1;
      forkx = int(x);
      forky = y - 30.0f;
    }
  }
  // The clamp comes after the throw: a fork thrown from beyond the edge starts there.
  if (!(x >= MIN_X)) {
    x = MIN_X;
    input::move_mouse(int(MIN_X), POINTER_ROW);
  }
  if (!(x <= MAX_X)) {
    x = MAX_X;
    input::move_mouse(int(MAX_X), POINTER_ROW);
  }
  return 0;
}

int player_tag::update() {
  stereo_drawer->sip(gfx::BLEND_MASK, 1.0f, 0.0f, 1.0f, 1.0f);
  gfx::set_color(255, 255, 255);
  stereo_drawer->i3d(*hand_image, x, y, fork, 4.0f, 0.0f, 2);
  if (fork != 0) {
    forky = forky - FORK_SPEED;
    if (!(forky >= FORK_TOP)) fork = 0;
    // Drawn also in the frame the flight ends.
    stereo_drawer->i3d(*fork_image, float(forkx), forky, 0, 2.0f, 0.0f, 2);
  }
  return 0;
}

int player_tag::flush_inputs() {
  int counter = 0;
  do {
    if (counter != 0) counter -= 1;
    if (input::mouse_down(1) || input::mouse_hits(1) != 0) counter += 1;
    const bool joy_held = input::joy_down(0, 0) || input::joy_down(1, 0);
    if (joy_held) counter += 1;
    if (input::joy_hits(0, 0) != 0 || input::joy_hits(1, 0) != 0) counter += 1;
    input::flush_keys();
    input::flush_mouse();
    // Waiting for a held button: sleep between samples instead of spinning a core.
    if (joy_held) app::delay(1);
  } while (counter != 0);
  return 0;
}

int nudge_pointer() {
  int px = input::mouse_x();
  int py = input::mouse_y();
  // Only the end stops count, which suits digital pads.
  if (input::joy_x(0) == -1.0f) {
    px -= NUDGE;
    input::move_mouse(px, py);
  }
  if (input::joy_x(0) == 1.0f) {
    px += NUDGE;
    input::move_mouse(px, py);
  }
  if (input::joy_y(0) == -1.0f) {
    py -= NUDGE;
    input::move_mouse(px, py);
  }
  if (input::joy_y(0) == 1.0f) {
    py += NUDGE;
    input::move_mouse(px, py);
  }
  return 0;
}
