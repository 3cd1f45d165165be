// Turkeys: the drop, the ride, the bin, the stab and the difficulty steps.
#include "gameplay/world.h"

namespace {

class Turkey : public world::World {
 protected:
  // A turkey on the belt at (x, 170).
  std::shared_ptr<turkey_tag> rider(float x) {
    auto t = std::make_shared<turkey_tag>();
    t->x = x;
    t->y = 170.0f;
    t->sc = 1.0f;
    t->offs = 2;
    t->state = 1;
    turkey_list->push_back(t);
    return t;
  }
  void fork_at(int x, float y) {
    player->fork = 1;
    player->forkx = x;
    player->forky = y;
  }
  // Updates until the turkey has left the list; the number of updates.
  int updates_until_gone(const std::shared_ptr<turkey_tag>& t, float& y_before, float& sc_before) {
    for (int n = 1; n < 2000; ++n) {
      y_before = t->y;
      sc_before = t->sc;
      turkey_tag::update_all();
      if (turkey_list->empty()) return n;
    }
    return -1;
  }
};

TEST_F(Turkey, DropsSpinsGrowsAndLandsOnTheBelt) {
  turkey_tag::drop_one();
  ASSERT_EQ(turkey_list->size(), 1u);
  turkey_tag& t = *turkey_list->front();
  EXPECT_EQ(t.x, 75.0f);
  EXPECT_EQ(t.y, 110.0f);
  EXPECT_EQ(t.sc, 0.5f);
  for (int n = 1; n <= 16; ++n) turkey_tag::update_all();
  EXPECT_EQ(t.state, 0);
  EXPECT_EQ(t.y, 174.0f);
  EXPECT_NEAR(t.sc, 0.82f, 1e-5f);
  EXPECT_EQ(t.rot, 16 * 24.0f);
  turkey_tag::update_all();
  EXPECT_EQ(t.state, 1);
  EXPECT_EQ(t.y, 170.0f);
  EXPECT_EQ(t.rot, 0.0f);
  EXPECT_EQ(t.sc, 1.0f);
  EXPECT_EQ(t.x, 75.0f);
}

TEST_F(Turkey, RidesAtTheCurrentBeltSpeed) {
  auto t = rider(100.0f);
  turkey_tag::update_all();
  EXPECT_EQ(t->x, 100.4f);
  belt_speed = 2.5f;
  turkey_tag::update_all();
  EXPECT_EQ(t->x, 100.4f + 2.5f);
  EXPECT_EQ(t->y, 170.0f);
}

TEST_F(Turkey, FallsOffTheEndIntoTheBin) {
  auto t = rider(550.2f);
  turkey_tag::update_all();
  EXPECT_EQ(t->state, 2);
  EXPECT_EQ(t->rot, 30.0f);
  float y_before = 0, sc_before = 0;
  const int updates = updates_until_gone(t, y_before, sc_before);
  EXPECT_GT(updates, 60);
  EXPECT_LT(updates, 90);
  EXPECT_LE(y_before, 380.0f);
  EXPECT_GT(t->y, 380.0f);
  EXPECT_EQ(sounds.names(), std::vector<std::string>{"trashed.ogg"});
  EXPECT_EQ(player->score, 0);
}

TEST_F(Turkey, StabWindow) {
  struct Case {
    const char* what;
    int state;
    int fork;
    int forkx;
    float forky;
    bool stabbed;
  };
  // The turkey rides at (300, 170); its 20 leftmost columns (screen 261..280) are see-through.
  const Case cases[] = {
      {"centre just below row 200", 1, 1, 300, 201.0f, true},
      {"row 200 itself", 1, 1, 300, 200.0f, false},
      {"half a pixel below 200", 1, 1, 300, 200.5f, true},
      {"too far below to touch", 1, 1, 300, 250.0f, false},
      {"hand holds the fork", 1, 0, 300, 210.0f, false},
      {"dropping turkey", 0, 1, 300, 210.0f, false},
      {"falling turkey", 2, 1, 300, 210.0f, false},
      {"stabbed turkey", 3, 1, 300, 210.0f, false},
      {"fork over the see-through edge only", 1, 1, 260, 210.0f, false},
      {"fork reaching the opaque part", 1, 1, 280, 210.0f, true},
      {"fork beside the turkey", 1, 1, 350, 210.0f, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    turkey_list->clear();
    player_tag::reset(1);
    belt_speed = 0.0f;
    auto t = rider(300.0f);
    t->state = c.state;
    t->ystp = 0.0f;
    t->sc = 1.0f;
    fork_at(c.forkx, c.forky);
    player->fork = c.fork;
    sounds.plays.clear();
    turkey_tag::update_all();
    EXPECT_EQ(player->score, c.stabbed ? 1 : 0);
    EXPECT_EQ(t->state == 3 && c.state != 3, c.stabbed);
    EXPECT_EQ(player->fork, c.stabbed ? 0 : c.fork);
    EXPECT_EQ(sounds.names(), c.stabbed ? std::vector<std::string>{"stabed.ogg"} : std::vector<std::string>{});
  }
}

TEST_F(Turkey, TheOlderOfTwoOverlappingTurkeysIsStabbed) {
  belt_speed = 0.0f;
  auto older = rider(305.0f);
  auto newer = rider(295.0f);
  fork_at(300, 220.0f);
  turkey_tag::update_all();
  EXPECT_EQ(older->state, 3);
  EXPECT_EQ(newer->state, 1);
  EXPECT_EQ(player->score, 1);
}

TEST_F(Turkey, FlightDirectionBySideOfTheHit) {
  struct Case {
    int forkx;
    int frame;
    float xstp;
    float rot_after;
  };
  const Case cases[] = {{290, 1, 1.0f, 5.0f}, {300, 0, -1.0f, -5.0f}, {310, 0, -1.0f, -5.0f}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.forkx);
    turkey_list->clear();
    belt_speed = 0.0f;
    auto t = rider(300.0f);
    fork_at(c.forkx, 220.0f);
    turkey_tag::update_all();
    ASSERT_EQ(t->state, 3);
    EXPECT_EQ(t->frame, c.frame);
    EXPECT_EQ(t->xstp, c.xstp);
    EXPECT_EQ(t->ystp, -4.0f);
    EXPECT_EQ(t->rot, 0.0f);
    EXPECT_EQ(t->sc, 1.0f);
    turkey_tag::update_all();
    EXPECT_EQ(t->rot, c.rot_after);
    EXPECT_EQ(t->x, 300.0f + c.xstp);
  }
}

TEST_F(Turkey, ScoresAndDifficultyByStabCount) {
  struct Row {
    int stabs;
    int belt_interval;
    float belt_speed;
    int drop_interval;
  };
  const Row table[] = {{1, 9, 0.7f, 375}, {5, 5, 1.9f, 275}, {10, 0, 3.4f, 150}, {13, 0, 3.4f, 150}};
  int stabs = 0;
  for (const Row& row : table) {
    while (stabs < row.stabs) {
      ++stabs;
      turkey_list->clear();
      auto t = rider(300.0f);
      fork_at(300, 220.0f);
      drop_counter = 3;
      turkey_tag::update_all();
      ASSERT_EQ(t->state, 3);
      ASSERT_EQ(player->score, stabs * stabs);
      ASSERT_EQ(hit_value, 2 * stabs + 1);
      ASSERT_EQ(drop_counter, drop_interval) << "every stab drops the next turkey at once";
    }
    SCOPED_TRACE(row.stabs);
    EXPECT_EQ(belt_interval, row.belt_interval);
    EXPECT_NEAR(belt_speed, row.belt_speed, 1e-5f);
    EXPECT_EQ(drop_interval, row.drop_interval);
  }
}

TEST_F(Turkey, AStabbedTurkeySpinsAwayAndIsRemovedAtScaleOneTenth) {
  belt_speed = 0.0f;
  auto t = rider(300.0f);
  fork_at(300, 220.0f);
  turkey_tag::update_all();
  ASSERT_EQ(t->state, 3);
  float y_before = 0, sc_before = 0;
  const int updates = updates_until_gone(t, y_before, sc_before);
  EXPECT_GT(sc_before, 0.1f);
  EXPECT_LE(t->sc, 0.1f);
  EXPECT_GT(updates, 200);
  EXPECT_LT(updates, 240);
  EXPECT_EQ(t->offs, -8);
  EXPECT_GT(t->y, 480.0f) << "gone below the screen by then";
}

TEST_F(Turkey, TurkeysLeaveTheListWhileItIsWalked) {
  // Oldest first: the middle one falls into the bin in this walk, the others still move.
  auto first = rider(100.0f);
  auto middle = rider(560.0f);
  middle->state = 2;
  middle->y = 379.0f;
  middle->ystp = 5.0f;
  auto last = rider(200.0f);
  turkey_tag::update_all();
  ASSERT_EQ(turkey_list->size(), 2u);
  EXPECT_EQ(turkey_list->front(), first);
  EXPECT_EQ(turkey_list->back(), last);
  EXPECT_EQ(first->x, 100.4f);
  EXPECT_EQ(last->x, 200.4f);
}

TEST_F(Turkey, DestroyAllEmptiesTheLists) {
  for (int i = 0; i < 3; ++i) turkey_tag::drop_one();
  effect_list->push_back(std::make_shared<hitfx_tag>());
  turkey_tag::destroy_all();
  hitfx_tag::desstroy_all();
  EXPECT_TRUE(turkey_list->empty());
  EXPECT_TRUE(effect_list->empty());
}

TEST_F(Turkey, TurkeysAreDrawnUnderTheirState) {
  // A riding turkey is drawn whole at its place; a stabbed one shows the stabbed image.
  auto t = rider(300.0f);
  belt_speed = 0.0f;
  gfx::clear();
  turkey_tag::update_all();
  EXPECT_EQ(world::World::pixel(320, 170), 0xffffffu);
  EXPECT_EQ(world::World::pixel(270, 170), 0u) << "see-through columns";
  t->state = 3;
  t->ystp = 0.0f;
  t->xstp = 0.0f;
  gfx::clear();
  turkey_tag::update_all();
  EXPECT_EQ(world::World::pixel(300, 170), 0xffff00u);
}

}  // namespace
