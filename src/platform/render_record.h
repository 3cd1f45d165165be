// An optional log of draw calls with the full drawing state of each, so that
// one frame can be replayed elsewhere (e.g. through other renderers in a
// benchmark). Off unless a recorder is set; then each call appends one entry.
#pragma once
#include <string>
#include <vector>

#include "platform/image.h"

namespace gfx {

struct Font;

enum DrawKind { DRAW_CLEAR, DRAW_IMAGE, DRAW_RECT, DRAW_LINE, DRAW_TEXT, DRAW_GRAB };

struct DrawCall {
  DrawKind kind = DRAW_CLEAR;
  const Image* image = nullptr;  // DRAW_IMAGE, DRAW_GRAB (also each glyph, see below)
  int frame = 0;
  double x = 0, y = 0;           // handle position; rect and line: first corner / point
  double x2 = 0, y2 = 0;         // rect: width and height; line: second point
  int r = 255, g = 255, b = 255;
  float alpha = 1.0f;
  int blend = 1;
  float rotation = 0.0f, sx = 1.0f, sy = 1.0f;
  std::string text;              // DRAW_TEXT
  const Font* font = nullptr;    // DRAW_TEXT
};

// Starts recording into `out` (null stops). With glyphs_as_images a text is
// logged as one DRAW_IMAGE per glyph (glyph image, exact position) instead of
// one DRAW_TEXT entry.
void set_draw_recorder(std::vector<DrawCall>* out, bool glyphs_as_images = false);

}  // namespace gfx
