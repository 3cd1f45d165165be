// Turns the bytes of an Ogg Vorbis file into a whole decoded sound, or refuses
// it. Anything a user may have put in the data folder arrives here, so every
// doubt means "no sound": a stream cut short, bytes that are not Vorbis, a
// decoding error, more than two channels, an odd rate, or a length over ten
// minutes (checked before decoding and again while decoding, since the length
// a stream announces can lie).
#include <algorithm>
#include <bit>
#include <cstring>

#include <vorbis/vorbisfile.h>

#include "platform/sound_data.h"

namespace audio {
namespace {

// --- the whole file must be there ---

uint32_t le32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// True when the bytes start with Ogg pages laid back to back and every logical
// stream begun in them has reached its end-of-stream page. A file cut short
// either leaves its last page incomplete or never reaches that page, and the
// decoder would otherwise play the part that is left without complaint.
bool whole_ogg(const uint8_t* p, size_t n) {
  constexpr uint8_t BEGIN = 2, END = 4;
  std::vector<uint32_t> open;
  bool any = false;
  size_t off = 0;
  while (n - off >= 4 && std::memcmp(p + off, "OggS", 4) == 0) {
    if (n - off < 27) return false;
    const uint8_t flags = p[off + 5];
    const uint32_t serial = le32(p + off + 14);
    const size_t segments = p[off + 26];
    if (n - off < 27 + segments) return false;
    size_t len = 27 + segments;
    for (size_t i = 0; i < segments; i++) len += p[off + 27 + i];
    if (n - off < len) return false;
    if (flags & BEGIN) {
      open.push_back(serial);
      any = true;
    }
    if (flags & END) std::erase(open, serial);
    off += len;
  }
  return any && open.empty();   // bytes after the last stream's end are ignored
}

// --- reading from memory through the decoder's callbacks ---

struct MemSource {
  const uint8_t* data;
  size_t size;
  size_t pos;
};

size_t mem_read(void* dst, size_t item, size_t count, void* src) {
  auto* m = static_cast<MemSource*>(src);
  if (item == 0) return 0;
  const size_t items = std::min(count, (m->size - m->pos) / item);
  std::memcpy(dst, m->data + m->pos, items * item);
  m->pos += items * item;
  return items;
}

int mem_seek(void* src, ogg_int64_t offset, int whence) {
  auto* m = static_cast<MemSource*>(src);
  ogg_int64_t base = 0;
  if (whence == SEEK_CUR) base = ogg_int64_t(m->pos);
  else if (whence == SEEK_END) base = ogg_int64_t(m->size);
  else if (whence != SEEK_SET) return -1;
  if (offset < -base || offset > ogg_int64_t(m->size) - base) return -1;
  m->pos = size_t(base + offset);
  return 0;
}

int mem_close(void*) { return 0; }

long mem_tell(void* src) { return long(static_cast<MemSource*>(src)->pos); }

bool acceptable(const vorbis_info* vi, int channels, long rate) {
  return vi && vi->channels == channels && vi->rate == rate;
}

// Decodes an opened stream whole; null on any error or when it runs too long.
SoundRef decode(OggVorbis_File& vf) {
  const vorbis_info* first = ov_info(&vf, 0);
  if (!first || first->channels < 1 || first->channels > 2) return nullptr;
  if (first->rate < MIN_SOUND_RATE || first->rate > MAX_SOUND_RATE) return nullptr;
  const int channels = first->channels;
  const long rate = first->rate;
  // A chained file whose parts differ in shape would need a second sound.
  for (long link = 1; link < ov_streams(&vf); link++)
    if (!acceptable(ov_info(&vf, int(link)), channels, rate)) return nullptr;

  // Opened, a chained file is left at its second part: start again at the top.
  if (ov_streams(&vf) > 1 && ov_pcm_seek(&vf, 0) != 0) return nullptr;

  const int64_t max_frames = int64_t(rate) * MAX_SOUND_SECONDS;
  const ogg_int64_t announced = ov_pcm_total(&vf, -1);
  if (announced < 0 || announced > max_frames) return nullptr;

  auto s = std::make_shared<Sound>();
  s->rate = int(rate);
  s->channels = channels;
  // The announced length is only a hint: a few bytes may claim minutes.
  s->samples.reserve(std::min<size_t>(size_t(announced) * size_t(channels), size_t(1) << 22));
  constexpr int BIG_ENDIAN_OUT = std::endian::native == std::endian::big ? 1 : 0;
  int16_t buf[4096];
  for (;;) {
    int link = 0;
    const long got = ov_read(&vf, reinterpret_cast<char*>(buf), sizeof buf, BIG_ENDIAN_OUT, 2, 1,
                             &link);
    if (got == 0) break;
    if (got < 0) return nullptr;   // a hole or a bad link: the data is damaged
    if (!acceptable(ov_info(&vf, link), channels, rate)) return nullptr;
    const size_t n = size_t(got) / sizeof(int16_t);
    if (int64_t((s->samples.size() + n) / size_t(channels)) > max_frames) return nullptr;
    s->samples.insert(s->samples.end(), buf, buf + n);
  }
  s->frames = int64_t(s->samples.size() / size_t(channels));
  if (s->frames == 0) return nullptr;
  s->samples.shrink_to_fit();
  return s;
}

std::string file_name_part(const std::string& path) {
  const size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

}  // namespace

SoundRef load_sound_from_memory(const uint8_t* bytes, size_t size, const std::string& name,
                                bool loop) {
  if (!bytes || !whole_ogg(bytes, size)) return nullptr;
  MemSource src{bytes, size, 0};
  const ov_callbacks callbacks{mem_read, mem_seek, mem_close, mem_tell};
  OggVorbis_File vf;
  // On failure the decoder has already released what it set up.
  if (ov_open_callbacks(&src, &vf, nullptr, 0, callbacks) != 0) return nullptr;
  SoundRef s = decode(vf);
  ov_clear(&vf);
  if (!s) return nullptr;
  s->name = file_name_part(name);
  s->loop = loop;
  return s;
}

SoundRef make_sound(const std::string& name, int rate, int channels, std::vector<int16_t> samples,
                    bool loop) {
  if (rate < MIN_SOUND_RATE || rate > MAX_SOUND_RATE || channels < 1 || channels > 2)
    return nullptr;
  if (samples.empty() || samples.size() % size_t(channels) != 0) return nullptr;
  const int64_t frames = int64_t(samples.size() / size_t(channels));
  if (frames > int64_t(rate) * MAX_SOUND_SECONDS) return nullptr;
  auto s = std::make_shared<Sound>();
  s->name = file_name_part(name);
  s->loop = loop;
  s->rate = rate;
  s->channels = channels;
  s->frames = frames;
  s->samples = std::move(samples);
  return s;
}

const std::string& sound_name(const Sound& s) { return s.name; }
int sound_rate(const Sound& s) { return s.rate; }
int sound_channel_count(const Sound& s) { return s.channels; }
int64_t sound_frames(const Sound& s) { return s.frames; }
bool sound_loops(const Sound& s) { return s.loop; }

}  // namespace audio
