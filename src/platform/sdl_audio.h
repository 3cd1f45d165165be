// The sound card: 44100 Hz, signed 16-bit stereo, pulled in buffers of at
// most 512 frames (about 11.6 ms) by SDL's audio thread from audio::mix, so a
// sound cued now is heard in the next buffer. Without a usable device the
// game runs silently.
#pragma once
#include <cstdint>
#include <string>

namespace plat {

class SdlAudio {
 public:
  static constexpr int RATE = 44100;
  static constexpr int BUFFER_FRAMES = 512;

  ~SdlAudio() { close(); }
  // False, with `error` set to one line, when no output could be opened.
  bool open(std::string& error);
  void close();
  bool is_open() const { return device_ != 0; }
  int buffer_frames() const { return buffer_frames_; }

 private:
  uint32_t device_ = 0;
  int buffer_frames_ = 0;
};

}  // namespace plat
