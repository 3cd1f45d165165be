// The runner's input scripts: header lines, then commands grouped by the
// frame count at which they take effect.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace headless {

enum CommandKind {
  CMD_KEY_DOWN, CMD_KEY_UP, CMD_KEY_TAP,
  CMD_MOUSE_MOVE, CMD_MOUSE_DOWN, CMD_MOUSE_UP, CMD_MOUSE_CLICK,
  CMD_JOY_DOWN, CMD_JOY_UP, CMD_JOY_TAP, CMD_JOY_AXIS_X, CMD_JOY_AXIS_Y, CMD_JOY_HOLD,
  CMD_CLOSE, CMD_SUSPEND, CMD_LAG,
  CMD_SHOT, CMD_STATE,
  CMD_END,
};

struct Command {
  CommandKind kind;
  int a = 0, b = 0;       // key, button, x / y, milliseconds
  float value = 0;        // joystick axis
  std::string file;       // shot and state
  int line = 0;
};

// The commands of one `at N`, in script order.
struct Moment {
  uint64_t frame = 0;
  std::vector<Command> commands;
};

struct Script {
  bool vsync = true;
  bool joystick = false;
  std::string trace_file;
  int trace_line = 0;
  std::vector<Moment> moments;   // frames strictly increasing
};

// Parses `text`; on failure returns false with `error` as "LINE: message".
bool parse_script(const std::string& text, Script& out, std::string& error);

}  // namespace headless
