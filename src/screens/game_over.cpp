// The game-over screen: the final score, a 250-frame pause that swallows all
// input, then the prompt and the fire press back to the title menu.
#include <string>

#include "gameplay/player.h"
#include "platform/input.h"
#include "platform/render.h"
#include "render/stereo_drawer.h"
#include "screens/screens.h"
#include "shell/game.h"

int game_over_screen() {
  gfx::set_color(150, 120, 20);
  stereo_drawer->sip(gfx::BLEND_ALPHA, 1.0f, 0.0f, 2.0f, 2.0f);
  stereo_drawer->t3d("Game Over", 320.0f, 170.0f, 4.0f, 1);

  stereo_drawer->sip(gfx::BLEND_ALPHA, 1.0f, 0.0f, 1.0f, 1.0f);
  gfx::set_color(180, 180, 180);
  stereo_drawer->t3d("Final Score: " + std::to_string(player->score), 320.0f, 250.0f, 4.0f, 1);

  if (game_over_delay > 0) {
    game_over_delay -= 1;
    player->flush_inputs();
  }

  if (game_over_delay <= 0) {
    gfx::set_color(180, 180, 10);
    stereo_drawer->t3d("Press Fire To Continue", 320.0f, 330.0f, 4.0f, 1);
    if (input::mouse_hits(1) != 0 || input::joy_hits(0, 0) != 0 ||
        input::key_hits(input::VK_LCONTROL) != 0) {
      game_state = STATE_TITLE;
      player->flush_inputs();
      input::move_mouse(315, 245);
    }
  }
  return 0;
}
