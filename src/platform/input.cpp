// Keyboard and mouse state kept from the device's events, and the joystick
// read by sampling. Counts are up-to-down transitions, returned and cleared by
// the hit queries; discarding leaves a still-held key up until pressed again.
#include "platform/input.h"

#include <climits>

#include "platform/device.h"

namespace input {
namespace {

struct Button {
  bool down = false;
  int hits = 0;
};

void press(Button& b) {
  if (b.down) return;
  b.down = true;
  if (b.hits < INT_MAX) b.hits++;
}

// The pointer is kept within a range far beyond any screen, so that callers
// may step it by a few pixels for ever (a joystick held against its stop)
// without overflowing.
constexpr int POINTER_LIMIT = 1 << 24;
int bounded(int v) { return v < -POINTER_LIMIT ? -POINTER_LIMIT : v > POINTER_LIMIT ? POINTER_LIMIT : v; }

Button keys[KEY_COUNT];
Button buttons[MOUSE_BUTTONS + 1];   // index 0 unused
int pointer_x = 0, pointer_y = 0;

constexpr int MAX_PORTS = 8;
struct JoyPort {
  uint32_t last_buttons = 0;
  int hits[JOY_BUTTONS] = {};
};
JoyPort ports[MAX_PORTS];

bool valid_key(int vk) { return vk >= 0 && vk < KEY_COUNT; }
bool valid_button(int b) { return b >= 1 && b <= MOUSE_BUTTONS; }
void poll() { plat::device().poll_events(); }

// Takes a fresh sample and counts the buttons that went down since the last
// one. Null when the port has no joystick.
const plat::JoySample* sample(int port, plat::JoySample& out) {
  if (port < 0 || port >= MAX_PORTS || port >= plat::device().joystick_count()) return nullptr;
  out = plat::device().joystick_sample(port);
  JoyPort& p = ports[port];
  uint32_t went_down = out.buttons & ~p.last_buttons;
  for (int b = 0; b < JOY_BUTTONS; b++)
    if ((went_down >> b & 1u) && p.hits[b] < INT_MAX) p.hits[b]++;
  p.last_buttons = out.buttons;
  return &out;
}

}  // namespace

bool key_down(int vk) {
  poll();
  return valid_key(vk) && keys[vk].down;
}

int key_hits(int vk) {
  poll();
  if (!valid_key(vk)) return 0;
  int n = keys[vk].hits;
  keys[vk].hits = 0;
  return n;
}

// Discarding polls first so that presses still waiting in the system's queue
// are discarded with the rest.
void flush_keys() {
  poll();
  for (Button& k : keys) k = Button{};
}

bool mouse_down(int button) {
  poll();
  return valid_button(button) && buttons[button].down;
}

int mouse_hits(int button) {
  poll();
  if (!valid_button(button)) return 0;
  int n = buttons[button].hits;
  buttons[button].hits = 0;
  return n;
}

int mouse_x() {
  poll();
  return pointer_x;
}

int mouse_y() {
  poll();
  return pointer_y;
}

// A move the user made before this call is taken in first, so the program's
// placement wins.
void move_mouse(int x, int y) {
  poll();
  pointer_x = bounded(x);
  pointer_y = bounded(y);
  plat::device().warp_pointer(pointer_x, pointer_y);
}

void flush_mouse() {
  poll();
  for (Button& b : buttons) b = Button{};
}

bool joy_down(int button, int port) {
  poll();
  plat::JoySample s;
  if (!sample(port, s) || button < 0 || button >= JOY_BUTTONS) return false;
  return s.buttons >> button & 1u;
}

int joy_hits(int button, int port) {
  poll();
  plat::JoySample s;
  if (!sample(port, s) || button < 0 || button >= JOY_BUTTONS) return 0;
  int n = ports[port].hits[button];
  ports[port].hits[button] = 0;
  return n;
}

float joy_x(int port) {
  poll();
  plat::JoySample s;
  return sample(port, s) ? s.x : 0.0f;
}

float joy_y(int port) {
  poll();
  plat::JoySample s;
  return sample(port, s) ? s.y : 0.0f;
}

int joystick_count() { return plat::device().joystick_count(); }

// Auto-repeat is not a press; a key-up after a discard finds the key already up.
void on_key(int vk, bool down, bool repeat) {
  if (!valid_key(vk) || repeat) return;
  if (down)
    press(keys[vk]);
  else
    keys[vk].down = false;
}

void on_mouse_button(int button, bool down) {
  if (!valid_button(button)) return;
  if (down)
    press(buttons[button]);
  else
    buttons[button].down = false;
}

void on_mouse_move(int x, int y) {
  pointer_x = bounded(x);
  pointer_y = bounded(y);
}

void peek_pointer(int& x, int& y) {
  x = pointer_x;
  y = pointer_y;
}

void discard_keys_and_mouse() {
  for (Button& k : keys) k = Button{};
  for (Button& b : buttons) b = Button{};
}

void reset_all() {
  for (Button& k : keys) k = Button{};
  for (Button& b : buttons) b = Button{};
  for (JoyPort& p : ports) p = JoyPort{};
  pointer_x = pointer_y = 0;
}

}  // namespace input
