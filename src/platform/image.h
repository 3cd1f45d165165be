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

// What the renderer derives from an image's texels (opaque runs per row, tinted
// copies for the colours it is drawn in). It belongs to one image: a copy of the
// image starts without it and builds its own.
struct ImageCache;
struct ImageCacheSlot {
  std::shared_ptr<ImageCache> p;
  ImageCacheSlot() = default;
  ImageCacheSlot(const ImageCacheSlot&) {}
  ImageCacheSlot& operator=(const ImageCacheSlot&) { p.reset(); return *this; }
};

struct Image {
  int width = 0, height = 0, frames = 0;
  float handle_x = 0, handle_y = 0;
  int flags = 0;
  // frames * width * height texels, 0xAARRGGBB; alpha is 0 or 255 for masked images.
  // Write texels through load, grab or apply_mask, or call pixels_changed()
  // after writing them directly: drawing keeps derived data in `cache`.
  std::vector<uint32_t> pixels;
  mutable ImageCacheSlot cache;

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

// Tells the renderer that texels were written directly (drops derived data).
void pixels_changed(Image& img);

// Limits: images wider or higher than this are refused by create and load.
constexpr int MAX_IMAGE_SIDE = 16384;

}  // namespace gfx
