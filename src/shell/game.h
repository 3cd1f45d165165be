// The game shell: start-up, the frame loop over the game states, resources,
// the rules of one game and the best score.
#pragma once
#include <cstdint>

#include "platform/audio.h"
#include "platform/image.h"
#include "platform/text.h"

// States of game_state.
enum { STATE_STARTUP = 0, STATE_PLAYING = 2, STATE_PAUSED = 3, STATE_TITLE = 4, STATE_GAME_OVER = 5 };

extern int game_state;
extern int quit_requested;
extern int drop_counter, drop_interval;
extern int game_over_delay;

// Resources.
extern gfx::ImageRef pause_image, title_image, stabbed_turkey_image, turkey_image, wheel_image,
    belt_image, chute_image, bin_image, hand_image, fork_image, backdrop_image, pointer_image;
extern gfx::FontRef game_font;
extern audio::SoundRef throw_sound, dropout_sound, stab_sound, trash_sound, gameover_sound;

int create_images();
// Start-up's image defaults and the objects that live for the whole run: the
// drawer, the player, the lists, the empty images, the menu tables and an idle
// factory channel, in that order.
int create_long_lived_objects();
int load_assets();

// Main loop pieces.
int run_game();        // start-up, main loop, shutdown; returns the exit code
int global_keys();
int pause_game();
int check_suspend();
int present_frame();

// Pacing chosen when the display opened.
enum PacingMode { PACING_VSYNC = 0, PACING_TIMER = 1 };
extern int pacing_mode;
// Times presentations with vsync for at most a second to pick pacing_mode, and
// starts the timer pacer's due time at the clock's reading after it.
int choose_pacing();

// Frames shown by present_frame so far (the vsync measurement's presentations
// excluded), and a hook tools may set to act right after each one.
extern uint64_t frames_presented;
extern void (*frame_presented_hook)();

// Game rules.
int playing_tick();
int start_new_game();
int best_score_file(int save);

// Resets every game global to its initial value (a fresh run; used by tools that run the game repeatedly).
void reset_game_globals();
