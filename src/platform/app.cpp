// The application's state (active or suspended, close requested) as the
// device reports it, and the display and clock calls passed on to the device.
#include "platform/app.h"

#include "platform/device.h"
#include "platform/input.h"

namespace app {
namespace {
bool active = true;
bool close_pending = false;
}  // namespace

void set_title(const std::string& title) { plat::device().set_title(title); }
bool open_display(int width, int height) { return plat::device().open_display(width, height); }
void close_display() { plat::device().close_display(); }
void hide_pointer() { plat::device().show_pointer(false); }

bool suspended() {
  plat::device().poll_events();
  return !active;
}

bool close_requested() {
  plat::device().poll_events();
  bool r = close_pending;
  close_pending = false;
  return r;
}

void wait_events(int timeout_ms) { plat::device().wait_events(timeout_ms); }
uint32_t millisecs() { return plat::device().millisecs(); }
void delay(int ms) { plat::device().delay(ms); }

// Presses made before or during a suspension are lost, both ways round.
void on_focus(bool now_active) {
  if (now_active == active) return;
  active = now_active;
  input::discard_keys_and_mouse();
}

void on_close() { close_pending = true; }

void reset_state() {
  active = true;
  close_pending = false;
}

}  // namespace app
