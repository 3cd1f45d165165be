// Checks the committed pictures, font and sounds against what the game relies on: picture
// sizes and format, the sprite rectangles of the sheet, the belt animation, the score-line font
// and the sound files' levels, ends and loop seam.
#include <gtest/gtest.h>
#include <png.h>
#include <vorbis/vorbisfile.h>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::string source_path(const std::string& relative) { return std::string(GOBBLE_SOURCE_DIR) + "/" + relative; }

std::vector<uint8_t> read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t be32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }

struct Rgb {
  int width = 0, height = 0;
  std::vector<uint8_t> px;  // 3 bytes a pixel
  const uint8_t* at(int x, int y) const { return &px[(size_t(y) * width + x) * 3]; }
  bool opaque(int x, int y) const {
    const uint8_t* p = at(x, y);
    return p[0] | p[1] | p[2];  // pure black is the game's see-through colour
  }
};

Rgb decode_png(const std::string& relative) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  Rgb out;
  if (!png_image_begin_read_from_file(&image, source_path(relative).c_str())) return out;
  image.format = PNG_FORMAT_RGB;
  out.px.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, out.px.data(), 0, nullptr)) {
    png_image_free(&image);
    return {};
  }
  out.width = int(image.width);
  out.height = int(image.height);
  return out;
}

struct Rect {
  const char* name;
  int x, y, w, h;
};

// Where the game cuts its sprites out of plonk_sf1.png.
const Rect kSheetRects[] = {
    {"title", 1, 142, 420, 162},     {"turkey", 1, 1, 78, 58},         {"wheel", 82, 1, 48, 48},
    {"chute", 341, 1, 122, 87},      {"bin", 466, 1, 99, 108},         {"fork", 317, 60, 21, 77},
    {"belt 0", 133, 1, 23, 44},      {"belt 1", 157, 1, 23, 44},       {"belt 2", 181, 1, 23, 44},
    {"belt 3", 205, 1, 23, 44},      {"belt 4", 229, 1, 23, 44},       {"stabbed 0", 1, 62, 90, 75},
    {"stabbed 1", 92, 62, 90, 75},   {"hand 0", 185, 60, 64, 77},      {"hand 1", 250, 60, 64, 77},
};

const Rgb& sheet() {
  static const Rgb s = decode_png("assets/plonk_sf1.png");
  return s;
}

TEST(Pictures, AreEightBitRgbWithoutAlphaAtTheirSizes) {
  struct Case {
    const char* file;
    uint32_t w, h;
  } cases[] = {{"assets/plonk_sf1.png", 571, 315}, {"assets/plonk_bg1.png", 640, 480},
               {"assets/mpointer.png", 28, 25},    {"assets/bqlogo.png", 420, 236}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    std::vector<uint8_t> f = read_file(source_path(c.file));
    ASSERT_GT(f.size(), 33u);
    ASSERT_EQ(0, std::memcmp(f.data(), "\x89PNG\r\n\x1a\n", 8));
    ASSERT_EQ(0, std::memcmp(f.data() + 12, "IHDR", 4));
    EXPECT_EQ(c.w, be32(f.data() + 16));
    EXPECT_EQ(c.h, be32(f.data() + 20));
    EXPECT_EQ(8, f[24]) << "bit depth";
    EXPECT_EQ(PNG_COLOR_TYPE_RGB, f[25]) << "colour type";
    EXPECT_EQ(0, f[28]) << "interlace";
    // No transparency chunk either: the mask colour alone makes pixels see-through.
    for (size_t at = 8; at + 8 <= f.size();) {
      uint32_t len = be32(f.data() + at);
      EXPECT_NE(0, std::memcmp(f.data() + at + 4, "tRNS", 4));
      at += 12 + size_t(len);
    }
  }
}

