// Sampling of game controllers (by position) and raw joysticks.
#include "platform/sdl_joystick.h"

#include <SDL2/SDL.h>

#include "platform/input.h"

namespace plat {

float axis_unit(int v) {
  double d = 2.0 * (double(v) - SDL_JOYSTICK_AXIS_MIN) / (SDL_JOYSTICK_AXIS_MAX - SDL_JOYSTICK_AXIS_MIN) - 1.0;
  if (d < -1.0) d = -1.0;
  if (d > 1.0) d = 1.0;
  return float(d);
}

float stick_unit(int v) {
  if (v >= STICK_RIM) return 1.0f;
  if (v <= -STICK_RIM) return -1.0f;
  return axis_unit(v);
}

namespace {

// A pressed D-pad direction wins over the stick and reads exactly -1 or +1.
float direction(bool minus, bool plus, float stick) {
  if (minus != plus) return minus ? -1.0f : 1.0f;
  return stick;
}

JoySample sample_controller(SDL_GameController* pad) {
  JoySample s;
  for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX && b < input::JOY_BUTTONS; ++b)
    if (SDL_GameControllerGetButton(pad, SDL_GameControllerButton(b))) s.buttons |= 1u << b;
  s.x = direction(SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT),
                  SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_DPAD_RIGHT),
                  stick_unit(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX)));
  s.y = direction(SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_DPAD_UP),
                  SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_DPAD_DOWN),
                  stick_unit(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY)));
  return s;
}

JoySample sample_raw(SDL_Joystick* joy) {
  JoySample s;
  int buttons = SDL_JoystickNumButtons(joy);
  for (int b = 0; b < buttons && b < input::JOY_BUTTONS; ++b)
    if (SDL_JoystickGetButton(joy, b)) s.buttons |= 1u << b;
  int axes = SDL_JoystickNumAxes(joy);
  int ax = axes > 0 ? SDL_JoystickGetAxis(joy, 0) : 0;
  int ay = axes > 1 ? SDL_JoystickGetAxis(joy, 1) : 0;
  Uint8 hat = SDL_JoystickNumHats(joy) > 0 ? SDL_JoystickGetHat(joy, 0) : SDL_HAT_CENTERED;
  // A joystick without axes reads 0 when centred, not the formula's 1/65535.
  s.x = (hat & (SDL_HAT_LEFT | SDL_HAT_RIGHT)) || axes > 0
            ? direction(hat & SDL_HAT_LEFT, hat & SDL_HAT_RIGHT, axis_unit(ax)) : 0.0f;
  s.y = (hat & (SDL_HAT_UP | SDL_HAT_DOWN)) || axes > 1
            ? direction(hat & SDL_HAT_UP, hat & SDL_HAT_DOWN, axis_unit(ay)) : 0.0f;
  return s;
}

}  // namespace

void SdlJoysticks::open_all() {
  close_all();
  SDL_JoystickEventState(SDL_IGNORE);
  SDL_GameControllerEventState(SDL_IGNORE);
  SDL_JoystickUpdate();
  int n = SDL_NumJoysticks();
  for (int i = 0; i < n; ++i) {
    Stick st;
    if (SDL_IsGameController(i)) st.pad = SDL_GameControllerOpen(i);
    st.joy = st.pad ? SDL_GameControllerGetJoystick(st.pad) : SDL_JoystickOpen(i);
    if (st.joy) sticks_.push_back(st);
  }
}

void SdlJoysticks::close_all() {
  for (Stick& st : sticks_) {
    if (st.pad) SDL_GameControllerClose(st.pad);
    else SDL_JoystickClose(st.joy);
  }
  sticks_.clear();
}

bool SdlJoysticks::is_controller(int port) const {
  return port >= 0 && port < count() && sticks_[port].pad;
}

JoySample SdlJoysticks::sample(int port) {
  if (port < 0 || port >= count()) return {};
  SDL_JoystickUpdate();
  const Stick& st = sticks_[port];
  if (!SDL_JoystickGetAttached(st.joy)) return {};
  return st.pad ? sample_controller(st.pad) : sample_raw(st.joy);
}

}  // namespace plat
