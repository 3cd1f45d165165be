// The title and pause menus: rows, highlight, options and their sounds.
#include "gameplay/world.h"

namespace {

class Menu : public world::World {
 protected:
  // One menu frame with a click (or not) at the pointer's place.
  void frame_at(int x, int y, bool with_click) {
    point_at(x, y);
    if (with_click) click();
    menu_screen();
  }
  void click_row(int row) { frame_at(320, 240 + 35 * row, true); }
};

TEST_F(Menu, RowTextsOfBothMenus) {
  const char* title[] = {"Start Game",         "3D Graphics: Off",       "Retro Line FX: Off",
                         "Sound Volume: Max",  "Factory Volume: 50%",    "Exit Game"};
  const char* pause[] = {"Resume Game",        "3D Graphics: Off",       "Retro Line FX: Off",
                         "Sound Volume: Max",  "Factory Volume: 50%",    "Quit This Game"};
  for (int row = 0; row < 6; ++row) {
    game_state = STATE_TITLE;
    EXPECT_EQ(menu_row_text(row), title[row]);
    game_state = STATE_PAUSED;
    EXPECT_EQ(menu_row_text(row), pause[row]);
  }
  EXPECT_EQ(glasses_labels, (std::vector<std::string>{"Off", "M\\G", "R\\G", "R\\C", "R\\B"}));
}

TEST_F(Menu, AStrayGlassesModeShowsNoLabelAndTheNextClickWrapsToOff) {
  glasses_mode = 7;  // as a foreign glasses file may hold
  EXPECT_EQ(menu_row_text(1), "3D Graphics: ");
  menu_screen();
  click_row(1);
  EXPECT_EQ(glasses_mode, 0);
  EXPECT_EQ(menu_row_text(1), "3D Graphics: Off");
}

// What a click changed, told by the row it acted on (the pause menu's actions).
int acted_row() {
  if (game_state == STATE_PLAYING) return 0;
  if (glasses_mode != 0) return 1;
  if (retro_line_effect != 0) return 2;
  if (sound_volume_step != 10) return 3;
  if (factory_volume_step != 5) return 4;
  if (game_state == STATE_TITLE) return 5;
  return -1;
}

TEST_F(Menu, TheClickActsOnTheRowAtThePointersHeight) {
  const struct {
    int y;
    int row;
  } bands[] = {{0, -1},   {220, -1}, {221, 0}, {254, 0}, {255, 1}, {289, 1}, {290, 2}, {324, 2},
               {325, 3},  {359, 3},  {360, 4}, {394, 4}, {395, 5}, {429, 5}, {430, -1}, {479, -1}};
  for (const auto& band : bands) {
    for (int x : {0, 639}) {
      SCOPED_TRACE(testing::Message() << "y " << band.y << " x " << x);
      game_state = STATE_PAUSED;
      glasses_mode = 0;
      retro_line_effect = 0;
      sound_volume_step = 10;
      factory_volume_step = 5;
      tap_key(input::VK_ESCAPE);  // pending before the click: discarded whatever the row
      frame_at(x, band.y, true);
      EXPECT_EQ(acted_row(), band.row);
      EXPECT_EQ(input::key_hits(input::VK_ESCAPE), 0);
    }
  }
}

TEST_F(Menu, WithoutAClickPressesStayPending) {
  tap_key(input::VK_ESCAPE);
  frame_at(320, 240, false);
  EXPECT_EQ(game_state, STATE_TITLE);
  EXPECT_EQ(input::key_hits(input::VK_ESCAPE), 1);
}

TEST_F(Menu, TheHighlightedRowIsDrawnLarger) {
  // The width of what is drawn in the band of row 2, lit and unlit.
  auto drawn_width = [&](int pointer_y) {
    gfx::clear();
    frame_at(600, pointer_y, false);
    int left = 640, right = -1;
    for (int y = 300; y < 320; ++y)
      for (int x = 0; x < 580; ++x)
        if (pixel(x, y) != 0) left = std::min(left, x), right = std::max(right, x);
    return right - left;
  };
  const int unlit = drawn_width(100), lit = drawn_width(300);
  EXPECT_GT(unlit, 100);
  EXPECT_NEAR(double(lit), unlit * 1.2, 4.0);
}

TEST_F(Menu, OptionsCycleWithTheirLabelsAndSounds) {
  struct Case {
    int row;
    std::vector<std::string> labels;
    std::string sound;
  };
  const Case cases[] = {
      {1, {"M\\G", "R\\G", "R\\C", "R\\B", "Off"}, "trashed.ogg"},
      {2, {"On", "Off"}, "trashed.ogg"},
      {3, {"Off", "10%", "20%", "30%", "40%", "50%", "60%", "70%", "80%", "90%", "Max", "Off"}, "throw.ogg"},
      {4, {"60%", "70%", "80%", "90%", "Max", "Off", "10%"}, ""},
  };
  for (const Case& c : cases) {
    const std::string prefix = menu_items[size_t(c.row)];
    for (const std::string& label : c.labels) {
      SCOPED_TRACE(prefix + label);
      sounds.plays.clear();
      click_row(c.row);
      EXPECT_EQ(menu_row_text(c.row), prefix + label);
      EXPECT_EQ(sounds.names(), c.sound.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.sound});
    }
  }
}

