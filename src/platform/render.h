// The drawing model: one 640 x 480 back buffer and one current drawing state
// (colour, alpha, blend mode, rotation, scale) that persists until changed.
// Pure CPU and deterministic: the same calls give the same pixels, bit for bit.
//
// Colour rule (the only rounding in the renderer): a product of two 8-bit values
// is mul255(a, b) = round(a * b / 255), halves rounded up.
//   src  = mul255(texel, colour) per channel      (current colour multiplies)
//   a    = mul255(texel alpha, A), A = round(alpha * 255)
//   mask:     drawn only where texel alpha >= 128, dst = src
//   solid:    dst = src
//   alpha:    dst = round((src * a + dst * (255 - a)) / 255)
//   additive: dst = min(255, dst + mul255(src, a))
//   multiply: dst = mul255(src, dst)
// Rasterisation rule (shared by drawing and collision): a screen pixel (px, py)
// is covered when its centre (px + 0.5, py + 0.5), mapped back through the
// placement (move handle to (x, y), rotate clockwise by the rotation, scale),
// lands inside the frame; the texel is the one that contains that point.
// Filtered images instead mix the four texels whose centres surround that
// point, with weights in 1/256 steps (rounded, edges clamped). Positions or
// handles beyond 65536 pixels and scales below 1/1024 or above 4096 draw
// nothing. A line runs from the pixel holding its first point to the pixel
// holding its second, turned and scaled about its first point.
#pragma once
#include <cstdint>
#include <memory>

namespace gfx {

constexpr int SCREEN_W = 640;
constexpr int SCREEN_H = 480;

enum BlendMode { BLEND_MASK = 1, BLEND_SOLID = 2, BLEND_ALPHA = 3, BLEND_ADD = 4, BLEND_MULTIPLY = 5 };

struct Image;

// Back buffer pixels are 0x00RRGGBB, row-major, SCREEN_W per row.
uint32_t* back_buffer();

// Drawing state.
void set_color(int r, int g, int b);        // each clamped to 0..255
void get_color(int& r, int& g, int& b);
void set_alpha(float a);                    // clamped to 0..1
float get_alpha();
void set_blend(int mode);                   // 1..5; other values are ignored
int get_blend();
void set_rotation(float degrees);           // positive turns clockwise on screen
float get_rotation();
void set_scale(float sx, float sy);
void get_scale(float& sx, float& sy);
void set_rotation_scale(float degrees, float sx, float sy);
void reset_draw_state();                    // white, alpha 1, mask, rotation 0, scale 1 x 1

// Drawing.
void clear();                                                   // the whole buffer to black
void draw_image(const Image& img, float x, float y, int frame); // handle placed on (x, y)
void draw_rect(float x, float y, float w, float h);             // filled, like an untextured image, handle top-left
void draw_line(float x1, float y1, float x2, float y2);         // one pixel wide, last pixel included

// Copies the back-buffer rectangle of the image's size whose top-left corner is
// (x, y) into frame `frame`, masking it as the image's flags say. Parts outside
// the screen read as black.
void grab_image(Image& img, int x, int y, int frame);

// Pixel-exact collision of two frames placed at integer positions under the
// current rotation and scale: true when some screen pixel is covered by an
// opaque texel (alpha >= 128) of both. Uses the drawing rasteriser.
bool images_collide(const Image& a, int ax, int ay, int aframe,
                    const Image& b, int bx, int by, int bframe);

}  // namespace gfx
