// The screens with their own drawing: logo intro, menus, game over.
#pragma once
#include <string>
#include <vector>

extern int retro_line_effect;
extern int sound_volume_step, factory_volume_step;
extern float sound_volume, factory_volume;
extern std::vector<std::string> menu_items, glasses_labels, onoff_labels, volume_labels;

int build_menu_tables();
int logo_intro(int y_offset);
int menu_screen();
// The text of menu row 0..5 as the current state and options show it.
std::string menu_row_text(int row);
int game_over_screen();
