// End-to-end runs of the real game through gobblestamp-headless: each test
// writes a small script into a fresh directory holding a copy of data/.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

const fs::path RUNNER = fs::path(GOBBLE_BINARY_DIR) / "gobblestamp-headless";

std::string slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

struct Outcome {
  int code = -1;
  std::string err;
};

class E2E : public ::testing::Test {
 protected:
  std::vector<fs::path> dirs;

  void TearDown() override {
    std::error_code ec;
    for (const auto& d : dirs) fs::remove_all(d, ec);
  }

  // A fresh working directory with its own copy of the game's data folder.
  fs::path fresh_dir() {
    char tmpl[] = "/tmp/gobble_e2e_XXXXXX";
    if (!mkdtemp(tmpl)) ADD_FAILURE() << "mkdtemp";
    fs::path d = tmpl;
    dirs.push_back(d);
    fs::path data = fs::path(GOBBLE_SOURCE_DIR) / "data";
    fs::create_directory(d / "data");
    for (const auto& e : fs::directory_iterator(data))
      if (e.is_regular_file() && e.path().extension() == ".ogg") fs::copy_file(e.path(), d / "data" / e.path().filename());
    return d;
  }

  Outcome run(const fs::path& dir, const std::string& script) {
    std::ofstream(dir / "script.txt") << script;
    Outcome r;
    pid_t pid = fork();
    if (pid == 0) {
      if (chdir(dir.c_str()) != 0) _exit(99);
      int fd = open("stderr.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
      int out = open("/dev/null", O_WRONLY);
      if (fd < 0 || out < 0) _exit(99);
      dup2(fd, 2);
      dup2(out, 1);
      execl(RUNNER.c_str(), RUNNER.c_str(), "script.txt", static_cast<char*>(nullptr));
      _exit(98);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.err = slurp(dir / "stderr.txt");
    return r;
  }

  void SetUp() override { ASSERT_TRUE(fs::exists(RUNNER)) << RUNNER << " not built"; }
};

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) out.push_back(l);
  return out;
}

bool has_line(const std::vector<std::string>& lines, const std::string& want) {
  return std::find(lines.begin(), lines.end(), want) != lines.end();
}

// The intro is skipped by the Escape queued before the first frame, the title
// menu shows at frame 2, and a second Escape there ends the game normally.
const char* QUIT_FROM_TITLE = R"(# skip the intro, then quit from the title menu
trace trace.txt
at 0
key tap 27
at 2
state title.json
shot title.png
key tap 27
)";

TEST_F(E2E, QuittingFromTheTitleSavesBothFilesAndEndsWithCodeZero) {
  fs::path d = fresh_dir();
  Outcome r = run(d, QUIT_FROM_TITLE);
  ASSERT_EQ(r.code, 0) << r.err;

  std::vector<std::string> trace = lines_of(slurp(d / "trace.txt"));
  // Three measuring presentations end at 50 ms and are not frames.
  EXPECT_EQ(trace.front(), "1 present 66");
  EXPECT_TRUE(has_line(trace, "2 present 83"));
  EXPECT_TRUE(has_line(trace, "1 pointer 315 245"));
  ASSERT_GE(trace.size(), 3u);
  EXPECT_EQ(std::vector<std::string>(trace.end() - 3, trace.end()),
            (std::vector<std::string>{"2 save anaglyph3d.dat 00000000", "2 save hiscore.dat 00000000", "2 exit 0 83"}));
  EXPECT_EQ(slurp(d / "data" / "hiscore.dat"), std::string(4, '\0'));
  EXPECT_EQ(slurp(d / "data" / "anaglyph3d.dat"), std::string(4, '\0'));

  std::string state = slurp(d / "title.json");
  for (const char* part : {"\"frame\":2,", "\"ms\":83,", "\"pacing\":\"vsync\"", "\"game_state\":4,",
                           "\"quit_requested\":0,", "\"sound_volume\":1,", "\"factory_volume\":0.5,",
                           "\"factory_playing\":false", "\"pointer\":[315,245]", "\"turkeys\":[]"})
    EXPECT_NE(state.find(part), std::string::npos) << part << " in " << state;

  std::string png = slurp(d / "title.png");
  ASSERT_GT(png.size(), 33u);
  EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
  EXPECT_EQ(png.substr(16, 10), std::string("\0\0\x02\x80\0\0\x01\xe0\x08\x02", 10)) << "640 x 480 RGB";
}

