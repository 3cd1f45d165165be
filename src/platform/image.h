// Images: frames of 32-bit pixels with a handle and flags fixed when made.
// Masked images turn the mask colour transparent when pixels enter them
// (load or grab) and fill transparent texels with their opaque neighbours'
// average colour so that scaled or filtered edges get no dark fringe.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace gfx {

enum ImageFlag { IMG_MASKED = 1, IMG_FILTERED = 2, IMG_MIPMAPPED = 4, IMG_WRITABLE = 8 };

struct Image {
  int width = 0, height = 0, frames = 0;
  float handle_x = 0, handle_y = 0;
  int flags = 0;
  // frames * width * height texels, 0xAARRGGBB; alpha is 0 or 255 for masked images.
  std::vector<uint32_t> pixels;

  const uint32_t* frame_pixels(int f) const { return pixels.data() + size_t(f) * width * height; }
  uint32_t* frame_pixels(int f) { return pixels.data() + size_t(f) * width * height; }
};
using ImageRef = std::shared_ptr<Image>;

// Defaults for images made from now on.
void set_mask_color(int r, int g, int b);
void set_image_flags(int flags);
int get_image_flags();
void set_auto_centre(bool on);   // handle at (w * 0.5, h * 0.5) instead of (0, 0)

// A new image with all texels transparent black; null for a size <= 0.
ImageRef create_image(int width, int height, int frames);
// Decodes a PNG from the embedded-file store; null when missing or undecodable.
ImageRef load_image(const std::string& embedded_name);
ImageRef load_image_png(const uint8_t* data, size_t size);

void set_handle(Image& img, float hx, float hy);
void centre_handle(Image& img);

// Applies the image's mask rule to one frame after its texels were replaced:
// mask colour -> transparent, everything else opaque, transparent texels
// take their opaque neighbours' average colour.
void apply_mask(Image& img, int frame);

}  // namespace gfx
