// Text through FreeType. Each glyph is rendered once (hinted, 8-bit grey) into
// a small image of white texels with the coverage as alpha, then drawn like
// any image under the current state; the line is laid out in whole-pixel
// advances with the glyphs' tops placed from the font's ascender. Kerning is
// not applied.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <unordered_map>
#include <vector>

#include "platform/render_internal.h"
#include "platform/render_math.h"
#include "platform/text.h"

namespace gfx {

struct Font {
  FT_Library lib = nullptr;
  FT_Face face = nullptr;
  std::vector<uint8_t> bytes;  // FreeType reads the face from here
  bool smoothing = false;
  int ascender = 0, height = 0;
  struct Glyph {
    bool present = false;
    int advance = 0;
    int dx = 0, dy = 0;  // top-left of the glyph image from the pen at the line's top
    ImageRef image;      // null for glyphs without pixels (space)
  };
  std::unordered_map<uint32_t, Glyph> glyphs;

  ~Font() {
    if (face) FT_Done_Face(face);
    if (lib) FT_Done_FreeType(lib);
  }
  const Glyph& glyph(uint32_t cp);
};

namespace {

FontRef g_font;

int round26_6(FT_Pos v) { return int((v + 32) >> 6); }

// Next code point of UTF-8 text; a byte that starts no valid sequence stands
// for itself.
uint32_t next_code_point(const std::string& s, size_t& i) {
  const auto byte = [&](size_t k) { return uint32_t(uint8_t(s[k])); };
  const uint32_t b0 = byte(i);
  int len = b0 < 0x80 ? 1 : (b0 >> 5) == 6 ? 2 : (b0 >> 4) == 14 ? 3 : (b0 >> 3) == 30 ? 4 : 0;
  if (len > 1 && i + len <= s.size()) {
    uint32_t cp = b0 & (0x7F >> len);
    bool ok = true;
    for (int k = 1; k < len; ++k) {
      const uint32_t b = byte(i + k);
      ok = ok && (b >> 6) == 2;
      cp = (cp << 6) | (b & 0x3F);
    }
    if (ok) {
      i += size_t(len);
      return cp;
    }
  }
  ++i;
  return b0;
}

}  // namespace

const Font::Glyph& Font::glyph(uint32_t cp) {
  auto it = glyphs.find(cp);
  if (it != glyphs.end()) return it->second;
  Glyph& g = glyphs[cp];
  if (FT_Get_Char_Index(face, cp) == 0 || FT_Load_Char(face, cp, FT_LOAD_RENDER) != 0) return g;
  const FT_GlyphSlot slot = face->glyph;
  const FT_Bitmap& bm = slot->bitmap;
  g.present = true;
  g.advance = round26_6(slot->advance.x);
  if (bm.width == 0 || bm.rows == 0 || bm.pixel_mode != FT_PIXEL_MODE_GRAY) return g;
  const int border = smoothing ? 1 : 0;
  const int w = int(bm.width) + 2 * border, h = int(bm.rows) + 2 * border;
  auto img = std::make_shared<Image>();
  img->width = w;
  img->height = h;
  img->frames = 1;
  img->flags = smoothing ? IMG_FILTERED : 0;
  img->pixels.assign(size_t(w) * h, 0x00FFFFFFu);  // white, transparent
  for (unsigned y = 0; y < bm.rows; ++y) {
    const uint8_t* row = bm.buffer + ptrdiff_t(y) * bm.pitch;
    for (unsigned x = 0; x < bm.width; ++x)
      img->pixels[size_t(y + border) * w + x + border] = (uint32_t(row[x]) << 24) | 0xFFFFFFu;
  }
  g.dx = slot->bitmap_left - border;
  g.dy = ascender - slot->bitmap_top - border;
  g.image = std::move(img);
  return g;
}

FontRef load_font_data(const uint8_t* data, size_t size, int pixel_size, bool smoothing) {
  if (!data || size == 0 || pixel_size <= 0) return nullptr;
  auto f = std::make_shared<Font>();
  f->bytes.assign(data, data + size);
  f->smoothing = smoothing;
  if (FT_Init_FreeType(&f->lib) != 0) return nullptr;
  if (FT_New_Memory_Face(f->lib, f->bytes.data(), FT_Long(f->bytes.size()), 0, &f->face) != 0) return nullptr;
  if (FT_Set_Pixel_Sizes(f->face, 0, FT_UInt(pixel_size)) != 0) return nullptr;
  f->ascender = round26_6(f->face->size->metrics.ascender);
  f->height = round26_6(f->face->size->metrics.height);
  return f;
}

void set_font(FontRef font) { g_font = std::move(font); }

int text_width(const std::string& text) {
  if (!g_font) return 0;
  int w = 0;
  for (size_t i = 0; i < text.size();) w += g_font->glyph(next_code_point(text, i)).advance;
  return w;
}

int font_height() { return g_font ? g_font->height : 0; }

void draw_text(const std::string& text, float x, float y) {
  if (g_recorder && !g_record_glyphs) {
    DrawCall& c = record(DRAW_TEXT);
    c.x = x;
    c.y = y;
    c.text = text;
    c.font = g_font.get();
  }
  if (!g_font) return;
  double s, c;
  sin_cos_degrees(g_state.rotation, s, c);
  const double sx = g_state.sx, sy = g_state.sy;
  int pen = 0;
  for (size_t i = 0; i < text.size();) {
    const Font::Glyph& g = g_font->glyph(next_code_point(text, i));
    if (g.image) {
      // The glyph's corner in line coordinates, turned and scaled like the line.
      const double gx = double(pen + g.dx) * sx, gy = double(g.dy) * sy;
      const double X = x + product(c, gx) - product(s, gy), Y = y + product(s, gx) + product(c, gy);
      if (g_recorder && g_record_glyphs) {
        DrawCall& rc = record(DRAW_IMAGE);
        rc.image = g.image.get();
        rc.x = X;
        rc.y = Y;
      }
      draw_frame_at(*g.image, 0, X, Y);
    }
    pen += g.advance;
  }
}

}  // namespace gfx
