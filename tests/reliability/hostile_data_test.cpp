// The game against broken, foreign and odd files in its data folder: each case
// alters a copy of data/, then plays the title menu, a short game with one
// stab and a clean exit through the headless runner. Whatever the files hold,
// the run ends normally and in time, the options start at their defaults, the
// sounds that can be played are heard, and the best score on disk is never
// lost or corrupted.
#include <sys/stat.h>

#include <functional>

#include "audio/vorbis_maker.h"
#include "reliability/runner.h"

namespace {

using namespace rel;

// Escape skips the intro; on the title menu two clicks on "Retro Line FX"
// switch the scanlines on and off again (a trash sound each); "Start Game";
// a throw from the left end stabs the first turkey (a stab and a new drop at
// frame 108); then Escape pauses, Escape leaves for the title, Escape quits.
const char* SHORT_GAME = R"(trace trace.txt
at 0
key tap 27
at 2
state title.json
mouse move 320 310
mouse click 1
at 3
mouse click 1
at 4
mouse move 315 245
mouse click 1
at 6
mouse move 120 442
at 20
key tap 162
at 150
state playing.json
key tap 27
at 152
key tap 27
at 154
key tap 27
)";

// The sounds the short game plays, in the order the trace first shows them.
const std::vector<std::string> SHORT_GAME_SOUNDS = {"trashed.ogg", "factory.ogg", "dropout.ogg", "throw.ogg",
                                                    "stabed.ogg"};
const std::vector<std::string> SOUND_FILES = {"throw.ogg",   "dropout.ogg", "stabed.ogg",
                                              "trashed.ogg", "gover.ogg",   "factory.ogg"};

const std::string BEST_1234 = "d2040000";   // the best score every case starts from, unless it alters it

using Damage = std::function<void(const fs::path& data)>;

struct Case {
  std::string name;
  Damage damage;
  int best_sc = 1234;             // read at start-up
  int glasses_mode = 0;           // read at start-up
  std::string hiscore_saved = BEST_1234;   // the file afterwards, in hex; "" for none written
  std::string glasses_saved = "00000000";
  std::vector<std::string> silent;          // sounds of the short game that must not be heard
  std::function<void(const fs::path& data)> after;   // what must hold of the folder afterwards
};

// --- files to put in place ---

Bytes bytes(std::initializer_list<int> v) {
  Bytes b;
  for (int x : v) b.push_back(uint8_t(x));
  return b;
}

Damage write(const std::string& name, Bytes content) {
  return [=](const fs::path& data) { spill(data / name, content); };
}

Damage folder(const std::string& name) {
  return [=](const fs::path& data) {
    fs::remove(data / name);
    fs::create_directory(data / name);
    spill(data / name / "inside", bytes({1, 2, 3}));
  };
}

Damage fifo(const std::string& name) {
  return [=](const fs::path& data) {
    fs::remove(data / name);
    ASSERT_EQ(mkfifo((data / name).c_str(), 0644), 0);
  };
}

Damage dangling(const std::string& name) {
  return [=](const fs::path& data) {
    fs::remove(data / name);
    fs::create_symlink("nowhere.dat", data / name);
  };
}

std::function<void(const fs::path&)> still_a_folder(const std::string& name) {
  return [=](const fs::path& data) {
    EXPECT_TRUE(fs::is_directory(fs::symlink_status(data / name)));
    EXPECT_EQ(slurp(data / name / "inside"), std::string("\1\2\3"));
  };
}

Bytes random_bytes(size_t n, uint32_t seed) {
  Bytes b(n);
  for (auto& x : b) {
    seed = seed * 1664525u + 1013904223u;
    x = uint8_t(seed >> 24);
  }
  return b;
}

Bytes vorbis(int rate, int channels, double seconds) {
  return vmk::encode(rate, channels, vmk::sine(rate, channels, 440, int(rate * seconds)));
}

// --- the table ---

