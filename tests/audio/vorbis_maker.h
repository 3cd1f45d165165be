// Makes small Ogg Vorbis files in memory for the sound tests: whole streams
// from PCM, and the raw packets so that a test can lay them out as it likes
// (damaged, relabelled, lengthened, chained).
#pragma once
#include <cstdint>
#include <vector>

namespace vmk {

using Bytes = std::vector<uint8_t>;

struct Packet {
  Bytes data;
  int64_t granule = -1;
  int blocksize = 0;   // 0 for the three header packets
};

// The three header packets followed by the audio packets of `pcm`
// (interleaved, -1..1).
std::vector<Packet> encode_packets(int rate, int channels, const std::vector<float>& pcm,
                                   float quality = 0.2f);

// Lays packets out as one logical stream; the last packet ends it.
Bytes paginate(const std::vector<Packet>& packets, int serial = 1, bool page_per_packet = false);

inline Bytes encode(int rate, int channels, const std::vector<float>& pcm) {
  return paginate(encode_packets(rate, channels, pcm));
}

// `frames` frames of a sine at `hz` (the right channel at 1.5 times that).
std::vector<float> sine(int rate, int channels, double hz, int frames, float amplitude = 0.5f);

}  // namespace vmk
