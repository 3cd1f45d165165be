// The stereo drawer's pixels and the drawing state it leaves, and the glasses
// modes with their file.
#include "shell/harness.h"

namespace {

class StereoDrawerTest : public GameTest {
 protected:
  gfx::ImageRef dot;   // one opaque white texel, handle at its corner
  gfx::ImageRef bar;   // a 40 x 4 white bar, centred, to show rotation

  void SetUp() override {
    GameTest::SetUp();
    make_world();
    dot = white_image(1, 1, false);
    bar = white_image(40, 4, true);
  }
  gfx::ImageRef white_image(int w, int h, bool centred) {
    gfx::set_auto_centre(centred);
    gfx::ImageRef img = gfx::create_image(w, h, 1);
    gfx::set_auto_centre(false);
    std::fill(img->pixels.begin(), img->pixels.end(), 0xFFFFFFFFu);
    return img;
  }
  void use_mode(int mode) {
    glasses_mode = mode;
    glasses_setup(0);
  }
  void load_font() {
    game_font = gfx::load_font("altamontenf.ttf", 22, true);
    ASSERT_TRUE(game_font);
    gfx::set_font(game_font);
  }
};

TEST_F(StereoDrawerTest, ImagePixelsAndStateLeftBehind) {
  struct Spot {
    int x;
    uint32_t colour;
  };
  struct Case {
    const char* name;
    int mode;
    float depth;
    int passes;
    std::vector<Spot> spots;   // on row 100; every other pixel of the row stays black
    int want_blend;
    uint32_t want_colour;
  };
  const uint32_t caller = rgb(7, 8, 9);
  const Case cases[] = {
      {"mode 3, depth 0: the eyes add up", 3, 0, 1, {{100, rgb(144, 84, 70)}}, gfx::BLEND_ADD, rgb(140, 4, 10)},
      {"two passes add twice", 3, 0, 2, {{100, rgb(255, 168, 140)}}, gfx::BLEND_ADD, rgb(140, 4, 10)},
      {"positive depth: left eye left", 3, 8, 1, {{92, rgb(4, 80, 60)}, {108, rgb(140, 4, 10)}}, gfx::BLEND_ADD,
       rgb(140, 4, 10)},
      {"negative depth swaps the sides", 3, -8, 1, {{108, rgb(4, 80, 60)}, {92, rgb(140, 4, 10)}}, gfx::BLEND_ADD,
       rgb(140, 4, 10)},
      {"mode 1", 1, 0, 1, {{100, rgb(144, 104, 60)}}, gfx::BLEND_ADD, rgb(4, 100, 20)},
      {"no passes: nothing, state untouched", 3, 0, 0, {}, gfx::BLEND_SOLID, caller},
      {"flat: one copy in the caller's colour", 0, 5, 0, {{100, caller}}, gfx::BLEND_SOLID, caller},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    use_mode(c.mode);
    gfx::clear();
    gfx::set_color(7, 8, 9);
    stereo_drawer->sip(gfx::BLEND_SOLID, 1.0f, 0.0f, 1.0f, 1.0f);
    stereo_drawer->i3d(*dot, 100.0f, 100.0f, 0, c.depth, 0.0f, c.passes);
    for (int x = 0; x < gfx::SCREEN_W; ++x) {
      uint32_t want = 0;
      for (const Spot& s : c.spots)
        if (s.x == x) want = s.colour;
      ASSERT_EQ(pixel(x, 100), want) << "x " << x;
    }
    int r, g, b;
    gfx::get_color(r, g, b);
    EXPECT_EQ(rgb(r, g, b), c.want_colour);
    EXPECT_EQ(gfx::get_blend(), c.want_blend);
    EXPECT_EQ(gfx::get_alpha(), 1.0f);
  }
}

TEST_F(StereoDrawerTest, RotationOffsetUsesTheTruncatedRotation) {
  struct Case {
    int mode;
    float rotation, offset;
    float left_rot, right_rot;   // the copies (flat: the one copy at left_rot)
    float want_after;
  };
  const Case cases[] = {
      {3, 30.7f, 5.0f, 35.0f, 25.0f, 30.0f},
      {3, -30.7f, 5.0f, -25.0f, -35.0f, -30.0f},   // toward zero
      {3, 30.7f, 0.0f, 30.7f, 30.7f, 30.7f},
      {0, 30.7f, 5.0f, 30.7f, 30.7f, 30.0f},
      {0, 30.7f, 0.0f, 30.7f, 30.7f, 30.7f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << " rotation " << c.rotation << " offset " << c.offset);
    use_mode(c.mode);
    gfx::clear();
    gfx::set_color(255, 255, 255);
    stereo_drawer->sip(gfx::BLEND_MASK, 1.0f, c.rotation, 1.0f, 1.0f);
    stereo_drawer->i3d(*bar, 200.0f, 200.0f, 0, 20.0f, c.offset, 1);
    EXPECT_EQ(gfx::get_rotation(), c.want_after);
    const std::vector<uint32_t> got = screen();

    // The same picture drawn by hand.
    gfx::clear();
    if (c.mode == 0) {
      gfx::set_blend(gfx::BLEND_MASK);
      gfx::set_rotation(c.left_rot);
      gfx::draw_image(*bar, 200.0f, 200.0f, 0);
    } else {
      gfx::set_blend(gfx::BLEND_ADD);
      gfx::set_color(4, 80, 60);
      gfx::set_rotation(c.left_rot);
      gfx::draw_image(*bar, 180.0f, 200.0f, 0);
      gfx::set_color(140, 4, 10);
      gfx::set_rotation(c.right_rot);
      gfx::draw_image(*bar, 220.0f, 200.0f, 0);
    }
    EXPECT_TRUE(got == screen());
  }
}

TEST_F(StereoDrawerTest, TextCentringUsesTheScaleLastSetBySip) {
  load_font();
  const std::string text = "Score: 42";
  const float w = float(gfx::text_width(text)), h = float(gfx::font_height());
  ASSERT_GT(w, 0.0f);
  struct Case {
    const char* name;
    bool sip;
    float scale;
    int centred;
    float want_x, want_y;
  };
  const Case cases[] = {
      {"before any sip: nothing subtracted", false, 1.0f, 1, 320.0f, 200.0f},
      {"scale 1: half of each", true, 1.0f, 1, 320.0f - w / 2, 200.0f - h / 2},
      {"scale 2: the full unscaled size", true, 2.0f, 1, 320.0f - w, 200.0f - h},
      {"not centred", true, 2.0f, 0, 320.0f, 200.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    stereo_drawer = std::make_shared<bqdraw_tag>();
    use_mode(0);
    gfx::reset_draw_state();
    gfx::set_blend(gfx::BLEND_ALPHA);
    if (c.sip) stereo_drawer->sip(gfx::BLEND_ALPHA, 1.0f, 0.0f, c.scale, c.scale);
    gfx::clear();
    stereo_drawer->t3d(text, 320.0f, 200.0f, 3.0f, c.centred);
    const std::vector<uint32_t> got = screen();
    gfx::clear();
    gfx::draw_text(text, c.want_x, c.want_y);
    EXPECT_TRUE(got == screen());
    EXPECT_EQ(gfx::get_blend(), gfx::BLEND_ALPHA);
  }
}

TEST_F(StereoDrawerTest, StereoTextIsOneCopyPerEye) {
  load_font();
  use_mode(4);
  gfx::set_color(1, 2, 3);
  stereo_drawer->sip(gfx::BLEND_ALPHA, 1.0f, 0.0f, 1.0f, 1.0f);
  gfx::clear();
  stereo_drawer->t3d("Best: 07", 100.0f, 50.0f, 4.0f, 0);
  const std::vector<uint32_t> got = screen();
  int r, g, b;
  gfx::get_color(r, g, b);
  EXPECT_EQ(rgb(r, g, b), rgb(140, 4, 20));
  EXPECT_EQ(gfx::get_blend(), gfx::BLEND_ADD);
  gfx::clear();
  gfx::set_color(4, 20, 140);
  gfx::draw_text("Best: 07", 96.0f, 50.0f);
  gfx::set_color(140, 4, 20);
  gfx::draw_text("Best: 07", 104.0f, 50.0f);
  EXPECT_TRUE(got == screen());
}

TEST_F(StereoDrawerTest, GlassesFileLoading) {
  enum Kind { BYTES, MISSING, FOLDER };
  struct Case {
    const char* name;
    Kind kind;
    std::vector<uint8_t> bytes;
    int want_mode;
    std::array<int, 6> want_eyes;
  };
  const std::array<int, 6> unset = {0, 0, 0, 0, 0, 0};
  const Case cases[] = {
      {"mode 1", BYTES, {1, 0, 0, 0}, 1, {140, 4, 40, 4, 100, 20}},
      {"mode 2", BYTES, {2, 0, 0, 0}, 2, {4, 100, 20, 140, 4, 10}},
      {"mode 3, short", BYTES, {3}, 3, {4, 80, 60, 140, 4, 10}},
      {"mode 4, long", BYTES, {4, 0, 0, 0, 7, 7}, 4, {4, 20, 140, 140, 4, 20}},
      {"empty", BYTES, {}, 0, unset},
      {"5 means none", BYTES, {5, 0, 0, 0}, 0, unset},
      {"-1 means none", BYTES, {0xFF, 0xFF, 0xFF, 0xFF}, 0, unset},
      {"2147483647 means none", BYTES, {0xFF, 0xFF, 0xFF, 0x7F}, 0, unset},
      {"a high byte set", BYTES, {2, 0, 0, 1}, 0, unset},
      {"missing", MISSING, {}, 0, unset},
      {"folder", FOLDER, {}, 0, unset},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all("data");
    if (c.kind == BYTES) write_file("data/anaglyph3d.dat", c.bytes);
    if (c.kind == FOLDER) fs::create_directories("data/anaglyph3d.dat");
    glasses_mode = 0;
    stereo_drawer = std::make_shared<bqdraw_tag>();
    glasses_setup(1);
    EXPECT_EQ(glasses_mode, c.want_mode);
    const bqdraw_tag& d = *stereo_drawer;
    EXPECT_EQ((std::array<int, 6>{d.leye_r, d.leye_g, d.leye_b, d.reye_r, d.reye_g, d.reye_b}), c.want_eyes);
  }
}

TEST_F(StereoDrawerTest, GlassesFileSaving) {
  fs::create_directories("data");
  glasses_mode = 2;
  glasses_setup(2);
  EXPECT_EQ(read_file("data/anaglyph3d.dat"), (std::vector<uint8_t>{2, 0, 0, 0}));
  EXPECT_EQ(stereo_drawer->reye_r, 140);   // applied after saving

  fs::remove_all("data");
  testing::internal::CaptureStderr();
  glasses_setup(2);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_FALSE(fs::exists("data"));
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
}

TEST_F(StereoDrawerTest, ApplyingModeZeroKeepsTheEyeColours) {
  stereo_drawer->slc(1, 2, 3, 4, 5, 6);
  glasses_mode = 0;
  glasses_setup(0);
  glasses_setup(7);
  const bqdraw_tag& d = *stereo_drawer;
  EXPECT_EQ((std::array<int, 6>{d.leye_r, d.leye_g, d.leye_b, d.reye_r, d.reye_g, d.reye_b}),
            (std::array<int, 6>{1, 2, 3, 4, 5, 6}));
}

}  // namespace
