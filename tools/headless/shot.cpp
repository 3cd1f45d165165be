// Frame pictures as PNG with fixed settings, so that the same frame always
// gives the same bytes.
#include <png.h>

#include <cstdio>

#include "outputs.h"
#include "platform/render.h"

namespace headless {

bool write_shot(const std::string& path, const std::vector<uint32_t>& frame) {
  const int w = gfx::SCREEN_W, h = gfx::SCREEN_H;
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    std::fclose(f);
    return false;
  }
  std::vector<png_byte> row(size_t(w) * 3);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
    return false;
  }
  png_init_io(png, f);
  png_set_compression_level(png, 6);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
  png_set_IHDR(png, info, w, h, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE,
               PNG_FILTER_TYPE_BASE);
  png_write_info(png, info);
  const bool have = frame.size() == size_t(w) * h;
  for (int y = 0; y < h; y++) {
    for (int x = 0; x < w; x++) {
      uint32_t p = have ? frame[size_t(y) * w + x] : 0;
      row[size_t(x) * 3] = png_byte(p >> 16);
      row[size_t(x) * 3 + 1] = png_byte(p >> 8);
      row[size_t(x) * 3 + 2] = png_byte(p);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fclose(f) == 0;
}

}  // namespace headless
