// The input model: keys by Windows virtual-key code (modifiers by side), mouse
// buttons 1..3, the pointer in logical 640 x 480 pixels, and joystick port 0.
// Every query first processes the system's pending events. Press counts are
// up-to-down transitions since the last query of that key; the query returns
// the count and clears it. Discarding input clears held states and counts: a
// key still physically held reads as up until it is pressed again.
#pragma once

namespace input {

enum VirtualKey {
  VK_BACK = 8, VK_TAB = 9, VK_RETURN = 13, VK_PAUSE = 19, VK_CAPITAL = 20, VK_ESCAPE = 27,
  VK_SPACE = 32, VK_PRIOR = 33, VK_NEXT = 34, VK_END = 35, VK_HOME = 36,
  VK_LEFT = 37, VK_UP = 38, VK_RIGHT = 39, VK_DOWN = 40, VK_INSERT = 45, VK_DELETE = 46,
  // '0'..'9' are 48..57 and 'A'..'Z' 65..90, as their ASCII codes.
  VK_NUMPAD0 = 96, VK_F1 = 112, VK_F12 = 123,
  VK_LSHIFT = 160, VK_RSHIFT = 161, VK_LCONTROL = 162, VK_RCONTROL = 163, VK_LMENU = 164, VK_RMENU = 165,
};
constexpr int KEY_COUNT = 256;
constexpr int MOUSE_BUTTONS = 3;     // 1 left, 2 right, 3 middle
constexpr int JOY_BUTTONS = 32;

// Keyboard.
bool key_down(int vk);
int key_hits(int vk);
void flush_keys();

// Mouse.
bool mouse_down(int button);
int mouse_hits(int button);
int mouse_x();
int mouse_y();
void move_mouse(int x, int y);   // places the system pointer; later reads follow
void flush_mouse();

// Joystick: every query samples the device afresh. Port 0 is the first joystick
// found when the display was opened; without one buttons read up and axes 0.
bool joy_down(int button, int port = 0);
int joy_hits(int button, int port = 0);
float joy_x(int port = 0);
float joy_y(int port = 0);
int joystick_count();

// --- fed by the devices ---
void on_key(int vk, bool down, bool repeat);
void on_mouse_button(int button, bool down);
void on_mouse_move(int x, int y);
void discard_keys_and_mouse();      // flush_keys + flush_mouse without polling (for event handlers)
void peek_pointer(int& x, int& y);   // the position as it stands, without polling (tools)
void reset_all();   // everything up and zero (start-up and tests)

}  // namespace input
