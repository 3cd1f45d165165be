// Grabbing: a back-buffer rectangle becomes an image frame (opaque, then
// masked if the image is masked). Outside the screen reads as black.
#include <algorithm>

#include "platform/render_internal.h"

namespace gfx {

void grab_image(Image& img, int x, int y, int frame) {
  if (g_recorder) {
    DrawCall& c = record(DRAW_GRAB);
    c.image = &img;
    c.frame = frame;
    c.x = x;
    c.y = y;
  }
  if (frame < 0 || frame >= img.frames || img.width <= 0 || img.height <= 0 ||
      img.pixels.size() < size_t(img.frames) * img.width * img.height)
    return;
  uint32_t* out = img.frame_pixels(frame);
  const uint32_t* bb = back_buffer();
  const int w = img.width;
  // Columns of the frame that lie on the screen: [c0, c1).
  const int64_t c0 = std::clamp<int64_t>(-int64_t(x), 0, w);
  const int64_t c1 = std::clamp<int64_t>(int64_t(SCREEN_W) - x, c0, w);
  for (int ty = 0; ty < img.height; ++ty) {
    uint32_t* row = out + size_t(ty) * w;
    const int64_t sy = int64_t(y) + ty;
    if (sy < 0 || sy >= SCREEN_H || c0 == c1) {
      std::fill(row, row + w, 0xFF000000u);
      continue;
    }
    std::fill(row, row + c0, 0xFF000000u);
    const int64_t first = sy * SCREEN_W + x;  // buffer index of frame column 0
    for (int64_t tx = c0; tx < c1; ++tx) row[tx] = bb[first + tx] | 0xFF000000u;
    std::fill(row + c1, row + w, 0xFF000000u);
  }
  if (img.flags & IMG_MASKED)
    apply_mask(img, frame);
  else
    pixels_changed(img);
}

}  // namespace gfx
