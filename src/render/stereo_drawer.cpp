// The stereo drawer and the glasses modes with their four-byte file.
#include "render/stereo_drawer.h"

#include <cstdio>

#include "platform/files.h"
#include "platform/render.h"
#include "platform/text.h"

std::shared_ptr<bqdraw_tag> stereo_drawer;
int glasses_mode = 0;

bqdraw_tag::bqdraw_tag() { leye_r = leye_g = leye_b = reye_r = reye_g = reye_b = 0; }

bqdraw_tag::~bqdraw_tag() = default;

int bqdraw_tag::slc(int lr, int lg, int lb, int rr, int rg, int rb) {
  leye_r = lr;
  leye_g = lg;
  leye_b = lb;
  reye_r = rr;
  reye_g = rg;
  reye_b = rb;
  return 0;
}

int bqdraw_tag::sip(int blend, float alpha, float rot, float scale_x, float scale_y) {
  gfx::set_blend(blend);
  gfx::set_alpha(alpha);
  gfx::set_rotation_scale(rot, scale_x, scale_y);
  // Remembered so that centred text can allow for its scale.
  txt_xs = scale_x;
  txt_ys = scale_y;
  return 0;
}

int bqdraw_tag::i3d(const gfx::Image& image, float x, float y, int frame, float depth, float rot_offset,
                    int passes) {
  const float base_rot = float(int(gfx::get_rotation()));
  if (glasses_mode != 0) {
    for (int pass = 0; pass < passes; ++pass) {
      gfx::set_blend(gfx::BLEND_ADD);
      gfx::set_color(leye_r, leye_g, leye_b);
      if (rot_offset != 0.0f) gfx::set_rotation(base_rot + rot_offset);
      gfx::draw_image(image, x - depth, y, frame);
      gfx::set_color(reye_r, reye_g, reye_b);
      if (rot_offset != 0.0f) gfx::set_rotation(base_rot - rot_offset);
      gfx::draw_image(image, x + depth, y, frame);
    }
  } else {
    gfx::draw_image(image, x, y, frame);
  }
  if (rot_offset != 0.0f) gfx::set_rotation(base_rot);
  return 0;
}

int bqdraw_tag::t3d(const std::string& text, float x, float y, float depth, int centred) {
  if (centred != 0) {
    x = x - (float(gfx::text_width(text)) * txt_xs) / 2.0f;
    y = y - (float(gfx::font_height()) * txt_ys) / 2.0f;
  }
  if (glasses_mode != 0) {
    gfx::set_blend(gfx::BLEND_ADD);
    gfx::set_color(leye_r, leye_g, leye_b);
    gfx::draw_text(text, x - depth, y);
    gfx::set_color(reye_r, reye_g, reye_b);
    gfx::draw_text(text, x + depth, y);
  } else {
    gfx::draw_text(text, x, y);
  }
  return 0;
}

namespace {
const char* const GLASSES_PATH = "Data\\anaglyph3d.dat";

struct EyeColours {
  int lr, lg, lb, rr, rg, rb;
};
// Indexed by glasses_mode; mode 0 leaves the colours alone.
constexpr EyeColours EYE_COLOURS[5] = {
    {0, 0, 0, 0, 0, 0},
    {140, 4, 40, 4, 100, 20},
    {4, 100, 20, 140, 4, 10},
    {4, 80, 60, 140, 4, 10},
    {4, 20, 140, 140, 4, 20},
};
}  // namespace

int glasses_setup(int op) {
  if (op == 1 && files::path_type(GLASSES_PATH) == files::PATH_FILE) {
    if (files::FileRef f = files::open_read(GLASSES_PATH)) {
      glasses_mode = files::read_int(*f);
      files::close(std::move(f));
      // A stray value would index the menu's label table and draw with unset
      // eye colours; it means no glasses.
      if (glasses_mode < 0 || glasses_mode > 4) glasses_mode = 0;
    }
  }
  if (op == 2) {
    files::FileRef f = files::open_write(GLASSES_PATH);
    if (!f) {
      std::fprintf(stderr, "gobblestamp: glasses mode not saved: cannot write %s\n", GLASSES_PATH);
    } else {
      files::write_int(*f, glasses_mode);
      if (!files::close(std::move(f)))
        std::fprintf(stderr, "gobblestamp: glasses mode not saved: writing %s failed\n", GLASSES_PATH);
    }
  }
  if (glasses_mode >= 1 && glasses_mode <= 4) {
    const EyeColours& c = EYE_COLOURS[glasses_mode];
    stereo_drawer->slc(c.lr, c.lg, c.lb, c.rr, c.rg, c.rb);
  }
  return 0;
}
