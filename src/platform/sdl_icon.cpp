// Paints the icon from a few filled shapes, back to front.
#include "platform/sdl_icon.h"

#include <cmath>

namespace plat {
namespace {

struct Canvas {
  std::vector<uint32_t> px = std::vector<uint32_t>(ICON_SIZE * ICON_SIZE, 0);
  void set(int x, int y, uint32_t c) {
    if (x >= 0 && y >= 0 && x < ICON_SIZE && y < ICON_SIZE) px[y * ICON_SIZE + x] = c;
  }
  // Pixel centres inside the ellipse, optionally only above a line.
  void ellipse(float cx, float cy, float rx, float ry, uint32_t c, float below_y = 1e9f) {
    for (int y = 0; y < ICON_SIZE; ++y)
      for (int x = 0; x < ICON_SIZE; ++x) {
        float dx = (x + 0.5f - cx) / rx, dy = (y + 0.5f - cy) / ry;
        if (dx * dx + dy * dy <= 1.0f && y + 0.5f < below_y) set(x, y, c);
      }
  }
  void rect(int x0, int y0, int x1, int y1, uint32_t c) {   // inclusive
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) set(x, y, c);
  }
};

}  // namespace

std::vector<uint32_t> window_icon_pixels() {
  Canvas c;
  // Tail fan: three bands behind the body.
  c.ellipse(13, 17, 13, 13, 0xFF7A3B12, 22);
  c.ellipse(13, 17, 10.5f, 10.5f, 0xFFE07A1F, 22);
  c.ellipse(13, 17, 8, 8, 0xFFB8321E, 22);
  // Body, wing, legs.
  c.ellipse(13, 21, 7.5f, 8, 0xFF8A5A2B);
  c.ellipse(11, 22, 4, 4.5f, 0xFF6B4220);
  c.rect(10, 29, 11, 31, 0xFFE0A020);
  c.rect(15, 29, 16, 31, 0xFFE0A020);
  // Head with beak and wattle.
  c.ellipse(13, 10, 3.5f, 3.5f, 0xFFD9B38C);
  c.set(12, 9, 0xFF101010);
  c.rect(16, 10, 17, 10, 0xFFE0A020);
  c.rect(15, 12, 15, 14, 0xFFD02020);
  // The fork, silver with a darker edge: three tines, a bridge and the handle.
  const uint32_t steel = 0xFFD8DCE0, edge = 0xFF70757A;
  for (int t = 0; t < 3; ++t) c.rect(23 + 3 * t, 2, 23 + 3 * t, 9, steel);
  c.rect(23, 9, 29, 11, steel);
  c.rect(25, 12, 27, 31, steel);
  c.rect(28, 12, 28, 31, edge);
  c.rect(24, 11, 24, 11, edge);
  return c.px;
}

}  // namespace plat
