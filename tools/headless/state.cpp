// The state snapshot: the game's globals as one JSON object, floats written so
// that they read back as the same single-precision value.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <type_traits>

#include "audio/sounds.h"
#include "gameplay/player.h"
#include "gameplay/turkey.h"
#include "outputs.h"
#include "platform/input.h"
#include "render/scene.h"
#include "render/stereo_drawer.h"
#include "screens/screens.h"
#include "shell/game.h"

namespace headless {

std::string float_text(float v) {
  if (std::isnan(v)) return "null";   // JSON has no NaN; the game never makes one
  if (std::isinf(v)) return v > 0 ? "1e39" : "-1e39";
  char buf[32];
  if (v == std::trunc(v) && std::fabs(v) < 1e9f) {   // whole numbers as plain digits
    std::snprintf(buf, sizeof buf, "%.0f", double(v));
    return buf;
  }
  for (int digits = 1; digits <= 9; digits++) {
    std::snprintf(buf, sizeof buf, "%.*g", digits, double(v));
    if (std::strtof(buf, nullptr) == v) break;
  }
  return buf;
}

namespace {

class Json {
 public:
  void open(char c) {
    comma();
    s_ += c;
    first_ = true;
  }
  void close(char c) {
    s_ += c;
    first_ = false;
  }
  void key(const char* k) {
    comma();
    s_ += '"';
    s_ += k;
    s_ += "\":";
    first_ = true;   // the value follows without a comma
  }
  void num(long long v) {
    comma();
    s_ += std::to_string(v);
  }
  void num(float v) {
    comma();
    s_ += float_text(v);
  }
  void str(const char* v) {
    comma();
    s_ += '"';
    s_ += v;
    s_ += '"';
  }
  void boolean(bool v) {
    comma();
    s_ += v ? "true" : "false";
  }
  template <class T>
  void field(const char* k, T v) {
    key(k);
    if constexpr (std::is_same_v<T, bool>)
      boolean(v);
    else if constexpr (std::is_floating_point_v<T>)
      num(float(v));
    else
      num(static_cast<long long>(v));
  }
  std::string text() const { return s_; }

 private:
  void comma() {
    if (!first_) s_ += ',';
    first_ = false;
  }
  std::string s_;
  bool first_ = true;
};

}  // namespace

std::string state_json(plat::HeadlessDevice& dev) {
  Json j;
  j.open('{');
  j.field("frame", frames_presented);
  j.field("ms", dev.millisecs());
  j.key("pacing");
  j.str(pacing_mode == PACING_VSYNC ? "vsync" : "timer");
  j.field("game_state", game_state);
  j.field("quit_requested", quit_requested);
  j.field("glasses_mode", glasses_mode);
  j.field("retro_line_effect", retro_line_effect);
  j.field("sound_volume_step", sound_volume_step);
  j.field("sound_volume", sound_volume);
  j.field("factory_volume_step", factory_volume_step);
  j.field("factory_volume", factory_volume);
  j.field("factory_playing", factory_channel ? audio::playing(*factory_channel) : false);
  j.field("drop_counter", drop_counter);
  j.field("drop_interval", drop_interval);
  j.field("game_over_delay", game_over_delay);
  j.field("belt_countdown", belt_countdown);
  j.field("belt_interval", belt_interval);
  j.field("belt_frame", belt_frame);
  j.field("wheel_angle", wheel_angle);
  j.field("hit_value", hit_value);
  j.field("belt_speed", belt_speed);
  int px = 0, py = 0;
  input::peek_pointer(px, py);
  j.key("pointer");
  j.open('[');
  j.num(static_cast<long long>(px));
  j.num(static_cast<long long>(py));
  j.close(']');
  if (const bqdraw_tag* d = stereo_drawer.get()) {
    j.key("stereo_drawer");
    j.open('{');
    j.field("leye_r", d->leye_r);
    j.field("leye_g", d->leye_g);
    j.field("leye_b", d->leye_b);
    j.field("reye_r", d->reye_r);
    j.field("reye_g", d->reye_g);
    j.field("reye_b", d->reye_b);
    j.field("txt_xs", d->txt_xs);
    j.field("txt_ys", d->txt_ys);
    j.close('}');
  }
  if (const player_tag* p = player.get()) {
    j.key("player");
    j.open('{');
    j.field("score", p->score);
    j.field("best_sc", p->best_sc);
    j.field("new_bs", p->new_bs);
    j.field("lives", p->lives);
    j.field("level", p->level);
    j.field("x", p->x);
    j.field("y", p->y);
    j.field("fork", p->fork);
    j.field("forkx", p->forkx);
    j.field("forky", p->forky);
    j.close('}');
  }
  if (turkey_list) {
    j.key("turkeys");
    j.open('[');
    for (const auto& t : *turkey_list) {
      j.open('{');
      j.field("x", t->x);
      j.field("y", t->y);
      j.field("xstp", t->xstp);
      j.field("ystp", t->ystp);
      j.field("rot", t->rot);
      j.field("sc", t->sc);
      j.field("offs", t->offs);
      j.field("state", t->state);
      j.field("frame", t->frame);
      j.close('}');
    }
    j.close(']');
  }
  j.close('}');
  return j.text() + "\n";
}

bool write_state(const std::string& path, plat::HeadlessDevice& dev) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  std::string s = state_json(dev);
  bool ok = std::fwrite(s.data(), 1, s.size(), f) == s.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace headless