TEST(Pictures, BackdropHasNoSeeThroughPixelsAndThePointerTipIsOpaque) {
  // In stereo the backdrop is masked too; any pure black would punch a hole into the hall.
  Rgb bg = decode_png("assets/plonk_bg1.png");
  ASSERT_EQ(640, bg.width);
  int holes = 0;
  for (int y = 0; y < bg.height; ++y)
    for (int x = 0; x < bg.width; ++x) holes += !bg.opaque(x, y);
  EXPECT_EQ(0, holes);

  // The pointer's top-left pixel is its hot spot; the logo must be more than a blank.
  Rgb pointer = decode_png("assets/mpointer.png");
  ASSERT_EQ(28, pointer.width);
  EXPECT_TRUE(pointer.opaque(0, 0));
  EXPECT_FALSE(pointer.opaque(27, 0));
  Rgb logo = decode_png("assets/bqlogo.png");
  ASSERT_EQ(420, logo.width);
  int lit = 0;
  for (int y = 0; y < logo.height; ++y)
    for (int x = 0; x < logo.width; ++x) lit += logo.opaque(x, y);
  EXPECT_GT(lit, logo.width * logo.height / 5);
  EXPECT_LT(lit, logo.width * logo.height * 4 / 5);
}

TEST(SpriteSheet, SpritesFillTheirRectanglesAndEverythingElseIsBlack) {
  const Rgb& s = sheet();
  ASSERT_EQ(571, s.width);
  ASSERT_EQ(315, s.height);
  std::vector<bool> inside(size_t(s.width) * s.height, false);
  for (const Rect& r : kSheetRects) {
    SCOPED_TRACE(r.name);
    int lit = 0;
    for (int y = r.y; y < r.y + r.h; ++y)
      for (int x = r.x; x < r.x + r.w; ++x) {
        EXPECT_FALSE(inside[size_t(y) * s.width + x]) << "rectangles overlap at " << x << "," << y;
        inside[size_t(y) * s.width + x] = true;
        lit += s.opaque(x, y);
      }
    // A sprite, not a speck: at least a third of its rectangle is drawn.
    EXPECT_GT(lit * 3, r.w * r.h);
  }
  int stray = 0;
  for (int y = 0; y < s.height; ++y)
    for (int x = 0; x < s.width; ++x) stray += !inside[size_t(y) * s.width + x] && s.opaque(x, y);
  EXPECT_EQ(0, stray) << "separators and the space around the sprites must be black";
}

TEST(SpriteSheet, SpritesReachTheEdgesWhereTheSceneJoinsThem) {
  // Which edges of each sprite must carry opaque pixels for the pictures to fit together on
  // screen: turkeys sit on the belt, the belt is one unbroken band, the chute comes in from off
  // the screen and drops from its mouth, bin and hand run off the bottom of the screen.
  struct Case {
    const char* name;
    bool left, top, right, bottom;
  } cases[] = {{"turkey", false, false, false, true}, {"wheel", true, true, true, true},
               {"chute", true, false, false, true},   {"bin", false, false, false, true},
               {"fork", false, true, false, true},    {"hand 0", false, true, false, true},
               {"hand 1", false, false, false, true}, {"belt 0", true, true, true, true}};
  const Rgb& s = sheet();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Rect& r = *std::find_if(std::begin(kSheetRects), std::end(kSheetRects),
                                  [&](const Rect& k) { return std::string(k.name) == c.name; });
    auto column = [&](int x) { int n = 0; for (int y = r.y; y < r.y + r.h; ++y) n += s.opaque(x, y); return n; };
    auto row = [&](int y) { int n = 0; for (int x = r.x; x < r.x + r.w; ++x) n += s.opaque(x, y); return n; };
    if (c.left) { EXPECT_GT(column(r.x), 0) << "left"; }
    if (c.right) { EXPECT_GT(column(r.x + r.w - 1), 0) << "right"; }
    if (c.top) { EXPECT_GT(row(r.y), 0) << "top"; }
    if (c.bottom) { EXPECT_GT(row(r.y + r.h - 1), 0) << "bottom"; }
  }
  // Belt segments are solid edge to edge, so 21 of them side by side leave no gap.
  for (int f = 0; f < 5; ++f)
    for (int y = 1; y < 45; ++y) {
      EXPECT_TRUE(s.opaque(133 + 24 * f, y)) << "frame " << f << " row " << y;
      EXPECT_TRUE(s.opaque(133 + 24 * f + 22, y)) << "frame " << f << " row " << y;
    }
}

