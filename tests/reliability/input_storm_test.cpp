// Thousands of input events arriving within one frame: they are all taken in
// that frame, each screen acts on them once as it would on a single press, and
// nothing of the storm spills into the frames after it.
#include <functional>

#include "reliability/runner.h"

namespace {

using namespace rel;

// Pointer positions all over the screen and beyond its edges.
std::string scattered_move(uint32_t& seed) {
  seed = seed * 1664525u + 1013904223u;
  const int x = int(seed >> 8) % 760 - 60;
  seed = seed * 1664525u + 1013904223u;
  const int y = int(seed >> 8) % 600 - 60;
  return "mouse move " + std::to_string(x) + " " + std::to_string(y) + "\n";
}

std::string repeat(int n, const std::function<std::string(int)>& line) {
  std::string s;
  for (int i = 0; i < n; i++) s += line(i);
  return s;
}

struct Storm {
  const char* name;
  const char* before;   // the script up to the storm, which comes at frame 40
  std::function<std::string()> storm;
  const char* after;    // the script after it (snapshots s41.json, s42.json, ...)
  std::function<void(const std::vector<std::string>& trace, const fs::path& dir)> check;
};

// Into a game: the intro skipped, "Start Game" clicked at frame 2.
const char* PLAYING = "trace trace.txt\nat 0\nkey tap 27\nat 2\nmouse click 1\nat 40\n";
const char* TITLE = "trace trace.txt\nat 0\nkey tap 27\nat 40\n";

long long state_of(const fs::path& dir, const char* snapshot, const char* key) {
  return json_int(slurp(dir / snapshot), key);
}

int count_sound(const std::vector<std::string>& trace, const std::string& name) {
  return int(sounds_heard(trace).count(name));
}

const Storm STORMS[] = {
    // Clicks (and presses never released) all over the title menu, the pointer
    // last over "3D Graphics": the option steps once.
    {"title_menu_clicks_everywhere", TITLE,
     [] {
       uint32_t seed = 1;
       return repeat(3000, [&](int i) { return scattered_move(seed) + (i % 2 ? "mouse click 1\n" : "mouse down 1\n"); }) +
              "mouse move 320 275\n";
     },
     "at 41\nstate s41.json\nat 60\nstate s60.json\nend\n",
     [](const std::vector<std::string>& trace, const fs::path& dir) {
       EXPECT_EQ(state_of(dir, "s41.json", "glasses_mode"), 1);
       EXPECT_EQ(state_of(dir, "s60.json", "glasses_mode"), 1);
       EXPECT_EQ(count_sound(trace, "trashed.ogg"), 1);
       EXPECT_EQ(state_of(dir, "s60.json", "game_state"), 4);
     }},
    // Every fire input thousands of times while playing: one throw at once;
    // the mouse's presses, asked only when Control had none, wait for the
    // fork to come back and make exactly one more.
    {"fire_storm_while_playing", PLAYING,
     [] {
       uint32_t seed = 2;
       return repeat(2000, [&](int) { return "key tap 162\nmouse click 1\n" + scattered_move(seed); }) +
              "mouse move 120 442\n";
     },
     "at 41\nstate s41.json\nat 400\nstate s400.json\nend\n",
     [](const std::vector<std::string>& trace, const fs::path& dir) {
       EXPECT_EQ(state_of(dir, "s41.json", "fork"), 1);
       EXPECT_EQ(state_of(dir, "s41.json", "forkx"), 120);
       EXPECT_EQ(state_of(dir, "s41.json", "forky"), 410);
       EXPECT_EQ(count_sound(trace, "throw.ogg"), 2);
       EXPECT_EQ(std::count(trace.begin(), trace.end(), "40 sound throw.ogg 1"), 1);
       EXPECT_EQ(state_of(dir, "s400.json", "game_state"), 2);
     }},
    // Escape five thousand times in one playing frame pauses once; it neither
    // leaves for the title nor quits.
    {"escape_storm_while_playing", PLAYING, [] { return repeat(5000, [](int) { return "key tap 27\n"; }); },
     "at 41\nstate s41.json\nat 45\nstate s45.json\nend\n",
     [](const std::vector<std::string>&, const fs::path& dir) {
       EXPECT_EQ(state_of(dir, "s41.json", "game_state"), 3);
       EXPECT_EQ(state_of(dir, "s45.json", "game_state"), 3);
       EXPECT_EQ(state_of(dir, "s45.json", "quit_requested"), 0);
     }},
    // Escape and Space interleaved: Escape pauses and discards the keys, so
    // the Spaces are lost with it and the game stays paused.
    {"escape_and_space_storm_while_playing", PLAYING,
     [] { return repeat(3000, [](int i) { return i % 2 ? "key tap 32\n" : "key tap 27\n"; }); },
     "at 41\nstate s41.json\nat 45\nstate s45.json\nend\n",
     [](const std::vector<std::string>&, const fs::path& dir) {
       EXPECT_EQ(state_of(dir, "s41.json", "game_state"), 3);
       EXPECT_EQ(state_of(dir, "s45.json", "game_state"), 3);
     }},
    // Thousands of presses and releases of the right arrow, left held at the
    // end: afterwards the hand moves by one step a frame, as for one press.
    {"arrow_chatter_while_playing", PLAYING,
     [] {
       return "mouse move 200 442\n" +
              repeat(5001, [](int i) { return i % 2 ? "key up 39\n" : "key down 39\n"; });
     },
     "at 41\nstate s41.json\nat 42\nstate s42.json\nat 43\nkey up 39\nat 44\nstate s44.json\nat 45\nstate s45.json\nend\n",
     [](const std::vector<std::string>&, const fs::path& dir) {
       EXPECT_EQ(state_of(dir, "s41.json", "x"), 206);
       EXPECT_EQ(state_of(dir, "s42.json", "x"), 212);
       EXPECT_EQ(state_of(dir, "s44.json", "x"), state_of(dir, "s45.json", "x"));
     }},
};

class InputStorm : public Scratch, public ::testing::WithParamInterface<Storm> {};

void PrintTo(const Storm& s, std::ostream* os) { *os << s.name; }

TEST_P(InputStorm, IsTakenWithinItsFrameAsOnePress) {
  const Storm& s = GetParam();
  const Outcome r = run(std::string(s.before) + s.storm() + s.after);
  ASSERT_FALSE(r.hung);
  ASSERT_EQ(r.code, 3) << r.err;
  const std::vector<std::string> trace = lines_of(slurp(dir / "trace.txt"));
  s.check(trace, dir);
}

INSTANTIATE_TEST_SUITE_P(Storms, InputStorm, ::testing::ValuesIn(STORMS),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
