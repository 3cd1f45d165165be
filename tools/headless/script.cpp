// Parsing the runner's scripts: one command a line, `#` comments, decimal
// numbers, every mistake reported with its line.
#include "script.h"

#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cmath>
#include <cstdlib>
#include <sstream>

namespace headless {
namespace {

struct Failure {
  std::string message;
};

class Line {
 public:
  explicit Line(std::vector<std::string> words) : words_(std::move(words)) {}
  bool done() const { return next_ >= words_.size(); }
  const std::string& word(const char* what) {
    if (done()) throw Failure{std::string("missing ") + what};
    return words_[next_++];
  }
  long long integer(const char* what, long long lo, long long hi) {
    const std::string& w = word(what);
    errno = 0;
    char* end = nullptr;
    long long v = std::strtoll(w.c_str(), &end, 10);
    if (w.empty() || *end || errno == ERANGE || w[0] == '+' || std::isspace(static_cast<unsigned char>(w[0])))
      throw Failure{std::string(what) + " must be a whole number, not '" + w + "'"};
    if (v < lo || v > hi)
      throw Failure{std::string(what) + " must be from " + std::to_string(lo) + " to " + std::to_string(hi)};
    return v;
  }
  float fraction(const char* what, float lo, float hi) {
    const std::string& w = word(what);
    char* end = nullptr;
    float v = std::strtof(w.c_str(), &end);
    if (w.empty() || *end || !std::isfinite(v) || w.find_first_not_of("+-.0123456789") != std::string::npos)
      throw Failure{std::string(what) + " must be a decimal number, not '" + w + "'"};
    if (v < lo || v > hi) throw Failure{std::string(what) + " must be from -1 to 1"};
    return v;
  }
  void finish() {
    if (!done()) throw Failure{"unexpected '" + words_[next_] + "'"};
  }

 private:
  std::vector<std::string> words_;
  size_t next_ = 0;
};

// Durations are held in an int and timed by a 32-bit millisecond clock: 24.8 days at most.
constexpr long long MAX_MS = INT32_MAX;
constexpr long long MAX_COORD = 1000000;

Command parse_command(Line& l, const std::string& verb) {
  Command c{};
  auto pick = [&](const char* what, std::initializer_list<std::pair<const char*, CommandKind>> kinds) {
    const std::string& w = l.word(what);
    for (auto& k : kinds)
      if (w == k.first) return k.second;
    throw Failure{"unknown " + std::string(what) + " '" + w + "'"};
  };
  if (verb == "key") {
    c.kind = pick("key action", {{"down", CMD_KEY_DOWN}, {"up", CMD_KEY_UP}, {"tap", CMD_KEY_TAP}});
    c.a = int(l.integer("key code", 0, 255));
  } else if (verb == "mouse") {
    c.kind = pick("mouse action", {{"move", CMD_MOUSE_MOVE}, {"down", CMD_MOUSE_DOWN}, {"up", CMD_MOUSE_UP},
                                   {"click", CMD_MOUSE_CLICK}});
    if (c.kind == CMD_MOUSE_MOVE) {
      c.a = int(l.integer("x", -MAX_COORD, MAX_COORD));
      c.b = int(l.integer("y", -MAX_COORD, MAX_COORD));
    } else {
      c.a = int(l.integer("mouse button", 1, 3));
    }
  } else if (verb == "joy") {
    c.kind = pick("joystick action", {{"down", CMD_JOY_DOWN}, {"up", CMD_JOY_UP}, {"tap", CMD_JOY_TAP},
                                      {"axis", CMD_JOY_AXIS_X}, {"hold", CMD_JOY_HOLD}});
    if (c.kind == CMD_JOY_AXIS_X) {
      c.kind = pick("axis", {{"x", CMD_JOY_AXIS_X}, {"y", CMD_JOY_AXIS_Y}});
      c.value = l.fraction("axis value", -1.0f, 1.0f);
    } else {
      c.a = int(l.integer("joystick button", 0, 3));
      if (c.kind == CMD_JOY_HOLD) c.b = int(l.integer("milliseconds", 0, MAX_MS));
    }
  } else if (verb == "close") {
    c.kind = CMD_CLOSE;
  } else if (verb == "suspend") {
    c.kind = CMD_SUSPEND;
    c.a = int(l.integer("milliseconds", 0, MAX_MS));
  } else if (verb == "lag") {
    c.kind = CMD_LAG;
    c.a = int(l.integer("milliseconds", 0, MAX_MS));
  } else if (verb == "shot" || verb == "state") {
    c.kind = verb == "shot" ? CMD_SHOT : CMD_STATE;
    c.file = l.word("file name");
  } else if (verb == "end") {
    c.kind = CMD_END;
  } else {
    throw Failure{"unknown command '" + verb + "'"};
  }
  l.finish();
  return c;
}

}  // namespace

bool parse_script(const std::string& text, Script& out, std::string& error) {
  out = Script{};
  std::istringstream in(text);
  std::string raw;
  int line_no = 0;
  bool in_body = false, ended = false, trace_given = false, display_given = false;
  try {
    while (std::getline(in, raw)) {
      line_no++;
      if (size_t hash = raw.find('#'); hash != std::string::npos) raw.erase(hash);
      std::istringstream ws(raw);
      std::vector<std::string> words;
      for (std::string w; ws >> w;) words.push_back(w);
      if (words.empty()) continue;
      Line l(words);
      const std::string verb = l.word("command");
      if (ended) throw Failure{"nothing may follow 'end'"};
      if (verb == "display" || verb == "joystick" || verb == "trace") {
        if (in_body) throw Failure{"'" + verb + "' belongs before the first 'at'"};
        if (verb == "display") {
          if (display_given) throw Failure{"'display' given twice"};
          display_given = true;
          const std::string& mode = l.word("display mode");
          if (mode != "vsync" && mode != "novsync") throw Failure{"display is 'vsync' or 'novsync', not '" + mode + "'"};
          out.vsync = mode == "vsync";
        } else if (verb == "joystick") {
          out.joystick = true;
        } else {
          if (trace_given) throw Failure{"'trace' given twice"};
          trace_given = true;
          out.trace_file = l.word("file name");
          out.trace_line = line_no;
        }
        l.finish();
        continue;
      }
      if (verb == "at") {
        uint64_t n = uint64_t(l.integer("frame", 0, INT64_MAX));
        l.finish();
        if (in_body && n < out.moments.back().frame) throw Failure{"frame numbers never decrease"};
        in_body = true;
        if (out.moments.empty() || out.moments.back().frame != n) out.moments.push_back(Moment{n, {}});
        continue;
      }
      Command c = parse_command(l, verb);
      if (!in_body) throw Failure{"'" + verb + "' needs an 'at' before it"};
      c.line = line_no;
      out.moments.back().commands.push_back(c);
      if (c.kind == CMD_END) ended = true;
    }
  } catch (const Failure& f) {
    error = std::to_string(line_no) + ": " + f.message;
    return false;
  }
  return true;
}

}  // namespace headless
