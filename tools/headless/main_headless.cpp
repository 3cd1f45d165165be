// gobblestamp-headless SCRIPT: plays the real game on the headless device,
// driven by an input script, writing pictures, state snapshots and a trace.
// Exit codes: 0 the game shut down by itself, 3 the script's `end`, 2 a script
// error (SCRIPT:LINE: message on stderr), 1 anything else.
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "audio/sounds.h"
#include "outputs.h"
#include "platform/audio.h"
#include "platform/files.h"
#include "platform/headless_device.h"
#include "script.h"
#include "shell/game.h"

namespace {

using namespace headless;

constexpr uint64_t MAX_FRAMES = 10000000;

std::string script_path;
Script script;
size_t next_moment = 0;
plat::HeadlessDevice dev;
Trace trace;

[[noreturn]] void finish(int code) {
  trace.line("exit " + std::to_string(code) + " " + std::to_string(dev.millisecs()));
  trace.close();
  std::fflush(stdout);
  std::fflush(stderr);
  _exit(code);
}

[[noreturn]] void script_error(int line, const std::string& message) {
  std::fprintf(stderr, "%s:%d: %s\n", script_path.c_str(), line, message.c_str());
  finish(2);
}

void write_outputs(const Moment& m) {
  for (const Command& c : m.commands) {
    if (c.kind == CMD_SHOT && !write_shot(c.file, dev.last_frame()))
      script_error(c.line, "cannot write the picture '" + c.file + "'");
    if (c.kind == CMD_STATE && !write_state(c.file, dev))
      script_error(c.line, "cannot write the state '" + c.file + "'");
  }
}

void queue_inputs(const Moment& m) {
  for (const Command& c : m.commands) {
    const uint32_t now = dev.millisecs();
    switch (c.kind) {
      case CMD_KEY_DOWN: dev.push_key(c.a, true); break;
      case CMD_KEY_UP: dev.push_key(c.a, false); break;
      case CMD_KEY_TAP:
        dev.push_key(c.a, true);
        dev.push_key(c.a, false);
        break;
      case CMD_MOUSE_MOVE: dev.push_mouse_move(c.a, c.b); break;
      case CMD_MOUSE_DOWN: dev.push_mouse_button(c.a, true); break;
      case CMD_MOUSE_UP: dev.push_mouse_button(c.a, false); break;
      case CMD_MOUSE_CLICK:
        dev.push_mouse_button(c.a, true);
        dev.push_mouse_button(c.a, false);
        break;
      case CMD_JOY_DOWN: dev.set_joy_button(c.a, true); break;
      case CMD_JOY_UP: dev.set_joy_button(c.a, false); break;
      case CMD_JOY_TAP: dev.tap_joy_button(c.a); break;
      case CMD_JOY_AXIS_X: dev.set_joy_axis(0, c.value); break;
      case CMD_JOY_AXIS_Y: dev.set_joy_axis(1, c.value); break;
      case CMD_JOY_HOLD: {
        int b = c.a;
        dev.set_joy_button(b, true);
        dev.schedule(now + uint32_t(c.b), [b] { dev.set_joy_button(b, false); });
        break;
      }
      case CMD_CLOSE: dev.push_close(); break;
      case CMD_SUSPEND:
        dev.push_focus(false);
        dev.schedule(now + uint32_t(c.a), [] { dev.push_focus(true); });
        break;
      case CMD_LAG: dev.advance(uint32_t(c.a)); break;
      case CMD_SHOT: case CMD_STATE: case CMD_END: break;
    }
  }
}

// Everything asked for at the current frame count: outputs, then inputs.
void act_now() {
  while (next_moment < script.moments.size() && script.moments[next_moment].frame == frames_presented) {
    const Moment& m = script.moments[next_moment++];
    write_outputs(m);
    queue_inputs(m);
    for (const Command& c : m.commands)
      if (c.kind == CMD_END) finish(3);
  }
}

void on_frame() {
  trace.line("present " + std::to_string(dev.millisecs()));
  if (frames_presented > MAX_FRAMES) {
    std::fprintf(stderr, "%s: the game ran past %llu frames\n", script_path.c_str(),
                 static_cast<unsigned long long>(MAX_FRAMES));
    finish(1);
  }
  act_now();
}

// Sounds that start and what the game does to the factory loop's channel.
struct SoundTrace : audio::Observer {
  static bool is_factory(const audio::Channel& ch) { return factory_channel && &ch == factory_channel.get(); }
  void on_resume(const audio::Channel& ch, bool first_start) override {
    const audio::Sound* s = audio::channel_sound(ch);
    if (first_start && s)
      trace.line("sound " + audio::sound_name(*s) + " " + float_text(audio::get_volume(ch)));
    else if (is_factory(ch))
      trace.line("factory resume");
  }
  void on_pause(const audio::Channel& ch) override {
    if (is_factory(ch)) trace.line("factory pause");
  }
  void on_stop(const audio::Channel& ch) override {
    if (is_factory(ch)) trace.line("factory stop");
  }
  void on_volume(const audio::Channel& ch, float v) override {
    if (is_factory(ch)) trace.line("factory volume " + float_text(v));
  }
};
SoundTrace sound_trace;

void on_save(const std::string& path, const std::vector<uint8_t>& bytes) {
  size_t cut = path.find_last_of("\\/");
  std::string text = "save " + (cut == std::string::npos ? path : path.substr(cut + 1)) + " ";
  static const char hex[] = "0123456789abcdef";
  for (uint8_t b : bytes) {
    text += hex[b >> 4];
    text += hex[b & 15];
  }
  trace.line(text);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: gobblestamp-headless SCRIPT\n");
    return 1;
  }
  script_path = argv[1];
  std::ifstream in(script_path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "%s:0: cannot read the script\n", script_path.c_str());
    return 2;
  }
  std::stringstream text;
  text << in.rdbuf();
  std::string error;
  if (!parse_script(text.str(), script, error)) {
    std::fprintf(stderr, "%s:%s\n", script_path.c_str(), error.c_str());
    return 2;
  }
  if (!script.trace_file.empty() && !trace.open(script.trace_file)) {
    std::fprintf(stderr, "%s:%d: cannot write the trace '%s'\n", script_path.c_str(), script.trace_line,
                 script.trace_file.c_str());
    return 2;
  }

  dev.vsync_display = script.vsync;
  if (script.joystick) dev.attach_joystick();
  dev.on_warp = [](int x, int y) { trace.line("pointer " + std::to_string(x) + " " + std::to_string(y)); };
  plat::use_device(&dev);
  audio::set_observer(&sound_trace);
  files::set_write_observer(on_save);
  frame_presented_hook = on_frame;

  act_now();   // `at 0`: before the first frame
  int code = run_game();
  finish(code == 0 ? 0 : 1);
}