Case make_case(const std::string& name, Damage damage) {
  Case c;
  c.name = name;
  c.damage = std::move(damage);
  return c;
}

std::vector<Case> hiscore_cases() {
  const std::string H = "hiscore.dat";
  auto c = [](const char* name, Damage d, int best, const char* saved) {
    Case k = make_case(name, std::move(d));
    k.best_sc = best;
    k.hiscore_saved = saved;
    return k;
  };
  Case in_folder = c("hiscore_folder", folder(H), 0, "");
  in_folder.after = still_a_folder(H);
  return {
      c("hiscore_absent", [](const fs::path& d) { fs::remove(d / "hiscore.dat"); }, 0, "01000000"),
      c("hiscore_empty", write(H, {}), 0, "01000000"),
      c("hiscore_short", write(H, bytes({0x2C, 0x01})), 300, "2c010000"),
      c("hiscore_long", write(H, bytes({0x39, 0x30, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 1})), 12345, "39300000"),
      c("hiscore_negative", write(H, bytes({0xFF, 0xFF, 0xFF, 0xFF})), -1, "01000000"),
      c("hiscore_most_negative", write(H, bytes({0, 0, 0, 0x80})), INT32_MIN, "01000000"),
      c("hiscore_largest", write(H, bytes({0xFF, 0xFF, 0xFF, 0x7F})), INT32_MAX, "ffffff7f"),
      in_folder,
      c("hiscore_fifo", fifo(H), 0, "01000000"),
      c("hiscore_dangling_link", dangling(H), 0, "01000000"),
  };
}

std::vector<Case> glasses_cases() {
  const std::string G = "anaglyph3d.dat";
  auto c = [](const char* name, Damage d, int mode, const char* saved) {
    Case k = make_case(name, std::move(d));
    k.glasses_mode = mode;
    k.glasses_saved = saved;
    return k;
  };
  Case in_folder = c("glasses_folder", folder(G), 0, "");
  in_folder.after = still_a_folder(G);
  return {
      c("glasses_mode_4", write(G, bytes({4, 0, 0, 0})), 4, "04000000"),
      c("glasses_empty", write(G, {}), 0, "00000000"),
      c("glasses_short", write(G, bytes({3})), 3, "03000000"),
      c("glasses_long", write(G, bytes({2, 0, 0, 0, 0xFF, 0xFF})), 2, "02000000"),
      c("glasses_negative", write(G, bytes({0xFF, 0xFF, 0xFF, 0xFF})), 0, "00000000"),
      c("glasses_out_of_range", write(G, bytes({5, 0, 0, 0})), 0, "00000000"),
      c("glasses_out_of_range_high_byte", write(G, bytes({1, 0, 0, 1})), 0, "00000000"),
      in_folder,
      c("glasses_fifo", fifo(G), 0, "00000000"),
      c("glasses_dangling_link", dangling(G), 0, "00000000"),
  };
}

// Without a data folder nothing can be read, heard or saved.
std::vector<Case> data_folder_cases() {
  Case missing = make_case("data_missing", [](const fs::path& d) { fs::remove_all(d); });
  missing.best_sc = 0;
  missing.hiscore_saved = missing.glasses_saved = "";
  missing.silent = SHORT_GAME_SOUNDS;
  missing.after = [](const fs::path& d) { EXPECT_FALSE(fs::exists(fs::symlink_status(d))); };
  Case plain = missing;
  plain.name = "data_a_plain_file";
  plain.damage = [](const fs::path& d) {
    fs::remove_all(d);
    spill(d, bytes({'n', 'o', 't', ' ', 'a', ' ', 'f', 'o', 'l', 'd', 'e', 'r'}));
  };
  plain.after = [](const fs::path& d) { EXPECT_EQ(slurp(d), "not a folder"); };
  return {missing, plain};
}