TEST_F(E2E, TheSameScriptGivesTheSameBytes) {
  fs::path a = fresh_dir(), b = fresh_dir();
  ASSERT_EQ(run(a, QUIT_FROM_TITLE).code, 0);
  ASSERT_EQ(run(b, QUIT_FROM_TITLE).code, 0);
  for (const char* f : {"trace.txt", "title.json", "title.png", "data/hiscore.dat"})
    EXPECT_EQ(slurp(a / f), slurp(b / f)) << f;
}

TEST_F(E2E, EndStopsWithoutTheShutdown) {
  fs::path d = fresh_dir();
  Outcome r = run(d, "trace trace.txt\nat 0\nkey tap 27\nat 3\nend\n");
  EXPECT_EQ(r.code, 3) << r.err;
  std::vector<std::string> trace = lines_of(slurp(d / "trace.txt"));
  ASSERT_FALSE(trace.empty());
  EXPECT_EQ(trace.back(), "3 exit 3 100");
  for (const auto& l : trace) EXPECT_EQ(l.find("save"), std::string::npos) << l;
  EXPECT_FALSE(fs::exists(d / "data" / "hiscore.dat"));
}

// Frame times of both pacings around a frame whose work took 50 ms too long:
// the late frame is not caught up afterwards.
TEST_F(E2E, PacingFollowsTheDisplayAndLagDelaysOneFrame) {
  const struct {
    const char* display;
    const char* pacing;
    std::vector<std::string> presents;
  } cases[] = {
      {"vsync", "vsync", {"1 present 66", "2 present 83", "3 present 100", "4 present 166", "5 present 183"}},
      {"novsync", "timer", {"1 present 1017", "2 present 1034", "3 present 1051", "4 present 1102", "5 present 1119"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.display);
    fs::path d = fresh_dir();
    Outcome r = run(d, std::string("display ") + c.display +
                       "\ntrace trace.txt\nat 0\nkey tap 27\nat 3\nlag 50\nat 5\nstate s.json\nend\n");
    ASSERT_EQ(r.code, 3) << r.err;
    std::vector<std::string> presents;
    for (const auto& l : lines_of(slurp(d / "trace.txt")))
      if (l.find(" present ") != std::string::npos) presents.push_back(l);
    EXPECT_EQ(presents, c.presents);
    EXPECT_NE(slurp(d / "s.json").find(std::string("\"pacing\":\"") + c.pacing + "\""), std::string::npos);
  }
}

// A new game from the title menu by a click, then a suspension while playing:
// no frames meanwhile, and the factory loop paused and resumed around it.
TEST_F(E2E, SuspensionWhilePlayingFreezesTheGameAndPausesTheFactoryLoop) {
  fs::path d = fresh_dir();
  Outcome r = run(d, R"(joystick
trace trace.txt
at 0
joy tap 0        # fire on the joystick skips the intro
at 2
mouse click 1    # the pointer starts over "Start Game"
at 10
state before.json
suspend 500
at 11
state after.json
end
)");
  ASSERT_EQ(r.code, 3) << r.err;
  std::vector<std::string> trace = lines_of(slurp(d / "trace.txt"));
  // The click is read in frame 3's work, after two frames have been presented.
  EXPECT_TRUE(has_line(trace, "2 sound factory.ogg 0.5"));
  EXPECT_TRUE(has_line(trace, "10 factory pause"));
  EXPECT_TRUE(has_line(trace, "10 factory resume"));
  // Frame 10 shows at 216 ms; the wait ends once activation comes back at 716.
  EXPECT_TRUE(has_line(trace, "10 present 216"));
  EXPECT_TRUE(has_line(trace, "11 present 733"));
  std::string before = slurp(d / "before.json"), after = slurp(d / "after.json");
  EXPECT_NE(before.find("\"game_state\":2,"), std::string::npos) << before;
  EXPECT_NE(before.find("\"factory_playing\":true"), std::string::npos) << before;
  EXPECT_NE(after.find("\"factory_playing\":true"), std::string::npos) << after;
}

// A whole game with one stab: it ends after 3600 playing frames (frames 3 to
// 3602), the game-over screen waits for a held joystick button to come up,
// the prompt takes the fire press, and the best score survives to the next run.
TEST_F(E2E, AWholeGameKeepsItsBestScoreForTheNextRun) {
  fs::path d = fresh_dir();
  Outcome r = run(d, R"(joystick
trace trace.txt
at 0
key tap 27
at 2
mouse click 1
at 500
key tap 162      # throw: the first turkey is right above the hand
at 3700
state over.json
joy hold 1 300   # the game-over screen waits until it is released
at 3860
key tap 162      # continue once the prompt shows
at 3862
key tap 27       # quit from the title menu
)");
  ASSERT_EQ(r.code, 0) << r.err;
  std::vector<std::string> trace = lines_of(slurp(d / "trace.txt"));
  for (const char* line : {"500 sound throw.ogg 1", "3602 sound gover.ogg 1", "3602 factory stop",
                           "3860 pointer 315 245", "3862 save hiscore.dat 01000000"})
    EXPECT_TRUE(has_line(trace, line)) << line;
  EXPECT_EQ(std::count_if(trace.begin(), trace.end(),
                          [](const std::string& l) { return l.find(" sound stabed.ogg ") != std::string::npos; }),
            1);
  auto present_ms = [&](int frame) {
    std::string prefix = std::to_string(frame) + " present ";
    for (const auto& l : trace)
      if (l.rfind(prefix, 0) == 0) return std::stoi(l.substr(prefix.size()));
    return -1;
  };
  EXPECT_GE(present_ms(3701) - present_ms(3700), 300);
  EXPECT_LE(present_ms(3702) - present_ms(3701), 17);
  std::string over = slurp(d / "over.json");
  for (const char* part : {"\"game_state\":5,", "\"score\":1,", "\"best_sc\":1,", "\"new_bs\":1,"})
    EXPECT_NE(over.find(part), std::string::npos) << part << " in " << over;

  fs::remove(d / "trace.txt");
  ASSERT_EQ(run(d, "at 2\nstate title.json\nend\n").code, 3);
  EXPECT_NE(slurp(d / "title.json").find("\"best_sc\":1,"), std::string::npos);
}

TEST_F(E2E, ScriptErrorsNameTheLine) {
  const struct { const char* script; int line; } cases[] = {
      {"at 1\nfrobnicate\n", 2},
      {"display sideways\n", 1},
      {"at 5\nat 4\n", 2},
      {"key down 27\n", 1},
      {"at 0\ndisplay novsync\n", 2},
      {"at 0\nkey down 256\n", 2},
      {"at 0\nmouse click 4\n", 2},
      {"# a comment\n\nat 0\njoy axis x 1.5\n", 4},
      {"at 0\nend\nat 1\n", 3},
      {"at x\n", 1},
      {"at 0\nshot\n", 2},
      {"at 0\nlag 5 6\n", 2},
      {"at 0\nsuspend 2147483648\n", 2},   // more than the 32-bit millisecond clock can wait
      {"trace no/such/folder/t.txt\n", 1},
      {"at 0\nstate no/such/folder/s.json\n", 2},
  };
  fs::path d = fresh_dir();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    Outcome r = run(d, c.script);
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.err.rfind("script.txt:" + std::to_string(c.line) + ": ", 0), 0u) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  }
}

}  // namespace
