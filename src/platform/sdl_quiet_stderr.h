// Keeps the libraries SDL tries on its way (ALSA, Wayland, ...) from writing
// lines of their own to stderr while a device is being opened: a failure is
// then told in one line of ours. Start-up only: the game has one thread then.
#pragma once
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace plat {

class QuietStderr {
 public:
  QuietStderr() {
    std::fflush(stderr);
    saved_ = dup(STDERR_FILENO);
    int null = ::open("/dev/null", O_WRONLY);
    if (saved_ >= 0 && null >= 0) dup2(null, STDERR_FILENO);
    if (null >= 0) ::close(null);
  }
  ~QuietStderr() {
    std::fflush(stderr);
    if (saved_ >= 0) {
      dup2(saved_, STDERR_FILENO);
      ::close(saved_);
    }
  }
  QuietStderr(const QuietStderr&) = delete;
  QuietStderr& operator=(const QuietStderr&) = delete;

 private:
  int saved_ = -1;
};

}  // namespace plat
