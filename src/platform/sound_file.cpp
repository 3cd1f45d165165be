// Loads a sound from a data file: the file is read whole (only a regular file,
// found by the game's path rules) and handed to the decoder.
#include "platform/files.h"
#include "platform/sound_data.h"

namespace audio {

// Ten minutes of Vorbis at any sane bit rate fits well within this.
constexpr size_t MAX_SOUND_FILE_BYTES = size_t(64) << 20;

SoundRef load_sound(const std::string& path, bool loop) {
  std::vector<uint8_t> bytes;
  if (!files::read_all(path, bytes, MAX_SOUND_FILE_BYTES) || bytes.empty()) return nullptr;
  return load_sound_from_memory(bytes.data(), bytes.size(), path, loop);
}

}  // namespace audio
