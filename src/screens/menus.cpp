// The title menu and the pause menu: one handler, six rows chosen by the
// pointer's height and activated by a click; the options live here.
#include <string>
#include <vector>

#include "audio/sounds.h"
#include "gameplay/player.h"
#include "platform/audio.h"
#include "platform/input.h"
#include "platform/render.h"
#include "render/stereo_drawer.h"
#include "screens/screens.h"
#include "shell/game.h"

int retro_line_effect = 0;
int sound_volume_step = 10;
float sound_volume = 1.0f;
int factory_volume_step = 5;
float factory_volume = 0.5f;
std::vector<std::string> menu_items, glasses_labels, onoff_labels, volume_labels;

int build_menu_tables() {
  onoff_labels = {"Off", "On"};
  volume_labels = {"Off", "10%", "20%", "30%", "40%", "50%", "60%", "70%", "80%", "90%", "Max"};
  menu_items = {"Start Game", "3D Graphics: ", "Retro Line FX: ", "Sound Volume: ", "Factory Volume: ",
                "Exit Game"};
  glasses_labels = {"Off", "M\\G", "R\\G", "R\\C", "R\\B"};
  return 0;
}

namespace {
constexpr int ROWS = 6;
constexpr int FIRST_ROW_TOP = 220, ROW_HEIGHT = 35;

// A value from outside its table (a stray glasses file, say) shows no label
// instead of reading past the table's end.
const std::string& label(const std::vector<std::string>& table, int index) {
  static const std::string none;
  return index >= 0 && size_t(index) < table.size() ? table[size_t(index)] : none;
}

}  // namespace

std::string menu_row_text(int row) {
  const bool paused = game_state == STATE_PAUSED;
  switch (row) {
    case 0: return paused ? "Resume Game" : label(menu_items, 0);
    case 1: return label(menu_items, 1) + label(glasses_labels, glasses_mode);
    case 2: return label(menu_items, 2) + label(onoff_labels, retro_line_effect);
    case 3: return label(menu_items, 3) + label(volume_labels, sound_volume_step);
    case 4: return label(menu_items, 4) + label(volume_labels, factory_volume_step);
    case 5: return paused ? "Quit This Game" : label(menu_items, 5);
    default: return {};
  }
}

namespace {
void act_on_row(int row) {
  const bool paused = game_state == STATE_PAUSED;
  switch (row) {
    case 0:
      if (paused) {
        game_state = STATE_PLAYING;  // the factory loop was never paused
      } else {
        start_new_game();
      }
      break;
    case 1:
      glasses_mode += 1;
      if (glasses_mode > 4) glasses_mode = 0;
      glasses_setup(0);
      play_sound(trash_sound);
      break;
    case 2:
      retro_line_effect += 1;
      if (retro_line_effect > 1) retro_line_effect = 0;
      play_sound(trash_sound);
      break;
    case 3:
      // The float is stepped beside the step count, not derived from it.
      sound_volume_step += 1;
      sound_volume = sound_volume + 0.1f;
      if (sound_volume_step > 10) {
        sound_volume_step = 0;
        sound_volume = 0.0f;
      }
      play_sound(throw_sound);
      break;
    case 4:
      factory_volume_step += 1;
      factory_volume = factory_volume + 0.1f;
      if (factory_volume_step > 10) {
        factory_volume_step = 0;
        factory_volume = 0.0f;
      }
      if (factory_channel) audio::set_volume(*factory_channel, factory_volume);
      break;
    case 5:
      if (paused) {
        game_state = STATE_TITLE;
        input::move_mouse(315, 245);
        if (factory_channel) audio::stop(*factory_channel);
      } else {
        quit_requested = 1;
      }
      break;
    default:
      break;
  }
}
}  // namespace

int menu_screen() {
  nudge_pointer();
  const int px = input::mouse_x();
  const int py = input::mouse_y();

  gfx::set_color(255, 255, 255);
  stereo_drawer->sip(gfx::BLEND_ALPHA, 1.0f, 0.0f, 1.0f, 1.0f);
  stereo_drawer->i3d(*title_image, 320.0f, 120.0f, 0, 4.0f, 0.0f, 2);

  gfx::set_color(180, 180, 10);
  stereo_drawer->sip(gfx::BLEND_ALPHA, 1.0f, 0.0f, 1.0f, 1.0f);
  stereo_drawer->t3d("v1.3 - Brassquill", 320.0f, 464.0f, 1.0f, 1);

  // Only the pointer's height picks the row; 6 and beyond match none.
  const int highlighted = py > FIRST_ROW_TOP ? (py - FIRST_ROW_TOP) / ROW_HEIGHT : -1;

  for (int row = 0; row < ROWS; ++row) {
    const bool lit = row == highlighted;
    const float s = lit ? 1.2f : 1.0f;
    gfx::set_color(150, 120, 20);
    stereo_drawer->sip(gfx::BLEND_ALPHA, 1.0f, 0.0f, s, s);
    stereo_drawer->t3d(menu_row_text(row), 320.0f, float(240 + ROW_HEIGHT * row), lit ? 2.0f : 1.0f, 1);
  }

  if (input::mouse_hits(1) != 0 || input::joy_hits(0, 0) != 0) {
    act_on_row(highlighted);
    input::flush_keys();
    input::flush_mouse();
  }

  gfx::set_color(255, 255, 255);
  stereo_drawer->sip(gfx::BLEND_MASK, 1.0f, 0.0f, 1.0f, 1.0f);
  stereo_drawer->i3d(*pointer_image, float(px), float(py), 0, 3.0f, 0.0f, 2);
  return 0;
}
