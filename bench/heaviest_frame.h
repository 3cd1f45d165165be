// The game's heaviest playing frame, set up through the game's own globals and
// functions and drawn by its own code, again and again from the same state.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/render_record.h"

namespace bench {

// Start-up's objects and resources on a headless device (no window, no sound card).
void open_world();

// Ten turkeys (riding, dropping, falling, stabbed), the fork in flight, seven
// stabs' worth of score and speed, scanlines on; `glasses` is the glasses mode.
void set_up_heaviest(int glasses);

// Back to the moment before the frame: turkeys, player, belt, counters, drawing state.
void restore_frame();

// One main-loop frame without presenting: frame_begin, playing_tick, draw_hud, draw_scanlines(2).
void run_frame();

// Restores, then runs the frame with the draw recorder on (glyphs as images).
std::vector<gfx::DrawCall> record_frame();

// The back buffer as the last frame left it.
std::vector<uint32_t> picture();

// Empty when the frame kept its shape (all ten turkeys, the fork still up, no stab, no drop).
std::string frame_problem();

}  // namespace bench
