// SDL scancodes to Windows virtual-key codes: the numbering the input layer
// speaks. Scancodes are the key's place on the board, so a layout change does
// not move the game's keys. Modifiers keep their side (160/161 shift, 162/163
// control, 164/165 alt); keys with no code here read as 0 and are dropped.
#pragma once

namespace plat {

int vk_from_scancode(int scancode);

}  // namespace plat
