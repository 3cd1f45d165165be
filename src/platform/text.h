// TrueType text through FreeType: glyphs rendered anti-aliased (white, coverage
// as alpha), drawn under the current drawing state. With smoothing each glyph
// gets a one-pixel transparent border and is sampled bilinearly.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace gfx {

struct Font;
using FontRef = std::shared_ptr<Font>;

// Loads a font from the embedded-file store at a pixel size; null on failure.
FontRef load_font(const std::string& embedded_name, int pixel_size, bool smoothing);
// The same from TrueType bytes in memory (copied); null on failure.
FontRef load_font_data(const uint8_t* data, size_t size, int pixel_size, bool smoothing);
void set_font(FontRef font);

// Draws text with the line's top-left corner at (x, y), advancing by whole-pixel
// advances; characters without a glyph draw nothing.
void draw_text(const std::string& text, float x, float y);
int text_width(const std::string& text);  // sum of whole-pixel advances at scale 1
int font_height();                        // the size's line spacing at scale 1

}  // namespace gfx
