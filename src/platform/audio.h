// The audio model: sounds decoded whole from Ogg Vorbis files, played on
// channels mixed in the device's audio callback. A channel starts paused at the
// start of its sound; volume takes effect at once; a channel nobody refers to
// plays on to its end. Every operation is valid on an idle channel and on a
// channel of a sound that failed to load (null sound): they are silent.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace audio {

struct Sound;
struct Channel;
using SoundRef = std::shared_ptr<Sound>;
using ChannelRef = std::shared_ptr<Channel>;

// Loads a sound from a data-file path (backslash separator, any case); null when
// missing, not a regular file, undecodable or absurdly long (over ten minutes).
SoundRef load_sound(const std::string& path, bool loop);
const std::string& sound_name(const Sound& s);   // file name, e.g. "throw.ogg"
// The same from the bytes of a whole file; `name` may be a path (only its file
// name is kept). Null for anything that is not a complete Ogg Vorbis stream of
// one or two channels at 8000..96000 Hz lasting at most ten minutes.
SoundRef load_sound_from_memory(const uint8_t* bytes, size_t size, const std::string& name,
                                bool loop);
int sound_rate(const Sound& s);          // frames per second, as decoded
int sound_channel_count(const Sound& s); // 1 or 2
int64_t sound_frames(const Sound& s);
bool sound_loops(const Sound& s);

ChannelRef idle_channel();
ChannelRef cue_sound(const SoundRef& sound);     // a new channel, paused at the start
void set_volume(Channel& ch, float volume);      // clamped to 0..1
float get_volume(const Channel& ch);
void resume(Channel& ch);
void pause(Channel& ch);
void stop(Channel& ch);                           // for good
bool playing(const Channel& ch);                  // true only while it actually sounds

// Counts for tests and tools.
int channels_alive();   // channels still held by the mixer (playing or paused)

// --- the device side ---
constexpr int MIX_CHANNELS = 2;   // interleaved stereo, signed 16-bit
void set_output_rate(int hz);
int output_rate();
// Mixes `frames` stereo frames into `out`; called from the audio thread.
void mix(int16_t* out, int frames);

// Observer for tools: told about operations on channels from the game's thread.
struct Observer {
  virtual ~Observer() = default;
  virtual void on_resume(const Channel&, bool /*first_start*/) {}
  virtual void on_pause(const Channel&) {}
  virtual void on_stop(const Channel&) {}
  virtual void on_volume(const Channel&, float) {}
};
void set_observer(Observer* obs);
const Sound* channel_sound(const Channel& ch);   // null for an idle channel

}  // namespace audio