std::vector<Case> sound_cases() {
  struct Kind {
    const char* name;
    std::function<Bytes(const Bytes& good)> make;   // from the shipped file
  };
  const Kind kinds[] = {
      {"missing", nullptr},
      {"empty", [](const Bytes&) { return Bytes{}; }},
      {"truncated_half_way", [](const Bytes& g) { return Bytes(g.begin(), g.begin() + g.size() / 2); }},
      {"random_bytes", [](const Bytes& g) { return random_bytes(g.size(), uint32_t(g.size())); }},
      {"ogg_not_vorbis",
       [](const Bytes&) {
         std::vector<vmk::Packet> p(2);
         p[0].data = Bytes(30, 'x');   // as long as a Vorbis id header, but none
         p[1].data = Bytes(3000, 'y');
         return vmk::paginate(p);
       }},
      {"absurd_length",
       [](const Bytes&) {
         std::vector<vmk::Packet> p = vmk::encode_packets(22050, 1, vmk::sine(22050, 1, 440, 4000));
         // About 1600 years at 22050 Hz, claimed by a last page that holds a
         // single packet, so that the decoder believes it.
         p.back().granule = int64_t(1) << 50;
         return vmk::paginate(p, 1, true);
       }},
  };
  std::vector<Case> out;
  for (const std::string& file : SOUND_FILES) {
    for (const Kind& k : kinds) {
      auto make = k.make;
      Case c = make_case(file.substr(0, file.find('.')) + "_" + k.name, [file, make](const fs::path& d) {
        const std::string good = slurp(d / file);
        fs::remove(d / file);
        if (make) spill(d / file, make(Bytes(good.begin(), good.end())));
      });
      if (file != "gover.ogg") c.silent = {file};
      out.push_back(c);
    }
  }
  // Every sound replaced by one at another rate or shape: all of them play.
  for (int rate : {22050, 48000}) {
    for (int channels : {1, 2}) {
      out.push_back(make_case(
          "all_sounds_" + std::string(channels == 1 ? "mono_" : "stereo_") + std::to_string(rate),
          [rate, channels](const fs::path& d) {
            for (const std::string& file : SOUND_FILES) spill(d / file, vorbis(rate, channels, 0.3));
          }));
    }
  }
  return out;
}

std::vector<Case> all_cases() {
  std::vector<Case> all;
  for (auto part : {hiscore_cases(), glasses_cases(), data_folder_cases(), sound_cases()})
    all.insert(all.end(), part.begin(), part.end());
  return all;
}

