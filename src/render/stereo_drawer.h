// The stereo drawer: everything the game shows goes through it. In glasses mode
// 0 it draws once, as the caller set up; in modes 1..4 it draws an additive pair
// of copies tinted per eye, `depth` pixels either side.
#pragma once
#include <memory>
#include <string>

#include "platform/image.h"

struct bqdraw_tag {
  int leye_r = 0, leye_g = 0, leye_b = 0;
  int reye_r = 0, reye_g = 0, reye_b = 0;
  float txt_xs = 0.0f, txt_ys = 0.0f;

  bqdraw_tag();    // New
  ~bqdraw_tag();   // Delete

  int slc(int lr, int lg, int lb, int rr, int rg, int rb);
  int sip(int blend, float alpha, float rot, float scale_x, float scale_y);
  int i3d(const gfx::Image& image, float x, float y, int frame, float depth, float rot_offset, int passes);
  int t3d(const std::string& text, float x, float y, float depth, int centred);
};

extern std::shared_ptr<bqdraw_tag> stereo_drawer;
extern int glasses_mode;

// op 0 apply the eye colours, 1 load then apply, 2 save then apply.
int glasses_setup(int op);
