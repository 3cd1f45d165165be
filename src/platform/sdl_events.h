// The event pump's translation of SDL events into the input and application
// state: keys by virtual-key code, mouse buttons 1 left / 2 right / 3 middle,
// the pointer in logical pixels, focus and quit. Alt+Enter swaps full screen
// and window and is not passed on as a key.
#pragma once

union SDL_Event;

namespace plat {

class SdlDisplay;

// Active means focused and not minimised; app::on_focus hears each change.
struct FocusTracker {
  bool focused = true, minimised = false, active = true;
  void update();
};

void dispatch_event(const SDL_Event& e, SdlDisplay& display, FocusTracker& focus);

// SDL numbers the middle button 2 and the right 3; the game's order is
// 1 left, 2 right, 3 middle. 0 for buttons it does not know.
int mouse_button_from_sdl(int sdl_button);

}  // namespace plat
