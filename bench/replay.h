// Replaying a recorded frame through other renderers: the common interface,
// and where each recorded draw lands on the 640 x 480 screen, worked out from
// the draw's own numbers (handle, position, rotation, scale) the way the
// drawing model states it: a pixel is covered when its centre maps into the
// frame.
#pragma once
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/image.h"
#include "platform/render.h"
#include "platform/render_record.h"

namespace bench {

constexpr int W = gfx::SCREEN_W, H = gfx::SCREEN_H;
using Picture = std::vector<uint32_t>;   // W * H pixels, 0x00RRGGBB
using DrawList = std::vector<gfx::DrawCall>;

// A draw list another renderer cannot replay as it stands.
struct Unsupported : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class Replay {
 public:
  virtual ~Replay() = default;
  virtual void draw() = 0;            // the whole list, into the replay's own picture
  virtual Picture picture() = 0;      // after draw()
};
std::unique_ptr<Replay> pixman_replay(const DrawList& calls);
std::unique_ptr<Replay> sdl_replay(const DrawList& calls);
std::unique_ptr<Replay> floor_replay(const DrawList& calls);

struct Box {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;   // [x0, x1) x [y0, y1)
  bool empty() const { return x0 >= x1 || y0 >= y1; }
};

// 0..255 of a draw's alpha, as the renderer rounds it.
uint32_t alpha_byte(const gfx::DrawCall& c);
// round(a * b / 255).
inline uint32_t mul255(uint32_t a, uint32_t b) {
  const uint32_t t = a * b + 128;
  return (t + (t >> 8)) >> 8;
}

// Unrotated at scale 1: texel column = pixel column + an integer offset.
bool is_identity(const gfx::DrawCall& c);
// For an identity image draw: texel (px + ox, py + oy) lands on pixel (px, py).
void identity_offset(const gfx::DrawCall& c, int& ox, int& oy);
// The frame point under the pixel centre (X, Y) of an image draw.
void frame_point(const gfx::DrawCall& c, double X, double Y, double& u, double& v);
// Pixels an image or rectangle draw may touch, clipped to the screen: exact for
// identity draws, the corners' box plus a pixel for the others.
Box draw_box(const gfx::DrawCall& c);
// The covered pixels of a horizontal line draw (both end pixels included).
Box line_box(const gfx::DrawCall& c);

}  // namespace bench
