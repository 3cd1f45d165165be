// The trace file: one event a line, prefixed with the frames presented so far.
#include <cstdio>

#include "outputs.h"
#include "shell/game.h"

namespace headless {

bool Trace::open(const std::string& path) {
  file_ = std::fopen(path.c_str(), "wb");
  return file_ != nullptr;
}

void Trace::line(const std::string& text) {
  if (!file_) return;
  std::fprintf(file_, "%llu %s\n", static_cast<unsigned long long>(frames_presented), text.c_str());
}

void Trace::close() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
}

}  // namespace headless
