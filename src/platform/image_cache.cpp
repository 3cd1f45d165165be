// What drawing derives from an image's texels, kept with the image: the runs of
// non-transparent texels per row (so masked sprites skip their holes) and a
// few tinted copies of frames (texels already multiplied by the colours and
// alphas the image is drawn with, so that a full-screen backdrop pass is one
// saturating add per pixel). Dropped whenever texels enter the image.
#include <algorithm>

#include "platform/render_internal.h"

namespace gfx {

namespace {

constexpr int MAX_TINTS = 8;         // per image, least recently used goes
constexpr int MAX_SEEN = 8;          // tints asked for once on a large frame
constexpr size_t SMALL_FRAME = 4096; // texels; tinted at first sight
constexpr int MERGE_GAP = 3;         // transparent texels a run may swallow

bool same_tint(const Tint& a, const Tint& b) {
  return a.cls == b.cls && a.r == b.r && a.g == b.g && a.b == b.b && (a.cls == SRC_S || a.A == b.A);
}

}  // namespace

struct ImageCache {
  int w = 0, h = 0, frames = 0;
  const uint32_t* data = nullptr;
  size_t size = 0;
  std::vector<FrameRuns> runs;
  std::vector<char> runs_built;
  struct Entry {
    int frame;
    Tint key;
    uint64_t used;
    std::vector<uint32_t> px;
  };
  std::vector<Entry> tints;
  struct Seen {
    int frame;
    Tint key;
  };
  std::vector<Seen> seen;
  uint64_t clock = 0;
};

namespace {

ImageCache& cache_of(const Image& img) {
  std::shared_ptr<ImageCache>& p = img.cache.p;
  if (!p || p->w != img.width || p->h != img.height || p->frames != img.frames ||
      p->data != img.pixels.data() || p->size != img.pixels.size()) {
    p = std::make_shared<ImageCache>();
    p->w = img.width;
    p->h = img.height;
    p->frames = img.frames;
    p->data = img.pixels.data();
    p->size = img.pixels.size();
    p->runs.resize(size_t(std::max(img.frames, 0)));
    p->runs_built.assign(size_t(std::max(img.frames, 0)), 0);
  }
  return *p;
}

}  // namespace

void pixels_changed(Image& img) { img.cache.p.reset(); }

const FrameRuns& frame_runs(const Image& img, int frame) {
  ImageCache& c = cache_of(img);
  FrameRuns& fr = c.runs[size_t(frame)];
  if (c.runs_built[size_t(frame)]) return fr;
  c.runs_built[size_t(frame)] = 1;
  const uint32_t* px = img.frame_pixels(frame);
  fr.row_first.resize(size_t(img.height) + 1);
  fr.runs.clear();
  for (int y = 0; y < img.height; ++y) {
    fr.row_first[size_t(y)] = uint32_t(fr.runs.size());
    const size_t row_begin = fr.runs.size();
    const uint32_t* row = px + size_t(y) * img.width;
    int x = 0;
    while (x < img.width) {
      while (x < img.width && (row[x] >> 24) == 0) ++x;
      if (x == img.width) break;
      const int start = x;
      while (x < img.width && (row[x] >> 24) != 0) ++x;
      if (fr.runs.size() > row_begin && start - fr.runs.back().end <= MERGE_GAP)
        fr.runs.back().end = uint16_t(x);
      else
        fr.runs.push_back(Run{uint16_t(start), uint16_t(x)});
    }
  }
  fr.row_first[size_t(img.height)] = uint32_t(fr.runs.size());
  return fr;
}

const uint32_t* tinted_frame(const Image& img, int frame, const Tint& t) {
  if (t.identity()) return img.frame_pixels(frame);
  ImageCache& c = cache_of(img);
  ++c.clock;
  for (auto& e : c.tints)
    if (e.frame == frame && same_tint(e.key, t)) {
      e.used = c.clock;
      return e.px.data();
    }
  const size_t n = size_t(img.width) * img.height;
  if (n > SMALL_FRAME) {
    // A large frame is tinted only for a tint asked for before: one-off
    // colours (fades) are prepared by the draw itself.
    auto it = std::find_if(c.seen.begin(), c.seen.end(),
                           [&](const ImageCache::Seen& s) { return s.frame == frame && same_tint(s.key, t); });
    if (it == c.seen.end()) {
      if (c.seen.size() >= MAX_SEEN) c.seen.erase(c.seen.begin());
      c.seen.push_back({frame, t});
      return nullptr;
    }
    c.seen.erase(it);
  }
  ImageCache::Entry* slot;
  if (int(c.tints.size()) < MAX_TINTS) {
    slot = &c.tints.emplace_back();
  } else {
    slot = &*std::min_element(c.tints.begin(), c.tints.end(),
                              [](const ImageCache::Entry& a, const ImageCache::Entry& b) { return a.used < b.used; });
  }
  slot->frame = frame;
  slot->key = t;
  slot->used = c.clock;
  slot->px.resize(n);
  prepare(t, img.frame_pixels(frame), slot->px.data(), int(n));
  return slot->px.data();
}

}  // namespace gfx
