// The draw log: each call with the state it was drawn in; glyph-level logs
// replay to the same picture as the text itself.
#include "gfx_fixture.h"
#include "platform/render_internal.h"
#include "platform/render_record.h"

using namespace gfxtest;

TEST_F(Gfx, RecorderLogsEachCallWithItsState) {
  auto img = solid_image(3, 3, 0x808080);
  std::vector<gfx::DrawCall> log;
  gfx::set_draw_recorder(&log);
  gfx::clear();
  gfx::set_color(140, 4, 10);
  gfx::set_alpha(0.6f);
  gfx::set_blend(gfx::BLEND_ADD);
  gfx::set_rotation_scale(30, 0.5f, 2);
  gfx::draw_image(*img, 10.5f, 20, 0);
  gfx::reset_draw_state();
  gfx::draw_rect(1, 2, 3, 4);
  gfx::draw_line(5, 6, 7, 8);
  gfx::draw_text("Hi", 9, 10);
  gfx::grab_image(*img, 11, 12, 0);
  gfx::set_draw_recorder(nullptr);
  gfx::draw_image(*img, 0, 0, 0);

  ASSERT_EQ(log.size(), 6u);
  EXPECT_EQ(log[0].kind, gfx::DRAW_CLEAR);
  const gfx::DrawCall& d = log[1];
  EXPECT_EQ(d.kind, gfx::DRAW_IMAGE);
  EXPECT_EQ(d.image, img.get());
  EXPECT_EQ((RGB{d.r, d.g, d.b}), (RGB{140, 4, 10}));
  EXPECT_EQ(d.alpha, 0.6f);
  EXPECT_EQ(d.blend, gfx::BLEND_ADD);
  EXPECT_EQ(d.rotation, 30.0f);
  EXPECT_EQ(d.sx, 0.5f);
  EXPECT_EQ(d.sy, 2.0f);
  EXPECT_EQ(d.x, 10.5);
  EXPECT_EQ(d.y, 20.0);
  EXPECT_EQ(log[2].kind, gfx::DRAW_RECT);
  EXPECT_EQ(log[2].x2, 3.0);
  EXPECT_EQ(log[2].y2, 4.0);
  EXPECT_EQ(log[2].blend, gfx::BLEND_MASK);
  EXPECT_EQ(log[3].kind, gfx::DRAW_LINE);
  EXPECT_EQ(log[3].x2, 7.0);
  EXPECT_EQ(log[4].kind, gfx::DRAW_TEXT);
  EXPECT_EQ(log[4].text, "Hi");
  EXPECT_EQ(log[5].kind, gfx::DRAW_GRAB);
  EXPECT_EQ(log[5].x, 11.0);
}

TEST_F(Gfx, GlyphLogReplaysToTheSamePicture) {
  const auto bytes = font_bytes();
  gfx::set_font(gfx::load_font_data(bytes.data(), bytes.size(), 22, true));
  gfx::set_rotation_scale(17, 1.3f, 1.3f);
  gfx::set_color(200, 100, 50);
  std::vector<gfx::DrawCall> log;
  gfx::set_draw_recorder(&log, true);
  gfx::draw_text("Gobble", 100.5f, 200.25f);
  gfx::set_draw_recorder(nullptr);
  const std::vector<uint32_t> direct(gfx::back_buffer(), gfx::back_buffer() + gfx::SCREEN_W * gfx::SCREEN_H);
  ASSERT_EQ(log.size(), 6u);
  gfx::clear();
  for (const auto& c : log) {
    ASSERT_EQ(c.kind, gfx::DRAW_IMAGE);
    gfx::draw_frame_at(*c.image, c.frame, c.x, c.y);  // the logged positions are exact
  }
  for (int i = 0; i < gfx::SCREEN_W * gfx::SCREEN_H; ++i) ASSERT_EQ(gfx::back_buffer()[i], direct[size_t(i)]) << i;
  gfx::set_font(nullptr);
}
