// SdlDevice: the Device interface over the SDL parts.
#include "platform/sdl_device.h"

#include <SDL2/SDL.h>

#include <cstdio>

#include "platform/input.h"

namespace plat {

SdlDevice::SdlDevice() {
  // Gamepad buttons by position (south, east, west), whatever is printed on them.
  SDL_SetHint(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, "0");
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  // The joystick reads what it is, focus or not: the game itself stops
  // asking while it is suspended.
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
}

SdlDevice::~SdlDevice() {
  close_audio();
  close_display();
  SDL_Quit();
}

void SdlDevice::report(const std::string& line) const {
  std::fprintf(stderr, "%s%s\n", title_.empty() ? "" : (title_ + ": ").c_str(), line.c_str());
}

void SdlDevice::set_title(const std::string& title) {
  title_ = title;
  SDL_SetHint(SDL_HINT_APP_NAME, title.c_str());   // how the sound server lists us
  display_.set_title(title);
}

bool SdlDevice::open_display(int width, int height) {
  close_display();
  std::string error;
  if (!display_.open(title_, width, height, error)) {
    report(error);
    return false;
  }
  focus_ = FocusTracker{};
  // Joysticks are enumerated here once; ones plugged in later are not seen.
  joysticks_ready_ = SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER) == 0;
  if (joysticks_ready_) joysticks_.open_all();
  return true;
}

void SdlDevice::close_display() {
  joysticks_.close_all();
  if (joysticks_ready_) SDL_QuitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER);
  joysticks_ready_ = false;
  display_.close();
}

void SdlDevice::present(const uint32_t* pixels, bool vsync) { display_.present(pixels, vsync); }

void SdlDevice::show_pointer(bool visible) { display_.show_pointer(visible); }

void SdlDevice::warp_pointer(int x, int y) {
  // SDL reports the warp only with a later event; the game reads the new
  // position at once.
  Point p = display_.warp_pointer(x, y);
  input::on_mouse_move(p.x, p.y);
}

void SdlDevice::poll_events() {
  if (!display_.is_open()) return;
  SDL_Event e;
  while (SDL_PollEvent(&e)) dispatch_event(e, display_, focus_);
}

void SdlDevice::wait_events(int timeout_ms) {
  if (!display_.is_open()) {
    delay(timeout_ms);
    return;
  }
  SDL_Event e;
  if (SDL_WaitEventTimeout(&e, timeout_ms > 0 ? timeout_ms : 0)) dispatch_event(e, display_, focus_);
  poll_events();
}

uint32_t SdlDevice::millisecs() { return uint32_t(SDL_GetTicks64()); }

void SdlDevice::delay(int ms) {
  if (ms > 0) SDL_Delay(Uint32(ms));
}

int SdlDevice::joystick_count() { return joysticks_.count(); }

JoySample SdlDevice::joystick_sample(int port) { return joysticks_.sample(port); }

void SdlDevice::open_audio() {
  std::string error;
  if (!audio_.open(error)) report(error);
}

void SdlDevice::close_audio() { audio_.close(); }

}  // namespace plat
