// Turkeys: dropping from the chute, riding the belt, falling into the bin, and
// the stab test against the player's fork. Hit effects are declared but inert.
#include "gameplay/turkey.h"

#include <algorithm>

#include "audio/sounds.h"
#include "gameplay/player.h"
#include "platform/render.h"
#include "render/scene.h"
#include "render/stereo_drawer.h"
#include "shell/game.h"

std::shared_ptr<turkey_list_t> turkey_list;
std::shared_ptr<effect_list_t> effect_list;
float belt_speed = 0.0f;
int hit_value = 0;

namespace {
enum { DROPPING = 0, RIDING = 1, FALLING = 2, STABBED = 3 };

// A turkey removes only itself; the caller (update_all) keeps it alive meanwhile.
void remove_from_list(const turkey_tag* t) {
  if (!turkey_list) return;
  auto it = std::find_if(turkey_list->begin(), turkey_list->end(),
                         [t](const std::shared_ptr<turkey_tag>& p) { return p.get() == t; });
  if (it != turkey_list->end()) turkey_list->erase(it);
}
}  // namespace

int turkey_tag::drop_one() {
  auto t = std::make_shared<turkey_tag>();
  t->sc = 0.5f;
  t->ystp = 4.0f;
  t->offs = 2;
  t->state = DROPPING;
  t->x = 75.0f;
  t->y = 110.0f;
  turkey_list->push_back(t);
  return 0;
}

int turkey_tag::update() {
  // 1. State step; the tests see the values from before this frame's move.
  switch (state) {
    case DROPPING:
      rot = rot + 24.0f;
      if (sc < 1.0f) {
        sc = sc + 0.02f;
      } else if (sc > 1.0f) {
        sc = 1.0f;
      }
      if (y > 170.0f) {
        y = 170.0f;
        state = RIDING;
        ystp = 0.0f;
        rot = 0.0f;
        sc = 1.0f;
      }
      break;
    case RIDING:
      xstp = belt_speed;  // read every frame: a speed-up moves every rider at once
      if (x > 550.0f) {
        xstp = 1.5f;
        ystp = 2.0f;
        rot = 30.0f;
        state = FALLING;
      }
      break;
    case FALLING:
      rot = rot + 6.0f;
      sc = sc - 0.002f;
      if (xstp > 0.0f) xstp = xstp - 0.02f;
      ystp = ystp + 0.02f;
      if (ystp > 5.0f) ystp = 5.0f;
      break;
    case STABBED:
      if (frame == 1) {
        rot = rot + 5.0f;
      } else {
        rot = rot - 5.0f;
      }
      ystp = ystp + 0.06f;
      sc = sc - 0.004f;
      offs = offs - 1;
      if (offs < -8) offs = -8;
      break;
    default:
      break;
  }

  // 2. Move.
  x = x + xstp;
  y = y + ystp;

  // 3. Draw.
  gfx::set_color(255, 255, 255);
  stereo_drawer->sip(gfx::BLEND_MASK, 1.0f, rot, sc, sc);
  if (state == STABBED) {
    stereo_drawer->i3d(*stabbed_turkey_image, x, y, frame, float(offs), 0.0f, 2);
  } else {
    stereo_drawer->i3d(*turkey_image, x, y, 0, float(offs), 0.0f, 2);
  }
  stereo_drawer->sip(gfx::BLEND_MASK, 1.0f, 0.0f, 1.0f, 1.0f);

  // 4. Spent stabbed turkey.
  if (sc <= 0.1f && state == STABBED) remove_from_list(this);

  // 5. In the bin.
  if (y > 380.0f && state == FALLING) {
    remove_from_list(this);
    play_sound(trash_sound);
  }

  // 6. Stab test, under the rotation 0 and scale 1 just set.
  if (player->fork != 0 && player->forky > 200.0f && state == RIDING &&
      gfx::images_collide(*turkey_image, int(x), int(y), 0, *fork_image, player->forkx,
                          int(player->forky), 0)) {
    player->score = player->score + hit_value;
    play_sound(stab_sound);
    hit_value = hit_value + 2;
    player->fork = 0;
    if (belt_interval >= 1) {
      belt_interval = belt_interval - 1;
      belt_speed = belt_speed + 0.3f;
      drop_interval = drop_interval - 25;
    }
    state = STABBED;
    ystp = -4.0f;
    drop_counter = drop_interval;  // the drop cadence later this frame drops a new turkey
    if (float(player->forkx) < x) {
      frame = 1;
      xstp = 1.0f;
    } else {
      frame = 0;
      xstp = -1.0f;
    }
  }
  return 0;
}

int turkey_tag::update_all() {
  if (!turkey_list) return 0;
  // Oldest first. The iterator moves on before the update, and the current
  // turkey is held here, so a turkey may remove itself from the list.
  for (auto it = turkey_list->begin(); it != turkey_list->end();) {
    std::shared_ptr<turkey_tag> t = *it;
    ++it;
    if (t) t->update();
  }
  return 0;
}

int turkey_tag::destroy_all() {
  if (turkey_list) turkey_list->clear();
  return 0;
}

int hitfx_tag::create_it(float, float) { return 0; }
int hitfx_tag::update() { return 0; }
int hitfx_tag::update_all() { return 0; }

int hitfx_tag::desstroy_all() {
  if (effect_list) effect_list->clear();
  return 0;
}
