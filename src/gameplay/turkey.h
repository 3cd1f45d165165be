// Turkeys: dropped from the chute, ridden along the belt, stabbed or binned.
#pragma once
#include <list>
#include <memory>
#include <string>

struct turkey_tag {
  float x = 0.0f, y = 0.0f;
  float xstp = 0.0f, ystp = 0.0f;
  float rot = 0.0f, sc = 0.0f;
  int offs = 0;
  int state = 0;
  int frame = 0;

  static int drop_one();
  int update();
  static int update_all();
  static int destroy_all();
};

// Hit effects: declared, inert, never created.
struct hitfx_tag {
  float x = 0.0f, y = 0.0f, rot = 0.0f, sc = 0.0f;
  std::string pt;
  int offs = 0;

  static int create_it(float x, float y);
  int update();
  static int update_all();
  static int desstroy_all();
};

using turkey_list_t = std::list<std::shared_ptr<turkey_tag>>;
using effect_list_t = std::list<std::shared_ptr<hitfx_tag>>;
extern std::shared_ptr<turkey_list_t> turkey_list;
extern std::shared_ptr<effect_list_t> effect_list;
extern float belt_speed;
extern int hit_value;
