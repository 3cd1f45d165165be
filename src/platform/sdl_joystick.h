// Joysticks and gamepads, enumerated once and sampled on demand.
//
// A device SDL knows as a game controller is read by position: button 0 is the
// south face button, 1 east, 2 west, 3 north, then SDL's order for the rest;
// the D-pad and the left stick drive x/y, the D-pad at exactly -1/+1. The
// game moves only on a full -1/+1, which a real stick seldom gives on every
// side (worn springs, round gates), so the stick's outer rim reads as its end
// stop; inside it the stick reads by the formula below. Any other
// joystick is read raw: its buttons in order, axes 0 and 1 as x/y, and its
// first hat like a D-pad. Axis values v in -32768..32767 become
// 2 * (v + 32768) / 65535 - 1, which is exactly -1 and +1 at the end stops.
//
// Joystick events are switched off: the state is read by sampling, and with
// no joystick events queued, waiting for events can truly sleep.
#pragma once
#include <vector>

#include "platform/device.h"

struct _SDL_Joystick;
struct _SDL_GameController;

namespace plat {

float axis_unit(int v);
// The left stick of a game controller: axis_unit, with |v| >= STICK_RIM at the stop.
constexpr int STICK_RIM = 30000;
float stick_unit(int v);

class SdlJoysticks {
 public:
  // Opens every joystick connected now; the first found is port 0.
  // Needs SDL's joystick and game-controller subsystems.
  void open_all();
  void close_all();
  int count() const { return int(sticks_.size()); }
  // Reads the device afresh; an unknown port or an unplugged device reads idle.
  JoySample sample(int port);
  bool is_controller(int port) const;

 private:
  struct Stick {
    _SDL_GameController* pad = nullptr;
    _SDL_Joystick* joy = nullptr;
  };
  std::vector<Stick> sticks_;
};

}  // namespace plat
