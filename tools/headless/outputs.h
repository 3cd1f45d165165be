// What the runner writes: pictures, state snapshots and the trace.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/headless_device.h"

namespace headless {

// The shortest decimal text that reads back as the same single-precision value.
std::string float_text(float v);

// A 640 x 480 RGB PNG of `frame` (0x00RRGGBB; empty means black).
bool write_shot(const std::string& path, const std::vector<uint32_t>& frame);

// The game's state as one JSON object.
std::string state_json(plat::HeadlessDevice& dev);
bool write_state(const std::string& path, plat::HeadlessDevice& dev);

// One event a line, each prefixed with the frames presented so far.
class Trace {
 public:
  bool open(const std::string& path);
  bool active() const { return file_ != nullptr; }
  void line(const std::string& text);
  void close();

 private:
  FILE* file_ = nullptr;
};

}  // namespace headless
