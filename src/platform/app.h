// The application's state as the system reports it, and the clock.
#pragma once
#include <cstdint>
#include <string>

namespace app {

// Display. open_display creates the full-screen 640 x 480 picture; false when no
// display could be opened (a clear line has been printed to stderr then).
void set_title(const std::string& title);
bool open_display(int width, int height);
void close_display();
void present(bool vsync);     // shows the back buffer, waiting for the refresh when vsync
void hide_pointer();
// Audio output, opened once the display is; silent when there is none.
void open_audio();
void close_audio();

// Suspended: not the active application. Both queries process pending events.
// Suspension and activation discard all pending key and mouse input.
bool suspended();
bool close_requested();       // a close request since the last query; clears it
void wait_events(int timeout_ms);   // sleeps until an event arrives or the timeout passes

// Clock.
uint32_t millisecs();
void delay(int ms);

// --- fed by the devices ---
void on_focus(bool active);
void on_close();
void reset_state();

}  // namespace app
