// A small game world on the headless device for the gameplay and screen tests:
// the game's globals, plain synthetic sprites, the real sounds (when present),
// and logs of the sounds played and the pointer moves.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "audio/sounds.h"
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
#include "platform/text.h"
#include "render/scene.h"
#include "render/stereo_drawer.h"
#include "screens/screens.h"
#include "shell/game.h"

namespace world {

struct Play {
  std::string sound;  // file name of the sound, e.g. "throw.ogg"
  float volume;
};

// Every effect or loop started, with the volume it started at.
struct SoundLog : audio::Observer {
  std::vector<Play> plays;
  void on_resume(const audio::Channel& ch, bool first_start) override {
    if (!first_start) return;
    const audio::Sound* s = audio::channel_sound(ch);
    plays.push_back({s ? audio::sound_name(*s) : std::string(), audio::get_volume(ch)});
  }
  std::vector<std::string> names() const {
    std::vector<std::string> n;
    for (const Play& p : plays) n.push_back(p.sound);
    return n;
  }
};

// An image whose every texel of every frame is `argb` (opaque when alpha is 0xff).
inline gfx::ImageRef solid_image(int w, int h, int frames, uint32_t argb) {
  gfx::ImageRef img = gfx::create_image(w, h, frames);
  for (uint32_t& t : img->pixels) t = argb;
  gfx::centre_handle(*img);
  return img;
}

inline std::string source_path(const std::string& rel) { return std::string(GOBBLE_SOURCE_DIR) + "/" + rel; }

class World : public ::testing::Test {
 protected:
  plat::HeadlessDevice dev;
  SoundLog sounds;
  std::vector<std::pair<int, int>> warps;

  void SetUp() override {
    dev.attach_joystick();
    plat::use_device(&dev);
    input::reset_all();
    app::reset_state();
    ASSERT_TRUE(app::open_display(gfx::SCREEN_W, gfx::SCREEN_H));
    dev.on_warp = [this](int x, int y) { warps.emplace_back(x, y); };
    store::register_builtin_files();
    gfx::reset_draw_state();
    gfx::set_mask_color(0, 0, 0);
    gfx::set_image_flags(gfx::IMG_MASKED | gfx::IMG_WRITABLE);

    stereo_drawer = std::make_shared<bqdraw_tag>();
    player = std::make_shared<player_tag>();
    turkey_list = std::make_shared<turkey_list_t>();
    effect_list = std::make_shared<effect_list_t>();

    // Plain sprites: the hand's two frames and the fork in distinct colours;
    // the turkey opaque except for its 20 leftmost columns.
    hand_image = solid_image(64, 77, 2, 0xffff0000);
    for (int i = 0; i < 64 * 77; ++i) hand_image->frame_pixels(1)[i] = 0xff00ff00;
    fork_image = solid_image(21, 77, 1, 0xff0000ff);
    turkey_image = solid_image(78, 58, 1, 0xffffffff);
    for (int y = 0; y < 58; ++y)
      for (int x = 0; x < 20; ++x) turkey_image->pixels[size_t(y) * 78 + x] = 0;
    stabbed_turkey_image = solid_image(90, 75, 2, 0xffffff00);
    title_image = solid_image(420, 162, 1, 0xff808080);
    pointer_image = gfx::create_image(28, 25, 1);
    backdrop_image = gfx::create_image(1, 1, 1);  // nothing to see behind the screens
    pause_image = gfx::create_image(640, 480, 1);

    game_font = gfx::load_font("altamontenf.ttf", 22, true);
    gfx::set_font(game_font);
    load_sounds();
    audio::set_observer(&sounds);
    factory_channel = audio::idle_channel();

    game_state = STATE_TITLE;
    quit_requested = 0;
    glasses_mode = 0;
    retro_line_effect = 0;
    sound_volume_step = 10;
    sound_volume = 1.0f;
    factory_volume_step = 5;
    factory_volume = 0.5f;
    game_over_delay = 0;
    build_menu_tables();
    player_tag::reset(1);
    warps.clear();
  }

  void TearDown() override {
    audio::set_observer(nullptr);
    dev.on_warp = nullptr;
    dev.on_present = nullptr;
  }

  // The effect sounds come from the data folder of the source tree.
  void load_sounds() {
    throw_sound = audio::load_sound(source_path("data/throw.ogg"), false);
    dropout_sound = audio::load_sound(source_path("data/dropout.ogg"), false);
    stab_sound = audio::load_sound(source_path("data/stabed.ogg"), false);
    trash_sound = audio::load_sound(source_path("data/trashed.ogg"), false);
    gameover_sound = audio::load_sound(source_path("data/gover.ogg"), false);
  }

  // One screen pixel of the back buffer, 0x00RRGGBB.
  static uint32_t pixel(int x, int y) { return gfx::back_buffer()[size_t(y) * gfx::SCREEN_W + x]; }

  // Pointer at (x, y) as the system reports it.
  void point_at(int x, int y) {
    dev.push_mouse_move(x, y);
    input::mouse_x();
  }
  void click() {
    dev.push_mouse_button(1, true);
    dev.push_mouse_button(1, false);
  }
  void tap_key(int vk) {
    dev.push_key(vk, true);
    dev.push_key(vk, false);
  }
  // A joystick press is seen by a sample that finds the button down after one that found it up.
  void tap_joy(int button) {
    input::joy_down(button);
    dev.set_joy_button(button, true);
    input::joy_down(button);
    dev.set_joy_button(button, false);
  }
};

}  // namespace world
