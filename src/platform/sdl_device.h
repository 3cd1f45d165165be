// The desktop device the game runs on: SDL2 for window, input, joysticks,
// sound and time. Each job lives in its own file (sdl_display, sdl_events,
// sdl_keymap, sdl_joystick, sdl_audio); this class only joins them up.
#pragma once
#include <string>

#include "platform/device.h"
#include "platform/sdl_audio.h"
#include "platform/sdl_display.h"
#include "platform/sdl_events.h"
#include "platform/sdl_joystick.h"

namespace plat {

class SdlDevice : public Device {
 public:
  SdlDevice();
  ~SdlDevice() override;

  void set_title(const std::string& title) override;
  bool open_display(int width, int height) override;
  void close_display() override;
  void present(const uint32_t* pixels, bool vsync) override;
  void show_pointer(bool visible) override;
  void warp_pointer(int x, int y) override;
  void poll_events() override;
  void wait_events(int timeout_ms) override;
  uint32_t millisecs() override;
  void delay(int ms) override;
  int joystick_count() override;
  JoySample joystick_sample(int port) override;
  void open_audio() override;
  void close_audio() override;

  // For tests and tools.
  SdlDisplay& display() { return display_; }
  const SdlAudio& audio_output() const { return audio_; }

 private:
  std::string title_;
  SdlDisplay display_;
  SdlJoysticks joysticks_;
  SdlAudio audio_;
  FocusTracker focus_;
  bool joysticks_ready_ = false;

  void report(const std::string& line) const;
};

}  // namespace plat
