// The parts of each frame that belong to no single screen: the backdrop, the
// factory with its belt animation, the score line and the scanline overlay.
#include "render/scene.h"

#include <string>

#include "gameplay/player.h"
#include "gameplay/turkey.h"
#include "platform/render.h"
#include "platform/text.h"
#include "render/stereo_drawer.h"
#include "screens/screens.h"
#include "shell/game.h"

int belt_countdown = 0, belt_interval = 0, belt_frame = 0, wheel_angle = 0;

namespace {
constexpr int BELT_SEGMENTS = 21;
constexpr int WHEELS = 3;
constexpr int WHEEL_STEP_DEGREES = 6;
// The wheel angle only ever grows. From 2^24 on its float would begin to round
// (and in the end the int would overflow), so whole turns come off it there:
// the drawer reduces angles by 360 exactly, so the wheels look the same.
constexpr int WHEEL_WRAP_AT = 1 << 24;

// Two digits at least for the small numbers of the score line.
std::string two_digits(int v) {
  return v >= 10 ? std::to_string(v) : "0" + std::to_string(v);
}
}  // namespace

int frame_begin() {
  gfx::clear();
  if (game_state == STATE_PAUSED) {
    // The grabbed picture already holds the paused frame's stereo copies:
    // darkened, never drawn stereo again.
    gfx::set_color(50, 50, 100);
    gfx::set_blend(gfx::BLEND_MASK);
    gfx::draw_image(*pause_image, 0.0f, 0.0f, 0);
    return 0;
  }
  gfx::set_color(255, 255, 255);
  if (glasses_mode != 0) {
    stereo_drawer->sip(gfx::BLEND_ADD, 0.6f, 0.0f, 1.0f, 1.0f);
    gfx::set_color(20, 20, 40);
    gfx::draw_rect(0.0f, 0.0f, 640.0f, 480.0f);
    stereo_drawer->sip(gfx::BLEND_ADD, 0.6f, 0.0f, 1.0f, 1.0f);
    stereo_drawer->i3d(*backdrop_image, 0.0f, 0.0f, 0, -8.0f, 0.0f, 2);
  } else {
    stereo_drawer->sip(gfx::BLEND_ALPHA, 0.6f, 0.0f, 1.0f, 1.0f);
    gfx::draw_image(*backdrop_image, 0.0f, 0.0f, 0);
  }
  return 0;
}

int draw_factory() {
  gfx::set_color(255, 255, 255);
  stereo_drawer->sip(gfx::BLEND_MASK, 1.0f, 0.0f, 1.0f, 1.0f);
  // Turkeys first, so the machinery is drawn over them.
  turkey_tag::update_all();
  stereo_drawer->i3d(*chute_image, 50.0f, 70.0f, 0, 2.0f, 0.0f, 2);
  stereo_drawer->i3d(*bin_image, 590.0f, 435.0f, 0, 2.0f, 0.0f, 2);
  for (int i = 0; i < BELT_SEGMENTS; ++i)
    stereo_drawer->i3d(*belt_image, float(60 + 23 * i), 220.0f, belt_frame, 2.0f, 0.0f, 2);

  belt_countdown -= 1;
  if (belt_countdown <= 0) {
    belt_countdown = belt_interval;
    belt_frame += 1;
    if (wheel_angle >= WHEEL_WRAP_AT) wheel_angle %= 360;
    wheel_angle += WHEEL_STEP_DEGREES;
    if (belt_frame > 2) belt_frame = 0;
  }

  stereo_drawer->sip(gfx::BLEND_MASK, 1.0f, float(wheel_angle), 1.0f, 1.0f);
  for (int i = 0; i < WHEELS; ++i)
    stereo_drawer->i3d(*wheel_image, float(55 + 235 * i), 220.0f, 0, 2.0f, 0.0f, 4);
  stereo_drawer->sip(gfx::BLEND_MASK, 1.0f, 0.0f, 1.0f, 1.0f);
  return 0;
}

int draw_hud() {
  const std::string score_text = "Score: " + two_digits(player->score);
  gfx::set_color(60, 180, 240);
  stereo_drawer->sip(gfx::BLEND_ALPHA, 1.0f, 0.0f, 1.0f, 1.0f);
  stereo_drawer->t3d(score_text, 4.0f, 0.0f, 1.0f, 0);

  const std::string best_text = "Best: " + two_digits(player->best_sc);
  const int best_x = 320 - gfx::text_width(best_text) / 2;   // integer halving, on purpose
  gfx::set_color(180, 180, 10);
  stereo_drawer->sip(gfx::BLEND_ALPHA, 1.0f, 0.0f, 1.0f, 1.0f);
  stereo_drawer->t3d(best_text, float(best_x), 0.0f, 1.0f, 0);

  // The trailing blanks make room for the seconds, drawn over them at x 607.
  const std::string time_label = "Time:        ";
  gfx::set_color(60, 180, 240);
  stereo_drawer->sip(gfx::BLEND_ALPHA, 1.0f, 0.0f, 1.0f, 1.0f);
  stereo_drawer->t3d(time_label, float(636 - gfx::text_width(time_label)), 0.0f, 1.0f, 0);

  stereo_drawer->t3d(two_digits(player->level), 607.0f, 0.0f, 1.0f, 0);
  return 0;
}

int draw_scanlines(int shade) {
  if (retro_line_effect == 0) return 0;
  gfx::set_color(shade, shade, shade);
  // Set directly: the drawer's remembered text scale stays as it was.
  gfx::set_scale(1.0f, 1.0f);
  gfx::set_blend(gfx::BLEND_SOLID);
  const int h = gfx::SCREEN_H;
  for (int y = 1; y <= h; y += 2)
    gfx::draw_line(0.0f, float(y), float(gfx::SCREEN_W), float(y));
  gfx::set_blend(gfx::BLEND_MASK);
  gfx::set_color(255, 255, 255);
  return 0;
}
