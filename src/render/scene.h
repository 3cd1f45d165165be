// The parts of the picture that belong to no one screen: backdrop, factory,
// score line and the scanline overlay; and the belt animation.
#pragma once

extern int belt_countdown, belt_interval, belt_frame, wheel_angle;

int frame_begin();
int draw_factory();
int draw_hud();
int draw_scanlines(int shade);
