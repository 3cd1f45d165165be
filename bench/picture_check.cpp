// The comparison: per pixel and channel, the other picture may be below ours
// by at most the leeway of the additive draws that cover the pixel (zero for
// an exact renderer), never above; pixels under turned or scaled draws (their
// boxes grown by two pixels) are only counted, and a small share of them may
// differ because another renderer samples a turned sprite at its own points.
#include "picture_check.h"

#include <algorithm>
#include <cstdio>

namespace bench {

namespace {

Box grown(Box b, int by) {
  return Box{std::max(b.x0 - by, 0), std::max(b.y0 - by, 0), std::min(b.x1 + by, W), std::min(b.y1 + by, H)};
}

}  // namespace

std::string CheckResult::summary() const {
  char buf[256];
  std::snprintf(buf, sizeof buf, "%ld px differ; %ld of %ld under turned/scaled sprites, %ld elsewhere beyond rounding",
                differing, turned_differing, turned_pixels, outside_bad);
  return buf;
}

CheckResult check_picture(const Picture& ours, const Picture& other, const DrawList& calls, const Leeway& leeway) {
  std::vector<uint8_t> turned(size_t(W) * H, 0);
  std::vector<int> allowed(size_t(W) * H, 0);
  for (const gfx::DrawCall& c : calls) {
    if (c.kind != gfx::DRAW_IMAGE && c.kind != gfx::DRAW_RECT) continue;
    const Box b = draw_box(c);
    if (!is_identity(c)) {
      const Box g = grown(b, 2);
      for (int y = g.y0; y < g.y1; ++y) std::fill_n(turned.begin() + y * W + g.x0, g.x1 - g.x0, 1);
    }
    if (c.blend != gfx::BLEND_ADD) continue;
    const int per = alpha_byte(c) == 255 ? leeway.per_draw : leeway.per_faded_draw;
    for (int y = b.y0; y < b.y1; ++y)
      for (int x = b.x0; x < b.x1; ++x) allowed[size_t(y) * W + x] += per;
  }

  CheckResult r;
  for (size_t i = 0; i < ours.size(); ++i) {
    const uint32_t a = ours[i] & 0xFFFFFFu, b = other[i] & 0xFFFFFFu;
    if (turned[i]) r.turned_pixels++;
    if (a == b) continue;
    r.differing++;
    bool within = true;
    for (int sh = 0; sh < 24; sh += 8) {
      const int d = int((a >> sh) & 255) - int((b >> sh) & 255);
      within = within && d >= 0 && d <= allowed[i];
    }
    if (within) continue;
    if (turned[i])
      r.turned_differing++;
    else
      r.outside_bad++;
  }
  r.ok = r.outside_bad == 0 && double(r.turned_differing) <= leeway.turned_share * double(r.turned_pixels);
  return r;
}

}  // namespace bench
