// Channels and the mix, with sounds made straight from PCM so that every
// output sample can be predicted: a steady level shows gain and clicks, a
// rising ramp (sample i has the value i) shows the place in the sound.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <limits>
#include <numbers>
#include <string>
#include <thread>

#include "platform/audio.h"
#include "platform/sound_data.h"

using audio::ChannelRef;
using audio::SoundRef;

namespace {

constexpr int RATE = 44100;
constexpr int SETTLED = 100;   // frames after which any fade or volume change is over

SoundRef level(int value, int frames, bool loop = false, int rate = RATE) {
  return audio::make_sound("level.ogg", rate, 1, std::vector<int16_t>(size_t(frames), int16_t(value)),
                           loop);
}

SoundRef rising(int frames) {
  std::vector<int16_t> s(static_cast<size_t>(frames));
  for (int i = 0; i < frames; i++) s[size_t(i)] = int16_t(i);
  return audio::make_sound("rising.ogg", RATE, 1, s, false);
}

std::vector<int16_t> mix(int frames) {
  std::vector<int16_t> out(size_t(frames) * 2);
  audio::mix(out.data(), frames);
  return out;
}

int left(const std::vector<int16_t>& out, int frame) { return out[size_t(frame) * 2]; }
int right(const std::vector<int16_t>& out, int frame) { return out[size_t(frame) * 2 + 1]; }

// Every test leaves the mixer empty: what it started is stopped or has ended,
// and the mixer has let go of it.
class Mixer : public testing::Test {
 protected:
  void SetUp() override { audio::set_output_rate(RATE); }
  void TearDown() override {
    for (auto& c : held) audio::stop(*c);
    held.clear();
    mix(4096);
    EXPECT_EQ(audio::channels_alive(), 0);
  }
  ChannelRef start(const SoundRef& s, float volume = 1) {
    ChannelRef c = audio::cue_sound(s);
    audio::set_volume(*c, volume);
    audio::resume(*c);
    held.push_back(c);
    return c;
  }
  std::vector<ChannelRef> held;
};

TEST_F(Mixer, ChannelGoesThroughCueResumePauseStopWithoutClicks) {
  ChannelRef c = audio::cue_sound(level(20000, RATE * 10));
  held.push_back(c);
  std::vector<int16_t> all;
  auto record = [&](int frames) {
    std::vector<int16_t> out = mix(frames);
    all.insert(all.end(), out.begin(), out.end());
    return out;
  };

  EXPECT_FALSE(audio::playing(*c));
  std::vector<int16_t> out = record(256);
  EXPECT_EQ(*std::max_element(out.begin(), out.end()), 0) << "a cued channel is paused";

  audio::resume(*c);
  EXPECT_TRUE(audio::playing(*c));
  out = record(256);
  EXPECT_GT(left(out, 0), 0) << "heard in the very next buffer";
  EXPECT_EQ(left(out, SETTLED), 20000);
  EXPECT_EQ(right(out, SETTLED), 20000);

  audio::pause(*c);
  EXPECT_FALSE(audio::playing(*c));
  out = record(256);
  EXPECT_EQ(left(out, SETTLED), 0);
  EXPECT_EQ(audio::channels_alive(), 1) << "a paused channel stays with the mixer";

  audio::resume(*c);
  EXPECT_TRUE(audio::playing(*c));
  out = record(256);
  EXPECT_EQ(left(out, SETTLED), 20000);

  audio::stop(*c);
  EXPECT_FALSE(audio::playing(*c));
  out = record(256);
  EXPECT_EQ(left(out, SETTLED), 0);
  audio::resume(*c);
  EXPECT_FALSE(audio::playing(*c)) << "stopped for good";
  out = record(256);
  EXPECT_EQ(*std::max_element(out.begin(), out.end()), 0);

  int jump = 0;
  for (size_t i = 2; i < all.size(); i++) jump = std::max(jump, std::abs(all[i] - all[i - 2]));
  EXPECT_LE(jump, 20000 / 50) << "starting, pausing and stopping fade in a few milliseconds";
}

TEST_F(Mixer, PauseKeepsThePlaceWhileItFadesOut) {
  ChannelRef c = start(rising(20000));
  std::vector<int16_t> out = mix(1000);
  EXPECT_EQ(left(out, 999), 999);
  audio::pause(*c);
  mix(500);
  audio::resume(*c);
  out = mix(300);
  for (int j = SETTLED; j < 300; j++) ASSERT_EQ(left(out, j), 1000 + j) << j;
}

struct VolumeCase {
  const char* name;
  float volume;
  bool while_playing;
  float expect_volume;
  int expect_level;   // of a 20000 level
};

class Volume : public Mixer, public testing::WithParamInterface<VolumeCase> {};

TEST_P(Volume, TakesEffectAtOnce) {
  const VolumeCase& v = GetParam();
  ChannelRef c = audio::cue_sound(level(20000, RATE));
  held.push_back(c);
  if (!v.while_playing) audio::set_volume(*c, v.volume);
  audio::resume(*c);
  std::vector<int16_t> out = mix(200);
  if (v.while_playing) {
    ASSERT_EQ(left(out, 199), 20000);
    audio::set_volume(*c, v.volume);
    out = mix(200);
    if (v.expect_level != 20000) {
      EXPECT_LT(left(out, 0), 20000) << "the change starts at once";
    }
  }
  EXPECT_EQ(audio::get_volume(*c), v.expect_volume);
  EXPECT_EQ(left(out, SETTLED), v.expect_level);
  EXPECT_EQ(right(out, 199), v.expect_level);
  EXPECT_TRUE(audio::playing(*c)) << "a silent channel still plays";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Volume,
    testing::Values(VolumeCase{"half_before_start", 0.5f, false, 0.5f, 10000},
                    VolumeCase{"quarter_while_playing", 0.25f, true, 0.25f, 5000},
                    VolumeCase{"zero_while_playing", 0.f, true, 0.f, 0},
                    VolumeCase{"above_one", 7.f, false, 1.f, 20000},
                    VolumeCase{"below_zero", -3.f, true, 0.f, 0},
                    VolumeCase{"not_a_number", std::numeric_limits<float>::quiet_NaN(), false, 0.f, 0}),
    [](const auto& info) { return std::string(info.param.name); });

struct LengthCase {
  int sound_rate, out_rate, frames, expect_output_frames;
};

class Length : public Mixer, public testing::WithParamInterface<LengthCase> {};

TEST_P(Length, OneShotEndsRightAfterItsLastFrameAndIsLetGo) {
  const LengthCase& l = GetParam();
  audio::set_output_rate(l.out_rate);
  ChannelRef c = start(level(1000, l.frames, false, l.sound_rate), 0.f);   // silent plays too
  mix(l.expect_output_frames - 1);
  EXPECT_TRUE(audio::playing(*c));
  mix(2);
  EXPECT_FALSE(audio::playing(*c));
  EXPECT_EQ(audio::channels_alive(), 0);
}

INSTANTIATE_TEST_SUITE_P(Rates, Length,
                         testing::Values(LengthCase{44100, 44100, 1000, 1000},
                                         LengthCase{22050, 44100, 500, 1000},
                                         LengthCase{48000, 44100, 4800, 4410},
                                         LengthCase{44100, 22050, 1000, 500}),
                         [](const auto& info) {
                           return std::to_string(info.param.sound_rate) + "_into_" +
                                  std::to_string(info.param.out_rate);
                         });

TEST_F(Mixer, ChannelsNobodyHoldsPlayOnToTheirEnd) {
  // A thousand short effects started and forgotten are all heard together.
  for (int i = 0; i < 1000; i++) {
    ChannelRef c = audio::cue_sound(level(10, 200));
    audio::resume(*c);
  }
  EXPECT_EQ(audio::channels_alive(), 1000);
  std::vector<int16_t> out = mix(300);
  EXPECT_EQ(left(out, 150), 10000);
  EXPECT_EQ(left(out, 250), 0);
  EXPECT_EQ(audio::channels_alive(), 0);

  // One the owner drops halfway sounds exactly as one it keeps.
  ChannelRef kept = start(rising(3000));
  ChannelRef dropped = audio::cue_sound(rising(3000));
  audio::resume(*dropped);
  out = mix(1000);
  dropped.reset();
  out = mix(2000);
  EXPECT_EQ(left(out, 1999), 2 * 2999);
  EXPECT_EQ(audio::channels_alive(), 0);

  // A paused channel nobody can resume any more is let go.
  ChannelRef paused = audio::cue_sound(level(10, RATE));
  audio::resume(*paused);
  mix(100);
  audio::pause(*paused);
  mix(100);
  EXPECT_EQ(audio::channels_alive(), 1);
  paused.reset();
  EXPECT_EQ(audio::channels_alive(), 0);
}

struct SumCase {
  int a, b, expect;
};

class Sum : public Mixer, public testing::WithParamInterface<SumCase> {};

TEST_P(Sum, OverlappingChannelsAddAndClip) {
  start(level(GetParam().a, RATE));
  start(level(GetParam().b, RATE));
  EXPECT_EQ(left(mix(200), SETTLED), GetParam().expect);
}

INSTANTIATE_TEST_SUITE_P(Levels, Sum,
                         testing::Values(SumCase{10000, 5000, 15000}, SumCase{30000, 30000, 32767},
                                         SumCase{-30000, -20000, -32768}, SumCase{30000, -30000, 0}));

struct LoopCase {
  int rate, channels;
};

class Loop : public Mixer, public testing::WithParamInterface<LoopCase> {};

TEST_P(Loop, RunsOnAcrossTheSeamAsOneWave) {
  // Two cycles of a sine a loop; played looped it must be the endless sine.
  const auto [rate, channels] = GetParam();
  constexpr int PERIOD = 100, LEN = 2 * PERIOD, A = 20000;
  std::vector<int16_t> pcm;
  for (int i = 0; i < LEN; i++)
    for (int c = 0; c < channels; c++)
      pcm.push_back(int16_t(std::lrint(A * std::sin(2 * std::numbers::pi * i / PERIOD + c))));
  start(audio::make_sound("loop.ogg", rate, channels, pcm, true));
  const std::vector<int16_t> out = mix(3000);   // some fifteen seams
  for (int j = SETTLED; j < 3000; j++) {
    const double phase = 2 * std::numbers::pi * j * (double(rate) / RATE) / PERIOD;
    ASSERT_NEAR(left(out, j), A * std::sin(phase), 25) << j;
    ASSERT_NEAR(right(out, j), A * std::sin(phase + (channels - 1)), 25) << j;
  }
}

INSTANTIATE_TEST_SUITE_P(Rates, Loop,
                         testing::Values(LoopCase{44100, 1}, LoopCase{22050, 2}, LoopCase{48000, 2}),
                         [](const auto& info) {
                           return std::to_string(info.param.rate) +
                                  (info.param.channels == 1 ? "_mono" : "_stereo");
                         });

// Tells what the game did to its channels, in order.
struct Trace : audio::Observer {
  std::vector<std::string> seen;
  void on_resume(const audio::Channel&, bool first) override {
    seen.push_back(first ? "start" : "resume");
  }
  void on_pause(const audio::Channel&) override { seen.push_back("pause"); }
  void on_stop(const audio::Channel&) override { seen.push_back("stop"); }
  void on_volume(const audio::Channel&, float v) override {
    seen.push_back("volume " + std::to_string(v));
  }
};

TEST_F(Mixer, SilentChannelsTakeEveryOperation) {
  for (ChannelRef c : {audio::idle_channel(), audio::cue_sound(nullptr)}) {
    Trace trace;
    audio::set_observer(&trace);
    EXPECT_EQ(audio::channel_sound(*c), nullptr);
    EXPECT_FALSE(audio::playing(*c));
    audio::set_volume(*c, 0.5f);
    EXPECT_EQ(audio::get_volume(*c), 0.5f);
    audio::resume(*c);
    EXPECT_FALSE(audio::playing(*c));
    audio::pause(*c);
    audio::resume(*c);
    audio::stop(*c);
    EXPECT_FALSE(audio::playing(*c));
    audio::set_observer(nullptr);
    const std::vector<int16_t> out = mix(256);
    EXPECT_EQ(*std::max_element(out.begin(), out.end()), 0);
    EXPECT_EQ(audio::channels_alive(), 0);
    EXPECT_EQ(trace.seen, (std::vector<std::string>{"volume 0.500000", "start", "pause", "resume",
                                                     "stop"}));
  }
}

TEST_F(Mixer, ObserverHearsEveryOperationAndTheFirstStart) {
  Trace trace;
  audio::set_observer(&trace);
  SoundRef s = level(100, RATE);
  ChannelRef c = audio::cue_sound(s);
  held.push_back(c);
  audio::set_volume(*c, 3.f);
  audio::resume(*c);
  audio::resume(*c);
  audio::pause(*c);
  audio::resume(*c);
  audio::stop(*c);
  audio::resume(*c);
  audio::set_observer(nullptr);
  EXPECT_EQ(audio::channel_sound(*c), s.get());
  EXPECT_EQ(trace.seen, (std::vector<std::string>{"volume 1.000000", "start", "resume", "pause",
                                                   "resume", "stop", "resume"}));
}

// A script of operations at fixed frames, mixed in buffers of `chunk` frames.
std::vector<int16_t> run_script(int chunk) {
  SoundRef loop_sound = audio::make_sound("a.ogg", 22050, 2, [] {
    std::vector<int16_t> v;
    for (int i = 0; i < 777; i++) {
      v.push_back(int16_t(i * 37 % 20000 - 10000));
      v.push_back(int16_t(i * 91 % 16000 - 8000));
    }
    return v;
  }(), true);
  SoundRef shot = audio::make_sound("b.ogg", 48000, 1, [] {
    std::vector<int16_t> v;
    for (int i = 0; i < 5000; i++) v.push_back(int16_t(i * 53 % 30000 - 15000));
    return v;
  }(), false);
  ChannelRef a = audio::cue_sound(loop_sound);
  std::vector<int16_t> all;
  auto advance = [&](int frames) {
    while (frames > 0) {
      const int n = std::min(frames, chunk);
      std::vector<int16_t> out = mix(n);
      all.insert(all.end(), out.begin(), out.end());
      frames -= n;
    }
  };
  audio::set_volume(*a, 0.7f);
  audio::resume(*a);
  advance(3001);
  {
    ChannelRef b = audio::cue_sound(shot);
    audio::resume(*b);
  }
  advance(2000);
  audio::set_volume(*a, 0.2f);
  advance(1500);
  audio::pause(*a);
  advance(40);
  audio::resume(*a);
  advance(2500);
  audio::stop(*a);
  advance(1000);
  return all;
}

TEST_F(Mixer, SameOperationsGiveTheSameSamplesHoweverTheBuffersFall) {
  const std::vector<int16_t> ref = run_script(512);
  EXPECT_EQ(run_script(512), ref);
  for (int chunk : {1, 37, 4410}) EXPECT_EQ(run_script(chunk), ref) << chunk;
}

TEST_F(Mixer, MixingOnAnotherThreadWhileTheGameOperates) {
  std::atomic<bool> done{false};
  std::thread device([&] {
    int16_t buf[512 * 2];
    while (!done) audio::mix(buf, 512);
  });
  SoundRef shot = level(1000, 300);
  ChannelRef loop = start(level(500, 1000, true));
  for (int i = 0; i < 3000; i++) {
    ChannelRef c = audio::cue_sound(shot);
    audio::set_volume(*c, float(i % 10) / 10);
    audio::resume(*c);
    if (i % 3 == 0) audio::pause(*c);
    if (i % 5 == 0) audio::stop(*c);
    if (i % 7 == 0) audio::pause(*loop);
    if (i % 11 == 0) audio::resume(*loop);
    (void)audio::playing(*loop);
    if (i % 100 == 0) (void)audio::channels_alive();
  }
  done = true;
  device.join();
}

}  // namespace
