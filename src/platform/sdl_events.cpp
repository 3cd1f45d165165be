// SDL events -> input:: and app::.
#include "platform/sdl_events.h"

#include <SDL2/SDL.h>

#include "platform/app.h"
#include "platform/input.h"
#include "platform/sdl_display.h"
#include "platform/sdl_keymap.h"

namespace plat {

void FocusTracker::update() {
  bool now = focused && !minimised;
  if (now == active) return;
  active = now;
  app::on_focus(active);
}

int mouse_button_from_sdl(int sdl_button) {
  switch (sdl_button) {
    case SDL_BUTTON_LEFT: return 1;
    case SDL_BUTTON_RIGHT: return 2;
    case SDL_BUTTON_MIDDLE: return 3;
    default: return 0;
  }
}

namespace {

void on_key(const SDL_KeyboardEvent& k, SdlDisplay& display) {
  bool down = k.type == SDL_KEYDOWN;
  bool enter = k.keysym.scancode == SDL_SCANCODE_RETURN || k.keysym.scancode == SDL_SCANCODE_KP_ENTER;
  if (enter && (k.keysym.mod & KMOD_ALT)) {
    if (down && !k.repeat) display.toggle_fullscreen();
    return;
  }
  int vk = vk_from_scancode(k.keysym.scancode);
  if (vk) input::on_key(vk, down, k.repeat != 0);
}

void on_pointer(SdlDisplay& display, int wx, int wy) {
  Point p = display.to_logical(wx, wy);
  input::on_mouse_move(p.x, p.y);
}

void on_window(const SDL_WindowEvent& w, FocusTracker& focus) {
  switch (w.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED: focus.focused = true; break;
    case SDL_WINDOWEVENT_FOCUS_LOST: focus.focused = false; break;
    case SDL_WINDOWEVENT_MINIMIZED: focus.minimised = true; break;
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED: focus.minimised = false; break;
    default: return;
  }
  focus.update();
}

}  // namespace

void dispatch_event(const SDL_Event& e, SdlDisplay& display, FocusTracker& focus) {
  switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      on_key(e.key, display);
      break;
    case SDL_MOUSEMOTION:
      on_pointer(display, e.motion.x, e.motion.y);
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      if (int b = mouse_button_from_sdl(e.button.button)) {
        on_pointer(display, e.button.x, e.button.y);
        input::on_mouse_button(b, e.type == SDL_MOUSEBUTTONDOWN);
      }
      break;
    case SDL_WINDOWEVENT:
      display.on_event(e);
      on_window(e.window, focus);
      break;
    case SDL_RENDER_DEVICE_RESET:
      display.on_event(e);
      break;
    case SDL_QUIT:
      app::on_close();
      break;
    default:
      break;
  }
}

}  // namespace plat