TEST_F(Menu, VolumesStepByAddingATenthAndWrapToExactlyZero) {
  click_row(3);
  EXPECT_EQ(sound_volume, 0.0f);
  ASSERT_EQ(sounds.plays.size(), 1u);
  EXPECT_EQ(sounds.plays[0].volume, 0.0f) << "the confirming sound is silent";
  click_row(3);
  EXPECT_EQ(sound_volume, 0.1f);
  EXPECT_EQ(sounds.plays[1].volume, 0.1f);
  float expected = 0.1f;
  for (int i = 0; i < 9; ++i) {
    click_row(3);
    expected += 0.1f;
  }
  EXPECT_EQ(sound_volume_step, 10);
  EXPECT_EQ(sound_volume, expected);
  EXPECT_GT(sound_volume, 1.0f) << "accumulated, not recomputed";

  for (int i = 0; i < 6; ++i) click_row(4);
  EXPECT_EQ(factory_volume_step, 0);
  EXPECT_EQ(factory_volume, 0.0f);
}

TEST_F(Menu, ChangingTheGlassesAppliesTheirColours) {
  click_row(1);
  EXPECT_EQ(glasses_mode, 1);
  EXPECT_EQ(stereo_drawer->leye_r, 140);
  EXPECT_EQ(stereo_drawer->reye_g, 100);
}

TEST_F(Menu, FactoryVolumeChangesTheRunningLoopInThePauseMenu) {
  factory_channel = audio::cue_sound(audio::load_sound(world::source_path("data/factory.ogg"), true));
  audio::set_volume(*factory_channel, 0.5f);
  audio::resume(*factory_channel);
  game_state = STATE_PAUSED;
  click_row(4);
  EXPECT_EQ(factory_volume, 0.5f + 0.1f);
  EXPECT_EQ(audio::get_volume(*factory_channel), 0.5f + 0.1f);
  EXPECT_TRUE(audio::playing(*factory_channel));

  // On the title menu the loop is silent and stays so; the choice is kept for the next game.
  audio::stop(*factory_channel);
  game_state = STATE_TITLE;
  click_row(4);
  EXPECT_EQ(factory_volume, 0.5f + 0.1f + 0.1f);
  EXPECT_FALSE(audio::playing(*factory_channel));
}

TEST_F(Menu, FirstAndLastRowsOfTheTitleMenu) {
  turkey_tag::drop_one();
  player->score = 16;
  click_row(0);
  EXPECT_EQ(game_state, STATE_PLAYING);
  EXPECT_TRUE(turkey_list->empty());
  EXPECT_EQ(player->score, 0);

  game_state = STATE_TITLE;
  click_row(5);
  EXPECT_EQ(quit_requested, 1);
  EXPECT_EQ(game_state, STATE_TITLE);
}

TEST_F(Menu, FirstAndLastRowsOfThePauseMenu) {
  factory_channel = audio::cue_sound(audio::load_sound(world::source_path("data/factory.ogg"), true));
  audio::resume(*factory_channel);
  turkey_tag::drop_one();
  player->score = 16;
  game_state = STATE_PAUSED;
  click_row(0);
  EXPECT_EQ(game_state, STATE_PLAYING) << "resumed";
  EXPECT_EQ(turkey_list->size(), 1u);
  EXPECT_EQ(player->score, 16);
  EXPECT_TRUE(audio::playing(*factory_channel));

  game_state = STATE_PAUSED;
  warps.clear();
  click_row(5);
  EXPECT_EQ(game_state, STATE_TITLE);
  EXPECT_EQ(quit_requested, 0);
  EXPECT_EQ(warps, (std::vector<std::pair<int, int>>{{315, 245}}));
  EXPECT_FALSE(audio::playing(*factory_channel));
  EXPECT_EQ(turkey_list->size(), 1u) << "left until the next new game";
}

TEST_F(Menu, JoystickMovesThePointerAndClicks) {
  game_state = STATE_PAUSED;
  point_at(320, 250);  // row 0
  dev.set_joy_axis(1, 1.0f);
  tap_joy(0);
  menu_screen();  // nudged to 256, row 1, before the highlight is chosen
  EXPECT_EQ(glasses_mode, 1);
  EXPECT_EQ(game_state, STATE_PAUSED);

  // A mouse click and a joystick press in one frame act once; the joystick's waits.
  dev.set_joy_axis(1, 0.0f);
  point_at(320, 275);
  click();
  tap_joy(0);
  menu_screen();
  EXPECT_EQ(glasses_mode, 2);
  menu_screen();
  EXPECT_EQ(glasses_mode, 3);
}

}  // namespace
