#include "audio/vorbis_maker.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <cstring>
#include <stdexcept>

#include <ogg/ogg.h>
#include <vorbis/vorbisenc.h>

namespace vmk {
namespace {

Packet copy(const ogg_packet& op, int blocksize) {
  Packet p;
  p.data.assign(op.packet, op.packet + op.bytes);
  p.granule = op.granulepos;
  p.blocksize = blocksize;
  return p;
}

}  // namespace

std::vector<Packet> encode_packets(int rate, int channels, const std::vector<float>& pcm,
                                   float quality) {
  vorbis_info vi;
  vorbis_info_init(&vi);
  if (vorbis_encode_init_vbr(&vi, channels, rate, quality) != 0)
    throw std::runtime_error("vorbis encoder refused the set-up");
  vorbis_comment vc;
  vorbis_comment_init(&vc);
  vorbis_dsp_state vd;
  vorbis_analysis_init(&vd, &vi);
  vorbis_block vb;
  vorbis_block_init(&vd, &vb);

  std::vector<Packet> out;
  ogg_packet h[3];
  vorbis_analysis_headerout(&vd, &vc, &h[0], &h[1], &h[2]);
  for (auto& p : h) out.push_back(copy(p, 0));

  const size_t frames = pcm.size() / size_t(channels);
  size_t done = 0;
  bool ended = false;
  while (!ended) {
    const size_t n = std::min<size_t>(1024, frames - done);
    if (n == 0) {
      vorbis_analysis_wrote(&vd, 0);
      ended = true;
    } else {
      float** buf = vorbis_analysis_buffer(&vd, int(n));
      for (size_t i = 0; i < n; i++)
        for (int c = 0; c < channels; c++) buf[c][i] = pcm[(done + i) * size_t(channels) + size_t(c)];
      vorbis_analysis_wrote(&vd, int(n));
      done += n;
    }
    while (vorbis_analysis_blockout(&vd, &vb) == 1) {
      vorbis_analysis(&vb, nullptr);
      vorbis_bitrate_addblock(&vb);
      ogg_packet op;
      while (vorbis_bitrate_flushpacket(&vd, &op))
        out.push_back(copy(op, int(vorbis_packet_blocksize(&vi, &op))));
    }
  }
  vorbis_block_clear(&vb);
  vorbis_dsp_clear(&vd);
  vorbis_comment_clear(&vc);
  vorbis_info_clear(&vi);
  return out;
}

Bytes paginate(const std::vector<Packet>& packets, int serial, bool page_per_packet) {
  ogg_stream_state os;
  ogg_stream_init(&os, serial);
  Bytes out;
  auto take = [&](const ogg_page& og) {
    out.insert(out.end(), og.header, og.header + og.header_len);
    out.insert(out.end(), og.body, og.body + og.body_len);
  };
  ogg_page og;
  for (size_t i = 0; i < packets.size(); i++) {
    const Packet& p = packets[i];
    ogg_packet op{};
    op.packet = const_cast<unsigned char*>(p.data.data());
    op.bytes = long(p.data.size());
    op.b_o_s = i == 0;
    op.e_o_s = i + 1 == packets.size();
    op.granulepos = p.granule;
    op.packetno = ogg_int64_t(i);
    ogg_stream_packetin(&os, &op);
    // The headers end on their own pages, as decoders expect.
    if (i < 3 || p.blocksize == 0 || page_per_packet) {
      while (ogg_stream_flush(&os, &og)) take(og);
    } else {
      while (ogg_stream_pageout(&os, &og)) take(og);
    }
  }
  while (ogg_stream_flush(&os, &og)) take(og);
  ogg_stream_clear(&os);
  return out;
}

std::vector<float> sine(int rate, int channels, double hz, int frames, float amplitude) {
  std::vector<float> pcm(size_t(frames) * size_t(channels));
  for (int i = 0; i < frames; i++)
    for (int c = 0; c < channels; c++)
      pcm[size_t(i) * size_t(channels) + size_t(c)] =
          amplitude * float(std::sin(2 * std::numbers::pi * hz * (c ? 1.5 : 1.0) * i / rate));
  return pcm;
}

}  // namespace vmk
