// The headless device: the same platform layer with no window, no sound card
// and no real time. A virtual millisecond clock moves only by delay(), by
// presentation and by waiting for events; the virtual display refreshes at
// 60 Hz. Input is injected by the caller into a queue that the next event poll
// delivers, like a system event queue. Audio is mixed into a sink as the
// virtual clock advances, so what plays can be checked.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <vector>

#include "platform/device.h"

namespace plat {

class HeadlessDevice : public Device {
 public:
  HeadlessDevice();
  ~HeadlessDevice() override;

  // --- Device ---
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

  // --- set-up ---
  bool vsync_display = true;      // false: a present never waits and costs 1 ms
  bool display_available = true;  // false: open_display fails like a machine without a screen
  void attach_joystick();         // 2 axes, 4 buttons; seen when the display opens
  bool capture_audio = false;     // keep the mixed samples in `audio_out`

  // --- injected input (delivered at the next poll_events, in order) ---
  void push_key(int vk, bool down);
  void push_mouse_button(int button, bool down);
  void push_mouse_move(int x, int y);
  void push_close();
  void push_focus(bool active);
  void set_joy_button(int button, bool down);   // joystick state changes at once
  void set_joy_axis(int axis, float value);     // axis 0 x, 1 y
  void tap_joy_button(int button);              // down until one sample has seen it, then up

  // Runs `fn` once the virtual clock has reached `at_ms` (checked whenever the
  // clock moves). Used for "release the button after N ms" and "regain focus".
  void schedule(uint32_t at_ms, std::function<void()> fn);

  // Moves the virtual clock forward (mixing audio for the time that passed).
  void advance(uint32_t ms);

  // --- observation ---
  std::function<void()> on_present;            // after every present
  std::function<void(int, int)> on_warp;       // the program moved the pointer
  const std::vector<uint32_t>& last_frame() const { return frame_; }
  uint64_t presents() const { return presents_; }
  std::string title;
  bool pointer_visible = true;
  std::vector<int16_t> audio_out;               // interleaved stereo at audio_rate
  int audio_rate = 44100;

 private:
  struct Event { int kind; int a; int b; };
  std::deque<Event> queue_;
  std::multimap<uint64_t, std::function<void()>> timers_;
  std::vector<uint32_t> frame_;
  uint64_t presents_ = 0;
  uint64_t clock_ms_ = 0;
  double audio_frac_ = 0;
  bool joystick_attached_ = false, joystick_seen_ = false, audio_open_ = false;
  JoySample joy_;
  uint32_t joy_tapped_ = 0;   // buttons to release after the next sample
  void run_timers();
};

}  // namespace plat
