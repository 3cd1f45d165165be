// The pictures, the font and the effect sounds: the empty sprite images, and
// load_assets, which cuts the sprites out of the sheet by drawing it and
// grabbing each rectangle back.
#include "platform/image.h"
#include "platform/render.h"
#include "platform/text.h"
#include "shell/game.h"

gfx::ImageRef pause_image, title_image, stabbed_turkey_image, turkey_image, wheel_image, belt_image,
    chute_image, bin_image, hand_image, fork_image, backdrop_image, pointer_image;
gfx::FontRef game_font;
audio::SoundRef throw_sound, dropout_sound, stab_sound, trash_sound, gameover_sound;

int create_images() {
  pause_image = gfx::create_image(640, 480, 1);
  gfx::set_auto_centre(true);
  title_image = gfx::create_image(420, 162, 1);
  stabbed_turkey_image = gfx::create_image(90, 75, 2);
  turkey_image = gfx::create_image(78, 58, 1);
  wheel_image = gfx::create_image(48, 48, 1);
  belt_image = gfx::create_image(23, 44, 5);
  chute_image = gfx::create_image(122, 87, 1);
  bin_image = gfx::create_image(99, 108, 1);
  hand_image = gfx::create_image(64, 77, 2);
  fork_image = gfx::create_image(21, 77, 1);
  gfx::set_auto_centre(false);
  return 0;
}

int load_assets() {
  game_font = gfx::load_font("altamontenf.ttf", 22, true);
  gfx::set_font(game_font);
  backdrop_image = gfx::load_image("plonk_bg1.png");
  pointer_image = gfx::load_image("mpointer.png");
  gfx::ImageRef sprite_sheet = gfx::load_image("plonk_sf1.png");

  // The sheet goes on screen as the display's first drawing state leaves it:
  // white, opaque, unturned, mask blend; its black stays black.
  gfx::clear();
  if (sprite_sheet) gfx::draw_image(*sprite_sheet, 0.0f, 0.0f, 0);

  gfx::grab_image(*title_image, 1, 142, 0);
  gfx::grab_image(*turkey_image, 1, 1, 0);
  gfx::grab_image(*wheel_image, 82, 1, 0);
  gfx::grab_image(*chute_image, 341, 1, 0);
  gfx::grab_image(*bin_image, 466, 1, 0);
  gfx::grab_image(*fork_image, 317, 60, 0);
  for (int f = 0; f < 5; ++f) gfx::grab_image(*belt_image, 133 + 24 * f, 1, f);
  for (int f = 0; f < 2; ++f) gfx::grab_image(*stabbed_turkey_image, 1 + 91 * f, 62, f);
  for (int f = 0; f < 2; ++f) gfx::grab_image(*hand_image, 185 + 65 * f, 60, f);

  throw_sound = audio::load_sound("data\\throw.ogg", false);
  dropout_sound = audio::load_sound("data\\dropout.ogg", false);
  stab_sound = audio::load_sound("data\\stabed.ogg", false);
  trash_sound = audio::load_sound("data\\trashed.ogg", false);
  gameover_sound = audio::load_sound("data\\gover.ogg", false);
  return 0;
}
