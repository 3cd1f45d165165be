// Images: the defaults for new images (mask colour, flags, automatic centring),
// creation, handles, and the mask rule with its neighbour-average fill.
#include <algorithm>

#include "platform/image.h"

namespace gfx {

namespace {
uint32_t g_mask_rgb = 0;  // black
int g_flags = 0;
bool g_auto_centre = false;
}  // namespace

void set_mask_color(int r, int g, int b) {
  g_mask_rgb = (uint32_t(std::clamp(r, 0, 255)) << 16) | (uint32_t(std::clamp(g, 0, 255)) << 8) |
               uint32_t(std::clamp(b, 0, 255));
}
void set_image_flags(int flags) { g_flags = flags & (IMG_MASKED | IMG_FILTERED | IMG_MIPMAPPED | IMG_WRITABLE); }
int get_image_flags() { return g_flags; }
void set_auto_centre(bool on) { g_auto_centre = on; }

ImageRef create_image(int width, int height, int frames) {
  if (width <= 0 || height <= 0 || frames <= 0 || width > MAX_IMAGE_SIDE || height > MAX_IMAGE_SIDE) return nullptr;
  auto img = std::make_shared<Image>();
  img->width = width;
  img->height = height;
  img->frames = frames;
  img->flags = g_flags;
  if (g_auto_centre) centre_handle(*img);
  img->pixels.assign(size_t(frames) * width * height, 0u);
  return img;
}

void set_handle(Image& img, float hx, float hy) {
  img.handle_x = hx;
  img.handle_y = hy;
}

void centre_handle(Image& img) { set_handle(img, img.width * 0.5f, img.height * 0.5f); }

void apply_mask(Image& img, int frame) {
  pixels_changed(img);
  if (!(img.flags & IMG_MASKED) || frame < 0 || frame >= img.frames) return;
  const int w = img.width, h = img.height;
  if (img.pixels.size() < size_t(img.frames) * w * h) return;
  uint32_t* px = img.frame_pixels(frame);
  std::vector<uint8_t> masked(size_t(w) * h);
  for (size_t i = 0; i < masked.size(); ++i) masked[i] = (px[i] & 0xFFFFFF) == g_mask_rgb;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const size_t i = size_t(y) * w + x;
      if (!masked[i]) {
        px[i] |= 0xFF000000u;
        continue;
      }
      // The average of the opaque neighbours (their texels are unchanged so
      // far: only masked texels are rewritten), rounded; black if none.
      uint32_t r = 0, g = 0, b = 0, n = 0;
      for (int ny = std::max(y - 1, 0); ny <= std::min(y + 1, h - 1); ++ny)
        for (int nx = std::max(x - 1, 0); nx <= std::min(x + 1, w - 1); ++nx) {
          const size_t j = size_t(ny) * w + nx;
          if (masked[j]) continue;
          r += (px[j] >> 16) & 255;
          g += (px[j] >> 8) & 255;
          b += px[j] & 255;
          ++n;
        }
      px[i] = n ? (((r + n / 2) / n) << 16) | (((g + n / 2) / n) << 8) | ((b + n / 2) / n) : 0u;
    }
  }
}

}  // namespace gfx
