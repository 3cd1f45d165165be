// What a loaded sound holds: its whole decoded PCM at its own rate, shared by
// the loader (which fills it) and the mixer (which only reads it). Immutable
// once made, so the audio thread may read it without a lock.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/audio.h"

namespace audio {

struct Sound {
  std::string name;              // file name part, e.g. "throw.ogg"
  bool loop = false;
  int rate = 0;                  // frames per second
  int channels = 0;              // 1 or 2
  int64_t frames = 0;            // at least 1
  std::vector<int16_t> samples;  // frames * channels, interleaved
};

// Limits on what a sound may be; anything outside is refused as "no sound".
constexpr int MIN_SOUND_RATE = 8000;
constexpr int MAX_SOUND_RATE = 96000;
constexpr int64_t MAX_SOUND_SECONDS = 600;

// A sound straight from PCM (for generated sounds and tests); null when the
// rate, channel count or sample count do not make a valid sound.
SoundRef make_sound(const std::string& name, int rate, int channels,
                    std::vector<int16_t> samples, bool loop);

}  // namespace audio
