// The logo intro: the maker's logo over the backdrop, zooming and drifting in
// depth with glasses on, held and faded flat; it has a frame loop of its own.
#include "audio/sounds.h"
#include "platform/app.h"
#include "platform/image.h"
#include "platform/input.h"
#include "platform/render.h"
#include "render/scene.h"
#include "render/stereo_drawer.h"
#include "screens/screens.h"
#include "shell/game.h"

int logo_intro(int y_offset) {
  gfx::ImageRef logo_image = gfx::load_image("bqlogo.png");
  if (logo_image) gfx::centre_handle(*logo_image);
  const float cx = float(gfx::SCREEN_W / 2);
  const float cy = float(gfx::SCREEN_H / 2 + y_offset);
  float alpha = 1.0f;
  float scale = 0.1f;  // with glasses off only a timer
  float depth = -4.0f;

  do {
    frame_begin();
    gfx::set_color(255, 255, 255);
    if (glasses_mode != 0) {
      stereo_drawer->sip(gfx::BLEND_ADD, alpha, 0.0f, scale, scale);
      if (logo_image) stereo_drawer->i3d(*logo_image, cx, cy, 0, depth, 0.0f, 2);
      scale = scale + 0.004f;
      depth = depth + 0.05f;
      if (scale > 1.1f) alpha = alpha - 0.01f;
    } else {
      stereo_drawer->sip(gfx::BLEND_ALPHA, alpha, 0.0f, 1.0f, 1.0f);
      if (logo_image) stereo_drawer->i3d(*logo_image, cx, cy, 0, 0.0f, 0.0f, 1);
      if (scale > 1.0f) {
        alpha = alpha - 0.01f;
      } else {
        scale = scale + 0.004f;
      }
    }
    draw_scanlines(2);
    if (alpha < 0.0f) alpha = 0.0f;
    present_frame();

    // Frozen while another application is active; sleep on the event queue.
    while (app::suspended()) app::wait_events(10);

    if (app::close_requested()) {
      quit_requested = 1;
      break;
    }
    if (input::key_hits(input::VK_ESCAPE) != 0 || input::key_hits(input::VK_SPACE) != 0 ||
        input::mouse_hits(1) != 0 || input::joy_hits(0, 0) != 0)
      break;
  } while (alpha > 0.0f);

  gfx::set_color(255, 255, 255);
  stereo_drawer->sip(gfx::BLEND_MASK, 1.0f, 0.0f, 1.0f, 1.0f);
  // The skipping press must not act on the title menu too.
  input::flush_keys();
  input::flush_mouse();
  return 0;
}
