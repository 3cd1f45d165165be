// The headless device: no window, no sound card, no real time. The virtual
// clock moves only by delay, presentation and waiting for events; the virtual
// display refreshes at 60 Hz (refresh k at floor(k * 1000 / 60) ms).
#include "platform/headless_device.h"

#include <algorithm>
#include <cstdio>

#include "platform/app.h"
#include "platform/audio.h"
#include "platform/input.h"
#include "platform/render.h"

namespace plat {
namespace {

enum EventKind { EV_KEY, EV_BUTTON, EV_MOVE, EV_CLOSE, EV_FOCUS };

constexpr int JOY_AXES = 2, JOY_BUTTON_COUNT = 4;

// The first refresh at or after `ms`, and the one after it.
uint64_t refresh_after(uint64_t ms) {
  uint64_t k = ms * 60 / 1000;   // floor(k * 1000 / 60) <= ms for this k
  while (k * 1000 / 60 <= ms) k++;
  return k * 1000 / 60;
}

}  // namespace

HeadlessDevice::HeadlessDevice() = default;
HeadlessDevice::~HeadlessDevice() = default;

void HeadlessDevice::set_title(const std::string& t) { title = t; }

bool HeadlessDevice::open_display(int width, int height) {
  if (!display_available) {
    std::fprintf(stderr, "gobblestamp: no display could be opened\n");
    return false;
  }
  (void)width;
  (void)height;
  frame_.assign(size_t(gfx::SCREEN_W) * gfx::SCREEN_H, 0);
  joystick_seen_ = joystick_attached_;
  return true;
}

void HeadlessDevice::close_display() {}

void HeadlessDevice::present(const uint32_t* pixels, bool vsync) {
  if (pixels) frame_.assign(pixels, pixels + size_t(gfx::SCREEN_W) * gfx::SCREEN_H);
  if (vsync && vsync_display)
    advance(uint32_t(refresh_after(clock_ms_) - clock_ms_));
  else
    advance(1);
  presents_++;
  if (on_present) on_present();
}

void HeadlessDevice::show_pointer(bool visible) { pointer_visible = visible; }

void HeadlessDevice::warp_pointer(int x, int y) {
  if (on_warp) on_warp(x, y);
}

void HeadlessDevice::poll_events() {
  // Handlers may queue more events; those wait for the next poll, like a
  // system queue read up to its end as it stood.
  size_t n = queue_.size();
  for (size_t i = 0; i < n && !queue_.empty(); i++) {
    Event e = queue_.front();
    queue_.pop_front();
    switch (e.kind) {
      case EV_KEY: input::on_key(e.a, e.b != 0, false); break;
      case EV_BUTTON: input::on_mouse_button(e.a, e.b != 0); break;
      case EV_MOVE: input::on_mouse_move(e.a, e.b); break;
      case EV_CLOSE: app::on_close(); break;
      case EV_FOCUS: app::on_focus(e.a != 0); break;
    }
  }
}

void HeadlessDevice::wait_events(int timeout_ms) {
  if (queue_.empty() && timeout_ms > 0) {
    uint64_t until = clock_ms_ + uint64_t(timeout_ms);
    if (!timers_.empty()) until = std::min<uint64_t>(until, std::max<uint64_t>(timers_.begin()->first, clock_ms_));
    advance(uint32_t(until - clock_ms_));
  }
  poll_events();
}

uint32_t HeadlessDevice::millisecs() { return uint32_t(clock_ms_); }

void HeadlessDevice::delay(int ms) {
  if (ms > 0) advance(uint32_t(ms));
}

int HeadlessDevice::joystick_count() { return joystick_seen_ ? 1 : 0; }

JoySample HeadlessDevice::joystick_sample(int port) {
  if (!joystick_seen_ || port != 0) return JoySample{};
  JoySample s = joy_;
  joy_.buttons &= ~joy_tapped_;
  joy_tapped_ = 0;
  return s;
}

void HeadlessDevice::open_audio() {
  audio::set_output_rate(audio_rate);
  audio_open_ = true;
  audio_frac_ = 0;
}

void HeadlessDevice::close_audio() { audio_open_ = false; }

void HeadlessDevice::attach_joystick() { joystick_attached_ = true; }

void HeadlessDevice::push_key(int vk, bool down) { queue_.push_back({EV_KEY, vk, down ? 1 : 0}); }
void HeadlessDevice::push_mouse_button(int button, bool down) { queue_.push_back({EV_BUTTON, button, down ? 1 : 0}); }
void HeadlessDevice::push_mouse_move(int x, int y) { queue_.push_back({EV_MOVE, x, y}); }
void HeadlessDevice::push_close() { queue_.push_back({EV_CLOSE, 0, 0}); }
void HeadlessDevice::push_focus(bool active) { queue_.push_back({EV_FOCUS, active ? 1 : 0, 0}); }

void HeadlessDevice::set_joy_button(int button, bool down) {
  if (button < 0 || button >= JOY_BUTTON_COUNT) return;
  joy_tapped_ &= ~(1u << button);
  if (down)
    joy_.buttons |= 1u << button;
  else
    joy_.buttons &= ~(1u << button);
}

void HeadlessDevice::tap_joy_button(int button) {
  if (button < 0 || button >= JOY_BUTTON_COUNT) return;
  joy_.buttons |= 1u << button;
  joy_tapped_ |= 1u << button;
}

void HeadlessDevice::set_joy_axis(int axis, float value) {
  if (axis < 0 || axis >= JOY_AXES) return;
  value = std::clamp(value, -1.0f, 1.0f);
  (axis == 0 ? joy_.x : joy_.y) = value;
}

void HeadlessDevice::schedule(uint32_t at_ms, std::function<void()> fn) {
  // at_ms is on the scale of millisecs(), which wraps after 49.7 days like any
  // 32-bit millisecond clock: taken as the nearest such moment, up to 24.8
  // days ahead, or due at once when it lies behind.
  const int32_t ahead = int32_t(at_ms - uint32_t(clock_ms_));
  const uint64_t at = clock_ms_ + uint64_t(std::max(ahead, 0));
  timers_.emplace(at, std::move(fn));
  run_timers();
}

// The clock moves in steps that stop at every timer on the way, so that a
// timer sees the clock at its own time and the audio mixed up to it.
void HeadlessDevice::advance(uint32_t ms) {
  const uint64_t end = clock_ms_ + ms;
  run_timers();
  while (clock_ms_ < end) {
    uint64_t next = end;   // every timer left lies after the clock
    if (!timers_.empty()) next = std::min<uint64_t>(next, timers_.begin()->first);
    if (audio_open_) {
      // audio_frac_ holds the remainder, in frames * 1000, carried between steps.
      double due = double(next - clock_ms_) * audio_rate + audio_frac_;
      uint64_t frames = uint64_t(due / 1000);
      audio_frac_ = due - double(frames) * 1000;
      // In pieces: a long lag or wait must not need its whole sound at once
      // (the mix does not depend on how it is cut).
      int16_t buf[4096 * audio::MIX_CHANNELS];
      while (frames > 0) {
        const int n = int(std::min<uint64_t>(frames, 4096));
        audio::mix(buf, n);
        if (capture_audio) audio_out.insert(audio_out.end(), buf, buf + n * audio::MIX_CHANNELS);
        frames -= uint64_t(n);
      }
    }
    clock_ms_ = next;
    run_timers();
  }
}

void HeadlessDevice::run_timers() {
  while (!timers_.empty() && timers_.begin()->first <= clock_ms_) {
    auto fn = std::move(timers_.begin()->second);
    timers_.erase(timers_.begin());
    fn();
  }
}

}  // namespace plat
