// Text: widths and height from the font's whole-pixel metrics, and glyphs
// drawn where and how FreeType renders them, in the current colour.
#include <ft2build.h>
#include FT_FREETYPE_H

#include "gfx_fixture.h"

using namespace gfxtest;

namespace {

// FreeType opened directly, as the reference for the renderer's layout.
struct Reference {
  FT_Library lib = nullptr;
  FT_Face face = nullptr;
  std::vector<uint8_t> bytes = font_bytes();
  Reference() {
    FT_Init_FreeType(&lib);
    FT_New_Memory_Face(lib, bytes.data(), FT_Long(bytes.size()), 0, &face);
    FT_Set_Pixel_Sizes(face, 0, 22);
  }
  ~Reference() {
    FT_Done_Face(face);
    FT_Done_FreeType(lib);
  }
  int advance(char c) {
    FT_Load_Char(face, FT_ULong(c), FT_LOAD_DEFAULT);
    return int((face->glyph->advance.x + 32) >> 6);
  }
};

class Text : public Gfx {
 protected:
  void SetUp() override {
    Gfx::SetUp();
    const auto bytes = font_bytes();
    font = gfx::load_font_data(bytes.data(), bytes.size(), 22, true);
    ASSERT_TRUE(font);
    gfx::set_font(font);
  }
  void TearDown() override { gfx::set_font(nullptr); }
  gfx::FontRef font;
  Reference ref;
};

}  // namespace

TEST_F(Text, WidthIsTheSumOfWholePixelAdvancesAndHeightTheLineSpacing) {
  for (std::string s : {"Score: 07", "Best: 123", "Time:        ", "M\\G", "W"}) {
    int sum = 0;
    for (char c : s) sum += ref.advance(c);
    EXPECT_EQ(gfx::text_width(s), sum) << s;
  }
  EXPECT_EQ(gfx::text_width(""), 0);
  EXPECT_EQ(gfx::text_width("AV"), gfx::text_width("A") + gfx::text_width("V"));  // no kerning
  EXPECT_EQ(gfx::font_height(), int((ref.face->size->metrics.height + 32) >> 6));
  EXPECT_GT(gfx::font_height(), 20);
  // A character the font has no glyph for adds nothing and draws nothing.
  ASSERT_EQ(FT_Get_Char_Index(ref.face, 0x4E00), 0u);
  EXPECT_EQ(gfx::text_width("a\xE4\xB8\x80" "b"), gfx::text_width("ab"));
  gfx::draw_text("\xE4\xB8\x80", 100, 100);
  for (int i = 0; i < gfx::SCREEN_W * gfx::SCREEN_H; ++i) ASSERT_EQ(gfx::back_buffer()[i], 0u);
}

TEST_F(Text, GlyphsShowTheirCoverageInTheCurrentColour) {
  // "Hg" at (100, 50) in alpha mode over black: each pixel is the colour
  // times the glyph's coverage, placed from the pen, the bitmap offsets and
  // the ascender; nothing else is touched.
  gfx::set_color(60, 180, 240);
  gfx::set_blend(gfx::BLEND_ALPHA);
  gfx::draw_text("Hg", 100, 50);
  const int ascender = int((ref.face->size->metrics.ascender + 32) >> 6);
  std::vector<uint32_t> want(size_t(gfx::SCREEN_W) * gfx::SCREEN_H, 0);
  int pen = 100;
  for (char c : {'H', 'g'}) {
    FT_Load_Char(ref.face, FT_ULong(c), FT_LOAD_RENDER);
    const FT_GlyphSlot g = ref.face->glyph;
    for (unsigned y = 0; y < g->bitmap.rows; ++y)
      for (unsigned x = 0; x < g->bitmap.width; ++x) {
        const uint32_t cov = g->bitmap.buffer[y * unsigned(g->bitmap.pitch) + x];
        const int sx = pen + g->bitmap_left + int(x), sy = 50 + ascender - g->bitmap_top + int(y);
        auto m = [&](uint32_t col) { return (2 * col * cov + 255) / 510; };
        want[size_t(sy) * gfx::SCREEN_W + sx] = (m(60) << 16) | (m(180) << 8) | m(240);
      }
    pen += int((g->advance.x + 32) >> 6);
  }
  int inked = 0;
  for (int i = 0; i < gfx::SCREEN_W * gfx::SCREEN_H; ++i) {
    ASSERT_EQ(gfx::back_buffer()[i], want[size_t(i)]) << "pixel " << i % gfx::SCREEN_W << "," << i / gfx::SCREEN_W;
    inked += want[size_t(i)] == 0x3CB4F0;  // full coverage shows the colour itself
  }
  EXPECT_GT(inked, 10);
}

TEST_F(Text, TextTurnsAndScalesAboutItsTopLeftCorner) {
  auto snapshot = [] { return std::vector<uint32_t>(gfx::back_buffer(), gfx::back_buffer() + gfx::SCREEN_W * gfx::SCREEN_H); };
  auto box = [](const std::vector<uint32_t>& px, int& x0, int& y0, int& x1, int& y1) {
    x0 = y0 = 1 << 20;
    x1 = y1 = -1;
    for (int i = 0; i < gfx::SCREEN_W * gfx::SCREEN_H; ++i)
      if (px[size_t(i)]) {
        x0 = std::min(x0, i % gfx::SCREEN_W), x1 = std::max(x1, i % gfx::SCREEN_W);
        y0 = std::min(y0, i / gfx::SCREEN_W), y1 = std::max(y1, i / gfx::SCREEN_W);
      }
  };
  gfx::draw_text("Hg", 200, 100);
  const auto flat = snapshot();
  int x0, y0, x1, y1;
  box(flat, x0, y0, x1, y1);
  ASSERT_LT(x0, x1);

  // A quarter turn clockwise: line pixel (dx, dy) lands on (200 - dy - 1, 100 + dx), unchanged.
  gfx::clear();
  gfx::set_rotation(90);
  gfx::draw_text("Hg", 200, 100);
  const auto turned = snapshot();
  for (int y = 0; y < gfx::SCREEN_H; ++y)
    for (int x = 0; x < gfx::SCREEN_W; ++x) {
      const int dx = y - 100, dy = 200 - 1 - x;
      const int fx = 200 + dx, fy = 100 + dy;
      const bool inside = fx >= 0 && fx < gfx::SCREEN_W && fy >= 0 && fy < gfx::SCREEN_H;
      ASSERT_EQ(turned[size_t(y) * gfx::SCREEN_W + x], inside ? flat[size_t(fy) * gfx::SCREEN_W + fx] : 0u)
          << x << "," << y;
    }

  // Twice the size: the inked box doubles its distances from the corner (to
  // within the pixel that smoothing spreads).
  gfx::clear();
  gfx::set_rotation(0);
  gfx::set_scale(2, 2);
  gfx::draw_text("Hg", 200, 100);
  int X0, Y0, X1, Y1;
  box(snapshot(), X0, Y0, X1, Y1);
  EXPECT_NEAR(X0 - 200, 2 * (x0 - 200), 1);
  EXPECT_NEAR(Y0 - 100, 2 * (y0 - 100), 1);
  EXPECT_NEAR(X1 + 1 - 200, 2 * (x1 + 1 - 200), 1);
  EXPECT_NEAR(Y1 + 1 - 100, 2 * (y1 + 1 - 100), 1);
}
