// Channels and the mixer. The game's thread cues, resumes, pauses and stops
// channels; the audio thread pulls mixed stereo through mix(). Both meet under
// one lock, held by mix() for one block of at most a few milliseconds of sound
// and by the channel operations for a few field writes.
//
// The mix is integer arithmetic throughout (positions in 32.32 fixed point,
// gains in 16.16), so the same operations and mix() calls give the same
// samples, however the calls cut the stream into buffers. Each channel's gain
// moves toward its target in a ramp of two milliseconds for a full swing, so
// starting, stopping, pausing and volume changes never click; a looping sound
// reads its first frame right after its last, so the seam is exact.
//
// The mixer holds a reference to every channel that has been resumed, so a
// channel its owner dropped plays on to its end. Those references are dropped
// on the game's thread (at the next resume or count), never in the audio
// callback, which therefore neither allocates nor frees.
#include <algorithm>
#include <cmath>
#include <mutex>
#include <vector>

#include "platform/sound_data.h"

namespace audio {

enum class State : uint8_t { CUED, PLAYING, PAUSED, STOPPED, ENDED };

struct Channel : std::enable_shared_from_this<Channel> {
  SoundRef sound;   // null for an idle channel; never changes
  // Guarded by the mixer's lock:
  State state = State::CUED;
  float volume = 1.0f;
  bool in_mixer = false;   // the mixer holds a reference
  bool sounding = false;   // the mixer renders it: playing, or fading out
  uint64_t pos = 0;        // place in the sound in frames, 32.32 fixed point
  uint64_t pause_pos = 0;  // the place a pause keeps, while the fade-out runs on
  int32_t gain = 0;        // gain applied now, 16.16
};

namespace {

constexpr int BLOCK = 256;            // frames mixed per hold of the lock
constexpr int32_t UNITY = 1 << 16;
constexpr int RAMP_DIVISOR = 500;     // a full gain swing takes 1/500 s

struct Mixer {
  std::mutex lock;
  std::vector<ChannelRef> voices;     // every channel the mixer holds
  int rate = 44100;
  Observer* observer = nullptr;       // game thread only
};

// Never destroyed, so an audio callback still running at exit finds it intact.
Mixer& mixer() {
  static Mixer* m = new Mixer;
  return *m;
}

// Moves out the references that can sound no more: stopped and ended
// channels, and paused ones that nobody else refers to (nobody can resume
// them). Runs with the lock held, on the game's thread; the caller frees them
// after unlocking.
void sweep(Mixer& m, std::vector<ChannelRef>& dropped) {
  std::erase_if(m.voices, [&](ChannelRef& ref) {
    Channel& c = *ref;
    const bool done = !c.sounding && (c.state == State::STOPPED || c.state == State::ENDED ||
                                      ref.use_count() == 1);
    if (!done) return false;
    c.in_mixer = false;
    dropped.push_back(std::move(ref));
    return true;
  });
}

int32_t target_gain(const Channel& c) {
  return c.state == State::PLAYING ? int32_t(std::lrint(double(c.volume) * UNITY)) : 0;
}

// One output frame from frame `a` of the sound toward its successor `b`.
template <int C>
inline void mix_frame(const int16_t* a, const int16_t* b, int32_t frac, int32_t gain,
                      int64_t* acc) {
  const int32_t l = (a[0] + (((b[0] - a[0]) * frac) >> 15)) * gain >> 16;
  if constexpr (C == 1) {
    acc[0] += l;
    acc[1] += l;
  } else {
    acc[0] += l;
    acc[1] += (a[1] + (((b[1] - a[1]) * frac) >> 15)) * gain >> 16;
  }
}

// Mixes k frames in which every read frame has its successor inside the sound
// (or, with `edge`, the one given) and the gain ramps by `d` toward `target`.
template <int C, bool Ramp>
void mix_span(const int16_t* samples, const int16_t* edge, uint64_t& pos, uint64_t step,
              int32_t& gain, int32_t target, int32_t d, int64_t* acc, int k) {
  for (int i = 0; i < k; i++) {
    if constexpr (Ramp) {
      gain += d;
      if (d > 0 ? gain > target : gain < target) gain = target;
    }
    const int16_t* a = samples + (pos >> 32) * C;
    const int32_t frac = int32_t((pos >> 17) & 0x7FFF);
    mix_frame<C>(a, edge ? edge : a + C, frac, gain, acc + 2 * i);
    pos += step;
  }
}

template <int C>
void mix_run(Channel& c, const int16_t* edge, uint64_t step, int32_t target, int32_t ramp_step,
             int64_t* acc, int k) {
  const int16_t* samples = c.sound->samples.data();
  if (c.gain == target) {
    mix_span<C, false>(samples, edge, c.pos, step, c.gain, target, 0, acc, k);
  } else {
    const int32_t d = target > c.gain ? ramp_step : -ramp_step;
    mix_span<C, true>(samples, edge, c.pos, step, c.gain, target, d, acc, k);
  }
}

// Mixes n frames of one sounding channel into acc.
void mix_channel(Channel& c, int64_t* acc, int n, int out_rate) {
  const Sound& s = *c.sound;
  const uint64_t len = uint64_t(s.frames);
  const uint64_t end = len << 32;
  const uint64_t step = (uint64_t(s.rate) << 32) / uint64_t(out_rate);
  const int32_t target = target_gain(c);
  const int32_t ramp_frames = std::max(1, out_rate / RAMP_DIVISOR);
  const int32_t ramp_step = (UNITY + ramp_frames - 1) / ramp_frames;
  static const int16_t silence[2] = {0, 0};

  // Falls silent: at the end of a one-shot sound, or when a fade-out is done.
  auto fall_silent = [&c] {
    c.sounding = false;
    if (c.state == State::PLAYING) c.state = State::ENDED;
    if (c.state == State::PAUSED) c.pos = c.pause_pos;
  };

  int f = 0;
  while (f < n) {
    if (c.state != State::PLAYING && c.gain == 0) return fall_silent();
    if (c.pos >= end) {
      if (!s.loop) return fall_silent();
      c.pos %= end;
    }
    int k = n - f;
    if (c.gain != target) k = std::min(k, (std::abs(target - c.gain) + ramp_step - 1) / ramp_step);
    const int16_t* edge = nullptr;
    if ((c.pos >> 32) + 1 < len) {
      const uint64_t room = ((len - 1) << 32) - c.pos;
      k = int(std::min<uint64_t>(uint64_t(k), (room + step - 1) / step));
    } else {
      // The last frame leads into the first again, or into silence.
      k = 1;
      edge = s.loop ? s.samples.data() : silence;
    }
    if (s.channels == 1)
      mix_run<1>(c, edge, step, target, ramp_step, acc + 2 * f, k);
    else
      mix_run<2>(c, edge, step, target, ramp_step, acc + 2 * f, k);
    f += k;
  }
  // Over the moment its last frame has been heard, not one buffer later.
  if (!s.loop && c.pos >= end) fall_silent();
}

}  // namespace

// --- channels, on the game's thread ---

ChannelRef idle_channel() { return std::make_shared<Channel>(); }

ChannelRef cue_sound(const SoundRef& sound) {
  auto c = std::make_shared<Channel>();
  c->sound = sound;
  return c;
}

void set_volume(Channel& ch, float volume) {
  if (!(volume > 0)) volume = 0;   // NaN too
  if (volume > 1) volume = 1;
  Mixer& m = mixer();
  {
    std::lock_guard<std::mutex> g(m.lock);
    ch.volume = volume;
  }
  if (m.observer) m.observer->on_volume(ch, volume);
}

float get_volume(const Channel& ch) {
  std::lock_guard<std::mutex> g(mixer().lock);
  return ch.volume;
}

void resume(Channel& ch) {
  Mixer& m = mixer();
  std::vector<ChannelRef> dropped;
  bool first = false;
  {
    std::lock_guard<std::mutex> g(m.lock);
    first = ch.state == State::CUED;
    if (ch.state == State::CUED || ch.state == State::PAUSED) {
      if (!ch.sound) {
        ch.state = State::ENDED;   // nothing to play: over at once
      } else {
        ch.state = State::PLAYING;
        ch.sounding = true;
        if (!ch.in_mixer) {
          sweep(m, dropped);
          m.voices.push_back(ch.shared_from_this());
          ch.in_mixer = true;
        }
      }
    }
  }
  if (m.observer) m.observer->on_resume(ch, first);
}

void pause(Channel& ch) {
  Mixer& m = mixer();
  {
    std::lock_guard<std::mutex> g(m.lock);
    if (ch.state == State::PLAYING) {
      ch.state = State::PAUSED;
      ch.pause_pos = ch.pos;
      if (ch.gain == 0) ch.sounding = false;
    }
  }
  if (m.observer) m.observer->on_pause(ch);
}

void stop(Channel& ch) {
  Mixer& m = mixer();
  {
    std::lock_guard<std::mutex> g(m.lock);
    ch.state = State::STOPPED;
    if (ch.gain == 0) ch.sounding = false;
  }
  if (m.observer) m.observer->on_stop(ch);
}

bool playing(const Channel& ch) {
  std::lock_guard<std::mutex> g(mixer().lock);
  return ch.state == State::PLAYING;
}

int channels_alive() {
  Mixer& m = mixer();
  std::vector<ChannelRef> dropped;
  std::lock_guard<std::mutex> g(m.lock);
  sweep(m, dropped);
  return int(m.voices.size());
}

void set_observer(Observer* obs) { mixer().observer = obs; }

const Sound* channel_sound(const Channel& ch) { return ch.sound.get(); }

// --- the device side ---

void set_output_rate(int hz) {
  if (hz < 1000 || hz > 384000) return;   // not a rate any device gives
  std::lock_guard<std::mutex> g(mixer().lock);
  mixer().rate = hz;
}

int output_rate() {
  std::lock_guard<std::mutex> g(mixer().lock);
  return mixer().rate;
}

void mix(int16_t* out, int frames) {
  if (!out || frames <= 0) return;
  Mixer& m = mixer();
  int64_t acc[2 * BLOCK];
  while (frames > 0) {
    const int n = std::min(frames, BLOCK);
    std::fill(acc, acc + 2 * n, 0);
    {
      std::lock_guard<std::mutex> g(m.lock);
      for (const ChannelRef& c : m.voices)
        if (c->sounding) mix_channel(*c, acc, n, m.rate);
    }
    for (int i = 0; i < 2 * n; i++) out[i] = int16_t(std::clamp<int64_t>(acc[i], -32768, 32767));
    out += 2 * n;
    frames -= n;
  }
}

}  // namespace audio