TEST(SpriteSheet, BeltStripesRepeatEvery12AndMove4RightPerFrame) {
  const Rgb& s = sheet();
  auto px = [&](int frame, int x, int y) { return s.at(133 + 24 * frame + x, 1 + y); };
  auto same = [](const uint8_t* a, const uint8_t* b) { return std::memcmp(a, b, 3) == 0; };
  int moving_upper = 0, moving_lower = 0;
  for (int y = 0; y < 44; ++y) {
    SCOPED_TRACE("row " + std::to_string(y));
    bool still = true, varies = false;
    for (int f = 0; f < 5; ++f)
      for (int x = 0; x < 23; ++x) {
        still = still && same(px(f, x, y), px(0, x, y));
        varies = varies || !same(px(f, x, y), px(f, 0, y));
      }
    if (still) continue;  // the frame of the belt stands; only its runs move
    EXPECT_TRUE(varies);
    (y < 22 ? moving_upper : moving_lower) += 1;
    // Frames 0 -> 1 -> 2 -> 0 each move the row 4 pixels right; frames 3 and 4 go on the same way.
    const int next[][2] = {{0, 1}, {1, 2}, {2, 0}, {2, 3}, {3, 4}};
    for (const auto& step : next)
      for (int x = 4; x < 23; ++x)
        EXPECT_TRUE(same(px(step[1], x, y), px(step[0], x - 4, y))) << step[0] << "->" << step[1] << " x " << x;
    for (int f = 0; f < 5; ++f)
      for (int x = 0; x + 12 < 23; ++x) EXPECT_TRUE(same(px(f, x, y), px(f, x + 12, y))) << "frame " << f << " x " << x;
  }
  // Striped upper and lower edges: both halves of the segment have moving rows.
  EXPECT_GE(moving_upper, 4);
  EXPECT_GE(moving_lower, 4);
}

int advance(FT_Face face, char c) {
  if (FT_Load_Char(face, FT_ULong(c), FT_LOAD_DEFAULT)) return -1;
  return int((face->glyph->advance.x + 32) >> 6);
}

int text_width(FT_Face face, const std::string& text) {
  int w = 0;
  for (char c : text) w += advance(face, c);
  return w;
}

TEST(Font, DigitsShareOneWidthAndTheClockFitsBesideItsLabel) {
  FT_Library lib;
  ASSERT_EQ(0, FT_Init_FreeType(&lib));
  FT_Face face;
  ASSERT_EQ(0, FT_New_Face(lib, source_path("assets/altamontenf.ttf").c_str(), 0, &face));
  ASSERT_EQ(0, FT_Set_Pixel_Sizes(face, 0, 22));
  for (char c : std::string("Score:Bst imTGaeOvrFlPsuRDLXyx0123456789%\\"))
    EXPECT_NE(0u, FT_Get_Char_Index(face, FT_ULong(c))) << "no glyph for '" << c << "'";

  // The score, best score and clock do not jitter as their digits change.
  const int digit = advance(face, '0');
  for (char c = '1'; c <= '9'; ++c) EXPECT_EQ(digit, advance(face, c)) << c;

  // "Time:        " ends at x 636 and the seconds are drawn from x 607 over its blanks:
  // they must start after the colon and end on the screen.
  const int label_x = 636 - text_width(face, "Time:        ");
  EXPECT_LE(label_x + text_width(face, "Time:"), 607);
  EXPECT_LE(607 + 2 * digit, 640);
  FT_Done_Face(face);
  FT_Done_FreeType(lib);
}

struct Decoded {
  long rate = 0;
  int channels = 0;
  std::vector<float> mono;  // channels averaged
};

