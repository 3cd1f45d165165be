// The whole game as a player meets it, on the headless device, in a fresh
// process of this executable (so that its peak memory is the game's alone):
// start-up, the intro skipped, a game started from the title menu, 3,600
// playing frames with a player who aims at the turkeys, and the orderly exit.
#pragma once
#include <string>

namespace bench {

struct GameResult {
  bool ok = false;
  std::string error;
  double wall_s = 0;         // spawn to exit
  double startup_ms = 0;     // spawn to the first presented frame
  double peak_rss_mb = 0;
  int playing_frames = 0;
  int stabs = 0;
};

// full: the whole game; otherwise the process stops at its first presented frame.
GameResult run_game_process(bool full);

// The child's side; returns the process's exit code. Called from main for
// "--game-child".
int game_child_main(int argc, char** argv);

}  // namespace bench
