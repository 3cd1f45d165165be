// Decoding sounds from Ogg Vorbis bytes: what loads keeps its rate, shape,
// length and pitch (also when played at 44100 Hz); what is damaged, foreign or
// absurd is "no sound".
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <string>

#include "audio/vorbis_maker.h"
#include "platform/audio.h"

using vmk::Bytes;

namespace {

audio::SoundRef load(const Bytes& b, bool loop = false) {
  return audio::load_sound_from_memory(b.data(), b.size(), "data\\Sub/test.ogg", loop);
}

// Offsets of the Ogg pages in a file.
std::vector<size_t> page_offsets(const Bytes& b) {
  std::vector<size_t> at;
  for (size_t i = 0; i + 4 <= b.size(); i++)
    if (std::memcmp(&b[i], "OggS", 4) == 0) at.push_back(i);
  return at;
}

Bytes random_bytes(size_t n, uint32_t seed) {
  Bytes b(n);
  for (auto& x : b) {
    seed = seed * 1664525u + 1013904223u;
    x = uint8_t(seed >> 24);
  }
  return b;
}

// Plays a sound alone at 44100 Hz to its end; returns the left (or right) channel.
std::vector<int> play_whole(const audio::SoundRef& s, int channel) {
  audio::set_output_rate(44100);
  auto ch = audio::cue_sound(s);
  audio::resume(*ch);
  std::vector<int> out;
  int16_t buf[512 * 2];
  for (int guard = 0; audio::playing(*ch) && guard < 1000; guard++) {
    audio::mix(buf, 512);
    for (int i = 0; i < 512; i++) out.push_back(buf[2 * i + channel]);
  }
  return out;
}

// Frequency from the rising zero crossings between two frames, to a fraction of a hertz.
double frequency(const std::vector<int>& x, int rate, size_t from, size_t to) {
  std::vector<double> rising;
  for (size_t i = from; i + 1 < to; i++)
    if (x[i] < 0 && x[i + 1] >= 0) rising.push_back(double(i) + double(-x[i]) / (x[i + 1] - x[i]));
  if (rising.size() < 2) return 0;
  return rate * double(rising.size() - 1) / (rising.back() - rising.front());
}

struct Shape {
  int rate, channels;
};

class DecodeShape : public testing::TestWithParam<Shape> {};

TEST_P(DecodeShape, KeepsRateLengthAndPitchAndPlaysAtThemAt44100) {
  const auto [rate, channels] = GetParam();
  const int frames = rate / 4;
  const std::vector<float> pcm = vmk::sine(rate, channels, 441, frames);
  const audio::SoundRef s = load(vmk::encode(rate, channels, pcm), true);
  ASSERT_TRUE(s);
  EXPECT_EQ(audio::sound_name(*s), "test.ogg");
  EXPECT_TRUE(audio::sound_loops(*s));
  EXPECT_EQ(audio::sound_rate(*s), rate);
  EXPECT_EQ(audio::sound_channel_count(*s), channels);
  EXPECT_EQ(audio::sound_frames(*s), frames);

  // Played at 44100 Hz, as a one-shot sound, it lasts as long and sounds as high.
  const audio::SoundRef once = load(vmk::encode(rate, channels, pcm), false);
  for (int c = 0; c < channels; c++) {
    SCOPED_TRACE(c);
    const std::vector<int> out = play_whole(once, c);
    size_t last = out.size();
    while (last > 0 && out[last - 1] == 0) last--;
    EXPECT_NEAR(double(last), 44100 / 4.0, 3);
    const double hz = 441 * (c ? 1.5 : 1.0);
    EXPECT_NEAR(frequency(out, 44100, 500, last - 500), hz, hz * 0.002);
    // The wave keeps its level through decoding and resampling.
    int peak = 0;
    for (size_t i = 500; i + 500 < last; i++) peak = std::max(peak, std::abs(out[i]));
    EXPECT_NEAR(peak, 16384, 800);
  }
  EXPECT_EQ(audio::channels_alive(), 0);
}

INSTANTIATE_TEST_SUITE_P(Shapes, DecodeShape,
                         testing::Values(Shape{22050, 1}, Shape{22050, 2}, Shape{44100, 1},
                                         Shape{44100, 2}, Shape{48000, 1}, Shape{48000, 2}),
                         [](const auto& info) {
                           return std::to_string(info.param.rate) +
                                  (info.param.channels == 1 ? "_mono" : "_stereo");
                         });

TEST(Decode, ChainedStreamOfOneShapeDecodesWhole) {
  Bytes b = vmk::paginate(vmk::encode_packets(22050, 1, vmk::sine(22050, 1, 300, 1000)), 1);
  const Bytes second = vmk::paginate(vmk::encode_packets(22050, 1, vmk::sine(22050, 1, 300, 700)), 2);
  b.insert(b.end(), second.begin(), second.end());
  const audio::SoundRef s = load(b);
  ASSERT_TRUE(s);
  EXPECT_EQ(audio::sound_frames(*s), 1700);
}

// A mono 8000 Hz stream of silence `frames` long, made cheaply by repeating
// one encoded block; its last page claims `final_granule` frames. (The decoder
// doubts a final claim beyond what its own page holds, hence one block a page
// where the claim is to be believed.)
Bytes long_silence(int64_t frames, int64_t final_granule, bool page_per_block = false) {
  const std::vector<vmk::Packet> src = vmk::encode_packets(8000, 1, std::vector<float>(8000, 0.f));
  int big = 0;
  for (const auto& p : src) big = std::max(big, p.blocksize);
  size_t pick = src.size() / 2;
  while (pick + 1 < src.size() &&
         !(src[pick - 1].blocksize == big && src[pick].blocksize == big && src[pick + 1].blocksize == big))
    pick++;
  std::vector<vmk::Packet> out(src.begin(), src.begin() + 3);
  const int64_t per_block = big / 2;
  for (int64_t made = 0; made < frames + per_block; made += per_block) {
    vmk::Packet p = src[pick];
    p.granule = made;
    out.push_back(p);
  }
  out.back().granule = final_granule;
  return vmk::paginate(out, 1, page_per_block);
}

TEST(Decode, StreamsMisstatingTheirLengthLoadWhileUnderTenMinutes) {
  // The controls for the two over-long cases below. One that claims less than
  // it holds loads at its true length, so only a count kept while decoding can
  // catch a long one; one that claims nine minutes loads at what it holds.
  const audio::SoundRef under = load(long_silence(8000 * 5, 8000));
  ASSERT_TRUE(under);
  EXPECT_GT(audio::sound_frames(*under), 8000 * 4);
  const audio::SoundRef over = load(long_silence(8000, 8000 * 540, true));
  ASSERT_TRUE(over);
  EXPECT_LT(audio::sound_frames(*over), 8000 * 2);
}

struct Hostile {
  const char* name;
  std::function<Bytes()> make;
};

class DecodeHostile : public testing::TestWithParam<Hostile> {};

TEST_P(DecodeHostile, IsNoSound) {
  const Bytes b = GetParam().make();
  EXPECT_FALSE(load(b));
}

Bytes good() { return vmk::encode(22050, 1, vmk::sine(22050, 1, 441, 22050)); }

Bytes with_id_rate(uint32_t rate) {
  std::vector<vmk::Packet> p = vmk::encode_packets(22050, 1, vmk::sine(22050, 1, 441, 4000));
  for (int i = 0; i < 4; i++) p[0].data[12 + i] = uint8_t(rate >> (8 * i));   // id header's rate
  return vmk::paginate(p);
}

INSTANTIATE_TEST_SUITE_P(
    Files, DecodeHostile,
    testing::Values(
        Hostile{"empty", [] { return Bytes{}; }},
        Hostile{"capture_pattern_only", [] { return Bytes{'O', 'g', 'g', 'S'}; }},
        Hostile{"truncated_half_way",
                [] {
                  Bytes b = good();
                  b.resize(b.size() / 2);
                  return b;
                }},
        Hostile{"last_page_missing",
                [] {
                  Bytes b = good();
                  b.resize(page_offsets(b).back());
                  return b;
                }},
        Hostile{"random_bytes", [] { return random_bytes(5000, 7); }},
        Hostile{"random_after_the_first_page",
                [] {
                  Bytes b = good();
                  b.resize(page_offsets(b)[1]);
                  const Bytes r = random_bytes(5000, 9);
                  b.insert(b.end(), r.begin(), r.end());
                  return b;
                }},
        Hostile{"damaged_audio_page",
                [] {
                  Bytes b = good();
                  const auto at = page_offsets(b);
                  b[at[at.size() / 2] + 40] ^= 0x5A;   // inside the body: the checksum fails
                  return b;
                }},
        Hostile{"ogg_but_not_vorbis",
                [] {
                  std::vector<vmk::Packet> p(2);
                  p[0].data = Bytes(40, 'x');
                  p[1].data = Bytes(100, 'y');
                  return vmk::paginate(p);
                }},
        Hostile{"three_channels", [] { return vmk::encode(22050, 3, vmk::sine(22050, 3, 441, 4000)); }},
        Hostile{"rate_too_low", [] { return with_id_rate(4000); }},
        Hostile{"rate_absurd", [] { return with_id_rate(0x7FFFFFFF); }},
        Hostile{"chained_with_another_rate",
                [] {
                  Bytes b = vmk::paginate(vmk::encode_packets(22050, 1, vmk::sine(22050, 1, 300, 3000)), 1);
                  const Bytes c = vmk::paginate(vmk::encode_packets(44100, 1, vmk::sine(44100, 1, 300, 3000)), 2);
                  b.insert(b.end(), c.begin(), c.end());
                  return b;
                }},
        Hostile{"announces_over_ten_minutes", [] { return long_silence(8000, 8000 * 600 + 1, true); }},
        Hostile{"runs_over_ten_minutes_announcing_one_second",
                [] { return long_silence(8000 * 601, 8000); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Decode, NullBytesAreNoSound) { EXPECT_FALSE(audio::load_sound_from_memory(nullptr, 100, "x.ogg", false)); }

}  // namespace