Decoded decode_ogg(const std::string& relative) {
  Decoded d;
  OggVorbis_File vf;
  if (ov_fopen(source_path(relative).c_str(), &vf) != 0) return d;
  vorbis_info* info = ov_info(&vf, -1);
  d.rate = info->rate;
  d.channels = info->channels;
  for (;;) {
    float** pcm;
    int section;
    long n = ov_read_float(&vf, &pcm, 4096, &section);
    if (n <= 0) break;
    for (long i = 0; i < n; ++i) {
      float s = 0;
      for (int c = 0; c < d.channels; ++c) s += pcm[c][i];
      d.mono.push_back(s / float(d.channels));
    }
  }
  ov_clear(&vf);
  return d;
}

float peak(const std::vector<float>& v, size_t from, size_t to) {
  float p = 0;
  for (size_t i = from; i < to && i < v.size(); ++i) p = std::max(p, std::fabs(v[i]));
  return p;
}

TEST(Sounds, DecodeAtAStandardRateWithHeadRoomAndQuietEnds) {
  struct Case {
    const char* file;
    double min_seconds, max_seconds;
    bool loop;
  } cases[] = {{"data/throw.ogg", 0.15, 1.0, false},  {"data/dropout.ogg", 0.15, 1.0, false},
               {"data/stabed.ogg", 0.15, 1.0, false}, {"data/trashed.ogg", 0.3, 2.5, false},
               {"data/gover.ogg", 1.0, 4.0, false},   {"data/factory.ogg", 2.0, 10.0, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    Decoded d = decode_ogg(c.file);
    ASSERT_TRUE(d.rate == 44100 || d.rate == 48000) << d.rate;
    ASSERT_TRUE(d.channels == 1 || d.channels == 2);
    const double seconds = double(d.mono.size()) / double(d.rate);
    EXPECT_GE(seconds, c.min_seconds);
    EXPECT_LE(seconds, c.max_seconds);
    const float top = peak(d.mono, 0, d.mono.size());
    EXPECT_LT(top, 0.97f) << "peaks must stay below full scale";
    EXPECT_GT(top, 0.3f) << "and the sound must be heard";
    // A channel starting cold must not click: the first sample sits near zero.
    EXPECT_LT(std::fabs(d.mono.front()), 0.03f);
    if (!c.loop) {
      // Effects rise over a few milliseconds and have died away by their last 5 ms.
      EXPECT_LT(peak(d.mono, 0, size_t(d.rate) / 2000), 0.3f);
      EXPECT_LT(peak(d.mono, d.mono.size() - size_t(d.rate) / 200, d.mono.size()), 0.03f);
    }
  }
}

TEST(Sounds, FactoryLoopEndRunsIntoItsStartWithoutAJump) {
  Decoded d = decode_ogg("data/factory.ogg");
  const std::vector<float>& v = d.mono;
  ASSERT_GT(v.size(), size_t(d.rate));
  double step = 0;
  for (size_t i = 1; i < v.size(); ++i) step += std::fabs(v[i] - v[i - 1]);
  step /= double(v.size() - 1);
  // Across the seam the wave moves no more than between ordinary neighbours...
  EXPECT_LT(std::fabs(v.front() - v.back()), 4 * step + 0.005);
  // ...and the loudness on both sides of it matches (no drop or swell at the loop point).
  const size_t w = size_t(d.rate) / 50;
  auto rms = [&](size_t from) {
    double e = 0;
    for (size_t i = from; i < from + w; ++i) e += double(v[i]) * v[i];
    return std::sqrt(e / double(w));
  };
  const double head = rms(0), tail = rms(v.size() - w);
  EXPECT_GT(head, 0.005);
  EXPECT_LT(std::max(head, tail) / std::min(head, tail), 1.6);
  // It is several seconds of steady machinery: no quiet stretch inside either.
  for (size_t from = 0; from + w <= v.size(); from += w) EXPECT_GT(rms(from), 0.005) << "at " << from;
}

}  // namespace
