// PNG decoding with libpng into a one-frame image made with the current
// defaults (flags, automatic centring), masked if the flags say so.
#include <png.h>

#include "platform/image.h"

namespace gfx {

ImageRef load_image_png(const uint8_t* data, size_t size) {
  if (!data || size == 0) return nullptr;
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&png, data, size)) return nullptr;
  if (png.width == 0 || png.height == 0 || png.width > unsigned(MAX_IMAGE_SIDE) ||
      png.height > unsigned(MAX_IMAGE_SIDE)) {
    png_image_free(&png);
    return nullptr;
  }
  png.format = PNG_FORMAT_BGRA;  // bytes B, G, R, A: 0xAARRGGBB in memory order
  ImageRef img = create_image(int(png.width), int(png.height), 1);
  if (!img || !png_image_finish_read(&png, nullptr, img->pixels.data(), 0, nullptr)) {
    png_image_free(&png);
    return nullptr;
  }
  apply_mask(*img, 0);
  return img;
}

}  // namespace gfx
