// A device is what the platform layer runs on: the SDL2 desktop device for the
// game, or the headless device for tests and tools. The platform modules
// (app, input, audio) call into the current device; the game never sees it.
#pragma once
#include <cstdint>
#include <string>

namespace plat {

struct JoySample {
  uint32_t buttons = 0;   // bit b set while button b is down
  float x = 0, y = 0;     // -1 .. +1, exactly -1 and +1 at the end stops
};

class Device {
 public:
  virtual ~Device() = default;
  virtual void set_title(const std::string& title) = 0;
  virtual bool open_display(int width, int height) = 0;
  virtual void close_display() = 0;
  // Shows the 640 x 480 buffer (0x00RRGGBB), waiting for the refresh when vsync.
  virtual void present(const uint32_t* pixels, bool vsync) = 0;
  virtual void show_pointer(bool visible) = 0;
  virtual void warp_pointer(int x, int y) = 0;   // logical pixels
  // Moves pending system events into input:: and app:: (on_key, on_focus, ...).
  virtual void poll_events() = 0;
  virtual void wait_events(int timeout_ms) = 0;  // then polls
  virtual uint32_t millisecs() = 0;
  virtual void delay(int ms) = 0;
  // Joysticks enumerated when the display opened.
  virtual int joystick_count() = 0;
  virtual JoySample joystick_sample(int port) = 0;
  // Opens the audio output, which pulls from audio::mix. Silent when none exists.
  virtual void open_audio() = 0;
  virtual void close_audio() = 0;
};

void use_device(Device* d);
Device& device();

}  // namespace plat
