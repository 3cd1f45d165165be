// The player's hand and fork, and the numbers of a game that ride on it.
#pragma once
#include <memory>

struct player_tag {
  int score = 0;
  int best_sc = 0;
  int new_bs = 0;
  int lives = 0;
  int level = 0;
  float x = 0.0f;
  float y = 0.0f;
  int frame = 0;
  int a_tmr = 0;
  int a_ctr = 0;
  int fork = 0;
  int forkx = 0;
  float forky = 0.0f;

  static int reset(int full);
  int update();
  int get_inputs();
  int flush_inputs();
};

extern std::shared_ptr<player_tag> player;

int nudge_pointer();