// The eye colours each glasses mode puts into the stereo drawer; mode 0 leaves them at 0.
const int EYE_COLOURS[5][6] = {
    {0, 0, 0, 0, 0, 0},         {140, 4, 40, 4, 100, 20}, {4, 100, 20, 140, 4, 10},
    {4, 80, 60, 140, 4, 10},    {4, 20, 140, 140, 4, 20},
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class HostileData : public Scratch, public ::testing::WithParamInterface<Case> {};

TEST_P(HostileData, PlaysAShortGameAndExitsCleanlyKeepingTheBestScore) {
  const Case& c = GetParam();
  const fs::path data = dir / "data";
  spill(data / "hiscore.dat", bytes({0xD2, 0x04, 0, 0}));
  c.damage(data);

  const Outcome r = run(SHORT_GAME);
  ASSERT_FALSE(r.hung) << "the run did not end";
  ASSERT_EQ(r.code, 0) << r.err;
  const std::vector<std::string> trace = lines_of(slurp(dir / "trace.txt"));
  ASSERT_FALSE(trace.empty());
  EXPECT_EQ(trace.back().substr(0, 11), "154 exit 0 ");

  // Start-up read the files, or fell back to the defaults.
  const std::string title = slurp(dir / "title.json");
  EXPECT_EQ(json_int(title, "game_state"), 4);
  EXPECT_EQ(json_int(title, "best_sc"), c.best_sc);
  EXPECT_EQ(json_int(title, "glasses_mode"), c.glasses_mode);
  const char* eyes[6] = {"leye_r", "leye_g", "leye_b", "reye_r", "reye_g", "reye_b"};
  for (int i = 0; i < 6; i++) EXPECT_EQ(json_int(title, eyes[i]), EYE_COLOURS[c.glasses_mode][i]) << eyes[i];
  EXPECT_EQ(json_int(title, "retro_line_effect"), 0);
  EXPECT_EQ(json_int(title, "sound_volume_step"), 10);
  EXPECT_EQ(json_int(title, "factory_volume_step"), 5);

  // The game went on as it always does: one stab, the best score kept up.
  const std::string playing = slurp(dir / "playing.json");
  EXPECT_EQ(json_int(playing, "game_state"), 2);
  EXPECT_EQ(json_int(playing, "score"), 1);
  EXPECT_EQ(json_int(playing, "best_sc"), std::max(c.best_sc, 1));
  const bool factory_silent = std::count(c.silent.begin(), c.silent.end(), "factory.ogg") != 0;
  EXPECT_NE(playing.find(factory_silent ? "\"factory_playing\":false" : "\"factory_playing\":true"),
            std::string::npos);

  const std::multiset<std::string> heard = sounds_heard(trace);
  for (const std::string& s : SHORT_GAME_SOUNDS) {
    const bool silent = std::count(c.silent.begin(), c.silent.end(), s) != 0;
    EXPECT_EQ(heard.count(s) != 0, !silent) << s;
  }

  // The saves: exactly what was written is on disk, as a regular file.
  const struct {
    const char* file;
    std::string want;
  } saves[] = {{"hiscore.dat", c.hiscore_saved}, {"anaglyph3d.dat", c.glasses_saved}};
  for (const auto& s : saves) {
    SCOPED_TRACE(s.file);
    const bool logged = std::find(trace.begin(), trace.end(), "154 save " + std::string(s.file) + " " + s.want) !=
                        trace.end();
    if (s.want.empty()) {
      for (const auto& l : trace) EXPECT_EQ(l.find(std::string("save ") + s.file), std::string::npos) << l;
    } else {
      EXPECT_TRUE(logged);
      EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(data / s.file)));
      EXPECT_EQ(hex(slurp(data / s.file)), s.want);
    }
  }
  if (c.after) c.after(data);
}

INSTANTIATE_TEST_SUITE_P(Files, HostileData, ::testing::ValuesIn(all_cases()),
                         [](const auto& info) { return info.param.name; });

}  // namespace

namespace {

// The game-over sound is heard only at the end of a whole game; here it and
// the others come in every shape the game must resample.
using WholeGame = Scratch;

TEST_F(WholeGame, WithSoundsOfOtherRatesEndsWithTheGameOverSound) {
  const fs::path data = dir / "data";
  const struct {
    const char* file;
    int rate, channels;
  } shapes[] = {{"throw.ogg", 22050, 1},   {"dropout.ogg", 22050, 2}, {"stabed.ogg", 48000, 1},
                {"trashed.ogg", 48000, 2}, {"gover.ogg", 48000, 2},   {"factory.ogg", 22050, 1}};
  for (const auto& s : shapes) spill(data / s.file, vorbis(s.rate, s.channels, 0.3));
  const Outcome r = run("trace trace.txt\nat 0\nkey tap 27\nat 2\nmouse click 1\nat 3860\nkey tap 162\n"
                        "at 3862\nkey tap 27\n");
  ASSERT_FALSE(r.hung);
  ASSERT_EQ(r.code, 0) << r.err;
  const std::vector<std::string> trace = lines_of(slurp(dir / "trace.txt"));
  for (const char* line : {"2 sound factory.ogg 0.5", "3602 sound gover.ogg 1", "3602 factory stop",
                           "3862 save hiscore.dat 00000000"})
    EXPECT_NE(std::find(trace.begin(), trace.end(), line), trace.end()) << line;
}

}  // namespace
